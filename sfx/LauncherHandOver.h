#pragma once
// The last phase of an attempt: the sea_loc pointer back to the installer, the choice of the
// extracted launcher and its start.
#include "WorkingDirectory.h"

#include <string>

// Writes sea_loc into the working directory. Returns 1, or 0 after giving up the attempt and
// asking for another location.
int WriteSeaLoc(const AttemptDirectories& dirs);

// Starts the launcher in the working directory with the stub's own arguments (heap options
// removed when any were given). The launcher path is refined first when it does not exist.
// Returns 1 with the launcher recorded in the process-wide state, or 0 after showing error 18
// and giving up the attempt. The current directory stays the working directory on success.
int StartLauncher(const AttemptDirectories& dirs, std::wstring launcherPath);
