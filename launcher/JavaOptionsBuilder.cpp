#include "JavaOptionsBuilder.h"

namespace {

FilePath workingDirectoryOf(const JavaOptionsSources& sources, const std::wstring& folder) {
    const std::wstring userDir = sources.properties.readString(keys::UserDir);
    if (userDir.empty()) return FilePath(sources.startDirectory);
    FilePath directory = FilePath(userDir).fullPath(true);
    if (!directory.isAbsolute()) directory = FilePath(folder + L"\\" + directory.text());
    return directory;
}

void applyVerbosity(const std::wstring& value, JavaOptions& options,
                    const std::function<void(const std::wstring&)>& warn) {
    options.verbose = !value.empty();
    if (!options.verbose) return;
    const std::wstring selection = asciiLower(value);
    if (selection == L"normal" || selection == L"all") return;
    if (selection == L"gc" || selection == L"class") {
        options.verboseSelection = selection;
        return;
    }
    options.verbose = false;
    if (selection != L"none") {
        warn(L"invalid verbosity selection '" + selection + L"', disabling verbosity.\n");
    }
}

std::vector<std::wstring> classPathOf(const JavaOptionsSources& sources, const std::wstring& folder) {
    std::vector<std::wstring> entries;
    const std::wstring text =
        sources.properties.readClassPath(keys::ClassPath, sources.classPathVariable);
    for (const std::wstring& piece : splitAtRuns(text, L';')) {
        const FilePath entry(piece);
        const FilePath resolved = entry.isAbsolute() ? entry : FilePath(folder + L"\\" + entry.text());
        entries.push_back(resolved.fullPath(false).text());
    }
    return entries;
}

}  // namespace

JavaOptions buildJavaOptions(const JavaOptionsSources& sources,
                             const std::function<void(const std::wstring&)>& warn) {
    const PropertySet& properties = sources.properties;
    const std::wstring folder = FilePath(sources.propertyFilePath).parent(L".");
    JavaOptions options;
    options.workingDirectory = workingDirectoryOf(sources, folder);
    options.mainClass = properties.readString(keys::MainClass);
    options.additionalOptions = properties.readString(keys::AdditionalOptions);
    options.initialHeap = properties.readSize(keys::InitialHeap);
    options.maxHeap = properties.readSize(keys::MaxHeap);
    options.classGcExtent = properties.readString(keys::ClassGcExtent);
    options.debugging = properties.readFlag(keys::Debugging);
    options.noAsyncGc = properties.readFlag(keys::NoAsyncGc);
    options.noJit = properties.readFlag(keys::Compiler);
    options.microsoftVmMinBuild = properties.readInteger(keys::MicrosoftVmMinVersion);
    options.launcherArguments = {FilePath(sources.propertyFilePath).fullPath(true).text(),
                                 sources.temporaryFilePath};
    applyVerbosity(properties.readString(keys::Verbose), options, warn);
    if (sources.isService) options.additionalOptions += L" -Xrs";
    options.ClassPath = classPathOf(sources, folder);
    const auto& arguments = sources.commandLine.arguments;
    if (!arguments.empty()) options.programArguments.assign(arguments.begin() + 1, arguments.end());
    return options;
}
