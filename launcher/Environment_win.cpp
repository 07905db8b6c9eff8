#include "Environment.h"

#include "win32.h"

namespace {

std::vector<std::wstring> processEntries() {
    std::vector<std::wstring> entries;
    wchar_t* block = GetEnvironmentStringsW();
    if (block == nullptr) return entries;
    for (const wchar_t* entry = block; *entry != L'\0'; entry += wcslen(entry) + 1) {
        entries.emplace_back(entry);
    }
    FreeEnvironmentStringsW(block);
    return entries;
}

// ExpandEnvironmentStringsW, first into 2048 characters; a longer expansion is done again into a
// buffer of the size the call asked for, so values of any length come out whole. When the call
// fails the raw value is used.
std::wstring expand(const std::wstring& raw) {
    std::wstring buffer(2048, L'\0');
    for (int attempt = 0; attempt < 4; ++attempt) {
        const DWORD needed = ExpandEnvironmentStringsW(raw.c_str(), buffer.data(),
                                                       static_cast<DWORD>(buffer.size()));
        if (needed == 0) return raw;
        if (needed <= buffer.size()) {
            buffer.resize(needed - 1);
            return buffer;
        }
        buffer.assign(needed, L'\0');
    }
    return raw;
}

}  // namespace

const Environment& Environment::instance() {
    static const Environment environment(processEntries(), expand);
    return environment;
}
