#pragma once
// The progress window and its states. In silent and console mode there is no window: every
// state change below then only writes its log lines.
#include <string>

// Shows the modal progress window and returns when it has ended; the extraction flow runs inside
// it on its first timer tick and again after each folder the user picks.
void RunProgressWindow();

// A text of the string table in the user's language; empty when the id has none.
std::wstring StubString(int id);

// The preparing state at the start of an attempt: main message, caption, bar at 0 and "0%".
void ShowPreparing();

// The error state for a string-table code. Choose is offered for codes 2, 14 and 17.
void ShowError(int code);

// The temporary folder cannot be used: error text 2, Choose offered.
void ShowTempFolderProblem();

// Asks for another folder with the given main text (empty for an extraction failure).
void AskForAnotherLocation(const std::wstring& mainText);

// Shows a percentage from the monitor; values of 0 or less are ignored.
void UpdateProgress(int percent);
