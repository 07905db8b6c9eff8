#pragma once
// The console the launcher and its Java program share.
#include "win32.h"

#include <string>

class Console {
public:
    // The process-wide console object (it has no state of its own).
    static const Console& instance();

    HANDLE input() const { return GetStdHandle(STD_INPUT_HANDLE); }
    HANDLE output() const { return GetStdHandle(STD_OUTPUT_HANDLE); }
    HANDLE error() const { return GetStdHandle(STD_ERROR_HANDLE); }

    // Writes the error line for `message` to standard error with WriteConsoleW. Writes nothing
    // when standard error is not a console. Never throws: when the string table cannot give the
    // title, the English title is used.
    void writeErrorLine(const std::wstring& message) const noexcept;

private:
    Console() = default;
};

// Ctrl is held down at this moment (GetKeyState of VK_CONTROL is negative, or the asynchronous
// state has the key down).
bool controlKeyDown();

// Prepares the console once, at the end of the launcher's construction: sets the title, re-opens
// standard input on "CONIN$" and standard output and error on "CONOUT$" (so the launcher and the
// Java program use the console even when the caller redirected the launcher's handles), and,
// when Ctrl was down at the start of the call, appends the three control-key lines to the
// temporary property file. A title or device that cannot be set or opened is ignored; only the
// temporary property file can raise (FileException).
void prepareConsole(const std::wstring& title);
