#pragma once
// Facts read from an executable file on disk.
#include "ExecutableBitness.h"

#include <string>

// Maps the file read-only and reads its PE headers; Unknown when the file cannot be opened or
// mapped (an empty file cannot be mapped).
ExecutableBitness BitnessOfFile(const std::wstring& path);

