#include "TemporaryPropertyFile.h"

#include <cwchar>

std::wstring escapeForPropertyFile(const std::wstring& text) {
    std::wstring out;
    out.reserve(text.size());
    for (wchar_t c : text) {
        if (c == L'\\') {
            out += L"\\\\";
        } else if (static_cast<unsigned>(c) > 127) {
            wchar_t escape[8];
            swprintf(escape, 8, L"\\u%04x", static_cast<unsigned>(c) & 0xFFFF);
            out += escape;
        } else {
            out += c;
        }
    }
    return out;
}

std::string textModeBytes(const std::wstring& text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (wchar_t c : text) {
        if (c == L'\n') out += '\r';
        out += static_cast<unsigned>(c) <= 255 ? static_cast<char>(c) : '?';
    }
    return out;
}
