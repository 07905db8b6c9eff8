#include "ALMonitor.h"
#include "ALStatusRecord.h"
#include "ALStorageName.h"
#include "ALTimeStamp.h"
#include "ALFile.h"
#include "ALText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(ALStatusRecord, TextsAndFallbacks) {
    ALStatusRecord s;
    EXPECT_EQ(std::wstring(s.StatusText()), L"No errors");
    EXPECT_EQ(s.SetError(AL_CRC_ERROR, nullptr), AL_CRC_ERROR);
    EXPECT_EQ(std::wstring(s.StatusText()), L"Unable to allocate memory for error detail message");
    s.SetError(AL_CANT_OPEN_FILE, L"File open failure.  Open of %ls returned errno = %d", L"x.txt", 2);
    EXPECT_EQ(std::wstring(s.StatusText()), L"File open failure.  Open of x.txt returned errno = 2");

    ALStatusRecord copy;
    copy = s;
    EXPECT_EQ(copy.GetStatusCode(), AL_CANT_OPEN_FILE);
    EXPECT_EQ(std::wstring(copy.StatusText()), s.StatusText());
    ALStatusRecord bare;
    bare.SetError(AL_READ_ERROR, nullptr);
    copy = bare;  // a source without text frees the target's
    EXPECT_EQ(std::wstring(copy.StatusText()), L"Unable to allocate memory for error detail message");
    copy.Clear();
    EXPECT_EQ(copy.GetStatusCode(), 0);
}

TEST(ALStatusRecord, DetailCutTo128Characters) {
    const std::wstring longName = L"C:\\" + std::wstring(300, L'p') + L"\\installer.exe";
    ALStatusRecord s;
    s.SetError(AL_INVALID_ARCHIVE, L"Can't locate end of central directory in ZIP file %ls", longName.c_str());
    const std::wstring text = s.StatusText();
    ASSERT_EQ(text.size(), 128u);
    EXPECT_EQ(text, (L"Can't locate end of central directory in ZIP file " + longName).substr(0, 128));
}

namespace {

struct Calls {
    std::vector<std::wstring> texts;
    std::vector<std::pair<int32_t, int32_t>> percents;
};

ALMonitorCallback Recorder(Calls& calls) {
    return [&calls](const wchar_t* text, int32_t objectPercent, int32_t percent) {
        if (text) calls.texts.push_back(text);
        else calls.percents.push_back({objectPercent, percent});
        return 0;
    };
}

}  // namespace

TEST(ALMonitor, Percentages) {
    ALFile object(L"unused");
    struct Case {
        int32_t jobSize;
        int32_t jobSoFar;
        int32_t objectStart;
        int32_t objectSize;
        int32_t position;
        int32_t percent;
        int32_t objectPercent;
    } cases[] = {
        {2000000, 0, 1000, 2000000, 501000, 25, 25},  // large divisor: done / (divisor / 100)
        {300, 0, 0, 300, 300, 100, 100},
        {0, 0, 0, 0, 0, -1, -1},  // nothing to divide by
        {1000, 600, 50, 400, 250, 80, 50},  // earlier members count in job mode
        {2000000000, 1900000000, 0, 100000000, 100000000, 100, 100},  // stays within 32 bits
    };
    for (const Case& c : cases) {
        Calls calls;
        ALSimpleMonitor m(Recorder(calls));
        m.jobSize = c.jobSize;
        m.jobSoFar = c.jobSoFar;
        m.objectStart = c.objectStart;
        m.objectSize = c.objectSize;
        m.Progress(c.position, object);
        EXPECT_EQ(m.percent, c.percent) << c.jobSize << " " << c.position;
        ASSERT_EQ(calls.percents.size(), 1u);
        EXPECT_EQ(calls.percents[0], std::make_pair(c.objectPercent, c.percent)) << c.jobSize;
    }
    ALMonitor perObject(AL_MONITOR_OBJECTS);
    object.SetSize(400);
    perObject.Progress(100, object);  // object size -1: taken from the storage object
    EXPECT_EQ(perObject.objectSize, 400);
    EXPECT_EQ(perObject.percent, 25);
}

TEST(ALMonitor, ReportsOnlyWithTextMessages) {
    Calls calls;
    ALSimpleMonitor quiet(Recorder(calls));
    quiet.Report(AL_DIRECTORY_ENTRY, L"%ls", L"a.txt");
    EXPECT_TRUE(calls.texts.empty());

    ALSimpleMonitor m(Recorder(calls));
    m.flags = 1;
    m.Report(AL_DIRECTORY_ENTRY, L"%ls", L"a.txt");
    m.Report(AL_WILD_CARD_MATCH, L"%ls", L"*.jar");
    m.Report(AL_SORTING, L"");
    m.Report(AL_DONE_SORTING, L"");
    m.Report(AL_SORT_PROGRESS, L"%d%%", 50);
    m.Report(7, L"x");
    m.Report(AL_DIRECTORY_ENTRY, L"%ls", std::wstring(400, L'n').c_str());
    const std::vector<std::wstring> expected = {
        L"Directory entry: a.txt", L"Wild card match: *.jar", L"Sorting entries", L"Done sorting entries",
        L"Sorting is 50% complete", L"Bad monitor message type!!!",
        (L"Directory entry: " + std::wstring(400, L'n')).substr(0, 255)};
    EXPECT_EQ(calls.texts, expected);
    EXPECT_EQ(ALMonitor(0x0100).flags, 1);
    EXPECT_EQ(ALMonitor(0x0101).mode, 1);
}

TEST(ALStorageName, CaseModesExtensionsAndPaths) {
    struct Case {
        int32_t mode;
        const wchar_t* given;
        const wchar_t* stored;
    } cases[] = {
        {AL_UPPER, L"Windows/Setup.exe", L"WINDOWS/SETUP.EXE"},
        {AL_LOWER, L"Windows/Setup.exe", L"windows/setup.exe"},
        {AL_MIXED, L"Windows/Setup.exe", L"Windows/Setup.exe"},
        {AL_MIXED_NOCASE, L"Windows/Setup.exe", L"Windows/Setup.exe"},
    };
    for (const Case& c : cases) {
        ALStorageName n(L"", c.mode);
        n = c.given;
        EXPECT_EQ(n.GetName(), c.stored);
        EXPECT_EQ(n.GetOldName(), L"");
    }
    ALStorageName n(L"dir.v1/setup.exe", AL_MIXED);
    n.ChangeExtension(L".bak");
    EXPECT_EQ(n.GetName(), L"dir.v1/setup.bak");
    EXPECT_EQ(n.GetOldName(), L"dir.v1/setup.exe");
    n = L"noext";
    n.ChangeExtension(L".bak");
    EXPECT_EQ(n.GetName(), L"noext.bak");
    EXPECT_TRUE(ALStorageName(L"", AL_MIXED_NOCASE).SameName(L"A.TXT", L"a.txt"));
    EXPECT_FALSE(ALStorageName(L"", AL_MIXED).SameName(L"A.TXT", L"a.txt"));

    struct Strip {
        const wchar_t* in;
        const wchar_t* out;
    } strips[] = {{L"Windows/resource/jre/release", L"release"}, {L"a\\b/c", L"b/c"}, {L"C:file", L"file"},
                  {L"plain", L"plain"}, {L"dir/", L""}};
    for (const Strip& s : strips) EXPECT_EQ(ALStripPath(s.in), s.out) << ALWideToUtf8(s.in);
}

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
