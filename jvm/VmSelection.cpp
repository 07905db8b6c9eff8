#include "VmSelection.h"

#include "FilePath.h"
#include "JavaVm.h"
#include "Launcher.h"
#include "StringTable.h"
#include "Strings.h"

#include <memory>

// JVM specification files are not read yet: a launcher of this build behaves as if it had
// none beside it.
void loadSpecProperties(Launcher&) {}

namespace {

// The VM that "VRX_VM" names on the command line: the record of that executable when the path
// names an existing file that is not a folder; none otherwise.
std::shared_ptr<JavaVm> NamedVm(const Launcher& launcher, const JavaOptions& options) {
    const std::wstring named = launcher.commandLine.valueAfter(L"VRX_VM");
    if (named.empty()) return nullptr;
    const FilePath path(named);
    if (!path.exists() || path.isDirectory()) return nullptr;
    return RecordFromExplicitPath(named, options);
}

}  // namespace

void selectAndLaunch(Launcher& launcher, const JavaOptions& options, bool wait) {
    std::shared_ptr<JavaVm> vm = NamedVm(launcher, options);
    if (!vm) throw terminalErrorFor(strings::NoJavaVm);
    launcher.vm = vm;
    launcher.recordChosenVm(vm->executablePath());
    launcher.adoptChild(vm->launch(options), wait);
}
