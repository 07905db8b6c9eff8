#pragma once
// The process's relation to WOW64 and its file-system redirection.
#include "win32.h"

#include <vector>

// The process is a 32-bit process on 64-bit Windows (IsWow64Process, looked up in kernel32;
// false when the function is missing or fails). The one place that asks, so tests and callers
// share the answer.
bool runsUnderWow64();

// Switches WOW64 file-system redirection off for the rest of the process when it runs under
// WOW64: Wow64DisableWow64FsRedirection when it and Wow64RevertWow64FsRedirection exist (the
// saved state goes into savedRedirectionStates()), else Wow64EnableWow64FsRedirection(FALSE).
void disableWow64Redirection();

// The process-wide list of saved redirection states.
std::vector<void*>& savedRedirectionStates();
