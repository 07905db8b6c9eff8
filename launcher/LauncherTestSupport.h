#pragma once
// Test support for the launcher's unit tests, native and Windows alike: a fresh empty folder in
// the launcher's path form (backslashes), with files made inside it, removed afterwards.
#include "FilePath.h"

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

class ScratchFolder {
public:
    ScratchFolder() {
        std::random_device random;
        native_ = std::filesystem::temp_directory_path() /
                  ("launcher-test-" + std::to_string(random()) + std::to_string(random()));
        std::filesystem::create_directories(native_);
        path_ = FilePath(native_.wstring()).text();
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(native_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // The folder, e.g. "C:\users\me\Temp\launcher-test-1" or "\tmp\launcher-test-1".
    const std::wstring& path() const { return path_; }
    std::wstring operator/(const std::wstring& relative) const { return path_ + L"\\" + relative; }

    // Makes the file at `relative` ("a\b.txt"), its folders too, and returns its path.
    std::wstring file(const std::wstring& relative, const std::string& content = "x") const {
        const std::filesystem::path target = native(relative);
        std::filesystem::create_directories(target.parent_path());
        std::ofstream(target, std::ios::binary) << content;
        return *this / relative;
    }
    // Makes the folder at `relative` and returns its path.
    std::wstring folder(const std::wstring& relative) const {
        std::filesystem::create_directories(native(relative));
        return *this / relative;
    }

    // The folder, or `relative` inside it, as a path of the system the test runs on.
    std::filesystem::path native(std::wstring relative = std::wstring()) const {
        for (wchar_t& c : relative) {
            if (c == L'\\') c = std::filesystem::path::preferred_separator;
        }
        return relative.empty() ? native_ : native_ / relative;
    }

private:
    std::filesystem::path native_;
    std::wstring path_;
};

// Makes `directory` the current directory while it lives.
class CurrentDirectory {
public:
    explicit CurrentDirectory(const std::filesystem::path& directory)
        : previous_(std::filesystem::current_path()) {
        std::filesystem::current_path(directory);
    }
    ~CurrentDirectory() {
        std::error_code ignored;
        std::filesystem::current_path(previous_, ignored);
    }
    CurrentDirectory(const CurrentDirectory&) = delete;
    CurrentDirectory& operator=(const CurrentDirectory&) = delete;

private:
    std::filesystem::path previous_;
};
