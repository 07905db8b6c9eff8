// The launcher's entry point: parse the command line, build the Launcher, run the Java program,
// pause when asked, and report any failure as one error line followed by a non-zero exit code.
#include "CommandLine.h"
#include "Console.h"
#include "Exceptions.h"
#include "Launcher.h"
#include "PropertySet.h"
#include "ScopedHandle.h"
#include "Strings.h"
#include "Wow64.h"

#include <shellapi.h>

#include <cstdio>
#include <exception>
#include <string>

namespace {

// An argument after the program name is "silent" in any letter case (the system's own splitting).
bool silentArgument() {
    int count = 0;
    corvane::LocalMemory memory(reinterpret_cast<HLOCAL>(CommandLineToArgvW(GetCommandLineW(), &count)));
    wchar_t** arguments = static_cast<wchar_t**>(memory.get());
    if (arguments == nullptr) return false;
    for (int i = 1; i < count; ++i) {
        if (asciiLower(arguments[i]) == L"silent") return true;
    }
    return false;
}

void pauseIfAsked(const Launcher& launcher) {
    if (!launcher.properties.readPauseFlag(keys::ConsolePause) && !controlKeyDown()) return;
    fputws(L"[press enter to close this window]\n", stdout);
    fflush(stdout);
    getwchar();
}

std::wstring widen(const char* text) {
    std::wstring out;
    for (; *text != '\0'; ++text) out += static_cast<wchar_t>(static_cast<unsigned char>(*text));
    return out;
}

int report(const std::wstring& message, int exitCode) {
    Console::instance().writeErrorLine(message);
    return exitCode;
}

int runLauncher(const CommandLine& commandLine) {
    if (commandLine.isService) {
        return report(L"service mode is not available in this build", exit_codes::LauncherError);
    }
    Launcher launcher(commandLine);
    launcher.silent = launcher.silent || silentArgument();
    launcher.run(true);
    pauseIfAsked(launcher);
    return launcher.exitCode();
}

}  // namespace

// Every reported failure ends with a non-zero exit code (launcher/EXIT_CODES.md), so that the
// installer stub, and whoever started it, can tell a failed launch from a successful one.
int wmain() {
    disableWow64Redirection();
    const CommandLine commandLine = CommandLine::parse(GetCommandLineW());
    try {
        return runLauncher(commandLine);
    } catch (const TerminalError& error) {
        return report(error.message(), error.exitCode());
    } catch (const std::exception& error) {
        return report(L"an unknown exception has occurrred.\n" + widen(error.what()),
                      exit_codes::LauncherError);
    } catch (...) {
        // Not a standard exception: reported like one, so that the launcher never dies silently.
        return report(L"an unknown exception has occurrred.\nUnknown exception",
                      exit_codes::LauncherError);
    }
}
