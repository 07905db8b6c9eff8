#pragma once
// Date and time of a storage object. A year of 0 means that the object has no time stamp.
#include <cstdint>
#include <ctime>

struct ALTimeStamp {
    uint16_t year = 0;  // full year, e.g. 2025
    uint16_t month = 0;  // 1-12
    uint16_t day = 0;  // 1-31
    uint16_t hour = 0;
    uint16_t minute = 0;
    uint16_t second = 0;

    bool IsSet() const noexcept { return year != 0; }

    // Seconds since 1970-01-01 of these calendar fields (no time zone applied); a date before
    // 1970 gives 0.
    int64_t ToSeconds() const noexcept;
    static ALTimeStamp FromSeconds(int64_t seconds) noexcept;

    // DOS forms: date ((year - 1980) mod 128) * 512 + month * 32 + day, time
    // hour * 2048 + minute * 32 + second / 2.
    uint16_t DosDate() const noexcept;
    uint16_t DosTime() const noexcept;
    static ALTimeStamp FromDos(uint16_t date, uint16_t time) noexcept;

    // From broken-down calendar time (year since 1900, month from 0).
    static ALTimeStamp FromTm(const std::tm& tm) noexcept;
    // The broken-down local time of this stamp, with the daylight-saving state left for
    // mktime to find from the date itself (tm_isdst -1).
    std::tm ToTm() const noexcept;

    bool operator==(const ALTimeStamp&) const = default;
};

// Julian day number of a Gregorian date (Fliegel and Van Flandern), and back.
int64_t ALJulianDay(int64_t year, int64_t month, int64_t day) noexcept;
void ALGregorianDate(int64_t julianDay, int64_t& year, int64_t& month, int64_t& day) noexcept;
