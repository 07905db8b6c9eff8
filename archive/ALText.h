#pragma once
// Text helpers of the archive engine: printf-style formatting into wide strings and the
// conversions between wide strings and the 8-bit forms of member names and file names.
#include <cstdarg>
#include <cstdint>
#include <string>
#include <string_view>

// printf rules on wide text; %ls takes a wide string on every platform.
std::wstring ALFormat(const wchar_t* format, ...);
std::wstring ALFormatV(const wchar_t* format, std::va_list args);

// UTF-8 to wide (UTF-16 on Windows, UTF-32 elsewhere). Malformed sequences, overlong forms,
// surrogates and values above U+10FFFF each become U+FFFD; nothing is dropped silently.
std::wstring ALUtf8ToWide(std::string_view bytes);

// Wide to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string ALWideToUtf8(std::wstring_view text);

// The system's 8-bit code page for names that do not carry the UTF-8 flag: the ANSI code page
// on Windows. Elsewhere it is the locale's, UTF-8; bytes that are not valid UTF-8 are taken
// one byte per character (ISO-8859-1) there, so ASCII names come out the same everywhere.
std::wstring ALAnsiToWide(std::string_view bytes);
// The reverse; on Windows characters the code page cannot hold become '?'.
std::string ALWideToAnsi(std::wstring_view text);

bool ALIsAscii(std::wstring_view text) noexcept;
