#include "LogFormat.h"

#include <vector>

namespace {

std::wstring Pad(std::wstring text, size_t width, bool left, wchar_t fill) {
    if (text.size() >= width) return text;
    const size_t n = width - text.size();
    if (left) return text.append(n, L' ');
    if (fill == L'0' && !text.empty() && text[0] == L'-') return L"-" + std::wstring(n, L'0') + text.substr(1);
    return std::wstring(n, fill) + text;
}

std::wstring Hex(unsigned long long value, bool upper) {
    const wchar_t* digits = upper ? L"0123456789ABCDEF" : L"0123456789abcdef";
    std::wstring out;
    do {
        out.insert(out.begin(), digits[value & 0xF]);
        value >>= 4;
    } while (value != 0);
    return out;
}

}  // namespace

std::wstring FormatLogMessage(const wchar_t* format, std::initializer_list<LogArg> args) {
    std::vector<const LogArg*> list;
    for (const LogArg& a : args) list.push_back(&a);
    size_t next = 0;
    std::wstring out;
    for (const wchar_t* p = format; *p; ++p) {
        if (*p != L'%') {
            out += *p;
            continue;
        }
        const wchar_t* start = p++;
        if (*p == L'%') {
            out += L'%';
            continue;
        }
        bool left = false;
        wchar_t fill = L' ';
        for (; *p == L'-' || *p == L'0'; ++p) {
            if (*p == L'-') left = true;
            else fill = L'0';
        }
        size_t width = 0;
        for (; *p >= L'0' && *p <= L'9'; ++p) width = width * 10 + static_cast<size_t>(*p - L'0');
        // Length modifiers change nothing: every number of the stub's log is 32 bits wide.
        while (*p == L'l' || *p == L'h') ++p;
        const wchar_t conv = *p;
        const LogArg* arg = next < list.size() ? list[next] : nullptr;
        std::wstring piece;
        switch (conv) {
        case L's':
            piece = arg ? (arg->isText() ? arg->text() : std::to_wstring(arg->number())) : L"";
            break;
        case L'd':
        case L'i':
            piece = arg ? (arg->isText() ? arg->text() : std::to_wstring(static_cast<int32_t>(arg->number()))) : L"";
            break;
        case L'u':
            piece = arg ? std::to_wstring(static_cast<uint32_t>(arg->number())) : L"";
            break;
        case L'x':
        case L'X':
            piece = arg ? Hex(static_cast<uint32_t>(arg->number()), conv == L'X') : L"";
            break;
        case L'c':
            if (arg) piece = std::wstring(1, static_cast<wchar_t>(arg->number()));
            break;
        default:
            // Not a conversion we know: keep the text as it stands.
            if (conv == L'\0') {
                out.append(start);
                return out;
            }
            out.append(start, p + 1);
            continue;
        }
        ++next;
        out += Pad(piece, width, left, conv == L's' ? L' ' : fill);
    }
    return out;
}

std::wstring CutLogMessage(const std::wstring& message, size_t maxChars) {
    if (message.size() <= maxChars) return message;
    size_t cut = maxChars;
    if constexpr (sizeof(wchar_t) == 2) {
        const wchar_t last = message[cut - 1];
        if (cut > 0 && last >= 0xD800 && last <= 0xDBFF) --cut;
    }
    return message.substr(0, cut);
}
