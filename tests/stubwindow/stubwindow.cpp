// The stub's progress window with the stub's own resources, driven by a stand-in for the
// extraction flow. It puts the window straight into the state a test names, so that window
// tests can look at the states no real failure reaches under Wine (the stub file unreadable, a
// free-space query that fails) and at every language's layout:
//
//   STUBWINDOW_STATE  "progress:P"  the preparing state at P percent
//                     "error:N"     ShowError with string-table code N
//                     "temp"        ShowTempFolderProblem
//                     "ask:N"       AskForAnotherLocation with string N (0: an empty text)
//
// Each attempt (the first one and every one after Choose) appends "attempt" to "attempts.txt" in
// the current directory; the debug log "sea.log" is written there too. The window ends with
// Cancel, Enter or Esc, and the program then exits with 0xFFFFFFFF like the stub after Cancel.
#include "ExtractFile.h"
#include "ProgressWindow.h"
#include "StubState.h"

#include "ScopedHandle.h"

#include <cwchar>
#include <string>

namespace {

std::wstring StateVariable() {
    wchar_t buffer[64] = {};
    const DWORD n = GetEnvironmentVariableW(L"STUBWINDOW_STATE", buffer, 64);
    return (n == 0 || n >= 64) ? std::wstring() : std::wstring(buffer, n);
}

void CountAttempt() {
    corvane::KernelHandle file(CreateFileW(L"attempts.txt", FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                                           OPEN_ALWAYS, 0, nullptr));
    DWORD written = 0;
    if (file) WriteFile(file.get(), "attempt\n", 8, &written, nullptr);
}

int Number(const std::wstring& state, size_t from) {
    return static_cast<int>(std::wcstol(state.c_str() + from, nullptr, 10));
}

}  // namespace

int ExtractFile() {
    CountAttempt();
    const std::wstring state = StateVariable();
    ShowPreparing();
    if (state.rfind(L"progress:", 0) == 0) {
        UpdateProgress(Number(state, 9));
    } else if (state.rfind(L"error:", 0) == 0) {
        ShowError(Number(state, 6));
    } else if (state == L"temp") {
        ShowTempFolderProblem();
    } else if (state.rfind(L"ask:", 0) == 0) {
        const int id = Number(state, 4);
        AskForAnotherLocation(id == 0 ? std::wstring() : StubString(id));
    }
    return 0;
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
    StubState& stub = Stub();
    stub.instance = instance;
    stub.debugEnabled = true;
    wchar_t cwd[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, cwd);
    stub.logDirectory = cwd;
    RunProgressWindow();
    return stub.exitInEffect ? -1 : 0;
}
