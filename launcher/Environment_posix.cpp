#include "Environment.h"

#include <unistd.h>

namespace {

std::vector<std::wstring> processEntries() {
    std::vector<std::wstring> entries;
    for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry) {
        std::wstring wide;
        for (const char* c = *entry; *c != '\0'; ++c) {
            wide += static_cast<wchar_t>(static_cast<unsigned char>(*c));
        }
        entries.push_back(std::move(wide));
    }
    return entries;
}

}  // namespace

// Native builds expand references against the snapshot itself.
const Environment& Environment::instance() {
    static const Environment snapshot(processEntries(), [](const std::wstring& raw) {
        return expandReferences(raw, [](const std::wstring& name) -> const std::wstring* {
            const auto found = snapshot.variables().find(name);
            return found == snapshot.variables().end() ? nullptr : &found->second;
        });
    });
    return snapshot;
}
