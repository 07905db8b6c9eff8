#pragma once
// The few file operations the stub's portable code needs, over the C runtime's wide functions on
// Windows and over POSIX elsewhere (where wide paths are taken as UTF-8).
#include <cstdio>
#include <memory>
#include <string>

// True when the file system object's attributes can be read.
bool FileSystemObjectExists(const std::wstring& path);

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
