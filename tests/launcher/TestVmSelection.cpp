// A stand-in for the JVM search, linked into the test build jlauncher_testvm only: the VM is the
// executable named after "VRX_VM" on the command line, started with the command line of a Java 8
// VM. It lets the end-to-end tests run the whole launch path of the launcher (console handles,
// working directory, Java command line, exit code, pause) on fakejava.
#include "ChildProcess.h"
#include "FilePath.h"
#include "JavaCommandLine.h"
#include "Launcher.h"
#include "StringTable.h"
#include "Strings.h"
#include "VmSelection.h"

void loadSpecProperties(Launcher&) {}

void selectAndLaunch(Launcher& launcher, const JavaOptions& options, bool wait) {
    const FilePath vm(launcher.commandLine.valueAfter(L"VRX_VM"));
    if (vm.empty() || !vm.exists() || vm.isDirectory()) throw terminalErrorFor(strings::NoJavaVm);
    launcher.recordChosenVm(vm.text());
    launcher.adoptChild(createJavaProcess(options, ModernCommandLine(vm.text(), 8, options), false), wait);
}
