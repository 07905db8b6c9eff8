#include "WorkingDirectory.h"

#include "DebugLog.h"
#include "PrivateDirectory.h"
#include "ProgressWindow.h"
#include "StubState.h"
#include "SystemLibrary.h"
#include "WorkingDirectoryName.h"

#include "ScopedHandle.h"
#include "win32.h"

#include <ntsecapi.h>

#include <ctime>

namespace {

const wchar_t kFallbackBase[] = L"C:\\Temp";

// The current directory; empty when it does not fit the stub's 261-character buffers.
std::wstring CurrentDirectory() {
    wchar_t buffer[261] = {};
    const DWORD n = GetCurrentDirectoryW(261, buffer);
    return (n == 0 || n >= 261) ? std::wstring() : std::wstring(buffer, n);
}

std::wstring FullPath(const std::wstring& name) {
    const DWORD n = GetFullPathNameW(name.c_str(), 0, nullptr, nullptr);
    if (n == 0) return name;
    std::wstring path(n, L'\0');
    const DWORD written = GetFullPathNameW(name.c_str(), n, path.data(), nullptr);
    path.resize(written < n ? written : 0);
    return path;
}

// One 32-bit value from the system's cryptographically secure generator. Should that fail, the
// time and the process id still make names that differ between two stubs.
uint32_t SecureSeed() {
    uint32_t seed = 0;
    if (RtlGenRandom(&seed, sizeof seed)) return seed;
    return static_cast<uint32_t>(std::time(nullptr)) ^ (GetCurrentProcessId() << 16) ^ GetTickCount();
}

bool UseFallbackBase(AttemptDirectories& dirs) {
    if (!SetCurrentDirectoryW(kFallbackBase)) {
        if (!CreateDirectoryW(kFallbackBase, nullptr)) {
            ShowTempFolderProblem();
            DebugLog(L"*** FAILURE: Unable to create a working directory!");
            return false;
        }
        if (!SetCurrentDirectoryW(kFallbackBase)) {
            ShowTempFolderProblem();
            DebugLog(L"*** FAILURE: Unable to access the working directory!");
            return false;
        }
    }
    dirs.baseDirectory = CurrentDirectory() + L"\\";
    return true;
}

}  // namespace

void AttemptDirectories::GiveUp() const {
    SetCurrentDirectoryW(returnDirectory.c_str());
    RemoveDirectoryW(workingDirectory.c_str());
}

bool PrepareBase(AttemptDirectories& dirs) {
    const StubState& state = Stub();
    if (!state.chosenBaseDirectory.empty()) {
        dirs.baseDirectory = state.chosenBaseDirectory;
        DebugLog(L"Using working directory to decompress files: %s", dirs.baseDirectory);
        return true;
    }
    wchar_t temp[261] = {};
    const DWORD n = GetTempPathW(261, temp);
    if (n > 0 && n <= 260) {
        dirs.baseDirectory.assign(temp, n);
        DebugLog(L"Using TEMP path from win32 subsystem: %s", dirs.baseDirectory);
        return true;
    }
    return UseFallbackBase(dirs);
}

bool MakeWorkingDirectory(AttemptDirectories& dirs) {
    StubState& state = Stub();
    dirs.returnDirectory = CurrentDirectory();
    DebugLog(L"Extracting to: %s", dirs.returnDirectory);
    // Not checked: when the base folder cannot be entered, the directory is made below the
    // current one instead.
    SetCurrentDirectoryW(dirs.baseDirectory.c_str());

    std::wstring name = TimeDirectoryName(static_cast<int64_t>(std::time(nullptr)));
    RandomDirectoryNames randomNames(SecureSeed());
    bool created = false;
    for (int attempt = 0; attempt < kWorkingDirectoryAttempts; ++attempt) {
        if (CreatePrivateDirectory(name)) {
            created = true;
            break;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS) {
            ShowTempFolderProblem();
            return false;
        }
        name = randomNames.Next();
    }
    // After six collisions the last name drawn was never created. Entering it could only land in
    // a directory of someone else, so the attempt ends here as if it could not be entered.
    if (!created) {
        SetCurrentDirectoryW(dirs.returnDirectory.c_str());
        ShowTempFolderProblem();
        return false;
    }

    const std::wstring fullPath = FullPath(name);
    state.workingDirectoryPath = fullPath;
    state.hasWorkingDirectory = true;
    if (!SetCurrentDirectoryW(name.c_str())) {
        SetCurrentDirectoryW(dirs.returnDirectory.c_str());
        RemoveDirectoryW(fullPath.c_str());
        ShowTempFolderProblem();
        return false;
    }
    dirs.workingDirectory = CurrentDirectory() + L"\\";
    SetCurrentDirectoryW(dirs.returnDirectory.c_str());
    return true;
}

int GetFreeDiskSpace(uint64_t& freeBytes) {
    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof version;
    GetVersionExW(&version);
    DebugLog(L"Checking free disk space");

    const bool extended = version.dwMajorVersion > 3 &&
                          (version.dwPlatformId == VER_PLATFORM_WIN32_NT ||
                           (version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS &&
                            (version.dwBuildNumber & 0xFFFF) > 1000));
    using GetDiskFreeSpaceExFn = BOOL(WINAPI*)(LPCSTR, PULARGE_INTEGER, PULARGE_INTEGER, PULARGE_INTEGER);
    GetDiskFreeSpaceExFn getDiskFreeSpaceEx = nullptr;
    corvane::ModuleHandle kernel;
    if (extended) {
        kernel.Reset(LoadSystemLibrary(L"KERNEL32.dll"));
        if (!kernel) return 0;
        getDiskFreeSpaceEx = reinterpret_cast<GetDiskFreeSpaceExFn>(
            reinterpret_cast<void*>(GetProcAddress(kernel.get(), "GetDiskFreeSpaceExA")));
        if (getDiskFreeSpaceEx == nullptr) {
            DebugLog(L"New version of Windows detected, but can't load latest functions: forced to "
                     L"use old GetDiskFreeSpace()");
        } else {
            DebugLog(L"New version of Windows detected: GetDiskFreeSpaceEx()");
        }
    } else {
        DebugLog(L"Old version of Windows detected (win95a): GetDiskFreeSpace()");
    }

    ULARGE_INTEGER available{}, total{}, totalFree{};
    if (getDiskFreeSpaceEx != nullptr && getDiskFreeSpaceEx(nullptr, &available, &total, &totalFree)) {
        freeBytes = totalFree.QuadPart;
    } else {
        DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, clusters = 0;
        GetDiskFreeSpaceW(nullptr, &sectorsPerCluster, &bytesPerSector, &freeClusters, &clusters);
        freeBytes = static_cast<uint64_t>(freeClusters) * sectorsPerCluster * bytesPerSector;
    }
    DebugLog(L"Free disk space: %ld Kilobytes", freeBytes / 1024);
    return 1;
}
