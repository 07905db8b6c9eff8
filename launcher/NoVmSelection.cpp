#include "StringTable.h"
#include "Strings.h"
#include "VmSelection.h"

// The launcher without a JVM side: it knows no specifications and finds no VM.

void loadSpecProperties(Launcher&) {}

void selectAndLaunch(Launcher&, const JavaOptions&, bool) {
    throw terminalErrorFor(strings::NoJavaVm);
}
