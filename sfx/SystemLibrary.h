#pragma once
#include "win32.h"

// Loads a DLL from the system directory only, by its full path there, so no copy in the
// installer's folder or on the PATH can stand in for it. Null when it cannot be loaded.
HMODULE LoadSystemLibrary(const wchar_t* name);
