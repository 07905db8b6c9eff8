#include "FileSystem.h"

#include <filesystem>

namespace filesystem_query {

namespace {

constexpr size_t kPathBuffer = 260;

std::filesystem::path toNative(std::wstring path) {
    for (wchar_t& c : path) {
        if (c == L'\\') c = L'/';
    }
    return std::filesystem::path(path);
}

std::wstring fromNative(const std::filesystem::path& path) {
    std::wstring text = path.wstring();
    for (wchar_t& c : text) {
        if (c == L'/') c = L'\\';
    }
    return text;
}

}  // namespace

Kind kindOf(const std::wstring& path) {
    std::error_code ec;
    const auto status = std::filesystem::status(toNative(path), ec);
    if (ec || !std::filesystem::exists(status)) return Kind::Missing;
    return std::filesystem::is_directory(status) ? Kind::Directory : Kind::File;
}

std::optional<std::wstring> fullPathName(const std::wstring& path) {
    if (path.empty()) return std::nullopt;
    std::error_code ec;
    const auto full = std::filesystem::absolute(toNative(path), ec).lexically_normal();
    if (ec) return std::nullopt;
    std::wstring text = fromNative(full);
    if (text.size() >= kPathBuffer) return std::nullopt;
    return text;
}

std::optional<std::wstring> longPathName(const std::wstring& path) {
    if (kindOf(path) == Kind::Missing) return std::nullopt;
    return path;
}

std::wstring currentDirectory() {
    std::error_code ec;
    const auto cwd = std::filesystem::current_path(ec);
    return ec ? std::wstring() : fromNative(cwd);
}

bool setCurrentDirectory(const std::wstring& path) {
    std::error_code ec;
    std::filesystem::current_path(toNative(path), ec);
    return !ec;
}

}  // namespace filesystem_query

#include <fstream>
#include <sstream>

namespace filesystem_query {

std::optional<std::string> readFile(const std::wstring& path) {
    if (kindOf(path) != Kind::File) return std::nullopt;
    std::ifstream in(toNative(path), std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

}  // namespace filesystem_query
