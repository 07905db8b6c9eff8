#include "StubOptions.h"

#include "PathParts.h"
#include "PortableFile.h"

#include <string_view>

std::vector<std::wstring> TokenizeStubCommandLine(const std::wstring& commandLine) {
    std::vector<std::wstring> tokens;
    std::wstring current;
    bool insideQuotes = false;
    for (wchar_t c : commandLine) {
        if (c == L'"') {
            if (insideQuotes) {
                tokens.push_back(current);
                current.clear();
                insideQuotes = false;
            } else {
                insideQuotes = true;
            }
        } else if (c == L' ' && !insideQuotes) {
            if (!current.empty()) {
                tokens.push_back(current);
                current.clear();
            }
        } else {
            current += c;
        }
    }
    if (!current.empty()) tokens.push_back(current);
    return tokens;
}

std::wstring DefaultInputFile(const std::wstring& moduleFileName) {
    // The module name comes from a buffer of 261 characters.
    const PathParts parts = PathParts::Split(moduleFileName.substr(0, 260));
    const std::wstring folder = parts.drive + parts.folder;
    const std::wstring installerProperties = folder + L"installer.properties";
    if (FileSystemObjectExists(installerProperties)) return installerProperties;
    return folder + parts.baseName + L".properties";
}

namespace {

void LowerAsciiCapitals(std::string& line) {
    for (char& c : line) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
}

RunMode ModeOfInstallerUiLine(std::string_view line) {
    if (line.find("silent") != std::string_view::npos) return SilentMode;
    if (line.find("console") != std::string_view::npos) return ConsoleMode;
    return GuiMode;
}

}  // namespace

RunMode ReadInstallerUiMode(const std::wstring& path, RunMode current) {
    UniqueFile file = OpenFile(path, "r");
    if (!file) return current;
    std::string line;
    int c;
    bool atEnd = false;
    while (!atEnd) {
        line.clear();
        while ((c = std::fgetc(file.get())) != EOF && c != '\n') line += static_cast<char>(c);
        atEnd = (c == EOF);
        if (atEnd && line.empty()) break;
        // Text mode removes the carriage return of a CR LF line end on Windows; do the same here
        // so that both builds read the same file alike.
        if (!line.empty() && line.back() == '\r') line.pop_back();
        LowerAsciiCapitals(line);
        if (line.rfind("installer_ui", 0) == 0) return ModeOfInstallerUiLine(line);
    }
    return current;
}

StubOptions StubOptions::Build(const std::wstring& commandLine, const std::wstring& moduleFileName) {
    StubOptions options;
    options.inputFile = DefaultInputFile(moduleFileName);

    const std::vector<std::wstring> tokens = TokenizeStubCommandLine(commandLine);
    const size_t count = tokens.size();
    size_t i = 0;
    while (i < count) {
        const std::wstring& token = tokens[i];
        const bool hasValue = i + 1 < count;
        if (token == L"-i" || token == L"-f" || token == L"-jvmxms" || token == L"-jvmxmx") {
            if (!hasValue) break;
        }
        const std::wstring* value = hasValue ? &tokens[i + 1] : nullptr;
        if (token == L"-i") {
            if (*value == L"silent") {
                options.mode = SilentMode;
            } else if (*value == L"console") {
                options.mode = ConsoleMode;
            } else {
                ++i;  // any other value is examined as an option in its own right
                continue;
            }
        } else if (token == L"-f") {
            options.inputFile = *value;
        } else if (token == L"-jvmxms") {
            options.initialHeapValue = *value;
            options.hasInitialHeap = true;
        } else if (token == L"-jvmxmx") {
            options.maxHeapValue = *value;
            options.hasMaxHeap = true;
        } else {
            ++i;
            continue;
        }
        i += 2;
    }

    if (options.mode != SilentMode && FileSystemObjectExists(options.inputFile)) {
        options.mode = ReadInstallerUiMode(options.inputFile, options.mode);
    }
    return options;
}
