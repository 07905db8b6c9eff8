#include "VerifyOutput.h"

namespace {

// Removes the characters with codes 0 to 32 at both ends.
std::wstring_view TrimControls(std::wstring_view text) {
    while (!text.empty() && text.front() <= L' ') text.remove_prefix(1);
    while (!text.empty() && text.back() <= L' ') text.remove_suffix(1);
    return text;
}

bool EndsWith(std::wstring_view text, std::wstring_view end) {
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

// A Java program on Windows ends its lines with CR LF; the CR is not part of the value, or no
// value could ever match an exact expectation.
std::wstring_view LineValue(std::wstring_view line) {
    if (!line.empty() && line.back() == L'\r') line.remove_suffix(1);
    return line;
}

}  // namespace

bool MatchesExpectedValue(std::wstring_view actual, std::wstring_view expected) {
    if (expected == L"*") return true;
    if (EndsWith(expected, L"*")) return actual.starts_with(expected.substr(0, expected.find(L'*')));
    if (EndsWith(expected, L"...")) {
        while (!expected.empty() && expected.back() == L'.') expected.remove_suffix(1);
        return actual.starts_with(expected);
    }
    return actual == expected;
}

bool ReportedPropertiesMatch(std::wstring_view output,
                             const std::map<std::wstring, std::wstring>& expected) {
    std::wstring_view text = TrimControls(output);
    const size_t firstEnd = text.find(L'\n');
    if (text.empty() || firstEnd == std::wstring_view::npos) return false;
    text = TrimControls(text.substr(firstEnd + 1));
    for (const auto& [name, value] : expected) {
        const size_t end = text.find(L'\n');
        if (!MatchesExpectedValue(LineValue(text.substr(0, end)), value)) return false;
        if (end != std::wstring_view::npos) text = TrimControls(text.substr(end + 1));
    }
    return true;
}

