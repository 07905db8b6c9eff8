#include "JavaCommandLine.h"

#include "FilePath.h"

namespace {

// How a dialect spells each option; an empty spelling leaves the option out.
struct Dialect {
    bool java9Options;
    const wchar_t* initialHeap;
    const wchar_t* maxHeap;
    const wchar_t* verbose;
    bool verboseSelection;
    const wchar_t* debugging;
    const wchar_t* noAsyncGc;
    const wchar_t* noJit;
    const wchar_t* noClassGc;
    bool additionalOptions;
};

constexpr Dialect kModern{true,           L"-Xms",        L"-Xmx",        L"-verbose", true,
                          L"-Xdebug",     L"-Xnoasyncgc", L"-Djava.compiler=off",
                          L"-Xnoclassgc", true};
constexpr Dialect kOld{false,  L"-ms",        L"-mx",    L"-verbose",   false,
                       L"-debug", L"-noasyncgc", L"-nojit", L"-noclassgc", true};
constexpr Dialect kMicrosoft{false, L"", L"", L"", false, L"", L"", L"", L"", false};

void AddOption(std::wstring& line, const wchar_t* spelling, bool wanted) {
    if (wanted && *spelling != L'\0') (line += L' ') += spelling;
}

void AddHeapOption(std::wstring& line, const wchar_t* spelling, std::int64_t bytes) {
    if (bytes > 0 && *spelling != L'\0') ((line += L' ') += spelling) += std::to_wstring(bytes);
}

// The quoted executable and the options of the dialect, up to and excluding the class path.
std::wstring ExecutableAndOptions(const std::wstring& executable, const Dialect& dialect,
                                  bool java9, const JavaOptions& options) {
    std::wstring line = L"\"" + executable + L"\"";
    if (dialect.java9Options && java9) {
        line += L" --add-opens java.base/jdk.internal.loader=ALL-UNNAMED";
        line += L" -Dsun.java2d.uiScale.enabled=false";
    }
    AddHeapOption(line, dialect.initialHeap, options.initialHeap);
    AddHeapOption(line, dialect.maxHeap, options.maxHeap);
    if (options.verbose && *dialect.verbose != L'\0') {
        (line += L' ') += dialect.verbose;
        if (dialect.verboseSelection && !options.verboseSelection.empty())
            (line += L':') += options.verboseSelection;
    }
    AddOption(line, dialect.debugging, options.debugging);
    AddOption(line, dialect.noAsyncGc, options.noAsyncGc);
    AddOption(line, dialect.noJit, options.noJit);
    AddOption(line, dialect.noClassGc, !options.classGcExtent.empty());
    if (dialect.additionalOptions && !options.additionalOptions.empty())
        (line += L' ') += options.additionalOptions;
    return line;
}

// The class-path switch, the quoted class path, the main class and the arguments.
std::wstring ClassPathAndProgram(const wchar_t* classPathSwitch,
                                 const std::vector<std::wstring>& classPath,
                                 const JavaOptions& options) {
    std::wstring tail = L" ";
    tail += classPathSwitch;
    tail += L" \"" + ClassPathText(classPath) + L"\"";
    (tail += L' ') += options.mainClass;
    (tail += L' ') += ArgumentText(options);
    return tail;
}

std::wstring Replace(std::wstring text, wchar_t from, const wchar_t* to) {
    std::wstring out;
    for (wchar_t c : text) {
        if (c == from) out += to;
        else out += c;
    }
    return out;
}

}  // namespace

std::wstring ClassPathText(const std::vector<std::wstring>& entries) {
    std::wstring text;
    for (const std::wstring& entry : entries) (text += entry) += L';';
    return text;
}

std::wstring ArgumentText(const JavaOptions& options) {
    std::wstring text;
    for (const std::wstring& argument : options.launcherArguments)
        text += L"\"" + Replace(argument, L'\\', L"/") + L"\" ";
    for (size_t i = 0; i < options.programArguments.size(); ++i) {
        if (i > 0) text += L' ';
        const std::wstring doubled = Replace(options.programArguments[i], L'\\', L"\\\\");
        if (doubled.find(L' ') != std::wstring::npos) text += L"\"" + doubled + L"\"";
        else text += doubled;
    }
    return text;
}

std::wstring ModernCommandLine(const std::wstring& executable, std::int32_t major,
                               const JavaOptions& options) {
    return ExecutableAndOptions(executable, kModern, major >= 9, options) +
           ClassPathAndProgram(L"-classpath", options.ClassPath, options);
}

std::wstring OldCommandLine(const std::wstring& executable, const std::wstring& home,
                            const JavaOptions& options) {
    std::vector<std::wstring> classPath = options.ClassPath;
    classPath.push_back(home + L"\\lib\\classes.zip");
    const std::wstring name = FilePath(executable).name(true);
    const wchar_t* classPathSwitch =
        name == L"jre.exe" || name == L"jrew.exe" ? L"-cp" : L"-classpath";
    return ExecutableAndOptions(executable, kOld, false, options) +
           ClassPathAndProgram(classPathSwitch, classPath, options);
}

std::wstring MicrosoftCommandLine(const std::wstring& executable, const JavaOptions& options) {
    return ExecutableAndOptions(executable, kMicrosoft, false, options) +
           ClassPathAndProgram(L"/cp", options.ClassPath, options);
}

