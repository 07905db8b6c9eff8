#include "LauncherFiles.h"

#include "FilePath.h"

std::optional<std::wstring> locateExecutable(const std::wstring& firstArgument,
                                             const std::vector<std::wstring>& pathDirectories) {
    const FilePath typed(firstArgument);
    const std::wstring path = typed.hasExtension() ? typed.text() : typed.text() + L".exe";
    if (FilePath(path).exists()) return path;
    for (const std::wstring& directory : pathDirectories) {
        const std::wstring candidate = directory + L"\\" + path;
        if (FilePath(candidate).exists()) return candidate;
    }
    return std::nullopt;
}

std::optional<std::wstring> locatePropertyFile(const std::wstring& executablePath,
                                               const std::wstring& currentDirectory) {
    std::wstring path = executablePath;
    for (wchar_t& c : path) {
        if (c == L'/') c = L'\\';
    }
    const FilePath executable(path);
    if (executable.hasExtension() && executable.extension() == L"exe") {
        const std::wstring candidate = path.substr(0, path.rfind(L'.')) + L".vrx";
        if (FilePath(candidate).exists()) return candidate;
    }
    const std::wstring besideCandidate = path + L".vrx";
    if (FilePath(besideCandidate).exists()) return besideCandidate;

    // The base name in the current directory. An executable path without a backslash is a bare
    // file name: it is taken whole, with a backslash in front, so the candidate still names a
    // file inside the current directory rather than a name glued to the directory's own.
    const size_t slash = path.rfind(L'\\');
    std::wstring baseName = slash == std::wstring::npos ? L"\\" + path : path.substr(slash);
    const size_t dot = baseName.rfind(L'.');
    if (dot != std::wstring::npos) baseName.erase(dot);
    const std::wstring currentCandidate = currentDirectory + L"\\" + baseName + L".vrx";
    if (FilePath(currentCandidate).exists()) return currentCandidate;
    return std::nullopt;
}
