#pragma once
// The few file-system questions the launcher's portable code asks. Windows answers them with the
// Win32 calls named below; the native build answers them through std::filesystem (backslashes
// read as separators) so that the portable code and its tests run on Linux too.
#include <optional>
#include <string>

namespace filesystem_query {

enum class Kind { Missing, File, Directory };

// GetFileAttributesW: Missing when the call fails.
Kind kindOf(const std::wstring& path);

// GetFullPathNameW with a buffer of 260 characters; nothing when the call fails or the result
// does not fit.
std::optional<std::wstring> fullPathName(const std::wstring& path);

// GetLongPathNameW with a buffer of 260 characters; nothing when the call fails or the result
// does not fit.
std::optional<std::wstring> longPathName(const std::wstring& path);

// GetCurrentDirectoryW with a buffer of 260 characters; empty when the call fails.
std::wstring currentDirectory();

// SetCurrentDirectoryW; false when the call fails.
bool setCurrentDirectory(const std::wstring& path);

}  // namespace filesystem_query

namespace filesystem_query {

// The whole content of an existing file, opened for reading with read sharing (CreateFileW with
// GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING); nothing when it cannot be opened or read.
std::optional<std::string> readFile(const std::wstring& path);

}  // namespace filesystem_query
