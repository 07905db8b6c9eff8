#pragma once
// Reading the version resource of a file (version.dll).
#include <array>
#include <cstdint>
#include <optional>
#include <string>

using FileVersionNumbers = std::array<std::uint16_t, 4>;

// The four numbers of the file version (high and low halves of the most significant word, then
// of the least significant one); nothing when the file has no readable version resource.
std::optional<FileVersionNumbers> FileVersionOf(const std::wstring& path);

// The string "\StringFileInfo\040904b0\CompanyName" of the version resource; nothing when the
// file has no version resource or no such string.
std::optional<std::wstring> CompanyNameOf(const std::wstring& path);

