#include "ALMonitor.h"
#include "ALStatusRecord.h"
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
