#include "ExtractFile.h"

#include "DebugLog.h"

// The extraction flow is not built yet: no launcher is started, so the stub ends with 0xFFFFFFFF.
int ExtractFile() {
    DebugLog(L"Extracting files.");
    return 0;
}
