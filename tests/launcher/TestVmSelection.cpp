// A stand-in for the JVM side, linked into the test build jlauncher_testvm only: the VM is the
// executable named after "VRX_VM" on the command line, started with a plain Java command line
// ("exe" -classpath "entries;" main arguments...). It lets the end-to-end tests run the whole
// launch path of the launcher (console handles, working directory, exit code, pause) on fakejava
// before the real VM selection is linked.
#include "ChildProcess.h"
#include "FilePath.h"
#include "Launcher.h"
#include "StringTable.h"
#include "Strings.h"
#include "VmSelection.h"

void loadSpecProperties(Launcher&) {}

void selectAndLaunch(Launcher& launcher, const JavaOptions& options, bool wait) {
    const FilePath vm(launcher.commandLine.valueAfter(L"VRX_VM"));
    if (vm.empty() || !vm.exists() || vm.isDirectory()) throw terminalErrorFor(strings::NoJavaVm);
    launcher.recordChosenVm(vm.text());
    std::wstring line = L"\"" + vm.text() + L"\" -classpath \"";
    for (const std::wstring& entry : options.ClassPath) line += entry + L";";
    line += L"\" " + options.mainClass;
    for (const std::wstring& argument : options.launcherArguments) line += L" \"" + argument + L"\"";
    for (const std::wstring& argument : options.programArguments) line += L" \"" + argument + L"\"";
    launcher.adoptChild(createJavaProcess(options, line, false), wait);
}
