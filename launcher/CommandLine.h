#pragma once
// The launcher's own command line, parsed once at start. Element 0 of `arguments` is the program
// as it was typed; "-qmvrxservice NAME" is taken out and turns on service mode.
#include <string>
#include <vector>

struct CommandLine {
    std::vector<std::wstring> arguments;
    bool isService = false;
    std::wstring serviceName;

    // Parses a whole process command line (GetCommandLineW). Never fails.
    static CommandLine parse(const std::wstring& commandLine);

    // The argument after the first one equal (exactly) to `name`; empty when `name` is absent or
    // is the last argument.
    std::wstring valueAfter(const std::wstring& name) const;
};

// Cuts a text at runs of blanks, after removing blanks at both ends; no empty pieces.
std::vector<std::wstring> splitAtBlanks(const std::wstring& text);

// Cuts a text at runs of `separator`, after removing blanks at both ends; no empty pieces.
std::vector<std::wstring> splitAtRuns(const std::wstring& text, wchar_t separator);
