#pragma once
// Where the launcher finds itself and its property file.
#include <optional>
#include <string>
#include <vector>

// The running program's path from the first command-line argument: ".exe" is added when the
// name has no extension; the path is used as it is (it may be relative) when that file exists,
// else the first `pathDirectories` entry D for which D + "\" + path exists gives the result.
// Nothing when no file is found.
std::optional<std::wstring> locateExecutable(const std::wstring& firstArgument,
                                             const std::vector<std::wstring>& pathDirectories);

// The property file of the executable: the path with ".exe" replaced by ".vrx", else the path +
// ".vrx", else `currentDirectory` + "\" + the executable's base name + ".vrx". Nothing when none
// of them exists.
std::optional<std::wstring> locatePropertyFile(const std::wstring& executablePath,
                                               const std::wstring& currentDirectory);
