#include "Launcher.h"

#include "Console.h"
#include "Environment.h"
#include "FileSystem.h"
#include "JavaOptionsBuilder.h"
#include "LauncherFiles.h"
#include "StringTable.h"
#include "Strings.h"
#include "TemporaryPropertyFile.h"
#include "VmSelection.h"

#include <cstdio>

namespace {

// A property file the launcher cannot work with: no main class, no VM hint or no class path.
bool isValid(const PropertySet& properties) {
    if (properties.readString(keys::MainClass).empty()) return false;
    if (properties.readString(keys::CurrentVm).empty() &&
        properties.readString(keys::ValidVmList).empty()) {
        return false;
    }
    const std::wstring classPathVariable = Environment::instance().value(L"CLASSPATH");
    return !properties.readClassPath(keys::ClassPath, classPathVariable).empty();
}

}  // namespace

Launcher::Launcher(const CommandLine& line) : commandLine(line) {
    const std::wstring firstArgument = line.arguments.empty() ? std::wstring() : line.arguments[0];
    const auto located = locateExecutable(firstArgument, Environment::instance().pathDirectories());
    if (!located) throw TerminalError(L"unable to locate executable");
    executablePath = *located;

    const auto propertyFile = locatePropertyFile(executablePath, filesystem_query::currentDirectory());
    if (!propertyFile) throw terminalErrorFor(strings::PropertiesMissing);
    propertyFilePath = *propertyFile;
    properties.load(propertyFilePath);
    silent = properties.readString(keys::UiDefault) == L"SILENT";
    if (!isValid(properties)) throw terminalErrorFor(strings::PropertiesInvalid);

    loadSpecProperties(*this);

    startDirectory = filesystem_query::currentDirectory();
    const FilePath file(propertyFilePath);
    filesystem_query::setCurrentDirectory(file.parent(L"."));
    propertyFilePath = file.name();

    prepareConsole(properties.readString(keys::ApplicationName));
}

JavaOptions Launcher::buildOptions() const {
    const TemporaryPropertyFile& temporary = TemporaryPropertyFile::instance();
    temporary.append(Environment::instance().propertyLines());
    const JavaOptionsSources sources{
        .properties = properties,
        .commandLine = commandLine,
        .isService = isService(),
        .propertyFilePath = propertyFilePath,
        .startDirectory = startDirectory,
        .temporaryFilePath = temporary.path().text(),
        .classPathVariable = Environment::instance().value(L"CLASSPATH"),
    };
    return buildJavaOptions(sources, [](const std::wstring& warning) {
        fputws(warning.c_str(), stderr);
        fflush(stderr);
    });
}

void Launcher::run(bool wait) {
    const JavaOptions options = buildOptions();
    selectAndLaunch(*this, options, wait);
}

void Launcher::recordChosenVm(const std::wstring& path) const {
    TemporaryPropertyFile::instance().append(L"vrx.nl.current.vm=" + escapeForPropertyFile(path) + L"\n");
}

void Launcher::adoptChild(HANDLE process, bool wait) {
    childProcess = process;
    if (!wait) return;
    WaitForSingleObject(process, INFINITE);
    DWORD code = 0;
    if (GetExitCodeProcess(process, &code)) exitCode_ = static_cast<int>(code);
}
