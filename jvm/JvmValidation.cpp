#include "JvmValidation.h"

#include "FilePath.h"
#include "ScopedHandle.h"
#include "VerifyOutput.h"
#include "VmToken.h"

#include <algorithm>
#include <exception>
#include <optional>

namespace {

bool EndsWith(const std::wstring& text, const std::wstring& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// Verify.jar in the folder, else in its jvmspecs subfolder (unless the folder is that already);
// empty when neither is a file.
std::wstring VerifyArchive(const std::wstring& folder) {
    std::wstring archive = folder + L"\\Verify.jar";
    if (!FilePath(archive).exists() && !EndsWith(folder, L"jvmspecs") &&
        !EndsWith(folder, L"jvmspecs\\"))
        archive = folder + L"\\jvmspecs\\Verify.jar";
    const FilePath path(archive);
    if (!path.exists() || path.isDirectory()) return {};
    return archive;
}

std::wstring VerifyCommandLine(const std::wstring& executable, const std::wstring& archive,
                               const std::map<std::wstring, std::wstring>& expected) {
    std::wstring line = L"\"" + executable + L"\" -classpath \"" + archive + L"\" Verify";
    for (const auto& entry : expected) (line += L' ') += entry.first;
    return line;
}

// Appends what the pipe holds now; false when the pipe has been closed by every writer.
bool ReadAvailable(HANDLE pipe, std::string& bytes) {
    for (;;) {
        DWORD available = 0;
        if (!::PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr)) return false;
        if (available == 0) return true;
        char block[4096];
        DWORD read = 0;
        if (!::ReadFile(pipe, block, sizeof(block), &read, nullptr)) return false;
        bytes.append(block, read);
    }
}

std::wstring FromUtf8(const std::string& bytes) {
    if (bytes.empty()) return {};
    const int size = static_cast<int>(bytes.size());
    const int length = ::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), size, nullptr, 0);
    std::wstring text(static_cast<size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), size, text.data(), length);
    return text;
}

// Starts the command with both standard output and standard error on the pipe and collects
// its output while it runs, for at most the time limit. Nothing when it cannot be started or
// is still running at the limit.
std::optional<std::string> RunCollectingOutput(std::wstring commandLine,
                                               const std::wstring& workingDirectory) {
    SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    corvane::KernelHandle readEnd, writeEnd;
    if (!::CreatePipe(readEnd.Receive(), writeEnd.Receive(), &inheritable, 0)) return std::nullopt;

    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nullptr;
    startup.hStdOutput = writeEnd.get();
    startup.hStdError = writeEnd.get();
    PROCESS_INFORMATION info{};
    const wchar_t* directory = workingDirectory.empty() ? nullptr : workingDirectory.c_str();
    if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                          nullptr, directory, &startup, &info))
        return std::nullopt;
    const corvane::KernelHandle process(info.hProcess);
    const corvane::KernelHandle thread(info.hThread);

    // The pipe is drained while the process runs: a process that prints more than the pipe
    // holds would otherwise wait for room until the time limit and be rejected.
    std::string output;
    const ULONGLONG deadline = ::GetTickCount64() + kPropertyCheckTimeoutMs;
    for (;;) {
        ReadAvailable(readEnd.get(), output);
        const ULONGLONG now = ::GetTickCount64();
        const DWORD slice = now >= deadline ? 0 : static_cast<DWORD>(std::min<ULONGLONG>(deadline - now, 20));
        const DWORD waited = ::WaitForSingleObject(process.get(), slice);
        if (waited == WAIT_OBJECT_0) break;
        if (waited != WAIT_TIMEOUT || now >= deadline) return std::nullopt;
    }
    writeEnd.Reset();
    // Everything the process wrote is in the pipe once it has ended; what a process it started
    // may still write later is not waited for.
    ReadAvailable(readEnd.get(), output);
    return output;
}

}  // namespace

int RunValidator(JavaVm& vm, const std::wstring& argument) {
    JavaOptions options;
    options.ClassPath = vm.options.ClassPath;
    options.mainClass = L"com.orvex.util.jvm.Validator";
    options.programArguments = {L"1", argument};
    try {
        const corvane::KernelHandle process(vm.buildCommandLine(options, true));
        DWORD code = 0;
        if (!::GetExitCodeProcess(process.get(), &code)) return -1;
        return static_cast<int>(code);
    } catch (const std::exception&) {
        return -1;
    }
}

bool MatchesToken(JavaVm& vm, const std::wstring& token) {
    return MatchesToken(token, vm.kind, vm.version,
                        [&vm](const std::wstring& argument) { return RunValidator(vm, argument); });
}

std::vector<JavaVm*> CandidateSearch(const std::vector<std::wstring>& tokens,
                                     std::int32_t platform, const JavaOptions& options,
                                     const VmInventory& inventory) {
    std::vector<JavaVm*> candidates;
    for (const std::wstring& token : tokens) {
        for (const auto& entry : inventory.entries()) {
            JavaVm* vm = entry.get();
            if (std::find(candidates.begin(), candidates.end(), vm) != candidates.end()) continue;
            if ((vm->is64Bit == 1 && platform == 3) || (vm->is64Bit == 0 && platform == 1))
                continue;
            vm->options = options;
            if (MatchesToken(*vm, token)) candidates.push_back(vm);
        }
    }
    return candidates;
}

bool JavaPropertiesAccepted(const std::wstring& specificationFolder,
                            const std::wstring& executable,
                            const std::map<std::wstring, std::wstring>& expected) {
    const std::wstring archive = VerifyArchive(specificationFolder);
    if (archive.empty()) return false;
    const std::wstring directory =
        specificationFolder.empty() ? std::wstring() : FilePath(specificationFolder).fullPath(false).text();
    const std::optional<std::string> output =
        RunCollectingOutput(VerifyCommandLine(executable, archive, expected), directory);
    return output && ReportedPropertiesMatch(FromUtf8(*output), expected);
}

