#pragma once
// The record of one Java VM, however it was found, and the three classes that differ in how the
// executable is found below the home folder and in the dialect of the command line.
#include "JavaOptions.h"
#include "JavaVersion.h"
#include "VmKind.h"
#include "win32.h"

#include <cstdint>
#include <memory>
#include <string>

class JavaVm {
public:
    virtual ~JavaVm() = default;

    // Builds the command line for the options and starts the Java process with the launcher's
    // console; with `wait` it returns only after the process has ended. Returns the process
    // handle, which the caller owns. Raises TerminalError when the process cannot be created
    // (and, for the Microsoft VM, when it is older than the options allow).
    virtual HANDLE buildCommandLine(const JavaOptions& options, bool wait);
    // Starts the Java program without waiting for it: buildCommandLine with a copy of the
    // options.
    virtual HANDLE launch(JavaOptions options);
    // The Java executable of this VM.
    virtual std::wstring executablePath() const = 0;

    // The command-line text buildCommandLine starts.
    virtual std::wstring commandLine(const JavaOptions& options) const = 0;

    JavaVersion version;
    std::wstring home;
    std::wstring vendor;
    VmKind kind = VmKind::JRE;
    std::int32_t is64Bit = 0;
    JavaOptions options;  // copied in when the record is made for a search

protected:
    JavaVm() = default;
    JavaVm(const JavaVm&) = default;
    JavaVm& operator=(const JavaVm&) = default;
};

// Java 1.2 and later, and every VM named by an explicit path.
class ModernJavaVm : public JavaVm {
public:
    // home\java.exe for a system folder (system32, SysWOW64), else home\bin\java.exe; home\java.exe
    // whenever the chosen file does not exist.
    std::wstring executablePath() const override;
    std::wstring commandLine(const JavaOptions& options) const override;
};

// Java 1.1 (jre.exe, jrew.exe or java.exe).
class OldJavaVm : public JavaVm {
public:
    // home\bin\jre.exe when it exists, else home\bin\java.exe.
    std::wstring executablePath() const override;
    std::wstring commandLine(const JavaOptions& options) const override;
};

// The Microsoft VM (jview.exe); always version 1.4.0 from "Microsoft".
class MicrosoftJavaVm : public OldJavaVm {
public:
    MicrosoftJavaVm();
    // Refuses a VM whose build is below options.microsoftVmMinBuild with string 101, and puts
    // the class path into the launcher's environment as CLASSPATH for the child to inherit.
    HANDLE buildCommandLine(const JavaOptions& options, bool wait) override;
    // home\jview.exe.
    std::wstring executablePath() const override;
    std::wstring commandLine(const JavaOptions& options) const override;
    // The third number of the file version of home\jview.exe; 0 when it cannot be read.
    std::int32_t build() const;
};

// Duplicates in the inventory: the same home (exact case) and the same version.
bool SameInstallation(const JavaVm& a, const JavaVm& b);

// The record of the VM whose executable a path names (VRX_VM, a JVM specification, a VM pack):
// always a ModernJavaVm, with version, home, kind and vendor from the executable and a copy of
// the options. Checks nothing on disk; see VmExecutable for what an odd path gives.
std::unique_ptr<JavaVm> RecordFromExplicitPath(const std::wstring& executable,
                                               const JavaOptions& options);

