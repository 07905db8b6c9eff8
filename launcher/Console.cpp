#include "Console.h"

#include "ErrorLine.h"
#include "StringTable.h"
#include "Strings.h"
#include "TemporaryPropertyFile.h"

#include <cstdio>

const Console& Console::instance() {
    static const Console console;
    return console;
}

void Console::writeErrorLine(const std::wstring& message) const noexcept {
    try {
        std::wstring title;
        try {
            title = StringTable::instance().text(strings::ErrorTitle);
        } catch (const StringTableException&) {
            title = L"Veltrun Error";
        }
        const std::wstring line = errorLineText(title, message);
        // WriteConsoleW fails on anything but a console, so a redirected standard error gets
        // nothing. (GetConsoleMode cannot decide it: the "CONOUT$" handle is write-only.)
        DWORD written = 0;
        WriteConsoleW(error(), line.c_str(), static_cast<DWORD>(line.size()), &written, nullptr);
    } catch (...) {
        // Out of memory while building the line: nothing more can be reported.
    }
}

// GetKeyState answers from the thread's own keyboard state. A console thread without a message
// queue may never have been given one (Wine leaves it empty), so the key is also taken as down
// when the system-wide state says so at this moment.
bool controlKeyDown() {
    return GetKeyState(VK_CONTROL) < 0 || (GetAsyncKeyState(VK_CONTROL) & 0x8000) != 0;
}

void prepareConsole(const std::wstring& title) {
    const bool control = controlKeyDown();
    SetConsoleTitleW(title.c_str());
    // _wfreopen on the standard streams also sets the process's standard handles, which the
    // child process then receives (createJavaProcess hands it GetStdHandle's handles).
    _wfreopen(L"CONIN$", L"r", stdin);
    _wfreopen(L"CONOUT$", L"w", stdout);
    _wfreopen(L"CONOUT$", L"w", stderr);
    if (control) {
        TemporaryPropertyFile::instance().append(
            L"vrx.control-key=true\nvrx.stderr.redirect=console\nvrx.stdout.redirect=console\n");
    }
}
