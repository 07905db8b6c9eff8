#include "ALStorageName.h"

#include <cwctype>
#include <new>

ALStorageName::ALStorageName(const std::wstring& name, int32_t caseMode) : caseMode_(caseMode) {
    *this = name;
    previous_.clear();
}

ALStorageName& ALStorageName::operator=(const std::wstring& name) {
    std::wstring converted;
    try {
        converted = Convert(name);
    } catch (const std::bad_alloc&) {
        // No room for the copy: the name becomes empty, and the former one is still at hand.
    }
    previous_ = std::move(current_);
    current_ = std::move(converted);
    return *this;
}

void ALStorageName::ChangeExtension(const std::wstring& extension) {
    std::wstring name = current_;
    const size_t dot = name.rfind(L'.');
    if (dot != std::wstring::npos) name.erase(dot);
    *this = name + extension;
}

void ALStorageName::StripPath() { current_ = ALStripPath(current_); }

bool ALStorageName::SameName(const std::wstring& a, const std::wstring& b) const {
    if (caseMode_ == AL_MIXED) return a == b;
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::towlower(a[i]) != std::towlower(b[i])) return false;
    }
    return true;
}

std::wstring ALStorageName::Convert(const std::wstring& name) const {
    std::wstring out = name;
    if (caseMode_ == AL_UPPER) {
        for (wchar_t& c : out) c = static_cast<wchar_t>(std::towupper(c));
    } else if (caseMode_ == AL_LOWER) {
        for (wchar_t& c : out) c = static_cast<wchar_t>(std::towlower(c));
    }
    return out;
}

std::wstring ALStripPath(const std::wstring& name) {
    size_t cut = name.rfind(L'\\');
    if (cut == std::wstring::npos) cut = name.rfind(L'/');
    if (cut == std::wstring::npos) cut = name.rfind(L':');
    return cut == std::wstring::npos ? name : name.substr(cut + 1);
}
