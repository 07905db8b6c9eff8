#include "FileSystem.h"

#include "ScopedHandle.h"

namespace filesystem_query {

Kind kindOf(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return Kind::Missing;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? Kind::Directory : Kind::File;
}

std::optional<std::wstring> fullPathName(const std::wstring& path) {
    wchar_t buffer[MAX_PATH];
    const DWORD length = GetFullPathNameW(path.c_str(), MAX_PATH, buffer, nullptr);
    if (length == 0 || length >= MAX_PATH) return std::nullopt;
    return std::wstring(buffer, length);
}

std::optional<std::wstring> longPathName(const std::wstring& path) {
    wchar_t buffer[MAX_PATH];
    const DWORD length = GetLongPathNameW(path.c_str(), buffer, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return std::nullopt;
    return std::wstring(buffer, length);
}

std::wstring currentDirectory() {
    wchar_t buffer[MAX_PATH];
    const DWORD length = GetCurrentDirectoryW(MAX_PATH, buffer);
    if (length == 0 || length >= MAX_PATH) return std::wstring();
    return std::wstring(buffer, length);
}

bool setCurrentDirectory(const std::wstring& path) {
    return SetCurrentDirectoryW(path.c_str()) != FALSE;
}

}  // namespace filesystem_query

namespace filesystem_query {

std::optional<std::string> readFile(const std::wstring& path) {
    corvane::KernelHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return std::nullopt;
    std::string bytes;
    char block[4096];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file.get(), block, sizeof block, &got, nullptr)) return std::nullopt;
        if (got == 0) break;
        bytes.append(block, got);
    }
    return bytes;
}

}  // namespace filesystem_query
