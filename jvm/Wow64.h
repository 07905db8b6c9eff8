#pragma once
// What the launcher asks about WOW64: whether this 32-bit process runs on 64-bit Windows, and
// where that Windows keeps its 32-bit system folder. Code that depends on the answers takes a
// Wow64Queries, so tests can give both answers on a machine where only one is true.
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

// Under WOW64, switches file-system redirection off for the rest of the process: through
// Wow64DisableWow64FsRedirection when it and its revert function exist (the saved state goes to
// the process-wide list below), else through Wow64EnableWow64FsRedirection(FALSE). Does nothing
// outside WOW64 or when neither function exists.
void SwitchOffFileSystemRedirection(const Wow64Queries& queries = SystemWow64Queries());

// How many redirection states have been saved; the states themselves are kept until the process
// ends and are never restored.
size_t SavedRedirectionStateCount();

