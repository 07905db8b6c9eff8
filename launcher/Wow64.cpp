#include "Wow64.h"

namespace {

template <class Fn>
Fn kernelFunction(const char* name) {
    HMODULE kernel = GetModuleHandleW(L"kernel32");
    if (kernel == nullptr) return nullptr;
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(kernel, name)));
}

}  // namespace

bool runsUnderWow64() {
    using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, PBOOL);
    const auto isWow64Process = kernelFunction<IsWow64ProcessFn>("IsWow64Process");
    BOOL wow64 = FALSE;
    return isWow64Process != nullptr && isWow64Process(GetCurrentProcess(), &wow64) && wow64;
}

std::vector<void*>& savedRedirectionStates() {
    static std::vector<void*> states;
    return states;
}

void disableWow64Redirection() {
    if (!runsUnderWow64()) return;
    using DisableFn = BOOL(WINAPI*)(PVOID*);
    using RevertFn = BOOL(WINAPI*)(PVOID);
    using EnableFn = BOOLEAN(WINAPI*)(BOOLEAN);
    const auto disable = kernelFunction<DisableFn>("Wow64DisableWow64FsRedirection");
    const auto revert = kernelFunction<RevertFn>("Wow64RevertWow64FsRedirection");
    if (disable != nullptr && revert != nullptr) {
        void* state = nullptr;
        if (disable(&state)) savedRedirectionStates().push_back(state);
    } else if (const auto enable = kernelFunction<EnableFn>("Wow64EnableWow64FsRedirection")) {
        enable(FALSE);
    }
}
