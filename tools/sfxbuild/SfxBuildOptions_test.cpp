#include "SfxBuild.h"
#include "SfxBuildOptions.h"

#include <gtest/gtest.h>

TEST(SfxBuildOptions, CommandLines) {
    struct Case {
        std::vector<std::wstring> args;
        bool ok;
        const wchar_t* error;
    } cases[] = {
        {{L"--stub", L"s.exe", L"--launcher", L"Windows\\setup.exe", L"-o", L"i.exe", L"src"}, true, L""},
        {{L"--help"}, true, L""},
        {{L"--stub", L"s.exe", L"--launcher", L"l", L"-o", L"i.exe"}, false, L"no SOURCE_DIR given"},
        {{L"--stub", L"s.exe", L"--launcher", L"l", L"-o", L"i.exe", L"a", L"b"}, false, L"more than one SOURCE_DIR given"},
        {{L"--launcher", L"l", L"-o", L"i.exe", L"src"}, false, L"--stub is required"},
        {{L"--stub", L"s", L"-o", L"i.exe", L"src"}, false, L"--launcher is required"},
        {{L"--stub", L"s", L"--launcher", L"l", L"src"}, false, L"-o is required"},
        {{L"--stub", L"s", L"--launcher", L"l", L"-o", L"i", L"--level", L"10", L"src"}, false,
         L"--level takes a number from 0 to 9, not \"10\""},
        {{L"--stub", L"s", L"--launcher", L"l", L"-o", L"i", L"--time", L"2025-02-29T00:00:00", L"src"}, false,
         L"--time takes YYYY-MM-DDTHH:MM:SS between 1980 and 2107, not \"2025-02-29T00:00:00\""},
        {{L"--stub", L"s", L"--frobnicate", L"src"}, false, L"unknown option --frobnicate"},
        {{L"--stub"}, false, L"--stub needs a value"},
    };
    for (const Case& c : cases) {
        SfxBuildOptions o;
        std::wstring error;
        EXPECT_EQ(ParseSfxBuildOptions(c.args, o, error), c.ok) << c.args.size();
        EXPECT_EQ(error, c.error);
    }
    SfxBuildOptions o;
    std::wstring error;
    ASSERT_TRUE(ParseSfxBuildOptions({L"src", L"--level", L"9", L"--quiet", L"--time", L"2024-02-29T23:59:58",
                                      L"--stub", L"s", L"--launcher", L"l", L"--output", L"o"},
                                     o, error));
    EXPECT_EQ(o.level, 9);
    EXPECT_TRUE(o.quiet);
    ASSERT_TRUE(o.time.has_value());
    EXPECT_EQ(*o.time, (ALTimeStamp{2024, 2, 29, 23, 59, 58}));
    EXPECT_EQ(o.source, L"src");
}

TEST(SfxBuildOptions, PayloadHeader) {
    std::string header;
    ASSERT_TRUE(MakePayloadHeader(L"Windows/setup.exe", header));
    ASSERT_EQ(header.size(), 1028u);
    EXPECT_EQ(header.substr(0, 4), std::string("[>N\0", 4));
    EXPECT_EQ(std::string(header.c_str() + 4), "Windows\\setup.exe");
    EXPECT_EQ(header.find_first_not_of('\0', 4 + 17), std::string::npos);
    EXPECT_FALSE(MakePayloadHeader(std::wstring(1024, L'a'), header));
}
