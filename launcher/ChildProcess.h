#pragma once
// Starting the Java process: it shares the launcher's console and environment.
#include "JavaOptions.h"
#include "win32.h"

#include <string>

// Starts `commandLine` as a child process with the console's standard handles, inherited
// handles, the launcher's environment and the options' working directory (the launcher's own
// current directory when that is empty). When `wait` is set, returns only after the child has
// ended. Returns the child's process handle, which the caller owns. Raises TerminalError with
// string 103 and the Windows error number when the process cannot be created.
HANDLE createJavaProcess(const JavaOptions& options, const std::wstring& commandLine, bool wait);
