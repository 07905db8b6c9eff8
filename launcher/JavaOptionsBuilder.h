#pragma once
// Gathers the JavaOptions from the property file and the launcher's command line.
#include "CommandLine.h"
#include "JavaOptions.h"
#include "PropertySet.h"

#include <functional>
#include <string>

struct JavaOptionsSources {
    const PropertySet& properties;
    const CommandLine& commandLine;
    bool isService = false;
    std::wstring propertyFilePath;    // as the launcher holds it: the file name, relative to
                                      // the current directory (the property file's folder)
    std::wstring startDirectory;      // the current directory when the launcher started
    std::wstring temporaryFilePath;   // the TemporaryPropertyFile
    std::wstring classPathVariable;   // the value of the environment variable CLASSPATH
};

// Builds the options. Relative working directories and class-path entries resolve against the
// property file's folder. An unknown verbosity value is not an error: `warn` receives the warning
// line and verbosity is switched off.
JavaOptions buildJavaOptions(const JavaOptionsSources& sources,
                             const std::function<void(const std::wstring&)>& warn);
