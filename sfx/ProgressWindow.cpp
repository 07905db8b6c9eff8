#include "ProgressWindow.h"

#include "DebugLog.h"
#include "ExtractFile.h"
#include "ResourceIds.h"
#include "StubState.h"

#include "win32.h"

#include <commctrl.h>
#include <shlobj.h>

namespace {

constexpr UINT_PTR kStartTimer = 1;
constexpr UINT kStartDelayMs = 100;

// The text drawn into the footer strip; empty in this product.
const wchar_t kFooterText[] = L"";

HWND Window() { return Stub().dialogWindow; }

void SetText(int id, const std::wstring& text) {
    if (Window()) SetDlgItemTextW(Window(), id, text.c_str());
}

void Show(int id, bool visible) {
    if (Window()) ShowWindow(GetDlgItem(Window(), id), visible ? SW_SHOW : SW_HIDE);
}

void SetBar(int position) {
    if (Window()) SendDlgItemMessageW(Window(), IDC_PROGRESS, PBM_SETPOS, position, 0);
}

// Places a control, in dialog units.
void PlaceControl(int id, int x, int y, int width, int height) {
    HWND control = Window() ? GetDlgItem(Window(), id) : nullptr;
    if (control == nullptr) return;
    RECT rect{x, y, x + width, y + height};
    MapDialogRect(Window(), &rect);
    SetWindowPos(control, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

// The template gives the main message two lines, the second of which lies under the extraction
// caption: each time the message was repainted it wiped the caption out. While the caption is
// shown the message keeps to its first line; the failure states, which hide the caption, give it
// both lines back for longer texts.
//
// The second message is one line high in the template, over the progress bar. In the failure
// states the bar is hidden and the message takes its room, left of the Choose button and a little
// below a main message of two lines, so that a long text wraps onto further lines instead of
// being cut off; the preparing state puts it back.
void UsePreparingLayout() {
    PlaceControl(IDC_MAIN_MESSAGE, 55, 7, 196, 10);
    PlaceControl(IDC_SECOND_MESSAGE, 57, 26, 196, 8);
}

void UseFailureLayout() {
    PlaceControl(IDC_MAIN_MESSAGE, 55, 7, 196, 19);
    PlaceControl(IDC_SECOND_MESSAGE, 57, 29, 178, 36);
}

// The failure states share one layout: the bar, its caption and the percentage go away and the
// second message appears.
void ShowFailureLayout() {
    Show(IDC_EXTRACTING, false);
    Show(IDC_PROGRESS, false);
    Show(IDC_PERCENT, false);
    UseFailureLayout();
    Show(IDC_SECOND_MESSAGE, true);
}

bool OffersChoose(int code) { return code == 2 || code == 14 || code == 17; }

// Whether the footer is drawn right to left: on systems with a Hebrew or Arabic ANSI code page.
bool RightToLeftSystem() {
    const UINT codePage = GetACP();
    return codePage == 1255 || codePage == 1256;
}

void DrawFooter(const DRAWITEMSTRUCT& item) {
    RECT rect = item.rcItem;
    const UINT format = RightToLeftSystem() ? DT_RTLREADING : DT_WORDBREAK;
    DrawTextW(item.hDC, kFooterText, -1, &rect, format);
}

void EndWithSuccess(HWND window) { EndDialog(window, 0); }

// The shell allocator, released when the scope ends.
struct ShellAllocator {
    IMalloc* malloc = nullptr;
    ShellAllocator() {
        if (FAILED(SHGetMalloc(&malloc))) malloc = nullptr;
    }
    ~ShellAllocator() {
        if (malloc) malloc->Release();
    }
};

void ChooseFolderAndRetry(HWND window) {
    ShellAllocator allocator;
    if (!allocator.malloc) return;
    const std::wstring title = StubString(IDS_PICKER_TITLE);
    BROWSEINFOW info{};
    info.hwndOwner = window;
    info.pidlRoot = nullptr;  // the desktop
    info.lpszTitle = title.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_RETURNFSANCESTORS;
    LPITEMIDLIST picked = SHBrowseForFolderW(&info);
    if (picked == nullptr) return;
    wchar_t path[MAX_PATH] = {};
    const bool havePath = SHGetPathFromIDListW(picked, path) != FALSE;
    allocator.malloc->Free(picked);
    if (!havePath) return;
    Stub().chosenBaseDirectory = path;
    if (ExtractFile() == 1) EndWithSuccess(window);
}

void Initialise(HWND window) {
    StubState& state = Stub();
    state.instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE));
    SetTimer(window, kStartTimer, kStartDelayMs, nullptr);
    state.dialogWindow = window;
    SendDlgItemMessageW(window, IDC_PROGRESS, PBM_SETRANGE, 0, MAKELPARAM(0, 100));
    SendDlgItemMessageW(window, IDC_PROGRESS, PBM_SETSTEP, 1, 0);
    SetText(IDC_SECOND_MESSAGE, L"");
    Show(IDC_NORMAL_ICON, true);
    Show(IDC_ERROR_ICON, false);
    Show(IDC_CHOOSE_ICON, false);
}

INT_PTR CALLBACK ProgressDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        Initialise(window);
        return TRUE;
    case WM_TIMER:
        if (wParam != kStartTimer) return FALSE;
        KillTimer(window, kStartTimer);
        Stub().chosenBaseDirectory.clear();
        if (ExtractFile() == 1) EndWithSuccess(window);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
        case IDCANCEL:
            Stub().exitInEffect = 1;
            EndDialog(window, 0);
            return TRUE;
        case IDC_CHOOSE:
            ChooseFolderAndRetry(window);
            return TRUE;
        }
        return FALSE;
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item == nullptr || item->CtlID != IDC_FOOTER) return FALSE;
        DrawFooter(*item);
        return TRUE;
    }
    case WM_DESTROY:
        Stub().dialogWindow = nullptr;
        return FALSE;
    }
    return FALSE;
}

}  // namespace

