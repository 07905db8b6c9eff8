#include "ALPlatform.h"
#include "ALText.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>
#include <cstdio>
#include <ctime>

namespace alsys {
namespace {

// Names come in Windows form: backslashes separate folders here too.
std::string Native(const std::wstring& name) {
    std::string path = ALWideToUtf8(name);
    for (char& c : path) {
        if (c == '\\') c = '/';
    }
    return path;
}

}  // namespace

int OpenForReading(const std::wstring& name) {
    return ::open(Native(name).c_str(), O_RDONLY | O_CLOEXEC);
}

int OpenForWriting(const std::wstring& name, bool exclusive) {
    const int flags = O_RDWR | O_CREAT | O_CLOEXEC | (exclusive ? O_EXCL : O_TRUNC);
    return ::open(Native(name).c_str(), flags, 0666);
}

int64_t Read(int fd, void* buffer, int64_t count) {
    for (;;) {
        const ssize_t n = ::read(fd, buffer, static_cast<size_t>(count));
        if (n >= 0 || errno != EINTR) return n;
    }
}

int64_t Write(int fd, const void* buffer, int64_t count) {
    int64_t done = 0;
    const char* p = static_cast<const char*>(buffer);
    while (done < count) {
        const ssize_t n = ::write(fd, p + done, static_cast<size_t>(count - done));
        if (n < 0) {
            if (errno == EINTR) continue;
            return done > 0 ? done : -1;
        }
        if (n == 0) break;
        done += n;
    }
    return done;
}

int64_t SeekTo(int fd, int64_t position) {
    return ::lseek(fd, static_cast<off_t>(position), SEEK_SET);
}

int Close(int fd) { return ::close(fd); }

bool Stat(int fd, FileInfo& info) {
    struct stat st;
    if (::fstat(fd, &st) != 0) return false;
    info.size = st.st_size;
    info.modified = st.st_mtime;
    return true;
}

uint16_t GetAttributes(const std::wstring& name) {
    struct stat st;
    if (::stat(Native(name).c_str(), &st) != 0) return 0;
    return (st.st_mode & S_IWUSR) ? 0 : kReadOnly;
}

// Only read-only has a meaning here: hidden, system and archive have no POSIX counterpart.
bool SetAttributes(const std::wstring& name, uint16_t attributes) {
    const std::string path = Native(name);
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) return false;
    mode_t mode = st.st_mode & 07777;
    if (attributes & kReadOnly) {
        mode &= ~static_cast<mode_t>(S_IWUSR | S_IWGRP | S_IWOTH);
    } else {
        mode |= S_IWUSR;
    }
    return ::chmod(path.c_str(), mode) == 0;
}

void ClearReadOnly(const std::wstring& name) {
    const std::string path = Native(name);
    struct stat st;
    if (::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && !(st.st_mode & S_IWUSR)) {
        ::chmod(path.c_str(), (st.st_mode & 07777) | S_IWUSR);
    }
}

bool SetModifiedTime(int fd, int64_t seconds) {
    struct timespec times[2];
    times[0].tv_sec = 0;
    times[0].tv_nsec = UTIME_OMIT;  // the access time stays as it is
    times[1].tv_sec = static_cast<time_t>(seconds);
    times[1].tv_nsec = 0;
    return ::futimens(fd, times) == 0;
}

int Remove(const std::wstring& name) { return ::unlink(Native(name).c_str()); }

int RenameFile(const std::wstring& from, const std::wstring& to) {
    return ::rename(Native(from).c_str(), Native(to).c_str());
}

int MakeDirectory(const std::wstring& name) { return ::mkdir(Native(name).c_str(), 0777); }

ALTimeStamp LocalTime(int64_t seconds) {
    const time_t t = static_cast<time_t>(seconds);
    std::tm tm{};
    if (::localtime_r(&t, &tm) == nullptr) return ALTimeStamp{};
    return ALTimeStamp::FromTm(tm);
}

int64_t FromLocalTime(const ALTimeStamp& stamp) {
    std::tm tm = stamp.ToTm();
    return static_cast<int64_t>(std::mktime(&tm));
}

void PumpMessages() {}

// The 8-bit code page here is the locale's, which on the systems we build for is UTF-8. Bytes
// that are not valid UTF-8 are taken one byte per character (ISO-8859-1), so nothing is lost.
std::wstring AnsiToWideImpl(std::string_view bytes) {
    const std::wstring utf8 = ALUtf8ToWide(bytes);
    if (utf8.find(L'\uFFFD') == std::wstring::npos || bytes.find("\xEF\xBF\xBD") != std::string_view::npos) {
        return utf8;
    }
    std::wstring out;
    out.reserve(bytes.size());
    for (char c : bytes) out.push_back(static_cast<wchar_t>(static_cast<unsigned char>(c)));
    return out;
}

std::string WideToAnsiImpl(std::wstring_view text) { return ALWideToUtf8(text); }

}  // namespace alsys

std::wstring ALAnsiToWide(std::string_view bytes) { return alsys::AnsiToWideImpl(bytes); }
std::string ALWideToAnsi(std::wstring_view text) { return alsys::WideToAnsiImpl(text); }
