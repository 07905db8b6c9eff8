// The Windows side of ALPlatform.h: the C runtime's wide low-level file functions, and the few
// Win32 calls the runtime has no counterpart for (the message pump, the hidden and system
// attributes, the ANSI code page).
#include "ALPlatform.h"
#include "ALText.h"

#include "win32.h"

#include <cerrno>
#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/utime.h>
#include <ctime>
#include <direct.h>
#include <cstdio>

namespace alsys {

int OpenForReading(const std::wstring& name) {
    return ::_wsopen(name.c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT, _SH_DENYNO);
}

int OpenForWriting(const std::wstring& name, bool exclusive) {
    const int flags = _O_RDWR | _O_BINARY | _O_CREAT | _O_NOINHERIT | (exclusive ? _O_EXCL : _O_TRUNC);
    return ::_wsopen(name.c_str(), flags, _SH_DENYNO, _S_IREAD | _S_IWRITE);
}

int64_t Read(int fd, void* buffer, int64_t count) {
    return ::_read(fd, buffer, static_cast<unsigned>(count));
}

int64_t Write(int fd, const void* buffer, int64_t count) {
    int64_t done = 0;
    const char* p = static_cast<const char*>(buffer);
    while (done < count) {
        const int n = ::_write(fd, p + done, static_cast<unsigned>(count - done));
        if (n < 0) return done > 0 ? done : -1;
        if (n == 0) break;
        done += n;
    }
    return done;
}

int64_t SeekTo(int fd, int64_t position) { return ::_lseeki64(fd, position, SEEK_SET); }

int Close(int fd) { return ::_close(fd); }

bool Stat(int fd, FileInfo& info) {
    struct _stat64 st;
    if (::_fstat64(fd, &st) != 0) return false;
    info.size = st.st_size;
    info.modified = st.st_mtime;
    return true;
}

uint16_t GetAttributes(const std::wstring& name) {
    const DWORD a = ::GetFileAttributesW(name.c_str());
    if (a == INVALID_FILE_ATTRIBUTES) return 0;
    uint16_t word = 0;
    if (a & FILE_ATTRIBUTE_READONLY) word |= kReadOnly;
    if (a & FILE_ATTRIBUTE_SYSTEM) word |= kSystem;
    if (a & FILE_ATTRIBUTE_HIDDEN) word |= kHidden;
    if (a & FILE_ATTRIBUTE_ARCHIVE) word |= kArchive;
    return word;
}

bool SetAttributes(const std::wstring& name, uint16_t word) {
    DWORD a = 0;
    if (word & kReadOnly) a |= FILE_ATTRIBUTE_READONLY;
    if (word & kSystem) a |= FILE_ATTRIBUTE_SYSTEM;
    if (word & kHidden) a |= FILE_ATTRIBUTE_HIDDEN;
    if (word & kArchive) a |= FILE_ATTRIBUTE_ARCHIVE;
    if (a == 0) return true;  // a word without these bits sets no attributes
    if (::SetFileAttributesW(name.c_str(), a)) return true;
    errno = EACCES;
    return false;
}

void ClearReadOnly(const std::wstring& name) {
    const DWORD a = ::GetFileAttributesW(name.c_str());
    if (a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_READONLY) && !(a & FILE_ATTRIBUTE_DIRECTORY)) {
        ::SetFileAttributesW(name.c_str(), a & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
    }
}

bool SetModifiedTime(int fd, int64_t seconds) {
    const HANDLE h = reinterpret_cast<HANDLE>(::_get_osfhandle(fd));
    if (h == INVALID_HANDLE_VALUE) return false;
    // 100-ns intervals since 1601-01-01; creation and access times stay untouched.
    const uint64_t ticks = (static_cast<uint64_t>(seconds) + 11644473600ULL) * 10000000ULL;
    FILETIME ft;
    ft.dwLowDateTime = static_cast<DWORD>(ticks);
    ft.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
    return ::SetFileTime(h, nullptr, nullptr, &ft) != 0;
}

int Remove(const std::wstring& name) { return ::_wunlink(name.c_str()); }

int RenameFile(const std::wstring& from, const std::wstring& to) {
    return ::_wrename(from.c_str(), to.c_str());
}

int MakeDirectory(const std::wstring& name) { return ::_wmkdir(name.c_str()); }

ALTimeStamp LocalTime(int64_t seconds) {
    const __time64_t t = seconds;
    std::tm tm{};
    if (::_localtime64_s(&tm, &t) != 0) return ALTimeStamp{};
    return ALTimeStamp::FromTm(tm);
}

int64_t FromLocalTime(const ALTimeStamp& stamp) {
    std::tm tm = stamp.ToTm();
    return static_cast<int64_t>(::_mktime64(&tm));
}

void PumpMessages() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

}  // namespace alsys

std::wstring ALAnsiToWide(std::string_view bytes) {
    if (bytes.empty()) return std::wstring();
    const int n = ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0) {
        ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), out.data(), n);
    }
    return out;
}

std::string ALWideToAnsi(std::wstring_view text) {
    if (text.empty()) return std::string();
    const int n = ::WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                        nullptr, nullptr);
    std::string out(static_cast<size_t>(n > 0 ? n : 0), '\0');
    if (n > 0) {
        ::WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr,
                              nullptr);
    }
    return out;
}
