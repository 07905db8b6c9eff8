#pragma once
// The only header that includes the Windows headers. It pins the Windows version the programs
// are written for (mingw-w64 otherwise defines an older one) and asks for the wide API.
#ifndef _WIN32
#error "win32.h is for the Windows builds only"
#endif

#ifndef UNICODE
#define UNICODE
#endif
#ifndef _UNICODE
#define _UNICODE
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0601
#undef WINVER
#define WINVER 0x0601

#include <windows.h>
