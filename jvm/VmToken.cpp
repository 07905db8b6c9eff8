#include "VmToken.h"

#include <array>
#include <utility>

namespace {

bool IsJ1(JavaVersion v) { return v.major() <= 1; }

struct Keyword {
    std::wstring_view name;
    bool (*matches)(VmKind kind, JavaVersion version);
};

constexpr std::array<Keyword, 10> kKeywords{{
    {L"ALL", [](VmKind, JavaVersion) { return true; }},
    {L"J1", [](VmKind k, JavaVersion v) { return IsJ1(v) && k != VmKind::MSJ; }},
    {L"J2", [](VmKind, JavaVersion v) { return v.major() > 1; }},
    {L"JDK", [](VmKind k, JavaVersion) { return k == VmKind::JDK; }},
    {L"JRE", [](VmKind k, JavaVersion) { return k == VmKind::JRE; }},
    {L"JDK_J1", [](VmKind k, JavaVersion v) { return k == VmKind::JDK && IsJ1(v); }},
    {L"JDK_J2", [](VmKind k, JavaVersion v) { return k == VmKind::JDK && v.major() >= 2; }},
    {L"JRE_J1", [](VmKind k, JavaVersion v) { return k == VmKind::JRE && IsJ1(v); }},
    {L"JRE_J2", [](VmKind k, JavaVersion v) { return k == VmKind::JRE && v.major() >= 2; }},
    {L"MSJ", [](VmKind k, JavaVersion) { return k == VmKind::MSJ; }},
}};

bool IsCategory(std::wstring_view piece) {
    return piece == L"JRE" || piece == L"JDK" || piece == L"ALL";
}

}  // namespace

std::wstring UpperCaseToken(std::wstring_view token) {
    std::wstring upper(token);
    for (wchar_t& c : upper)
        if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
    return upper;
}

bool IsVersionPattern(std::wstring_view text) {
    if (text.empty()) return false;
    for (size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        const bool last = i + 1 == text.size();
        if ((c >= L'0' && c <= L'9') || c == L'*') continue;
        if (c == L'+' && last) continue;
        if (c == L'.' && i != 0 && !last && text[i - 1] != L'.') continue;
        return false;
    }
    return true;
}

VmToken SplitToken(std::wstring_view upperToken) {
    VmToken token;
    size_t start = 0;
    for (size_t i = 0; i <= upperToken.size(); ++i) {
        if (i < upperToken.size() && upperToken[i] != L'_') continue;
        if (i > start) {
            const std::wstring_view piece = upperToken.substr(start, i - start);
            if (IsCategory(piece)) {
                token.category = piece;
            } else if (IsVersionPattern(piece)) {
                if (!token.versionPattern.empty()) token.versionPattern += L'_';
                token.versionPattern += piece;
            } else {
                token.validatorArgument = piece;
            }
        }
        start = i + 1;
    }
    return token;
}

std::optional<bool> MatchKeyword(std::wstring_view upperToken, VmKind kind, JavaVersion version) {
    for (const Keyword& keyword : kKeywords)
        if (keyword.name == upperToken) return keyword.matches(kind, version);
    return std::nullopt;
}

bool MatchesVersionPattern(JavaVersion version, std::wstring_view pattern) {
    if (!pattern.empty() && pattern.back() == L'+') {
        return version >= JavaVersion::Parse(pattern.substr(0, pattern.size() - 1));
    }
    if (!pattern.empty() && pattern.back() == L'*') {
        const JavaVersion family = JavaVersion::Parse(pattern.substr(0, pattern.size() - 1));
        if (family.update() != 0) return false;
        if (family.micro() == 0) return family.major() == version.major();
        return family.major() == version.major() && family.micro() == version.micro();
    }
    const JavaVersion exact = JavaVersion::Parse(pattern);
    if (exact.update() == 0) return exact == version.withUpdate(0);
    return exact == version;
}

bool MatchesToken(std::wstring_view token, VmKind kind, JavaVersion version,
                  const ValidatorRun& runValidator) {
    const std::wstring upper = UpperCaseToken(token);
    if (const auto verdict = MatchKeyword(upper, kind, version)) return *verdict;
    const VmToken parts = SplitToken(upper);
    if (!parts.validatorArgument.empty() && runValidator(parts.validatorArgument) != 0)
        return false;
    if (parts.category == L"JRE" || parts.category == L"JDK") {
        if (!*MatchKeyword(parts.category, kind, version)) return false;
    }
    if (!parts.versionPattern.empty()) return MatchesVersionPattern(version, parts.versionPattern);
    return true;
}

