#include "LogFormat.h"

#include <gtest/gtest.h>

TEST(FormatLogMessage, Conversions) {
    EXPECT_EQ(FormatLogMessage(L"Code %ld = '%s'", {-1984, L"CRC Error"}), L"Code -1984 = 'CRC Error'");
    EXPECT_EQ(FormatLogMessage(L"Extracting to: %s", {std::wstring(L"C:\\Temp\\I1")}),
              L"Extracting to: C:\\Temp\\I1");
    EXPECT_EQ(FormatLogMessage(L"%d%% done", {42}), L"42% done");
    EXPECT_EQ(FormatLogMessage(L"exit code of %ld", {static_cast<long>(0xFFFFFFFFu)}), L"exit code of -1");
    EXPECT_EQ(FormatLogMessage(L"%u", {0xFFFFFFFFu}), L"4294967295");
    EXPECT_EQ(FormatLogMessage(L"%08X|%x", {0xBEEFu, 255}), L"0000BEEF|ff");
    EXPECT_EQ(FormatLogMessage(L"[%5d][%-3d][%03d]", {42, 7, -5}), L"[   42][7  ][-05]");
    EXPECT_EQ(FormatLogMessage(L"%s and %s", {L"one"}), L"one and ");
    EXPECT_EQ(FormatLogMessage(L"100%", {}), L"100%");
    EXPECT_EQ(FormatLogMessage(L"%q stays", {}), L"%q stays");
    EXPECT_EQ(FormatLogMessage(L"%s", {static_cast<const wchar_t*>(nullptr)}), L"(null)");
}

TEST(CutLogMessage, KeepsSurrogatePairsWhole) {
    EXPECT_EQ(CutLogMessage(L"short", 511), L"short");
    EXPECT_EQ(CutLogMessage(std::wstring(600, L'x'), 511).size(), 511u);
    if constexpr (sizeof(wchar_t) == 2) {
        std::wstring text(510, L'a');
        text += L"\xD83D\xDE00";  // one character in two code units, across the cut
        EXPECT_EQ(CutLogMessage(text, 511), std::wstring(510, L'a'));
    }
}
