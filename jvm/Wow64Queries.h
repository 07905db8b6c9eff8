#pragma once
// What the JVM search asks about WOW64: whether this 32-bit process runs on 64-bit Windows, and
// where that Windows keeps its 32-bit system folder. Code that depends on the answers takes a
// Wow64Queries, so tests can give both answers on a machine where only one is true (no process
// is WOW64 under Wine64).
#include <string>

class Wow64Queries {
public:
    virtual ~Wow64Queries() = default;
    // IsWow64Process for this process; false when the function does not exist.
    virtual bool RunningUnderWow64() const = 0;
    // GetSystemWow64DirectoryW (at most 260 characters); empty when it does not exist or fails.
    virtual std::wstring SystemWow64Directory() const = 0;
};

// The answers of the running system.
const Wow64Queries& SystemWow64Queries();
