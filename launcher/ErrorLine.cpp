#include "ErrorLine.h"

namespace {

bool isHighSurrogate(wchar_t c) {
    return static_cast<unsigned>(c) >= 0xD800 && static_cast<unsigned>(c) <= 0xDBFF;
}

}  // namespace

std::wstring errorLineText(const std::wstring& title, const std::wstring& message) {
    size_t keep = message.size();
    if (keep > kErrorMessageBound) {
        keep = kErrorMessageBound;
        if (isHighSurrogate(message[keep - 1])) --keep;
    }
    return title + L": " + message.substr(0, keep) + L"\n";
}

std::wstring formatNumber(const std::wstring& text, long number) {
    std::wstring result = text;
    const size_t at = result.find(L"%d");
    if (at != std::wstring::npos) result.replace(at, 2, std::to_wstring(number));
    return result;
}
