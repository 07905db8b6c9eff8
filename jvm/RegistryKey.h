#pragma once
// A small reader of registry keys: open (with two fallbacks), open below another key, list the
// subkey names and read string values. Every failure raises KeyException with the texts "key not
// open", "key query failed", "value not a string" or the system's text for the error.
#include "ScopedHandle.h"

#include <string>
#include <vector>

class RegistryKey {
public:
    RegistryKey() = default;
    RegistryKey(HKEY root, const std::wstring& path, REGSAM access) { open(root, path, access); }

    // Opens root\path with the access; when that fails, with KEY_QUERY_VALUE |
    // KEY_ENUMERATE_SUB_KEYS; when that fails too, below the root got through
    // RegConnectRegistryW for the local machine, with the access first given. A key already open
    // is closed first. When every attempt fails the key stays closed and KeyException carries
    // the system's text for the error and the path.
    void open(HKEY root, const std::wstring& path, REGSAM access);
    // Opens the subkey `name` of an open key with the same attempts; the path becomes the
    // parent's path, "\" and the name. A closed parent raises "key not open".
    void openBelow(const RegistryKey& parent, const std::wstring& name, REGSAM access);
    void close() noexcept;

    bool isOpen() const noexcept { return open_; }
    const std::wstring& path() const noexcept { return path_; }

    // The names of the subkeys in the registry's enumeration order (at most 255 characters
    // each). "key not open" when closed; "key query failed" when the listing fails on the way.
    std::vector<std::wstring> subkeyNames() const;

    // A REG_SZ, REG_EXPAND_SZ or REG_MULTI_SZ value of at most 512 bytes, with every NUL
    // character dropped (so the strings of a multi-string run together). "key not open" when
    // closed, "key query failed" when it is missing or longer, "value not a string" otherwise.
    std::wstring stringValue(const std::wstring& name) const;

private:
    void openHandle(HKEY root, const std::wstring& subPath, REGSAM access,
                    const std::wstring& path);

    bool open_ = false;
    std::wstring path_;
    corvane::RegistryKeyHandle handle_;
};

