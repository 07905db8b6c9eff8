#pragma once
// The working directory of one extraction attempt: the base folder it goes below, the directory
// the flow returns to when it gives up, and the fresh "I..." directory itself.
#include <cstdint>
#include <string>

struct AttemptDirectories {
    std::wstring baseDirectory;     // the chosen folder as picked, or the temporary folder with "\"
    std::wstring returnDirectory;   // current directory before the working directory was made
    std::wstring workingDirectory;  // full path with a trailing backslash

    // Makes the return directory current again and removes the working directory if it is
    // empty (a plain directory removal: extracted files keep it in place).
    void GiveUp() const;
};

// Fills baseDirectory: the chosen folder, else the system's temporary folder, else "C:\Temp"
// (created when missing). False after putting the window into its folder-problem state.
bool PrepareBase(AttemptDirectories& dirs);

// Creates the working directory below the base folder, with an access list that admits only the
// current user, SYSTEM and Administrators, and records its path in the process-wide state. The
// current directory is the return directory again afterwards. False after putting the window
// into its folder-problem state; a directory this call created and could not enter is removed.
bool MakeWorkingDirectory(AttemptDirectories& dirs);

// The free bytes of the current directory's drive (all free bytes, not the caller's quota).
// Returns 1 with freeBytes set, or 0 when the system library cannot be loaded.
int GetFreeDiskSpace(uint64_t& freeBytes);
