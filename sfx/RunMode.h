#pragma once

// How the stub runs: without any window, with the progress window, or on the console.
enum RunMode { SilentMode = 0, GuiMode = 1, ConsoleMode = 2 };
