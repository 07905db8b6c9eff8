#include "PortableFile.h"

#include <cstdint>

#ifdef _WIN32
#include "ScopedHandle.h"
#include "win32.h"
#else
#include <dirent.h>
#include <sys/stat.h>
#endif

#include <cwctype>

std::string ToUtf8(const std::wstring& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        uint32_t c = static_cast<uint32_t>(text[i]);
        if constexpr (sizeof(wchar_t) == 2) {
            if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() &&
                text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
                c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<uint32_t>(text[i + 1]) - 0xDC00);
                ++i;
            } else if (c >= 0xD800 && c <= 0xDFFF) {
                c = 0xFFFD;
            }
        } else if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) {
            c = 0xFFFD;
        }
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

#ifdef _WIN32

bool FileSystemObjectExists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

UniqueFile OpenFile(const std::wstring& path, const char* mode) {
    std::wstring wideMode(mode, mode + std::char_traits<char>::length(mode));
    return UniqueFile(_wfopen(path.c_str(), wideMode.c_str()));
}

bool IsDirectory(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::wstring FirstFileWithExtension(const std::wstring& folder, const std::wstring& extension) {
    WIN32_FIND_DATAW data;
    corvane::FindHandle find(FindFirstFileW((folder + L"*" + extension).c_str(), &data));
    if (!find) return std::wstring();
    return data.cFileName;
}

#else

namespace {

std::string NativePath(const std::wstring& path) {
    std::string bytes = ToUtf8(path);
    for (char& c : bytes) {
        if (c == '\\') c = '/';
    }
    return bytes;
}

bool EndsWithNoCase(const std::wstring& name, const std::wstring& suffix) {
    if (name.size() < suffix.size()) return false;
    const size_t offset = name.size() - suffix.size();
    for (size_t i = 0; i < suffix.size(); ++i) {
        if (std::towlower(name[offset + i]) != std::towlower(suffix[i])) return false;
    }
    return true;
}

std::wstring WideFromNameBytes(const std::string& bytes) {
    // Only the extension is compared, and it is ASCII: other bytes are carried over one by one.
    return std::wstring(bytes.begin(), bytes.end());
}

}  // namespace

bool FileSystemObjectExists(const std::wstring& path) {
    struct stat st;
    return !path.empty() && ::stat(NativePath(path).c_str(), &st) == 0;
}

UniqueFile OpenFile(const std::wstring& path, const char* mode) {
    return UniqueFile(std::fopen(NativePath(path).c_str(), mode));
}

bool IsDirectory(const std::wstring& path) {
    struct stat st;
    return !path.empty() && ::stat(NativePath(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::wstring FirstFileWithExtension(const std::wstring& folder, const std::wstring& extension) {
    DIR* dir = ::opendir(NativePath(folder).c_str());
    if (dir == nullptr) return std::wstring();
    std::wstring found;
    while (dirent* entry = ::readdir(dir)) {
        const std::wstring name = WideFromNameBytes(entry->d_name);
        if (name != L"." && name != L".." && EndsWithNoCase(name, extension)) {
            found = name;
            break;
        }
    }
    ::closedir(dir);
    return found;
}

#endif
