#include "Environment.h"

#include "CommandLine.h"
#include "FilePath.h"
#include "TemporaryPropertyFile.h"

Environment::Environment(const std::vector<std::wstring>& entries, Expander expand)
    : expand_(std::move(expand)) {
    for (const std::wstring& entry : entries) {
        const size_t equals = entry.find(L'=');
        if (equals == std::wstring::npos) {
            variables_[entry] = std::wstring();
        } else {
            variables_[entry.substr(0, equals)] = entry.substr(equals + 1);
        }
    }
}

std::wstring Environment::value(const std::wstring& name) const {
    const auto found = variables_.find(name);
    return found == variables_.end() ? std::wstring() : expand_(found->second);
}

std::vector<std::wstring> Environment::pathDirectories() const {
    std::wstring text;
    bool found = false;
    for (const auto& [name, raw] : variables_) {
        if (asciiLower(name) == L"path") {
            text = expand_(raw);
            found = true;
            break;
        }
    }
    if (!found) text = value(L"Path");
    return splitAtRuns(text, L';');
}

std::wstring Environment::propertyLines() const {
    std::wstring lines;
    for (const auto& [rawName, raw] : variables_) {
        const std::wstring name = escapeForPropertyFile(rawName);
        const std::wstring value = escapeForPropertyFile(expand_(raw));
        lines += L"vrx.nl.env." + asciiLower(name) + L"=" + value + L"\n";
        lines += L"vrx.nl.env." + asciiUpper(name) + L"=" + value + L"\n";
        lines += L"vrx.nl.env.exact_case." + name + L"=" + value + L"\n";
    }
    return lines;
}

std::wstring expandReferences(const std::wstring& text,
                              const std::function<const std::wstring*(const std::wstring&)>& lookup) {
    std::wstring out;
    size_t at = 0;
    while (at < text.size()) {
        const size_t open = text.find(L'%', at);
        if (open == std::wstring::npos) break;
        const size_t close = text.find(L'%', open + 1);
        if (close == std::wstring::npos) break;
        out.append(text, at, open - at);
        const std::wstring name = text.substr(open + 1, close - open - 1);
        const std::wstring* value = name.empty() ? nullptr : lookup(name);
        if (value != nullptr) {
            out += *value;
            at = close + 1;
        } else {
            // Not a variable: the first "%" stays and the second may open the next reference.
            out.append(text, open, close - open);
            at = close;
        }
    }
    out.append(text, at, std::wstring::npos);
    return out;
}