std::wstring StubString(int id) {
    const wchar_t* text = nullptr;
    // With a zero buffer size the call hands back a pointer into the resource itself, so texts
    // of any length load whole.
    const int length = LoadStringW(Stub().instance, id, reinterpret_cast<LPWSTR>(&text), 0);
    if (length <= 0 || text == nullptr) return std::wstring();
    return std::wstring(text, static_cast<size_t>(length));
}

void RunProgressWindow() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    DialogBoxParamW(Stub().instance, IDD_PROGRESSINDICATOR, nullptr, ProgressDialogProc, 0);
    Stub().dialogWindow = nullptr;
}

void ShowPreparing() {
    UsePreparingLayout();
    Show(IDC_MAIN_MESSAGE, true);
    SetText(IDC_MAIN_MESSAGE, StubString(IDS_PREPARING));
    Show(IDC_EXTRACTING, true);
    Show(IDC_SECOND_MESSAGE, true);
    SetText(IDC_SECOND_MESSAGE, L"");
    Show(IDC_PROGRESS, true);
    // A new attempt after a failed one starts from an empty bar again.
    SetBar(0);
    SetText(IDC_PERCENT, L"0%");
    Show(IDC_PERCENT, true);
    Show(IDC_NORMAL_ICON, true);
    Show(IDC_ERROR_ICON, false);
    Show(IDC_CHOOSE_ICON, false);
    Show(IDC_CHOOSE, false);
}

void ShowError(int code) {
    const std::wstring mainText = StubString(code);
    const std::wstring secondText =
        StubString(OffersChoose(code) ? IDS_SELECT_TEMP_LOCATION : IDS_GET_ANOTHER_COPY);
    SetText(IDC_MAIN_MESSAGE, mainText);
    DebugLog(L"*** Error %ld: '%s' ***", code, mainText);
    ShowFailureLayout();
    SetText(IDC_SECOND_MESSAGE, secondText);
    DebugLog(L"*** Secondary error string: '%s' ***", secondText);
    Show(IDC_NORMAL_ICON, false);
    Show(IDC_ERROR_ICON, true);
    Show(IDC_CHOOSE_ICON, false);
    Show(IDC_CHOOSE, OffersChoose(code));
}

void ShowTempFolderProblem() {
    DebugLog(L"Dialog: There is not enough free disk in the temporary folder.");
    SetText(IDC_MAIN_MESSAGE, StubString(IDS_TEMP_FOLDER_FULL));
    DebugLog(L"Dialog: Please select a temporary location to extract the installer to:");
    ShowFailureLayout();
    SetText(IDC_SECOND_MESSAGE, StubString(IDS_SELECT_TEMP_LOCATION));
    Show(IDC_CHOOSE, true);
}

void AskForAnotherLocation(const std::wstring& mainText) {
    DebugLog(L"Dialog: Please select another location to extract the installer to:");
    SetText(IDC_MAIN_MESSAGE, mainText);
    ShowFailureLayout();
    SetText(IDC_SECOND_MESSAGE, StubString(IDS_SELECT_OTHER_LOCATION));
    Show(IDC_NORMAL_ICON, false);
    Show(IDC_CHOOSE_ICON, true);
    Show(IDC_CHOOSE, true);
}

void UpdateProgress(int percent) {
    if (percent <= 0) return;
    SetText(IDC_PERCENT, std::to_wstring(percent) + L"%");
    SetBar(percent);
}
