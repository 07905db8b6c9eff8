#pragma once
// Directories that only their owner, SYSTEM and the Administrators can use.
#include <string>

// Creates a directory whose access list is protected (nothing is inherited from the parent) and
// grants full control, inherited by everything created inside, to the current user, SYSTEM and
// the Administrators group only. Below a shared temporary folder no other user can then plant a
// DLL or swap the launcher between extraction and start. Returns what CreateDirectoryW returns,
// with its last error; a failure to build the access list fails with that error.
bool CreatePrivateDirectory(const std::wstring& path);

// The access list that CreatePrivateDirectory gives, as a security descriptor string.
std::wstring PrivateDirectorySddl();
