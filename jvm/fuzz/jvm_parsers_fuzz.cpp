// libFuzzer target over the parsers that read outside input: PE headers, version texts,
// valid-VM tokens and the output of the Verify class. The first byte picks the parser; the
// rest is its input (bytes for the PE reader, UTF-16 code units for the text parsers).
#include "ExecutableBitness.h"
#include "JavaVersion.h"
#include "VerifyOutput.h"
#include "VmToken.h"

#include <cstdint>
#include <cstdlib>
#include <map>
#include <span>
#include <string>

namespace {

std::wstring WideText(const std::uint8_t* data, size_t size) {
    std::wstring text;
    for (size_t i = 0; i + 1 < size; i += 2) text += static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
    return text;
}

void FuzzText(const std::wstring& text) {
    const JavaVersion parsed = JavaVersion::Parse(text);
    if (parsed.major() < 0) std::abort();  // majors are held at the largest positive value
    const JavaVersion vm(8, 0, 201);
    MatchesVersionPattern(vm, text);
    const VmToken token = SplitToken(UpperCaseToken(text));
    if (!token.versionPattern.empty() && token.versionPattern.front() == L'_') std::abort();
    MatchesToken(text, VmKind::JRE, vm, [](const std::wstring& argument) {
        if (argument.empty()) std::abort();
        return 0;
    });
}

void FuzzVerifyOutput(const std::wstring& text) {
    const size_t cut = text.find(L'\x1F');
    const std::wstring expectedValue = cut == std::wstring::npos ? L"*" : text.substr(0, cut);
    const std::wstring output = cut == std::wstring::npos ? text : text.substr(cut + 1);
    const std::map<std::wstring, std::wstring> expected{{L"a", expectedValue}, {L"b", L"1.8..."}};
    ReportedPropertiesMatch(output, expected);
    if (!MatchesExpectedValue(output, L"*")) std::abort();
    MatchesExpectedValue(output, expectedValue);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const std::uint8_t selector = data[0] % 3;
    ++data;
    --size;
    switch (selector) {
    case 0:
        BitnessFromImage(std::span<const std::uint8_t>(data, size));
        break;
    case 1:
        FuzzText(WideText(data, size));
        break;
    default:
        FuzzVerifyOutput(WideText(data, size));
        break;
    }
    return 0;
}
