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
        DWORD mode = 0;
        const HANDLE handle = error();
        if (!GetConsoleMode(handle, &mode)) return;
        DWORD written = 0;
        WriteConsoleW(handle, line.c_str(), static_cast<DWORD>(line.size()), &written, nullptr);
    } catch (...) {
        // Out of memory while building the line: nothing more can be reported.
    }
}

bool controlKeyDown() { return GetKeyState(VK_CONTROL) < 0; }

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
