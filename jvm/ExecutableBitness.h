#pragma once
// The bitness of a Windows executable, read from its PE headers.
#include <cstddef>
#include <cstdint>
#include <span>

enum class ExecutableBitness : int { Unknown = 0, X86 = 1, X64 = 2 };

// Reads the headers at the start of an executable image (the file's bytes as they are on disk).
// X86 for a PE32 image for the i386 machine, X64 for a PE32+ image for the x64 machine; Unknown
// for anything else, including a truncated or malformed image. Never reads outside the bytes.
ExecutableBitness BitnessFromImage(std::span<const std::uint8_t> image);

