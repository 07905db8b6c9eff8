#include "ALStatusCodes.h"

#include <gtest/gtest.h>

#include <string>

TEST(ALStatusCodes, TextsOfTheTable) {
    struct Case {
        int32_t code;
        const wchar_t* text;
    } cases[] = {
        {0, L"No errors"},
        {-1, L"End of file"},
        {-1200, L"Can't allocate buffer"},
        {-1984, L"CRC Error"},
        {-1980, L"Invalid archive"},
        {-1974, L"Missing Crypto engine"},
        {-1983, nullptr},
        {-1982, nullptr},
        {-1973, nullptr},
        {5, nullptr},
    };
    for (const Case& c : cases) {
        const wchar_t* got = ALStatusCodeText(c.code);
        if (c.text == nullptr) {
            EXPECT_EQ(got, nullptr) << c.code;
        } else {
            ASSERT_NE(got, nullptr) << c.code;
            EXPECT_EQ(std::wstring(got), c.text) << c.code;
        }
    }
}
