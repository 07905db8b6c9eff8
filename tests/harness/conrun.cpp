// Windows-side console harness: runs a console program on a console of its own and reads back
// what the program wrote there, for tests of console output (WriteConsoleW, the console title).
//
//   conrun --screen FILE [--title FILE] [--code-file FILE] [--cwd DIR] [--env NAME=VALUE]...
//          [--input TEXT] [--stdout-file FILE] [--ctrl] [--app FILE] -- PROGRAM [ARGS...]
//
// conrun leaves the console it was given, allocates a new one (under Wine this gives a real
// screen buffer only while an X display is present), starts PROGRAM on it, waits for it, and
// writes the screen buffer's lines (trailing blanks removed, UTF-8) to the --screen file, the
// console title to the --title file and the full exit code ("0x%08X") to the --code-file.
// --input types TEXT into the console's input buffer before the program starts ("\n" becomes
// Enter). --stdout-file starts the program with its standard output redirected into that file
// (standard input and error stay on the console). --ctrl holds the Ctrl key down while the
// program runs. --app names the executable to start (the application name of CreateProcessW),
// so that PROGRAM, the first word of the command line, can be any text, such as a bare name.
// Arguments are passed on re-quoted where they hold blanks or quotes.
#include "ScopedHandle.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::wstring Quote(const std::wstring& arg) {
    if (!arg.empty() && arg.find_first_of(L" \t\"") == std::wstring::npos) return arg;
    std::wstring out = L"\"";
    size_t backslashes = 0;
    for (wchar_t c : arg) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        if (c == L'"') out.append(backslashes * 2 + 1, L'\\');
        else out.append(backslashes, L'\\');
        backslashes = 0;
        out += c;
    }
    out.append(backslashes * 2, L'\\');
    out += L'"';
    return out;
}

int Fail(const wchar_t* what) {
    DWORD error = GetLastError();
    fwprintf(stderr, L"conrun: %ls (Windows error %lu)\n", what, error);
    return 125;
}

bool WriteUtf8(const std::wstring& path, const std::wstring& text) {
    FILE* f = _wfopen(path.c_str(), L"wb");
    if (!f) return false;
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size, nullptr, nullptr);
    fwrite(bytes.data(), 1, bytes.size(), f);
    fclose(f);
    return true;
}

void TypeInto(HANDLE input, const std::wstring& text) {
    std::vector<INPUT_RECORD> records;
    for (wchar_t c : text) {
        const bool enter = c == L'\n';
        for (BOOL down : {TRUE, FALSE}) {
            INPUT_RECORD r{};
            r.EventType = KEY_EVENT;
            r.Event.KeyEvent.bKeyDown = down;
            r.Event.KeyEvent.wRepeatCount = 1;
            r.Event.KeyEvent.wVirtualKeyCode = enter ? VK_RETURN : 0;
            r.Event.KeyEvent.uChar.UnicodeChar = enter ? L'\r' : c;
            records.push_back(r);
        }
    }
    DWORD written = 0;
    if (!records.empty()) WriteConsoleInputW(input, records.data(), static_cast<DWORD>(records.size()), &written);
}

void SendControl(bool down) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = VK_CONTROL;
    input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    SendInput(1, &input, sizeof input);
}

