#include "PathParts.h"

PathParts PathParts::Split(const std::wstring& path) {
    PathParts parts;
    std::wstring rest = path;
    if (rest.size() >= 2 && rest[1] == L':') {
        parts.drive = rest.substr(0, 2);
        rest.erase(0, 2);
    }
    const size_t lastSeparator = rest.find_last_of(L"\\/");
    if (lastSeparator != std::wstring::npos) {
        parts.folder = rest.substr(0, lastSeparator + 1);
        rest.erase(0, lastSeparator + 1);
    }
    const size_t dot = rest.find_last_of(L'.');
    if (dot != std::wstring::npos) {
        parts.extension = rest.substr(dot);
        rest.erase(dot);
    }
    parts.baseName = rest;
    return parts;
}
