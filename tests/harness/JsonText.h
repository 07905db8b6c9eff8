// A text as the test programs write it into their JSON records: quoted, with backslash and
// quote escaped and every character outside printable ASCII as \uXXXX, so a record is plain
// ASCII whatever the paths and arguments hold.
#pragma once

#include <cstdio>
#include <string>

inline std::string JsonText(const std::wstring& text) {
    std::string out = "\"";
    for (wchar_t c : text) {
        if (c == L'"' || c == L'\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || c > 0x7E) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
            out += escape;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}
