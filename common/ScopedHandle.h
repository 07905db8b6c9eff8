#pragma once
// One owning wrapper for every kind of Windows handle. Traits name the type, the empty value and
// the close call. Closing keeps GetLastError() as it was, so an error code read after a failed
// call survives the clean-up of the handles around it.
#include "win32.h"

#include <utility>

namespace corvane {

template <class Traits>
class ScopedHandle {
public:
    using Handle = typename Traits::Handle;

    ScopedHandle() noexcept = default;
    explicit ScopedHandle(Handle h) noexcept : handle_(h) {}
    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;
    ScopedHandle(ScopedHandle&& other) noexcept : handle_(other.Take()) {}
    ScopedHandle& operator=(ScopedHandle&& other) noexcept {
        if (this != &other) Reset(other.Take());
        return *this;
    }
    ~ScopedHandle() { Reset(); }

    Handle get() const noexcept { return handle_; }
    bool valid() const noexcept { return Traits::IsValid(handle_); }
    explicit operator bool() const noexcept { return valid(); }

    // Gives up ownership; the caller closes the handle.
    [[nodiscard]] Handle Take() noexcept { return std::exchange(handle_, Traits::Empty()); }

    void Reset(Handle h = Traits::Empty()) noexcept {
        if (Traits::IsValid(handle_)) {
            const DWORD saved = ::GetLastError();
            Traits::Close(handle_);
            ::SetLastError(saved);
        }
        handle_ = h;
    }

    // For APIs that return a handle through a pointer: closes what is held first.
    Handle* Receive() noexcept {
        Reset();
        return &handle_;
    }

private:
    Handle handle_ = Traits::Empty();
};

// Kernel objects: processes, threads, files, events. Both NULL and INVALID_HANDLE_VALUE are empty.
struct KernelHandleTraits {
    using Handle = HANDLE;
    static Handle Empty() noexcept { return nullptr; }
    static bool IsValid(Handle h) noexcept { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Close(Handle h) noexcept { ::CloseHandle(h); }
};

struct FindHandleTraits {
    using Handle = HANDLE;
    static Handle Empty() noexcept { return INVALID_HANDLE_VALUE; }
    static bool IsValid(Handle h) noexcept { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Close(Handle h) noexcept { ::FindClose(h); }
};

struct RegistryKeyTraits {
    using Handle = HKEY;
    static Handle Empty() noexcept { return nullptr; }
    static bool IsValid(Handle h) noexcept { return h != nullptr; }
    static void Close(Handle h) noexcept { ::RegCloseKey(h); }
};

struct ModuleTraits {
    using Handle = HMODULE;
    static Handle Empty() noexcept { return nullptr; }
    static bool IsValid(Handle h) noexcept { return h != nullptr; }
    static void Close(Handle h) noexcept { ::FreeLibrary(h); }
};

struct LocalMemoryTraits {
    using Handle = HLOCAL;
    static Handle Empty() noexcept { return nullptr; }
    static bool IsValid(Handle h) noexcept { return h != nullptr; }
    static void Close(Handle h) noexcept { ::LocalFree(h); }
};

// A view of a file mapping (MapViewOfFile).
struct MappedViewTraits {
    using Handle = const void*;
    static Handle Empty() noexcept { return nullptr; }
    static bool IsValid(Handle h) noexcept { return h != nullptr; }
    static void Close(Handle h) noexcept { ::UnmapViewOfFile(h); }
};

using KernelHandle = ScopedHandle<KernelHandleTraits>;
using FindHandle = ScopedHandle<FindHandleTraits>;
using RegistryKeyHandle = ScopedHandle<RegistryKeyTraits>;
using ModuleHandle = ScopedHandle<ModuleTraits>;
using LocalMemory = ScopedHandle<LocalMemoryTraits>;
using MappedView = ScopedHandle<MappedViewTraits>;

}  // namespace corvane
