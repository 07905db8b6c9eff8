#include "LauncherHandOver.h"

#include "DebugLog.h"
#include "HeapOptions.h"
#include "LauncherChoice.h"
#include "PortableFile.h"
#include "ProgressWindow.h"
#include "ResourceIds.h"
#include "StubState.h"

#include "win32.h"

#include <vector>

namespace {

std::wstring LongModuleFileName() {
    std::vector<wchar_t> buffer(4097, L'\0');
    const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), 4096);
    return std::wstring(buffer.data(), n);
}

void GiveUpAndAskAgain(const AttemptDirectories& dirs) {
    dirs.GiveUp();
    AskForAnotherLocation(StubString(IDS_NO_SEA_LOC));
}

}  // namespace

int WriteSeaLoc(const AttemptDirectories& dirs) {
    // The binary mode matters: no byte-order mark and no newline translation.
    UniqueFile file = OpenFile(dirs.workingDirectory + L"sea_loc", "wb");
    if (!file) {
        DebugLog(L"*** FAILURE: Unable to create the sea_loc file: asking to find a new location");
        GiveUpAndAskAgain(dirs);
        return 0;
    }
    const std::string bytes = SeaLocBytes(LongModuleFileName());
    const size_t written = std::fwrite(bytes.data(), 1, bytes.size(), file.get());
    const bool flushed = std::fflush(file.get()) == 0;
    if (written != bytes.size() || !flushed) {
        file.reset();
        GiveUpAndAskAgain(dirs);
        DebugLog(L"*** FAILURE: We ran out of space while creating the compressed file.");
        return 0;
    }
    return 1;
}

int StartLauncher(const AttemptDirectories& dirs, std::wstring launcherPath) {
    StubState& state = Stub();
    SetCurrentDirectoryW(dirs.workingDirectory.c_str());
    state.launcherProcess = PROCESS_INFORMATION{};
    STARTUPINFOW startup{};  // entirely zero, its size field included

    std::wstring origCommandLine = GetCommandLineW();
    const HeapSettings heap{state.hasInitialHeap, state.initialHeapValue, state.hasMaxHeap,
                            state.maxHeapValue};
    if (heap.any()) StripHeapOptions(origCommandLine);

    launcherPath = RefineLauncherBeforeStart(dirs.workingDirectory, launcherPath);
    const std::wstring commandLine = LauncherCommandLine(launcherPath, origCommandLine);
    std::vector<wchar_t> writable(commandLine.begin(), commandLine.end());
    writable.push_back(L'\0');

    // The launcher's full path is given as the application name too. Without it the system
    // resolves the unquoted first token of the line by trying ever longer blank-separated
    // prefixes, so with a blank in the working directory's path a program planted at such a
    // prefix ("C:\Documents.exe") would run instead. The command line itself is unchanged.
    std::wstring application = launcherPath;
    for (wchar_t& c : application) {
        if (c == L'/') c = L'\\';
    }
    if (!CreateProcessW(application.c_str(), writable.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &state.launcherProcess)) {
        ShowError(IDS_CANNOT_EXECUTE);
        dirs.GiveUp();
        DebugLog(L"*** FAILURE: Unable to execute the EXE program.");
        return 0;
    }
    state.launcherStarted = true;
    DebugLog(L"Success. The extracted file execution has begun.");
    return 1;
}
