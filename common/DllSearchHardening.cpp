// Narrows the DLL search order before anything else in the program runs: an installer is often
// started from a downloads folder and a product folder may be writable by its users, and a
// planted DLL must never be loaded in place of a system one. Each step is skipped when the
// running Windows lacks the function. Both Windows programs link this object.
#include "win32.h"

namespace {

template <class Fn>
Fn KernelFunction(HMODULE kernel, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(kernel, name)));
}

struct DllSearchHardening {
    DllSearchHardening() {
        HMODULE kernel = GetModuleHandleW(L"KERNEL32");
        if (kernel == nullptr) return;
        using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
        using SetDllDirectoryFn = BOOL(WINAPI*)(LPCWSTR);
        using SetSearchPathModeFn = BOOL(WINAPI*)(DWORD);
        if (auto f = KernelFunction<SetDefaultDllDirectoriesFn>(kernel, "SetDefaultDllDirectories")) {
            f(0x800);  // LOAD_LIBRARY_SEARCH_SYSTEM32
        }
        if (auto f = KernelFunction<SetDllDirectoryFn>(kernel, "SetDllDirectoryW")) {
            f(L"");  // takes the current directory out of the search path
        }
        if (auto f = KernelFunction<SetSearchPathModeFn>(kernel, "SetSearchPathMode")) {
            f(0x8001);  // BASE_SEARCH_PATH_ENABLE_SAFE_SEARCHMODE | BASE_SEARCH_PATH_PERMANENT
        }
    }
};

// Initialised before the other objects of the program (init_priority runs it ahead of ordinary
// static constructors), so nothing loads a library before the search order is narrowed.
__attribute__((init_priority(101))) DllSearchHardening hardening;

}  // namespace
