#include "FilePath.h"

#include "FileSystem.h"

namespace {

std::wstring normalise(std::wstring text) {
    // A network name keeps its two leading backslashes; the rules apply to what follows.
    const size_t start = text.starts_with(L"\\\\") ? 2 : 0;
    std::wstring rest = text.substr(start);
    for (size_t at = rest.find(L"\\\\"); at != std::wstring::npos; at = rest.find(L"\\\\", at)) {
        rest.erase(at, 1);
    }
    for (wchar_t& c : rest) {
        if (c == L'/') c = L'\\';
    }
    std::wstring result = text.substr(0, start) + rest;
    if (result.find(L'~') != std::wstring::npos) {
        if (auto expanded = filesystem_query::longPathName(result)) result = *expanded;
    }
    return result;
}

}  // namespace

std::wstring asciiLower(std::wstring text) {
    for (wchar_t& c : text) {
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
    }
    return text;
}

std::wstring asciiUpper(std::wstring text) {
    for (wchar_t& c : text) {
        if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
    }
    return text;
}

std::wstring fullPathText(const std::wstring& text, bool expandShortNames) {
    if (text.starts_with(L'/')) return text;
    std::wstring full = filesystem_query::fullPathName(text).value_or(text);
    if (expandShortNames && full.find(L'~') != std::wstring::npos) {
        if (auto expanded = filesystem_query::longPathName(full)) full = *expanded;
    }
    return full;
}

FilePath::FilePath(std::wstring text) : text_(normalise(std::move(text))) {}

bool FilePath::exists() const {
    return filesystem_query::kindOf(text_) != filesystem_query::Kind::Missing;
}

bool FilePath::isDirectory() const {
    return filesystem_query::kindOf(text_) == filesystem_query::Kind::Directory;
}

bool FilePath::hasExtension() const {
    const size_t slash = text_.rfind(L'\\');
    const size_t from = slash == std::wstring::npos ? 1 : slash + 1;
    return from < text_.size() && text_.find(L'.', from) != std::wstring::npos;
}

std::wstring FilePath::extension() const {
    if (!hasExtension()) return std::wstring();
    return asciiLower(text_.substr(text_.rfind(L'.') + 1));
}

std::wstring FilePath::name(bool lowerCase) const {
    const size_t slash = text_.rfind(L'\\');
    std::wstring result = slash == std::wstring::npos ? text_ : text_.substr(slash + 1);
    return lowerCase ? asciiLower(std::move(result)) : result;
}

std::wstring FilePath::parent(const std::wstring& fallback) const {
    const size_t slash = text_.rfind(L'\\');
    return slash == std::wstring::npos ? fallback : text_.substr(0, slash);
}

bool FilePath::isAbsolute() const {
    return text_.starts_with(L'\\') || (text_.size() >= 2 && text_[1] == L':');
}

FilePath FilePath::fullPath(bool expandShortNames) const {
    return FilePath(fullPathText(text_, expandShortNames));
}
