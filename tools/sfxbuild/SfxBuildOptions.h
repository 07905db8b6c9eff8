#pragma once
// The command line of sfxbuild, parsed without touching the file system.
#include "ALTimeStamp.h"

#include <optional>
#include <string>
#include <vector>

struct SfxBuildOptions {
    std::wstring stub;
    std::wstring launcher;  // path inside the source folder, as given (either separator)
    std::wstring output;
    std::wstring source;
    int level = 6;
    std::optional<ALTimeStamp> time;  // one stamp for every entry instead of the files' own
    bool quiet = false;
    bool help = false;
};

// Parses the arguments after the program name. On failure returns false with a message.
bool ParseSfxBuildOptions(const std::vector<std::wstring>& args, SfxBuildOptions& options, std::wstring& error);

// "YYYY-MM-DDTHH:MM:SS" within the DOS range (1980 to 2107); false for anything else.
bool ParseTimeStamp(const std::wstring& text, ALTimeStamp& stamp);

extern const char* const kSfxBuildUsage;
