#include "RegistryKey.h"

#include "Exceptions.h"

namespace {

constexpr REGSAM kQueryAndList = KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS;

// The system's text for an error code, in the neutral language, at most 128 characters. The
// line break FormatMessageW ends its texts with is dropped: the text goes into other messages.
std::wstring SystemErrorText(LSTATUS code) {
    wchar_t buffer[128] = {};
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        static_cast<DWORD>(code), MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), buffer,
        static_cast<DWORD>(std::size(buffer)), nullptr);
    std::wstring text(buffer, length);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r')) text.pop_back();
    return text;
}

}  // namespace

void RegistryKey::open(HKEY root, const std::wstring& path, REGSAM access) {
    openHandle(root, path, access, path);
}

void RegistryKey::openBelow(const RegistryKey& parent, const std::wstring& name, REGSAM access) {
    if (!parent.open_) throw KeyException(KeyException::NotOpen, L"");
    openHandle(parent.handle_.get(), name, access, parent.path_ + L"\\" + name);
}

void RegistryKey::openHandle(HKEY root, const std::wstring& subPath, REGSAM access,
                             const std::wstring& path) {
    close();
    HKEY key = nullptr;
    LSTATUS status = ::RegOpenKeyExW(root, subPath.c_str(), 0, access, &key);
    if (status != ERROR_SUCCESS) status = ::RegOpenKeyExW(root, subPath.c_str(), 0, kQueryAndList, &key);
    if (status != ERROR_SUCCESS) {
        corvane::RegistryKeyHandle connected;
        const LSTATUS connect = ::RegConnectRegistryW(nullptr, root, connected.Receive());
        if (connect == ERROR_SUCCESS) {
            status = ::RegOpenKeyExW(connected.get(), subPath.c_str(), 0, access, &key);
        }
    }
    // The message names the error of the last attempt, as returned by the registry call (the
    // registry functions do not set the thread's last error).
    if (status != ERROR_SUCCESS) throw KeyException(SystemErrorText(status), path);
    handle_.Reset(key);
    open_ = true;
    path_ = path;
}

void RegistryKey::close() noexcept {
    handle_.Reset();
    open_ = false;
}

std::vector<std::wstring> RegistryKey::subkeyNames() const {
    if (!open_) throw KeyException(KeyException::NotOpen, L"");
    std::vector<std::wstring> names;
    for (DWORD index = 0;; ++index) {
        wchar_t name[256] = {};
        DWORD length = static_cast<DWORD>(std::size(name));
        const LSTATUS status = ::RegEnumKeyExW(handle_.get(), index, name, &length, nullptr,
                                               nullptr, nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS) break;
        // Any other failure ends the listing with an error rather than looping for ever or
        // returning half a list as if it were whole.
        if (status != ERROR_SUCCESS) throw KeyException(KeyException::QueryFailed, path_);
        names.emplace_back(name, length);
    }
    return names;
}

std::wstring RegistryKey::stringValue(const std::wstring& name) const {
    if (!open_) throw KeyException(KeyException::NotOpen, L"");
    BYTE data[512] = {};
    DWORD size = sizeof(data);
    DWORD type = REG_NONE;
    if (::RegQueryValueExW(handle_.get(), name.c_str(), nullptr, &type, data, &size) !=
        ERROR_SUCCESS)
        throw KeyException(KeyException::QueryFailed, path_);
    if (type != REG_SZ && type != REG_EXPAND_SZ && type != REG_MULTI_SZ)
        throw KeyException(KeyException::NotAString, path_);
    std::wstring text;
    for (DWORD i = 0; i + 1 < size; i += 2) {
        const wchar_t c = static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
        if (c != L'\0') text += c;
    }
    return text;
}

