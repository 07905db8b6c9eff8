#pragma once
// The two places where the JVM side plugs into the launcher; jvm/VmSelection.cpp implements them.
#include "JavaOptions.h"

class Launcher;

// During construction, after the property file is loaded: looks for the JVM specification
// properties beside the executable and loads them (sets specPropertyFilePath, specsPresent,
// specProperties).
void loadSpecProperties(Launcher& launcher);

// The body of run() after the options are built: selects one VM, records it with
// recordChosenVm, launches it and hands the child to adoptChild. Raises TerminalError with
// string 101 (terminalErrorFor(strings::NoJavaVm)) when no VM is selected.
void selectAndLaunch(Launcher& launcher, const JavaOptions& options, bool wait);
