#pragma once
// The text of the launcher's one error line: the title (string 110), ": ", the message and a
// newline.
#include <string>

// Messages longer than this many characters are cut. The bound is far above every text of the
// string table and every path the launcher reports, and keeps one console write small.
inline constexpr size_t kErrorMessageBound = 2048;

// The error line for `message`. A message above kErrorMessageBound characters is cut at the bound,
// one character earlier when the cut would split a surrogate pair; the newline always ends the
// line.
std::wstring errorLineText(const std::wstring& title, const std::wstring& message);

// Replaces the first "%d" of `text` by `number`. The texts of the string table hold at most one
// "%d" and no other conversion; replacing it, rather than handing a translated text to printf as
// a format, keeps a mistaken "%s" in a translation from reading stray memory.
std::wstring formatNumber(const std::wstring& text, long number);
