#include "StringTable.h"

#include "Strings.h"
#include "win32.h"

StringTable& StringTable::instance() {
    static StringTable table;
    return table;
}

std::wstring StringTable::text(int id) {
    if (const auto found = cache_.find(id); found != cache_.end()) return found->second;
    wchar_t buffer[256];
    const int length = LoadStringW(GetModuleHandleW(nullptr), static_cast<UINT>(id), buffer, 256);
    if (length <= 0) throw StringTableException();
    return cache_[id] = std::wstring(buffer, static_cast<size_t>(length));
}

std::wstring StringTable::format(int id, long number) { return formatNumber(text(id), number); }

TerminalError terminalErrorFor(int id) {
    return TerminalError(StringTable::instance().text(id), exit_codes::forString(id));
}
