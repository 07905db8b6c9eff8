#include "RegistryRoots.h"

#include <array>
#include <utility>

std::optional<HKEY> RootFromName(std::wstring_view text) {
    static const std::array<std::pair<std::wstring_view, HKEY>, 9> kRoots{{
        {L"\\HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},
        {L"\\HKEY_CURRENT_USER", HKEY_CURRENT_USER},
        {L"\\HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},
        {L"\\HKEY_USERS", HKEY_USERS},
        {L"\\HKEY_PERFORMANCE_DATA", HKEY_PERFORMANCE_DATA},
        {L"\\HKEY_PERFORMANCE_TEXT", HKEY_PERFORMANCE_TEXT},
        {L"\\HKEY_PERFORMANCE_NLSTEXT", HKEY_PERFORMANCE_NLSTEXT},
        {L"\\HKEY_CURRENT_CONFIG", HKEY_CURRENT_CONFIG},
        {L"\\HKEY_DYN_DATA", HKEY_DYN_DATA},
    }};
    for (const auto& [name, root] : kRoots)
        if (text.starts_with(name)) return root;
    return std::nullopt;
}

