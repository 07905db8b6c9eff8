#pragma once
// The stub's options, from its command line and from the properties input file beside the
// installer. Building them never fails: unknown tokens are ignored, a missing value ends the scan
// and an unreadable properties file is skipped.
#include "RunMode.h"

#include <string>
#include <vector>

struct StubOptions {
    RunMode mode = GuiMode;
    std::wstring inputFile;
    bool hasInitialHeap = false;
    std::wstring initialHeapValue;
    bool hasMaxHeap = false;
    std::wstring maxHeapValue;

    // commandLine is the program's command line without the program name; moduleFileName is the
    // full path of the running program, which locates the default properties input file.
    static StubOptions Build(const std::wstring& commandLine, const std::wstring& moduleFileName);
};

// Splits a command line at blanks outside double quotes. A quote pair always ends a token, even
// an empty one; a quote opened inside a token joins what follows to it (ab"c d" is one token).
std::vector<std::wstring> TokenizeStubCommandLine(const std::wstring& commandLine);

// "installer.properties" beside the program if it exists, else the program's base name with
// ".properties" beside it.
std::wstring DefaultInputFile(const std::wstring& moduleFileName);

// The mode named by the first line of the file that begins with installer_ui (after lowering
// A-Z), or `current` when the file has no such line or cannot be opened.
RunMode ReadInstallerUiMode(const std::wstring& path, RunMode current);
