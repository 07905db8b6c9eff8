// Windows-side test harness: starts a program with CreateProcessW, waits for it and reports its
// full 32-bit exit code, which Wine cannot hand to a Unix parent (it passes only the low byte).
//
//   runexe [--cwd DIR] [--env NAME=VALUE]... [--unset NAME]... [--code-file FILE] -- PROGRAM [ARGS...]
//
// The command line of the child is PROGRAM and ARGS as they were given to runexe, re-quoted only
// where they hold blanks or quotes. With --raw, everything after "--" is passed on byte for byte
// instead (for tests that need exact command lines); when exactly one argument follows "--", that
// argument as the C runtime parsed it is the command line (a Unix caller's argument arrives quoted
// by Wine, and parsing gives the caller's text back). Prints "exit code 0x%08X (%u)" on standard
// output, writes the code in hexadecimal to FILE when asked, and exits with the child's low byte.
#include "QuoteArgument.h"
#include "ScopedHandle.h"

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

// The raw text after the first " -- " of this process's own command line.
std::wstring RawTail() {
    std::wstring all = GetCommandLineW();
    size_t at = all.find(L" -- ");
    return at == std::wstring::npos ? std::wstring() : all.substr(at + 4);
}

int Fail(const wchar_t* what) {
    fwprintf(stderr, L"runexe: %ls (Windows error %lu)\n", what, GetLastError());
    return 125;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    std::wstring cwd, codeFile;
    bool raw = false;
    int i = 1;
    for (; i < argc; ++i) {
        std::wstring a = argv[i];
        if (a == L"--") break;
        if (a == L"--raw") raw = true;
        else if (a == L"--cwd" && i + 1 < argc) cwd = argv[++i];
        else if (a == L"--code-file" && i + 1 < argc) codeFile = argv[++i];
        else if (a == L"--env" && i + 1 < argc) {
            std::wstring kv = argv[++i];
            size_t eq = kv.find(L'=');
            if (eq == std::wstring::npos) return Fail(L"--env needs NAME=VALUE");
            SetEnvironmentVariableW(kv.substr(0, eq).c_str(), kv.substr(eq + 1).c_str());
        } else if (a == L"--unset" && i + 1 < argc) SetEnvironmentVariableW(argv[++i], nullptr);
        else {
            fwprintf(stderr, L"runexe: unknown option %ls\n", argv[i]);
            return 125;
        }
    }
    if (i + 1 >= argc) {
        fwprintf(stderr, L"usage: runexe [options] -- PROGRAM [ARGS...]\n");
        return 125;
    }
    std::wstring program = argv[i + 1];
    std::wstring commandLine;
    if (raw && i + 2 == argc) {
        commandLine = argv[i + 1];
    } else if (raw) {
        commandLine = RawTail();
    } else {
        for (int j = i + 1; j < argc; ++j) {
            if (!commandLine.empty()) commandLine += L' ';
            commandLine += QuoteArgument(argv[j]);
        }
    }
    std::vector<wchar_t> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back(L'\0');

    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(raw ? nullptr : program.c_str(), buffer.data(), nullptr, nullptr, TRUE, 0,
                        nullptr, cwd.empty() ? nullptr : cwd.c_str(), &si, &pi)) {
        return Fail(L"cannot start the program");
    }
    corvane::KernelHandle process(pi.hProcess);
    corvane::KernelHandle thread(pi.hThread);
    WaitForSingleObject(process.get(), INFINITE);
    DWORD code = 0;
    if (!GetExitCodeProcess(process.get(), &code)) return Fail(L"cannot read the exit code");
    wprintf(L"exit code 0x%08lX (%lu)\n", static_cast<unsigned long>(code),
            static_cast<unsigned long>(code));
    fflush(stdout);
    if (!codeFile.empty()) {
        FILE* f = _wfopen(codeFile.c_str(), L"w");
        if (f) {
            fprintf(f, "0x%08lX\n", static_cast<unsigned long>(code));
            fclose(f);
        }
    }
    return static_cast<int>(code & 0xFF);
}
