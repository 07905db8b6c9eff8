#pragma once
// The stub's process-wide state: one instance for the whole run, shared by the entry, the
// extraction flow, the progress window and the launcher hand-over. All of it lives on the one
// thread of the stub.
#include "RunMode.h"

#include <string>

#ifdef _WIN32
#include "win32.h"
#endif

struct StubState {
    int exitInEffect = 0;          // the user asked to stop (Cancel)
    bool debugEnabled = false;     // the debug log is written
    bool pauseRequested = false;   // Ctrl was held at start: the closing banner is logged
    std::wstring logDirectory;     // folder of "sea.log"
    bool launcherStarted = false;  // the launcher process was created
    bool hasWorkingDirectory = false;
    std::wstring workingDirectoryPath;  // full path of the working directory once created
    std::wstring chosenBaseDirectory;   // folder picked with Choose; empty: the temporary folder
    RunMode mode = GuiMode;
    bool hasInitialHeap = false;
    std::wstring initialHeapValue;
    bool hasMaxHeap = false;
    std::wstring maxHeapValue;
#ifdef _WIN32
    PROCESS_INFORMATION launcherProcess{};
    HWND dialogWindow = nullptr;  // null in silent and console mode
    HINSTANCE instance = nullptr;  // null in silent and console mode: the program's own module
#endif
};

StubState& Stub();
