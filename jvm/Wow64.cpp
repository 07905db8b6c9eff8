#include "Wow64.h"

#include "win32.h"

#include <vector>

namespace {

template <class Function>
Function KernelFunction(const wchar_t* module, const char* name) {
    const HMODULE kernel = ::GetModuleHandleW(module);
    if (kernel == nullptr) return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(kernel, name)));
}

class SystemQueries final : public Wow64Queries {
public:
    bool RunningUnderWow64() const override {
        using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, PBOOL);
        const auto isWow64 = KernelFunction<IsWow64ProcessFn>(L"kernel32", "IsWow64Process");
        BOOL wow64 = FALSE;
        return isWow64 != nullptr && isWow64(::GetCurrentProcess(), &wow64) && wow64;
    }

    std::wstring SystemWow64Directory() const override {
        using GetDirectoryFn = UINT(WINAPI*)(LPWSTR, UINT);
        const auto getDirectory =
            KernelFunction<GetDirectoryFn>(L"kernel32.dll", "GetSystemWow64DirectoryW");
        if (getDirectory == nullptr) return {};
        wchar_t buffer[MAX_PATH] = {};
        const UINT length = getDirectory(buffer, MAX_PATH);
        if (length == 0 || length >= MAX_PATH) return {};
        return std::wstring(buffer, length);
    }
};

// The redirection states saved at start-up; process-wide, never read back.
std::vector<void*>& SavedRedirectionStates() {
    static std::vector<void*> states;
    return states;
}

}  // namespace

const Wow64Queries& SystemWow64Queries() {
    static const SystemQueries queries;
    return queries;
}

void SwitchOffFileSystemRedirection(const Wow64Queries& queries) {
    if (!queries.RunningUnderWow64()) return;
    using DisableFn = BOOL(WINAPI*)(PVOID*);
    using RevertFn = BOOL(WINAPI*)(PVOID);
    using EnableFn = BOOLEAN(WINAPI*)(BOOLEAN);
    const auto disable = KernelFunction<DisableFn>(L"kernel32", "Wow64DisableWow64FsRedirection");
    const auto revert = KernelFunction<RevertFn>(L"kernel32", "Wow64RevertWow64FsRedirection");
    if (disable != nullptr && revert != nullptr) {
        PVOID state = nullptr;
        if (disable(&state)) SavedRedirectionStates().push_back(state);
        return;
    }
    if (const auto enable = KernelFunction<EnableFn>(L"kernel32", "Wow64EnableWow64FsRedirection"))
        enable(FALSE);
}

size_t SavedRedirectionStateCount() { return SavedRedirectionStates().size(); }

