#pragma once
// Everything a Java VM needs to launch the Java program, gathered from the property file and the
// launcher's command line before a VM is selected. Copied by value into each launch.
#include "FilePath.h"

#include <cstdint>
#include <string>
#include <vector>

struct JavaOptions {
    std::wstring mainClass;
    std::wstring classGcExtent;
    std::wstring additionalOptions;   // plus " -Xrs" in service mode
    std::wstring verboseSelection;    // "gc", "class" or empty
    FilePath workingDirectory;        // empty: the child inherits the current directory
    std::vector<std::wstring> ClassPath;          // resolved entries, in order
    std::vector<std::wstring> programArguments;   // the launcher's arguments after its name
    std::vector<std::wstring> launcherArguments;  // property file path, temporary file path
    int32_t microsoftVmMinBuild = 0;
    // Heap sizes in bytes; 0 or less means no option. 64-bit so that sizes of 2 GB and more
    // reach the command line whole (see property_rules::size).
    int64_t initialHeap = 0;
    int64_t maxHeap = 0;
    bool verbose = false;
    bool debugging = false;
    bool noAsyncGc = false;
    bool noJit = false;
};
