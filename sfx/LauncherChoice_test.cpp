#include "LauncherChoice.h"

#include "PortableFile.h"
#include "WorkingDirectoryName.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <set>

namespace fs = std::filesystem;

TEST(LauncherCommandLine, FollowsTheDelimiterRule) {
    const std::wstring launcher = L"C:\\Temp\\I1\\Windows\\setup.exe";
    struct Case {
        const wchar_t* stubLine;
        const wchar_t* launcherLine;
    } cases[] = {
        {L"\"C:\\Downloads\\setup.exe\" -i silent", L"C:\\Temp\\I1\\Windows\\setup.exe  -i silent"},
        {L"setup.exe -i console", L"C:\\Temp\\I1\\Windows\\setup.exe -i console"},
        {L"\"C:\\Downloads\\setup.exe\"", L"C:\\Temp\\I1\\Windows\\setup.exe "},
        {L"setup.exe", L"C:\\Temp\\I1\\Windows\\setup.exe "},
        {L"setup.exe -i silent ", L"C:\\Temp\\I1\\Windows\\setup.exe -i silent "},
        // a quoted path with blanks: the arguments begin after the closing quote
        {L"\"C:\\My Files\\setup.exe\" a \"b c\"", L"C:\\Temp\\I1\\Windows\\setup.exe  a \"b c\""},
        // an unclosed quote: no delimiter, no arguments
        {L"\"C:\\setup.exe -i silent", L"C:\\Temp\\I1\\Windows\\setup.exe "},
        {L"", L"C:\\Temp\\I1\\Windows\\setup.exe "},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LauncherCommandLine(launcher, c.stubLine), c.launcherLine) << ToUtf8(c.stubLine);
    }
}

TEST(LauncherCommandLine, TurnsSlashesIntoBackslashes) {
    EXPECT_EQ(LauncherCommandLine(L"C:/Temp/I1/Windows/setup.exe", L"x -i silent"),
              L"C:\\Temp\\I1\\Windows\\setup.exe -i silent");
}

TEST(SeaLocBytes, IsUtf8WithLineFeedAndZero) {
    EXPECT_EQ(SeaLocBytes(L"C:\\a\\setup.exe"), std::string("C:\\a\\setup.exe\n\0", 16));
    EXPECT_EQ(SeaLocBytes(L"C:\\\u00e9\u65e5\\s.exe"),
              std::string("C:\\\xC3\xA9\xE6\x97\xA5\\s.exe\n\0", 16));
}

class LauncherChoiceTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::random_device rd;
        dir_ = fs::temp_directory_path() / ("launcher-" + std::to_string(rd()) + std::to_string(rd()));
        fs::create_directories(dir_);
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    void Make(const char* relative) {
        fs::create_directories((dir_ / relative).parent_path());
        std::ofstream(dir_ / relative) << "MZ";
    }
    std::wstring W() const { return dir_.wstring() + L"\\"; }

    // The launcher the hand-over ends with for a stub of this name.
    std::wstring Choose(const wchar_t* stubName) {
        std::wstring path = FirstLauncherGuess(W(), stubName);
        path = RefineLauncherAfterSeaLoc(W(), path);
        return RefineLauncherBeforeStart(W(), path);
    }

    fs::path dir_;
};

TEST_F(LauncherChoiceTest, PicksTheLauncherOfThePayload) {
    struct Case {
        std::vector<const char*> files;
        const wchar_t* stubName;
        std::wstring chosen;  // relative to the working directory
        std::string printed;
    } cases[] = {
        // named like the stub: the first guess
        {{"Windows/setup.exe", "Windows_Pure_64_Bit/other.exe"}, L"setup.exe", L"Windows\\setup.exe", ""},
        // another name, only the Windows folder: found by the second refinement
        {{"Windows/setup.exe"}, L"install.exe", L"Windows\\setup.exe", ""},
        // only the 64-bit folder
        {{"Windows_Pure_64_Bit/app64.exe"}, L"install.exe", L"Windows_Pure_64_Bit\\app64.exe", ""},
        // both folders, no program named like the stub: the 64-bit launcher
        {{"Windows/setup.exe", "Windows_Pure_64_Bit/app64.exe"}, L"install.exe",
         L"Windows_Pure_64_Bit\\app64.exe", ""},
        // no launcher at all: the path stays the 64-bit folder and both misses are printed
        {{"Windows/readme.txt"}, L"install.exe", L"Windows_Pure_64_Bit\\",
         "Unable to locate 32 bit installer to execute\nUnable to locate 64 bit installer to execute\n"},
    };
    for (const Case& c : cases) {
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        for (const char* f : c.files) Make(f);
        testing::internal::CaptureStdout();
        const std::wstring chosen = Choose(c.stubName);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), c.printed) << ToUtf8(c.chosen);
        EXPECT_EQ(chosen, W() + c.chosen);
    }
}

TEST(WorkingDirectoryName, TimeNameUsesTheLow32BitsSigned) {
    EXPECT_EQ(TimeDirectoryName(1679608539), L"I1679608539");
    EXPECT_EQ(TimeDirectoryName(0x80000000LL), L"I-2147483648");
    EXPECT_EQ(TimeDirectoryName(0x100000005LL), L"I5");
}

TEST(WorkingDirectoryName, RandomNamesHaveEightDigitsAndDiffer) {
    RandomDirectoryNames names(12345);
    std::set<std::wstring> seen;
    for (int i = 0; i < 1000; ++i) {
        const std::wstring name = names.Next();
        ASSERT_EQ(name.size(), 9u) << ToUtf8(name);
        ASSERT_EQ(name[0], L'I');
        ASSERT_NE(name[1], L'0');
        seen.insert(name);
    }
    EXPECT_GT(seen.size(), 990u);
    EXPECT_NE(RandomDirectoryNames(1).Next(), RandomDirectoryNames(2).Next());
}

TEST(WorkingDirectoryName, SpaceRuleNeedsThreeTimesThePayload) {
    EXPECT_TRUE(EnoughSpace(100u << 20, 300ull << 20));
    EXPECT_FALSE(EnoughSpace(100u << 20, (300ull << 20) - 1));
    EXPECT_TRUE(EnoughSpace(0xFFFFFFFFu, 3ull * 0xFFFFFFFFu));
    EXPECT_EQ(RequiredBytes(0xFFFFFFFFu), 3ull * 0xFFFFFFFFu);
}
