#include "ExtractFile.h"

#include "DebugLog.h"
#include "HeapOptions.h"
#include "LauncherChoice.h"
#include "LauncherHandOver.h"
#include "PathParts.h"
#include "PortableFile.h"
#include "ProgressWindow.h"
#include "ResourceIds.h"
#include "StubState.h"
#include "WorkingDirectory.h"
#include "WorkingDirectoryName.h"

#include "ALCopyEngine.h"
#include "ALEngineKit.h"
#include "ALEntry.h"
#include "ALFile.h"
#include "ALMonitor.h"
#include "ALPkArchive.h"
#include "ALPkEngine.h"

#include "win32.h"

#include <cstdio>
#include <optional>

namespace {

std::wstring ModuleFileName(DWORD capacity) {
    wchar_t buffer[262] = {};
    GetModuleFileNameW(nullptr, buffer, capacity);
    buffer[capacity - 1] = L'\0';
    return buffer;
}

// A numbered checkpoint: when the user has cancelled, runs the clean-up of that checkpoint,
// logs the abort and answers true, and the attempt then ends with 0.
template <class CleanUp>
bool Cancelled(CleanUp cleanUp) {
    if (!Stub().exitInEffect) return false;
    cleanUp();
    DebugLog(L"User requested ABORT");
    return true;
}

bool Cancelled() {
    return Cancelled([] {});
}

HeapSettings HeapFromState() {
    const StubState& state = Stub();
    return HeapSettings{state.hasInitialHeap, state.initialHeapValue, state.hasMaxHeap,
                        state.maxHeapValue};
}

// The size of the payload behind the first bytes read: the rest of the file.
uint32_t RemainingBytes(std::FILE* file) {
    const long position = std::ftell(file);
    std::fseek(file, 0, SEEK_END);
    const long end = std::ftell(file);
    std::fseek(file, position, SEEK_SET);
    return static_cast<uint32_t>(end - position);
}

int32_t ProgressCallback(const wchar_t*, int32_t, int32_t percent) {
    UpdateProgress(percent);
    return 0;
}

}  // namespace

int ExtractFile() {
    DebugLog(L"Extracting files.");
    DebugLog(L"Dialog: Preparing to install...");
    ShowPreparing();

    // Built in this order and destroyed in the reverse one: the archive, the entry group, then
    // the monitor.
    ALSimpleMonitor monitor(ProgressCallback);
    ALEntryGroup group(&monitor, ALEngineKit(ALFile(), ALPkDecompressor()).Add(ALCopyDecompressor()));
    std::optional<ALPkArchive> archive;
    if (Cancelled()) return 0;  // 1

    AttemptDirectories dirs;
    if (!PrepareBase(dirs)) return 0;
    if (Cancelled()) return 0;  // 2

    if (!MakeWorkingDirectory(dirs)) return 0;
    if (Cancelled([&] { RemoveDirectoryW(dirs.workingDirectory.c_str()); })) return 0;  // 3

    const std::wstring stubPath = ModuleFileName(261);
    const PathParts stubParts = PathParts::Split(stubPath);
    UniqueFile stubFile = OpenFile(stubPath, "rb");
    if (Cancelled([&] { dirs.GiveUp(); })) return 0;  // 4
    if (!stubFile) {
        DebugLog(L"*** FAILURE: Unable to extract the compressed file");
        ShowError(IDS_CANNOT_EXTRACT);
        dirs.GiveUp();
        return 0;
    }

    const auto closeAndGiveUp = [&] {
        stubFile.reset();
        dirs.GiveUp();
    };
    uint16_t head[1024];
    const size_t itemsRead = std::fread(head, 2, 1024, stubFile.get());
    std::wstring launcherPath =
        FirstLauncherGuess(dirs.workingDirectory, stubParts.baseName + stubParts.extension);
    if (Cancelled(closeAndGiveUp)) return 0;  // 5
    if (itemsRead < 4) {
        DebugLog(L"*** FAILURE: There is no EXE name buffer to be found.");
        ShowError(IDS_NO_EXE_NAME);
        closeAndGiveUp();
        return 0;
    }

    const uint32_t payloadSize = RemainingBytes(stubFile.get());
    SetCurrentDirectoryW(dirs.workingDirectory.c_str());
    uint64_t freeBytes = 0;
    if (!GetFreeDiskSpace(freeBytes)) {
        ShowError(IDS_CANNOT_CHECK_SPACE);
        closeAndGiveUp();
        return 0;
    }
    DebugLog(L"Retrieved free disk space... ");
    if (Cancelled(closeAndGiveUp)) return 0;  // 6
    DebugLog(L"Comparing free disk space... ");
    if (!EnoughSpace(payloadSize, freeBytes)) {
        ShowError(IDS_NOT_ENOUGH_ROOM);
        closeAndGiveUp();
        DebugLog(L"*** FAILURE: Not enough free disk space available: Required disc space is %ld KB, "
                 L"available is %ld KB",
                 RequiredBytes(payloadSize) / 1024, freeBytes / 1024);
        return 0;
    }

    stubFile.reset();
    archive.emplace(ModuleFileName(260));
    // Not examined: a directory that could not be read leaves the archive failed, and Extract
    // reports it.
    archive->ReadDirectory(group);
    SetCurrentDirectoryW(dirs.workingDirectory.c_str());
    if (Cancelled([&] { dirs.GiveUp(); })) return 0;  // 7

    const int32_t status = archive->Extract(group);
    if (status != 0) LogStatusCode(status);
    if (Cancelled([&] { dirs.GiveUp(); })) return 0;  // 8
    if (status < 0) {
        AskForAnotherLocation(L"");
        dirs.GiveUp();
        DebugLog(L"*** FAILURE: Unable to unzip file: Error %d", status);
        return 0;
    }

    const HeapSettings heap = HeapFromState();
    if (heap.any()) ApplyHeapOptions(dirs.workingDirectory, heap);
    if (Cancelled([&] { dirs.GiveUp(); })) return 0;  // 9

    if (!WriteSeaLoc(dirs)) return 0;
    launcherPath = RefineLauncherAfterSeaLoc(dirs.workingDirectory, launcherPath);
    return StartLauncher(dirs, launcherPath);
}
