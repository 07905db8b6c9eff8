#pragma once
// One Launcher per process: made from the parsed command line, it finds and checks its property
// file, moves to that file's folder and prepares the console; run() builds the Java options,
// has a VM selected and launched (VmSelection.h) and waits for the Java program.
#include "CommandLine.h"
#include "JavaOptions.h"
#include "PropertySet.h"
#include "win32.h"

#include <memory>
#include <string>

class JavaVm;

class Launcher {
public:
    // Construction, in order: locate the executable and its property file, load and check the
    // properties, load the JVM specification properties when present, remember the current
    // directory, change to the property file's folder, prepare the console. Raises
    // TerminalError "unable to locate executable", string 102 (no property file) or 104 (invalid
    // property file), and FileException when the property file cannot be read.
    explicit Launcher(const CommandLine& commandLine);
    Launcher(const Launcher&) = delete;
    Launcher& operator=(const Launcher&) = delete;
    virtual ~Launcher() = default;

    // Builds the Java options (writing the environment into the temporary property file), selects
    // a VM and launches the Java program; with `wait`, waits for it and keeps its exit code.
    // Raises TerminalError with string 101 when no VM is found.
    virtual void run(bool wait);
    virtual bool isService() const { return false; }

    int exitCode() const noexcept { return exitCode_; }

    // The Java options of this launcher, as run() builds them.
    JavaOptions buildOptions() const;

    // For the VM selection: records the chosen VM's executable in the temporary property file
    // ("vrx.nl.current.vm=" and the escaped path).
    void recordChosenVm(const std::wstring& executablePath) const;
    // For the VM selection: keeps the launched child and, with `wait`, waits for it without a
    // time limit and stores its exit code.
    void adoptChild(HANDLE process, bool wait);

    // The launcher's state, read and written by the VM selection.
    PropertySet properties;
    PropertySet specProperties;       // the JVM specification properties, when present
    CommandLine commandLine;
    std::shared_ptr<JavaVm> vm;       // the selected VM, or none
    std::wstring propertyFilePath;    // after construction only the file name
    std::wstring specPropertyFilePath;
    HANDLE childProcess = nullptr;    // kept open until the process exits
    std::wstring startDirectory;
    bool specsPresent = false;
    bool silent = false;
    std::wstring executablePath;      // the running program, as located from its first argument

protected:
    int exitCode_ = 0;
};
