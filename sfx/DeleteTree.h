#pragma once
#include <string>

// Removes a directory and everything below it, depth first. With clearReadOnly, read-only
// attributes are cleared before deleting. Goes on past a failed entry and removes the directory
// itself only when everything inside it went. Fails without removing anything when the directory
// cannot be enumerated (it does not exist or cannot be read). True only if every step succeeded.
bool DeleteTree(const std::wstring& directory, bool clearReadOnly);

// Sets or clears the read-only attribute; false when the attributes cannot be read or written.
bool SetReadOnly(const std::wstring& path, bool readOnly);
