#include "ALTimeStamp.h"

#include <gtest/gtest.h>

#include <ctime>

TEST(ALTimeStamp, Conversions) {
    struct Case {
        ALTimeStamp stamp;
        int64_t seconds;
        uint16_t dosDate;
        uint16_t dosTime;
    } cases[] = {
        {{1970, 1, 1, 0, 0, 0}, 0, 0xEC21, 0},  // DOS years wrap below 1980 (mod 128)
        {{2000, 2, 29, 23, 59, 58}, 951868798, 0x285D, 0xBF7D},
        {{2025, 9, 15, 11, 16, 22}, 1757934982, 0x5B2F, 0x5A0B},
        {{2107, 12, 31, 23, 59, 58}, 4354819198, 0xFF9F, 0xBF7D},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.stamp.ToSeconds(), c.seconds) << c.stamp.year;
        EXPECT_EQ(ALTimeStamp::FromSeconds(c.seconds), c.stamp) << c.stamp.year;
        EXPECT_EQ(c.stamp.DosDate(), c.dosDate) << c.stamp.year;
        EXPECT_EQ(c.stamp.DosTime(), c.dosTime) << c.stamp.year;
        if (c.stamp.year >= 1980) {
            EXPECT_EQ(ALTimeStamp::FromDos(c.dosDate, c.dosTime), c.stamp);
        }
    }
    EXPECT_EQ((ALTimeStamp{1969, 12, 31, 23, 0, 0}).ToSeconds(), 0);
    EXPECT_EQ(ALJulianDay(2000, 1, 1), 2451545);
    std::tm tm{};
    tm.tm_year = 125;
    tm.tm_mon = 8;
    tm.tm_mday = 15;
    tm.tm_hour = 11;
    EXPECT_EQ(ALTimeStamp::FromTm(tm), (ALTimeStamp{2025, 9, 15, 11, 0, 0}));
}
