#pragma once
// The text of the Java command line in the dialect of each VM class. Text only: nothing here
// looks at the disk or starts a process, so the exact bytes can be checked on any platform.
#include "JavaOptions.h"

#include <cstdint>
#include <string>
#include <vector>

// Every entry followed by ";" (the text ends with ";").
std::wstring ClassPathText(const std::vector<std::wstring>& entries);

// The launcher arguments, each quoted with "/" for "\" and followed by one blank, then the
// program arguments separated by one blank, each with its backslashes doubled and quoted when it
// holds a blank.
std::wstring ArgumentText(const JavaOptions& options);

// Java 1.2 and later: the -X options, the two Java 9 options from major 9 on, "-classpath".
std::wstring ModernCommandLine(const std::wstring& executable, std::int32_t major,
                               const JavaOptions& options);

// Java 1.1: the old option spellings; home\lib\classes.zip ends the class path; "-cp" for
// jre.exe and jrew.exe, "-classpath" otherwise.
std::wstring OldCommandLine(const std::wstring& executable, const std::wstring& home,
                            const JavaOptions& options);

// The Microsoft VM: no options at all, "/cp" and the class path as built.
std::wstring MicrosoftCommandLine(const std::wstring& executable, const JavaOptions& options);

