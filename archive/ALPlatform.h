#pragma once
// The archive engine's one door to the operating system: low-level file calls on wide names,
// local time, and the window-message pump. ALPlatformWin.cpp implements it over the C runtime's
// wide low-level functions (and, for what the runtime lacks, the Win32 calls); ALPlatformPosix.cpp
// over POSIX, where wide names are passed on as UTF-8 and backslashes count as slashes, since
// member names come in Windows form.
// Every call that fails returns -1 (or false) and leaves the error number in errno.
#include "ALTimeStamp.h"

#include <cstdint>
#include <string>

namespace alsys {

// Attribute bits of ALStorage (bit 0 read-only, 1 system, 2 hidden, 3 archive).
constexpr uint16_t kReadOnly = 0x0001;
constexpr uint16_t kSystem = 0x0002;
constexpr uint16_t kHidden = 0x0004;
constexpr uint16_t kArchive = 0x0008;
constexpr uint16_t kDirectory = 0x4000;

// Binary read-only, sharing reading and writing with others.
int OpenForReading(const std::wstring& name);
// Binary read-write, created or truncated (exclusive: fails with EEXIST when the file exists),
// sharing reading and writing, permission to read and write.
int OpenForWriting(const std::wstring& name, bool exclusive);
int64_t Read(int fd, void* buffer, int64_t count);
int64_t Write(int fd, const void* buffer, int64_t count);
int64_t SeekTo(int fd, int64_t position);
int Close(int fd);

struct FileInfo {
    int64_t size = 0;
    int64_t modified = 0;  // seconds since 1970-01-01 UTC
};
bool Stat(int fd, FileInfo& info);

// The attribute bits of a file (0 when they cannot be read).
uint16_t GetAttributes(const std::wstring& name);
// Sets read-only, hidden, system and archive as the word says (other bits ignored).
bool SetAttributes(const std::wstring& name, uint16_t attributes);
// Makes an existing file writable; no effect when there is none.
void ClearReadOnly(const std::wstring& name);
// Sets the last-write time of an open file (seconds since 1970-01-01 UTC).
bool SetModifiedTime(int fd, int64_t seconds);

int Remove(const std::wstring& name);
int RenameFile(const std::wstring& from, const std::wstring& to);
int MakeDirectory(const std::wstring& name);

// Local calendar time of a UTC instant, and back (the daylight-saving state of that date
// applies in both directions). A time outside what the system converts gives year 0 / -1.
ALTimeStamp LocalTime(int64_t seconds);
int64_t FromLocalTime(const ALTimeStamp& stamp);

// Removes and dispatches every pending window message of this thread (nothing off Windows).
void PumpMessages();

}  // namespace alsys
