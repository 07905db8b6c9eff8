#pragma once
// The launcher's user-facing texts, from the string table of its own executable in the language
// the system's resource loader picks for the thread's user-interface language.
#include "ErrorLine.h"
#include "Exceptions.h"

#include <map>
#include <string>

class StringTable {
public:
    // The process-wide table, made on first use.
    static StringTable& instance();

    // The text of `id` (LoadStringW, 256 characters), cached after the first load. Raises
    // StringTableException ("invalid key") when the executable has no string of that id.
    std::wstring text(int id);

    // The text of `id` with its "%d" replaced by `number`.
    std::wstring format(int id, long number);

private:
    StringTable() = default;
    std::map<int, std::wstring> cache_;
};

// A TerminalError with the text of string `id` and the exit code that belongs to it.
TerminalError terminalErrorFor(int id);
