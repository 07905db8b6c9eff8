#include "ALTimeStamp.h"

namespace {
constexpr int64_t kJulianDay1970 = 2440588;
}

int64_t ALJulianDay(int64_t y, int64_t m, int64_t d) noexcept {
    return (1461 * (y + 4800 + (m - 14) / 12)) / 4 + (367 * (m - 2 - 12 * ((m - 14) / 12))) / 12 -
           (3 * ((y + 4900 + (m - 14) / 12) / 100)) / 4 + d - 32075;
}

void ALGregorianDate(int64_t jd, int64_t& year, int64_t& month, int64_t& day) noexcept {
    int64_t l = jd + 68569;
    const int64_t n = (4 * l) / 146097;
    l = l - (146097 * n + 3) / 4;
    const int64_t i = (4000 * (l + 1)) / 1461001;
    l = l - (1461 * i) / 4 + 31;
    const int64_t j = (80 * l) / 2447;
    day = l - (2447 * j) / 80;
    l = j / 11;
    month = j + 2 - 12 * l;
    year = 100 * (n - 49) + i + l;
}

int64_t ALTimeStamp::ToSeconds() const noexcept {
    const int64_t jd = ALJulianDay(year, month, day);
    if (jd < kJulianDay1970) return 0;
    return (jd - kJulianDay1970) * 86400 + hour * 3600 + minute * 60 + second;
}

ALTimeStamp ALTimeStamp::FromSeconds(int64_t seconds) noexcept {
    if (seconds < 0) seconds = 0;
    int64_t y = 0, m = 0, d = 0;
    ALGregorianDate(seconds / 86400 + kJulianDay1970, y, m, d);
    const int64_t rest = seconds % 86400;
    ALTimeStamp t;
    t.year = static_cast<uint16_t>(y);
    t.month = static_cast<uint16_t>(m);
    t.day = static_cast<uint16_t>(d);
    t.hour = static_cast<uint16_t>(rest / 3600);
    t.minute = static_cast<uint16_t>(rest / 60 % 60);
    t.second = static_cast<uint16_t>(rest % 60);
    return t;
}

uint16_t ALTimeStamp::DosDate() const noexcept {
    return static_cast<uint16_t>((((year - 1980) % 128 + 128) % 128) * 512 + month * 32 + day);
}

uint16_t ALTimeStamp::DosTime() const noexcept {
    return static_cast<uint16_t>(hour * 2048 + minute * 32 + second / 2);
}

ALTimeStamp ALTimeStamp::FromDos(uint16_t date, uint16_t time) noexcept {
    ALTimeStamp t;
    t.year = static_cast<uint16_t>((date >> 9) + 1980);
    t.month = (date >> 5) & 15;
    t.day = date & 31;
    t.hour = time >> 11;
    t.minute = (time >> 5) & 63;
    t.second = static_cast<uint16_t>((time & 31) * 2);
    return t;
}

std::tm ALTimeStamp::ToTm() const noexcept {
    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = hour;
    tm.tm_min = minute;
    tm.tm_sec = second;
    tm.tm_isdst = -1;
    return tm;
}

ALTimeStamp ALTimeStamp::FromTm(const std::tm& tm) noexcept {
    ALTimeStamp t;
    t.year = static_cast<uint16_t>(tm.tm_year + 1900);
    t.month = static_cast<uint16_t>(tm.tm_mon + 1);
    t.day = static_cast<uint16_t>(tm.tm_mday);
    t.hour = static_cast<uint16_t>(tm.tm_hour);
    t.minute = static_cast<uint16_t>(tm.tm_min);
    t.second = static_cast<uint16_t>(tm.tm_sec);
    return t;
}
