#include "JavaVersion.h"

#include <gtest/gtest.h>

namespace {

struct ParseCase {
    const wchar_t* text;
    int major, micro, update;
};

TEST(JavaVersion, ParsesVersionTexts) {
    const ParseCase cases[] = {
        {L"1.8.0_201", 8, 0, 201}, {L"11.0.2", 11, 0, 2},  {L"1.11.0_2", 11, 0, 2},
        {L"17", 17, 0, 0},         {L"1.4.2_05", 4, 2, 5}, {L"1.8", 8, 0, 0},
        {L"1..8__0_7", 8, 0, 7},   {L"", 0, 0, 0},         {L"abc", 0, 0, 0},
        {L"1.x.3", 0, 3, 0},       {L"1.8.0_99999", 8, 0, 65535},
        {L"99999999999.1", 2147483647, 1, 0},
    };
    for (const ParseCase& c : cases) {
        const JavaVersion v = JavaVersion::Parse(c.text);
        EXPECT_EQ(v, JavaVersion(c.major, c.micro, c.update))
            << "text \"" << testing::PrintToString(std::wstring(c.text)) << "\" gave "
            << testing::PrintToString(v.text());
    }
}

TEST(JavaVersion, FileVersionsGiveTheJavaVersion) {
    EXPECT_EQ(JavaVersion::FromFileVersion({8, 0, 2010, 9}), JavaVersion(8, 0, 2010));
    EXPECT_EQ(JavaVersion::FromFileVersion({1, 4, 2, 19}), JavaVersion(4, 2, 19));
    EXPECT_EQ(JavaVersion::FromFileVersion({17, 0, 1, 0}), JavaVersion(17, 0, 1));
}

TEST(JavaVersion, OrdersByMajorThenMicroThenUpdate) {
    const JavaVersion ordered[] = {JavaVersion(),          JavaVersion(1, 0, 0),
                                   JavaVersion(4, 2, 19),  JavaVersion(8, 0, 201),
                                   JavaVersion(8, 1, 0),   JavaVersion(11, 0, 2),
                                   JavaVersion(17, 0, 0),  JavaVersion(17, 0, 65535)};
    for (size_t i = 0; i + 1 < std::size(ordered); ++i) {
        EXPECT_TRUE(ordered[i] < ordered[i + 1]) << testing::PrintToString(ordered[i].text());
        EXPECT_FALSE(ordered[i] >= ordered[i + 1]) << testing::PrintToString(ordered[i].text());
        EXPECT_TRUE(ordered[i + 1] >= ordered[i]);
    }
    EXPECT_EQ(JavaVersion(8, 0, 201).packed(), 0x00000008000000C9u);
}

TEST(JavaVersion, ComparesThePackedValueWithoutSign) {
    // A major that does not fit a positive 32-bit number orders above every real version.
    EXPECT_TRUE(JavaVersion(17, 0, 0) < JavaVersion(-1, 0, 0));
}

}  // namespace
