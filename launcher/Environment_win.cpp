#include "Environment.h"

#include "win32.h"

#include <map>
#include <optional>

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

// The value of a variable of the live process environment (names in any letter case, as Windows
// compares them); nothing when there is no such variable.
std::optional<std::wstring> variable(const std::wstring& name) {
    std::wstring value(256, L'\0');
    for (;;) {
        SetLastError(ERROR_SUCCESS);
        const DWORD length = GetEnvironmentVariableW(name.c_str(), value.data(), static_cast<DWORD>(value.size()));
        if (length == 0) {
            if (GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
            return std::wstring();
        }
        if (length < value.size()) {
            value.resize(length);
            return value;
        }
        value.assign(length, L'\0');
    }
}

// ExpandEnvironmentStringsW, first into 2048 characters; a longer expansion is done again into a
// buffer of the size the call asked for. The call delivers only about 32K characters (it cuts the
// rest while still reporting the full size; Wine already cuts a result of 32767 characters), so
// a longer expansion is done here by the same rules, reference by reference: values of any
// length come out whole. When the call fails the same expansion is used.
std::wstring expand(const std::wstring& raw) {
    constexpr DWORD kLongestSystemExpansion = 32000;
    std::wstring buffer(2048, L'\0');
    DWORD needed = ExpandEnvironmentStringsW(raw.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
    if (needed > buffer.size() && needed <= kLongestSystemExpansion + 1) {
        buffer.assign(needed, L'\0');
        needed = ExpandEnvironmentStringsW(raw.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
    }
    if (needed != 0 && needed <= buffer.size()) {
        buffer.resize(needed - 1);
        return buffer;
    }
    std::map<std::wstring, std::wstring> looked;
    return expandReferences(raw, [&](const std::wstring& name) -> const std::wstring* {
        const std::optional<std::wstring> value = variable(name);
        return value ? &(looked[name] = *value) : nullptr;
    });
}

}  // namespace

const Environment& Environment::instance() {
    static const Environment environment(processEntries(), expand);
    return environment;
}
