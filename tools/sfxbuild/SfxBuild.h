#pragma once
// The installer builder: the stub program, the 1028-byte payload header and a ZIP archive of a
// folder tree, written through the archive engine into one file.
#include "SfxBuildOptions.h"

#include <string>

// Builds the installer the options describe. Messages go to standard error (progress, errors)
// and standard output (the summary). Returns the exit code: 0 on success, 1 on failure; on
// failure no output file is left behind and an existing one is unchanged.
int RunSfxBuild(const SfxBuildOptions& options);

// The payload header: "[>N" and a zero byte, then the launcher path with backslashes,
// zero-terminated and zero-padded to 1024 bytes. False when the path does not fit.
bool MakePayloadHeader(const std::wstring& launcher, std::string& header);
