#pragma once
// The text side of the hand-over to the launcher: which extracted program is the launcher, the
// command line it gets and the bytes of the sea_loc file. None of it calls Windows, so it builds
// and is tested natively. Paths are Windows paths; the working directory ends in a backslash.
#include <string>

// Folders of the payload that carry a launcher.
extern const wchar_t kLauncherFolder32[];  // "Windows\"
extern const wchar_t kLauncherFolder64[];  // "Windows_Pure_64_Bit\"

// The bytes of sea_loc: the module file name in UTF-8, a line feed and a zero byte.
std::string SeaLocBytes(const std::wstring& moduleFileName);

// First guess: the program named like the stub in the Windows folder.
std::wstring FirstLauncherGuess(const std::wstring& workingDirectory,
                                const std::wstring& stubNameAndExtension);

// After sea_loc is written: when the guess does not exist, the first "*.exe" of the 64-bit
// folder, or that folder's own path (ending in a backslash) when it holds none.
std::wstring RefineLauncherAfterSeaLoc(const std::wstring& workingDirectory,
                                       const std::wstring& launcherPath);

// Before the start: when the launcher path does not exist, the first "*.exe" of the Windows
// folder, else of the 64-bit folder, if it exists; otherwise the path stays and the start fails.
// Prints "Unable to locate 32 bit installer to execute" and "Unable to locate 64 bit installer
// to execute" on standard output for each folder searched in vain.
std::wstring RefineLauncherBeforeStart(const std::wstring& workingDirectory,
                                       const std::wstring& launcherPath);

// The stub's own arguments: everything after the first delimiter of its command line, where the
// delimiter is a double quote when the line begins with one (searched from index 1), else a
// blank. Empty when there is no delimiter.
std::wstring LauncherArguments(const std::wstring& commandLine);

// The launcher's command line: its path with every "/" turned into "\", one blank, and the
// stub's arguments. The path is not quoted: the launcher sees exactly this line.
std::wstring LauncherCommandLine(const std::wstring& launcherPath, const std::wstring& commandLine);