std::wstring ReadScreen(HANDLE output) {
    CONSOLE_SCREEN_BUFFER_INFO info{};
    if (!GetConsoleScreenBufferInfo(output, &info)) return L"";
    std::wstring text;
    const SHORT width = info.dwSize.X;
    std::vector<wchar_t> row(static_cast<size_t>(width));
    for (SHORT y = 0; y <= info.dwCursorPosition.Y; ++y) {
        DWORD got = 0;
        ReadConsoleOutputCharacterW(output, row.data(), static_cast<DWORD>(width), COORD{0, y}, &got);
        std::wstring line(row.data(), got);
        line.erase(line.find_last_not_of(L' ') + 1);
        text += line + L"\n";
    }
    return text;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    std::wstring screenFile, titleFile, codeFile, cwd, input, stdoutFile, application;
    bool ctrl = false;
    int i = 1;
    for (; i < argc; ++i) {
        std::wstring a = argv[i];
        if (a == L"--") break;
        if (a == L"--ctrl") ctrl = true;
        else if (a == L"--screen" && i + 1 < argc) screenFile = argv[++i];
        else if (a == L"--title" && i + 1 < argc) titleFile = argv[++i];
        else if (a == L"--code-file" && i + 1 < argc) codeFile = argv[++i];
        else if (a == L"--cwd" && i + 1 < argc) cwd = argv[++i];
        else if (a == L"--stdout-file" && i + 1 < argc) stdoutFile = argv[++i];
        else if (a == L"--app" && i + 1 < argc) application = argv[++i];
        else if (a == L"--input" && i + 1 < argc) {
            input = argv[++i];
            for (size_t at = input.find(L"\\n"); at != std::wstring::npos; at = input.find(L"\\n", at)) input.replace(at, 2, L"\n");
        } else if (a == L"--env" && i + 1 < argc) {
            std::wstring kv = argv[++i];
            size_t eq = kv.find(L'=', 1);
            if (eq == std::wstring::npos) return Fail(L"--env needs NAME=VALUE");
            SetEnvironmentVariableW(kv.substr(0, eq).c_str(), kv.substr(eq + 1).c_str());
        } else {
            fwprintf(stderr, L"conrun: unknown option %ls\n", argv[i]);
            return 125;
        }
    }
    if (i + 1 >= argc || screenFile.empty()) {
        fwprintf(stderr, L"usage: conrun --screen FILE [options] -- PROGRAM [ARGS...]\n");
        return 125;
    }
    std::wstring commandLine;
    for (int j = i + 1; j < argc; ++j) {
        if (!commandLine.empty()) commandLine += L' ';
        commandLine += Quote(argv[j]);
    }

    FreeConsole();
    if (!AllocConsole()) return Fail(L"cannot allocate a console");
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    corvane::KernelHandle conin(CreateFileW(L"CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr));
    corvane::KernelHandle conout(CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr));
    if (!conin || !conout) return Fail(L"cannot open the console devices");
    SetConsoleScreenBufferSize(conout.get(), COORD{160, 400});
    TypeInto(conin.get(), input);

    corvane::KernelHandle redirected;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = conin.get();
    si.hStdOutput = conout.get();
    si.hStdError = conout.get();
    if (!stdoutFile.empty()) {
        redirected.Reset(CreateFileW(stdoutFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr));
        if (!redirected) return Fail(L"cannot create the standard output file");
        si.hStdOutput = redirected.get();
    }
    std::vector<wchar_t> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back(L'\0');
    if (ctrl) SendControl(true);
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(application.empty() ? nullptr : application.c_str(), buffer.data(), nullptr, nullptr, TRUE, 0, nullptr,
                        cwd.empty() ? nullptr : cwd.c_str(), &si, &pi)) {
        if (ctrl) SendControl(false);
        return Fail(L"cannot start the program");
    }
    corvane::KernelHandle process(pi.hProcess);
    corvane::KernelHandle thread(pi.hThread);
    WaitForSingleObject(process.get(), INFINITE);
    if (ctrl) SendControl(false);
    DWORD code = 0;
    GetExitCodeProcess(process.get(), &code);

    WriteUtf8(screenFile, ReadScreen(conout.get()));
    if (!titleFile.empty()) {
        wchar_t title[1024] = L"";
        GetConsoleTitleW(title, 1024);
        WriteUtf8(titleFile, title);
    }
    if (!codeFile.empty()) {
        wchar_t text[16];
        swprintf(text, 16, L"0x%08lX", static_cast<unsigned long>(code));
        WriteUtf8(codeFile, text);
    }
    return static_cast<int>(code & 0xFF);
}
