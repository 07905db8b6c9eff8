#include "FileVersion.h"

#include "win32.h"

#include <vector>

namespace {

// The whole version resource of the file; empty when there is none.
std::vector<BYTE> VersionResource(const std::wstring& path) {
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(path.c_str(), &ignored);
    if (size == 0) return {};
    std::vector<BYTE> block(size);
    if (!::GetFileVersionInfoW(path.c_str(), 0, size, block.data())) return {};
    return block;
}

}  // namespace

std::optional<FileVersionNumbers> FileVersionOf(const std::wstring& path) {
    std::vector<BYTE> block = VersionResource(path);
    if (block.empty()) return std::nullopt;
    void* value = nullptr;
    UINT length = 0;
    if (!::VerQueryValueW(block.data(), L"\\", &value, &length) || value == nullptr ||
        length < sizeof(VS_FIXEDFILEINFO))
        return std::nullopt;
    const auto* info = static_cast<const VS_FIXEDFILEINFO*>(value);
    return FileVersionNumbers{HIWORD(info->dwFileVersionMS), LOWORD(info->dwFileVersionMS),
                              HIWORD(info->dwFileVersionLS), LOWORD(info->dwFileVersionLS)};
}

std::optional<std::wstring> CompanyNameOf(const std::wstring& path) {
    std::vector<BYTE> block = VersionResource(path);
    if (block.empty()) return std::nullopt;
    void* value = nullptr;
    UINT length = 0;
    if (!::VerQueryValueW(block.data(), L"\\StringFileInfo\\040904b0\\CompanyName", &value,
                          &length) ||
        value == nullptr)
        return std::nullopt;
    // The length counts characters and may include the terminating NUL.
    std::wstring text(static_cast<const wchar_t*>(value), length);
    while (!text.empty() && text.back() == L'\0') text.pop_back();
    return text;
}

