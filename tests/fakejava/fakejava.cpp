// fakejava: the stand-in for a Java runtime in the tests. Built under the names the launcher
// looks for (java.exe, javaw.exe, jre.exe, jrew.exe, jview.exe) and with the version resource a
// test chooses (tests/fakejava/CMakeLists.txt).
//
// Every run appends one JSON object as one line (UTF-8) to the record file:
//   {"exe": module path, "commandLine": GetCommandLineW, "cwd": current directory,
//    "args": [CommandLineToArgvW pieces after the program], "mainClass": first non-option,
//    "programArgs": [what follows the main class], "env": {NAME: VALUE, ...},
//    "stdoutIsConsole": bool, "stderrIsConsole": bool, "stdinIsConsole": bool}
//
// Configuration: the file named by the environment variable FAKEJAVA_CONFIG, else
// "fakejava.cfg" beside the executable; lines key=value ("#" starts a comment line). Keys:
//   record=PATH            record file (default: "fakejava.record" beside the executable)
//   exit=N                 exit code of an ordinary run (default 0; decimal or 0x hexadecimal)
//   sleep=MS               sleep this long before anything else in every run
//   stdout=TEXT            written to standard output in an ordinary run (\n for newlines)
//   stderr=TEXT            written to standard error in an ordinary run
//   validator.exit=N       exit code when the main class is com.orvex.util.jvm.Validator
//   validator.exit.ARG=N   the same for the validator argument ARG (the program argument after
//                          "1"); wins over validator.exit
//   verify.first=TEXT      first line printed when the main class is Verify (default "Verify")
//   verify.sleep=MS        sleep this long in a Verify run (for the launcher's time bound)
//   property.NAME=VALUE    the value Verify prints for the property NAME (missing: empty line)
// Without a configuration file every run records itself and exits with 0.
#include "JsonText.h"
#include "ScopedHandle.h"

#include <shellapi.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

using Config = std::map<std::wstring, std::wstring>;

std::string utf8(const std::wstring& text) {
    if (text.empty()) return std::string();
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size,
                        nullptr, nullptr);
    return out;
}

std::wstring widen(const std::string& bytes) {
    if (bytes.empty()) return std::wstring();
    const int size = MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), out.data(), size);
    return out;
}

std::wstring modulePath() {
    wchar_t buffer[32768];
    const DWORD length = GetModuleFileNameW(nullptr, buffer, 32768);
    return std::wstring(buffer, length);
}

std::wstring folderOf(const std::wstring& path) {
    const size_t slash = path.rfind(L'\\');
    return slash == std::wstring::npos ? L"." : path.substr(0, slash);
}

Config readConfig(const std::wstring& exe) {
    Config config;
    wchar_t named[32768];
    const DWORD length = GetEnvironmentVariableW(L"FAKEJAVA_CONFIG", named, 32768);
    const std::wstring path = length > 0 && length < 32768 ? std::wstring(named, length)
                                                           : folderOf(exe) + L"\\fakejava.cfg";
    FILE* file = _wfopen(path.c_str(), L"rb");
    if (file == nullptr) return config;
    std::string bytes;
    char block[4096];
    for (size_t got; (got = fread(block, 1, sizeof block, file)) > 0;) bytes.append(block, got);
    fclose(file);
    size_t at = 0;
    while (at <= bytes.size()) {
        size_t end = bytes.find('\n', at);
        if (end == std::string::npos) end = bytes.size();
        std::string line = bytes.substr(at, end - at);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const size_t equals = line.find('=');
        if (!line.empty() && line[0] != '#' && equals != std::string::npos) {
            config[widen(line.substr(0, equals))] = widen(line.substr(equals + 1));
        }
        at = end + 1;
    }
    return config;
}

std::wstring setting(const Config& config, const std::wstring& key, const std::wstring& fallback = L"") {
    const auto found = config.find(key);
    return found == config.end() ? fallback : found->second;
}

long number(const Config& config, const std::wstring& key, long fallback) {
    const std::wstring text = setting(config, key);
    return text.empty() ? fallback : static_cast<long>(wcstoul(text.c_str(), nullptr, 0));
}

std::wstring unescapeNewlines(std::wstring text) {
    for (size_t at = text.find(L"\\n"); at != std::wstring::npos; at = text.find(L"\\n", at + 1)) {
        text.replace(at, 2, L"\n");
    }
    return text;
}

// A console handle, also a write-only one (on which GetConsoleMode fails): an empty console
// write succeeds on a console only.
bool isConsole(DWORD which) {
    DWORD mode = 0;
    DWORD written = 0;
    const HANDLE handle = GetStdHandle(which);
    return GetConsoleMode(handle, &mode) != FALSE || WriteConsoleW(handle, L"", 0, &written, nullptr) != FALSE;
}

// Writes UTF-8 text to a standard handle: WriteConsoleW on a console, the bytes otherwise.
void writeTo(DWORD which, const std::wstring& text) {
    const HANDLE handle = GetStdHandle(which);
    DWORD written = 0;
    if (!WriteConsoleW(handle, text.c_str(), static_cast<DWORD>(text.size()), &written, nullptr)) {
        const std::string bytes = utf8(text);
        WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    }
}

