#include "ProgressWindow.h"

#include "ExtractFile.h"

// The progress window is not built yet; the flow runs without it.
void RunProgressWindow() { ExtractFile(); }
