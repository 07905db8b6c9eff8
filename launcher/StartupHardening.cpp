// Narrows the DLL search order before anything else in the launcher runs: a product folder may
// be writable by its users, and a planted DLL must never be loaded in place of a system one.
// Each step is skipped when the running Windows lacks the function.
#include "win32.h"

namespace {

template <class Fn>
Fn kernelFunction(HMODULE kernel, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(kernel, name)));
}

struct DllSearchHardening {
    DllSearchHardening() {
        HMODULE kernel = GetModuleHandleW(L"KERNEL32");
        if (kernel == nullptr) return;
        using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
        using SetDllDirectoryFn = BOOL(WINAPI*)(LPCWSTR);
        using SetSearchPathModeFn = BOOL(WINAPI*)(DWORD);
        if (auto f = kernelFunction<SetDefaultDllDirectoriesFn>(kernel, "SetDefaultDllDirectories")) {
            f(0x800);  // LOAD_LIBRARY_SEARCH_SYSTEM32
        }
        if (auto f = kernelFunction<SetDllDirectoryFn>(kernel, "SetDllDirectoryW")) {
            f(L"");  // takes the current directory out of the search path
        }
        if (auto f = kernelFunction<SetSearchPathModeFn>(kernel, "SetSearchPathMode")) {
            f(0x8001);  // BASE_SEARCH_PATH_ENABLE_SAFE_SEARCHMODE | BASE_SEARCH_PATH_PERMANENT
        }
    }
};

// Initialised ahead of the program's ordinary static objects, so nothing loads a library before
// the search order is narrowed.
__attribute__((init_priority(101))) DllSearchHardening hardening;

}  // namespace
