// The stub's entry: reads the options, decides on the debug log, runs the extraction flow with
// or without the progress window, waits for the launcher it started and returns its exit code.
#include "DebugLog.h"
#include "DeleteTree.h"
#include "ExtractFile.h"
#include "ProgressWindow.h"
#include "StubOptions.h"
#include "StubState.h"

#include "ScopedHandle.h"

#include <cwctype>

namespace {

std::wstring ModuleFileName() {
    wchar_t buffer[261] = {};
    GetModuleFileNameW(nullptr, buffer, 261);
    buffer[260] = L'\0';
    return buffer;
}

std::wstring CurrentDirectory() {
    wchar_t buffer[257] = {};
    const DWORD n = GetCurrentDirectoryW(257, buffer);
    // A start directory too long for the buffer leaves the log directory empty, and the log
    // path check then drops every line rather than write somewhere else.
    return (n == 0 || n > 256) ? std::wstring() : std::wstring(buffer, n);
}

bool IsTrue(const std::wstring& value) {
    if (value.size() != 4) return false;
    const wchar_t* word = L"true";
    for (size_t i = 0; i < 4; ++i) {
        if (std::towlower(value[i]) != word[i]) return false;
    }
    return true;
}

std::wstring DebugVariable() {
    wchar_t buffer[256] = {};
    const DWORD n = GetEnvironmentVariableW(L"VRX_DEBUG", buffer, 256);
    return (n == 0 || n > 255) ? std::wstring() : std::wstring(buffer, n);
}

void DecideDebugLog(StubState& state, bool ctrlHeld) {
    if (IsTrue(DebugVariable())) {
        state.debugEnabled = true;
        state.logDirectory = CurrentDirectory();
        DeleteFileW((state.logDirectory + L"\\sfxstub.log").c_str());
    }
    if (ctrlHeld || state.debugEnabled) {
        // When only Ctrl turns the log on, it still goes into the directory the stub started in.
        if (!state.debugEnabled) state.logDirectory = CurrentDirectory();
        state.debugEnabled = true;
        if (ctrlHeld) state.pauseRequested = true;
    }
}

DWORD WaitForLauncher(StubState& state) {
    corvane::KernelHandle process(state.launcherProcess.hProcess);
    corvane::KernelHandle thread(state.launcherProcess.hThread);
    thread.Reset();
    DebugLog(L"Initiating self-extraction...");
    WaitForSingleObject(process.get(), INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(process.get(), &code);
    DebugLog(L"*** The process has terminated with an exit code of %ld ***", static_cast<long>(code));
    return code;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR commandLine, int) {
    StubState& state = Stub();
    const StubOptions options = StubOptions::Build(commandLine ? commandLine : L"", ModuleFileName());
    state.mode = options.mode;
    state.hasInitialHeap = options.hasInitialHeap;
    state.hasMaxHeap = options.hasMaxHeap;
    state.initialHeapValue = options.initialHeapValue;
    state.maxHeapValue = options.maxHeapValue;

    state.exitInEffect = 0;
    const bool ctrlHeld = GetKeyState(VK_CONTROL) < 0;
    DecideDebugLog(state, ctrlHeld);

    DebugLog(L"Self Extractor execution begins.");
    if (state.mode == SilentMode || state.mode == ConsoleMode) {
        DebugLog(state.mode == SilentMode ? L"Running in Silent Mode" : L"Running in Console Mode");
        ExtractFile();
    } else {
        state.instance = instance;
        RunProgressWindow();
        DebugLog(L"Dialog initialized.");
    }

    DWORD exitCode = 0xFFFFFFFF;
    if (state.launcherStarted) exitCode = WaitForLauncher(state);

    if (state.exitInEffect && state.hasWorkingDirectory) {
        DebugLog(L"User requested ABORT: Clean up temporary directory");
        DeleteTree(state.workingDirectoryPath, true);
    }
    if (state.debugEnabled && state.pauseRequested) {
        DebugLog(L"\n\n===============================================\n"
                 L"Please press a key to close this window.\n"
                 L"===============================================\n");
    }
    return static_cast<int>(exitCode);
}
