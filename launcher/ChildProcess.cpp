#include "ChildProcess.h"

#include "Console.h"
#include "ScopedHandle.h"
#include "StringTable.h"
#include "Strings.h"

#include <vector>

HANDLE createJavaProcess(const JavaOptions& options, const std::wstring& commandLine, bool wait) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    GetStartupInfoW(&startup);
    startup.dwFlags |= STARTF_USESTDHANDLES;
    const Console& console = Console::instance();
    startup.hStdInput = console.input();
    startup.hStdOutput = console.output();
    startup.hStdError = console.error();

    // The working directory is passed whole. A path longer than the 259 characters a Win32
    // current directory can hold makes CreateProcessW fail, which is reported below; cutting it
    // could start the program in some other, existing directory.
    const std::wstring directory =
        options.workingDirectory.empty() ? std::wstring() : options.workingDirectory.fullPath(false).text();

    std::vector<wchar_t> text(commandLine.begin(), commandLine.end());
    text.push_back(L'\0');
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, text.data(), nullptr, nullptr, TRUE, 0, nullptr,
                        directory.empty() ? nullptr : directory.c_str(), &startup, &process)) {
        const DWORD error = GetLastError();
        throw TerminalError(StringTable::instance().format(strings::ProcessCreationFailed,
                                                           static_cast<long>(error)),
                            exit_codes::JavaNotStarted);
    }
    corvane::KernelHandle thread(process.hThread);
    if (wait) WaitForSingleObject(process.hProcess, INFINITE);
    return process.hProcess;
}
