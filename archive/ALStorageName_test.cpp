#include "ALStorageName.h"
#include "ALText.h"

#include <gtest/gtest.h>

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
    ALStorageName history(L"First.txt", AL_UPPER);  // the constructor converts too; no previous name
    EXPECT_EQ(history.GetName(), L"FIRST.TXT");
    EXPECT_EQ(history.GetOldName(), L"");
    history = L"second.txt";
    history = L"third.txt";
    EXPECT_EQ(history.GetName(), L"THIRD.TXT");
    EXPECT_EQ(history.GetOldName(), L"SECOND.TXT");
    history.StripPath();
    EXPECT_EQ(history.GetOldName(), L"SECOND.TXT");  // stripping the path keeps the previous name

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
