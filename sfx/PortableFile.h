#pragma once
// The few file operations the stub's portable code needs, over the C runtime's wide functions on
// Windows and over POSIX elsewhere (where wide paths are taken as UTF-8).
#include <cstdio>
#include <memory>
#include <string>

// On POSIX a backslash in a path is taken as a separator, so the stub's Windows-style paths
// name the same files in the native build.

// True when the file system object's attributes can be read.
bool FileSystemObjectExists(const std::wstring& path);

// True when the path names an existing directory.
bool IsDirectory(const std::wstring& path);

// The name of the first object in `folder` (which ends in a separator) whose name ends in
// `extension` (".exe"; compared without regard to case), in the order the system lists the
// folder; empty when there is none or the folder cannot be read.
std::wstring FirstFileWithExtension(const std::wstring& folder, const std::wstring& extension);

struct FileCloser {
    void operator()(std::FILE* f) const noexcept {
        if (f) std::fclose(f);
    }
};
using UniqueFile = std::unique_ptr<std::FILE, FileCloser>;

// fopen with a wide path and a narrow mode ("r", "a", "wb", ...).
UniqueFile OpenFile(const std::wstring& path, const char* mode);

// UTF-8 from wide text; unpaired surrogates become U+FFFD.
std::string ToUtf8(const std::wstring& text);