struct JavaArguments {
    std::vector<std::wstring> all;
    std::wstring mainClass;
    std::vector<std::wstring> programArguments;
};

// Options that take the next argument as their value.
bool takesValue(const std::wstring& option) {
    return option == L"-classpath" || option == L"-cp" || option == L"/cp" || option == L"--add-opens";
}

JavaArguments splitArguments() {
    JavaArguments result;
    int count = 0;
    corvane::LocalMemory memory(reinterpret_cast<HLOCAL>(CommandLineToArgvW(GetCommandLineW(), &count)));
    wchar_t** argv = static_cast<wchar_t**>(memory.get());
    for (int i = 1; argv != nullptr && i < count; ++i) result.all.emplace_back(argv[i]);
    size_t i = 0;
    for (; i < result.all.size(); ++i) {
        const std::wstring& a = result.all[i];
        if (takesValue(a)) {
            ++i;
        } else if (a.empty() || (a[0] != L'-' && a[0] != L'/')) {
            break;
        }
    }
    if (i < result.all.size()) {
        result.mainClass = result.all[i];
        result.programArguments.assign(result.all.begin() + static_cast<long>(i) + 1, result.all.end());
    }
    return result;
}

void record(const Config& config, const std::wstring& exe, const JavaArguments& args) {
    std::string line = "{\"exe\": " + JsonText(exe) + ", \"commandLine\": " + JsonText(GetCommandLineW());
    wchar_t cwd[32768];
    const DWORD cwdLength = GetCurrentDirectoryW(32768, cwd);
    line += ", \"cwd\": " + JsonText(std::wstring(cwd, cwdLength));
    line += ", \"args\": [";
    for (size_t i = 0; i < args.all.size(); ++i) line += (i ? ", " : "") + JsonText(args.all[i]);
    line += "], \"mainClass\": " + JsonText(args.mainClass) + ", \"programArgs\": [";
    for (size_t i = 0; i < args.programArguments.size(); ++i) {
        line += (i ? ", " : "") + JsonText(args.programArguments[i]);
    }
    line += "], \"env\": {";
    bool first = true;
    if (wchar_t* block = GetEnvironmentStringsW()) {
        for (const wchar_t* entry = block; *entry != L'\0'; entry += wcslen(entry) + 1) {
            const std::wstring text = entry;
            const size_t equals = text.find(L'=', 1);
            if (equals == std::wstring::npos) continue;
            line += (first ? "" : ", ") + JsonText(text.substr(0, equals)) + ": " + JsonText(text.substr(equals + 1));
            first = false;
        }
        FreeEnvironmentStringsW(block);
    }
    line += "}, \"stdoutIsConsole\": ";
    line += isConsole(STD_OUTPUT_HANDLE) ? "true" : "false";
    line += ", \"stderrIsConsole\": ";
    line += isConsole(STD_ERROR_HANDLE) ? "true" : "false";
    line += ", \"stdinIsConsole\": ";
    line += isConsole(STD_INPUT_HANDLE) ? "true" : "false";
    line += "}\n";
    const std::wstring path = setting(config, L"record", folderOf(exe) + L"\\fakejava.record");
    if (FILE* file = _wfopen(path.c_str(), L"ab")) {
        fwrite(line.data(), 1, line.size(), file);
        fclose(file);
    }
}

int verifyRun(const Config& config, const JavaArguments& args) {
    if (const long ms = number(config, L"verify.sleep", 0); ms > 0) Sleep(static_cast<DWORD>(ms));
    std::wstring out = setting(config, L"verify.first", L"Verify") + L"\n";
    for (const std::wstring& name : args.programArguments) {
        out += setting(config, L"property." + name) + L"\n";
    }
    writeTo(STD_OUTPUT_HANDLE, out);
    return 0;
}

int validatorRun(const Config& config, const JavaArguments& args) {
    const long fallback = number(config, L"validator.exit", 0);
    const std::wstring argument = args.programArguments.size() > 1 ? args.programArguments[1] : L"";
    return static_cast<int>(number(config, L"validator.exit." + argument, fallback));
}

}  // namespace

int wmain() {
    const std::wstring exe = modulePath();
    const Config config = readConfig(exe);
    if (const long ms = number(config, L"sleep", 0); ms > 0) Sleep(static_cast<DWORD>(ms));
    const JavaArguments args = splitArguments();
    record(config, exe, args);
    if (args.mainClass == L"Verify") return verifyRun(config, args);
    if (args.mainClass == L"com.orvex.util.jvm.Validator") return validatorRun(config, args);
    if (auto text = setting(config, L"stdout"); !text.empty()) writeTo(STD_OUTPUT_HANDLE, unescapeNewlines(text));
    if (auto text = setting(config, L"stderr"); !text.empty()) writeTo(STD_ERROR_HANDLE, unescapeNewlines(text));
    return static_cast<int>(number(config, L"exit", 0));
}
