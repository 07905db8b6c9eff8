#pragma once
// Path helpers of the stub that need no Windows call, so they build and are tested natively.
#include <string>

// A path split like the C runtime's _wsplitpath: drive ("C:"), folder up to and including its last
// separator (backslash or slash), base name, and extension with its dot.
struct PathParts {
    std::wstring drive;
    std::wstring folder;
    std::wstring baseName;
    std::wstring extension;

    static PathParts Split(const std::wstring& path);
};
