#include "LauncherChoice.h"

#include "PortableFile.h"

#include <algorithm>
#include <cstdio>

const wchar_t kLauncherFolder32[] = L"Windows\\";
const wchar_t kLauncherFolder64[] = L"Windows_Pure_64_Bit\\";

std::string SeaLocBytes(const std::wstring& moduleFileName) {
    std::string bytes = ToUtf8(moduleFileName + L"\n");
    bytes += '\0';
    return bytes;
}

std::wstring FirstLauncherGuess(const std::wstring& workingDirectory,
                                const std::wstring& stubNameAndExtension) {
    return workingDirectory + kLauncherFolder32 + stubNameAndExtension;
}

std::wstring RefineLauncherAfterSeaLoc(const std::wstring& workingDirectory,
                                       const std::wstring& launcherPath) {
    if (FileSystemObjectExists(launcherPath)) return launcherPath;
    const std::wstring folder = workingDirectory + kLauncherFolder64;
    return folder + FirstFileWithExtension(folder, L".exe");
}

namespace {

void Say(const char* line) {
    std::fputs(line, stdout);
    std::fflush(stdout);
}

}  // namespace

std::wstring RefineLauncherBeforeStart(const std::wstring& workingDirectory,
                                       const std::wstring& launcherPath) {
    if (FileSystemObjectExists(launcherPath)) return launcherPath;
    std::wstring folder = workingDirectory + kLauncherFolder32;
    std::wstring name = FirstFileWithExtension(folder, L".exe");
    if (name.empty()) {
        Say("Unable to locate 32 bit installer to execute\n");
        folder = workingDirectory + kLauncherFolder64;
        name = FirstFileWithExtension(folder, L".exe");
        if (name.empty()) Say("Unable to locate 64 bit installer to execute\n");
    }
    if (name.empty()) return launcherPath;
    const std::wstring candidate = folder + name;
    return FileSystemObjectExists(candidate) ? candidate : launcherPath;
}

std::wstring LauncherArguments(const std::wstring& commandLine) {
    const bool quoted = !commandLine.empty() && commandLine[0] == L'"';
    const wchar_t delimiter = quoted ? L'"' : L' ';
    const size_t at = commandLine.find(delimiter, quoted ? 1 : 0);
    return at == std::wstring::npos ? std::wstring() : commandLine.substr(at + 1);
}

std::wstring LauncherCommandLine(const std::wstring& launcherPath, const std::wstring& commandLine) {
    std::wstring line = launcherPath;
    std::replace(line.begin(), line.end(), L'/', L'\\');
    return line + L" " + LauncherArguments(commandLine);
}
