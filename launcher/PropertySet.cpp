#include "PropertySet.h"

#include "Exceptions.h"
#include "FilePath.h"
#include "FileSystem.h"

#include <limits>

namespace {

bool isTrimmed(wchar_t c) { return c <= 32; }

std::wstring trim(std::wstring_view text) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && isTrimmed(text[begin])) ++begin;
    while (end > begin && isTrimmed(text[end - 1])) --end;
    return std::wstring(text.substr(begin, end - begin));
}

int hexDigit(wchar_t c) {
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    return -1;
}

// One line of the file (without its line feed), added to `entries` when it defines a key.
void parseLine(std::wstring_view line, PropertySet::Map& entries) {
    if (line.starts_with(L'#')) return;
    const std::wstring trimmed = trim(line);
    if (trimmed.empty()) return;
    const size_t equals = trimmed.find(L'=');
    if (equals == std::wstring::npos) return;
    const std::wstring key = trim(std::wstring_view(trimmed).substr(0, equals));
    std::wstring value = trim(std::wstring_view(trimmed).substr(equals + 1));
    if (value.ends_with(L'\\')) value.back() = L' ';
    entries[property_rules::decode(key)] = property_rules::decode(value);
}

// Leading decimal digits with an optional sign, saturated at the ends of [low, high].
int64_t leadingNumber(const std::wstring& text, int64_t low, int64_t high) {
    size_t at = 0;
    while (at < text.size() && (text[at] == L' ' || text[at] == L'\t')) ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == L'+' || text[at] == L'-')) negative = text[at++] == L'-';
    int64_t value = 0;
    for (; at < text.size() && text[at] >= L'0' && text[at] <= L'9'; ++at) {
        const int digit = text[at] - L'0';
        if (!negative) {
            if (value > (high - digit) / 10) return high;
            value = value * 10 + digit;
        } else {
            if (value < (low + digit) / 10) return low;
            value = value * 10 - digit;
        }
    }
    return value;
}

}  // namespace

namespace property_rules {

bool flag(const std::wstring& value) {
    const std::wstring v = asciiLower(value);
    return v == L"true" || v == L"on" || v == L"t";
}

bool pauseFlag(const std::wstring& value) {
    const std::wstring v = asciiLower(value);
    return v == L"true" || v == L"yes" || v == L"on";
}

int32_t integer(const std::wstring& value) {
    return static_cast<int32_t>(leadingNumber(value, std::numeric_limits<int32_t>::min(),
                                              std::numeric_limits<int32_t>::max()));
}

int64_t size(const std::wstring& value) {
    constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
    constexpr int64_t kMin = std::numeric_limits<int64_t>::min();
    std::wstring text = asciiLower(value);
    int64_t unit = 1;
    if (!text.empty()) {
        switch (text.back()) {
            case L'k': unit = int64_t{1} << 10; break;
            case L'm': unit = int64_t{1} << 20; break;
            case L'g': unit = int64_t{1} << 30; break;
            default: break;
        }
        if (unit != 1) text.pop_back();
    }
    const int64_t number = leadingNumber(text, kMin, kMax);
    if (number > kMax / unit) return kMax;
    if (number < kMin / unit) return kMin;
    return number * unit;
}

std::wstring decode(std::wstring_view text) {
    std::wstring out;
    out.reserve(text.size());
    for (size_t at = 0; at < text.size(); ++at) {
        const wchar_t c = text[at];
        if (c != L'\\' || at + 1 >= text.size()) {
            out += c;
            continue;
        }
        if (text[at + 1] != L'u') {
            out += c;
            out += text[++at];
            continue;
        }
        at += 2;
        unsigned code = 0;
        int digits = 0;
        for (; digits < 4 && at < text.size() && hexDigit(text[at]) >= 0; ++digits, ++at) {
            code = code * 16 + static_cast<unsigned>(hexDigit(text[at]));
        }
        out += static_cast<wchar_t>(code);
        --at;  // the loop steps past the last character read
    }
    return out;
}

}  // namespace property_rules

void PropertySet::load(const std::wstring& path) {
    const auto bytes = filesystem_query::readFile(path);
    if (!bytes) throw FileException(path, L"could not open file for read");
    parse(*bytes);
}

void PropertySet::parse(std::string_view bytes) {
    std::wstring line;
    for (size_t at = 0; at < bytes.size(); ++at) {
        const unsigned char byte = static_cast<unsigned char>(bytes[at]);
        if (byte == 0x1A) break;
        if (byte == '\r' && at + 1 < bytes.size() && bytes[at + 1] == '\n') continue;
        if (byte == '\n') {
            parseLine(line, entries_);
            line.clear();
            continue;
        }
        line += static_cast<wchar_t>(byte);
    }
    parseLine(line, entries_);
}

std::wstring PropertySet::get(const std::wstring& key, const std::wstring& fallback) const {
    const auto found = entries_.find(key);
    return found == entries_.end() ? fallback : found->second;
}

std::wstring PropertySet::readString(const PropertyKey& key) const {
    return get(key.name, key.defaultValue);
}

bool PropertySet::readFlag(const PropertyKey& key) const {
    return property_rules::flag(readString(key));
}

bool PropertySet::readPauseFlag(const PropertyKey& key) const {
    return property_rules::pauseFlag(readString(key));
}

int32_t PropertySet::readInteger(const PropertyKey& key) const {
    return property_rules::integer(readString(key));
}

int64_t PropertySet::readSize(const PropertyKey& key) const {
    return property_rules::size(readString(key));
}

std::wstring PropertySet::readClassPath(const PropertyKey& key,
                                        const std::wstring& classPathVariable) const {
    std::wstring value = readString(key);
    static constexpr std::wstring_view kMarker = L"$ENV_CLASSPATH$";
    const size_t at = value.find(kMarker);
    if (at != std::wstring::npos) value.replace(at, kMarker.size(), classPathVariable);
    return value;
}
