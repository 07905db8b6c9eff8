#include "VerifyOutput.h"

#include <gtest/gtest.h>

namespace {

TEST(VerifyOutput, MatchesExpectedValues) {
    struct Case {
        const wchar_t* actual;
        const wchar_t* expected;
        bool matches;
    };
    const Case cases[] = {
        {L"1.8.0_201", L"1.8...", true},  {L"1.7.0_80", L"1.8...", false},
        {L"1.8", L"1.8....", true},       {L"Sun Microsystems Inc.", L"Sun*", true},
        {L"Oracle Corporation", L"Sun*", false},
        {L"anything", L"*", true},        {L"", L"*", true},
        {L"x86", L"x86", true},           {L"X86", L"x86", false},
        {L"amd64", L"a*d*", true},        {L"abc", L"a*d*", true},  // text before the first "*"
        {L"", L"", true},                 {L"1.8", L"...", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MatchesExpectedValue(c.actual, c.expected), c.matches)
            << testing::PrintToString(std::wstring(c.actual)) << " against "
            << testing::PrintToString(std::wstring(c.expected));
}

TEST(VerifyOutput, ReadsOneLinePerPropertyAfterTheFirstLine) {
    const std::map<std::wstring, std::wstring> expected{{L"java.vendor", L"Sun*"},
                                                        {L"java.version", L"1.8..."}};
    struct Case {
        const wchar_t* output;
        bool matches;
    };
    const Case cases[] = {
        {L"Verify\r\nSun Microsystems Inc.\r\n1.8.0_201\r\n", true},
        {L"  \n\nVerify\n  Sun\n\n\n1.8.0\n", true},
        {L"Verify\nOracle\n1.8.0_201\n", false},
        {L"Verify\nSun\n", false},        // the second value is the first one again
        {L"Verify\nSun\n1.7.0\n", false},
        {L"Verify only", false},
        {L"", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ReportedPropertiesMatch(c.output, expected), c.matches)
            << testing::PrintToString(std::wstring(c.output));
}

TEST(VerifyOutput, ExactValuesMatchLinesEndedByCrLf) {
    const std::map<std::wstring, std::wstring> expected{{L"os.arch", L"x86"},
                                                        {L"sun.arch.data.model", L"32"}};
    EXPECT_TRUE(ReportedPropertiesMatch(L"Verify\r\nx86\r\n32\r\n", expected));
    EXPECT_TRUE(ReportedPropertiesMatch(L"Verify\r\nx86\r\n32", expected));
}

TEST(VerifyOutput, NeedsAFirstLineEvenWithoutExpectedProperties) {
    EXPECT_FALSE(ReportedPropertiesMatch(L"Verify\r\n", {}));
    EXPECT_TRUE(ReportedPropertiesMatch(L"Verify\nrest", {}));
}

}  // namespace
