#pragma once
// The registry root named at the start of a text, as the JVM specification hints write them
// ("\HKEY_LOCAL_MACHINE\SOFTWARE\...").
#include "win32.h"

#include <optional>
#include <string_view>

// The root whose name (with its leading backslash, exact case) begins the text; the first
// name of the table that matches wins. Nothing when no name matches.
std::optional<HKEY> RootFromName(std::wstring_view text);

