#include "ErrorLine.h"

#include <gtest/gtest.h>

TEST(ErrorLine, TitleMessageAndNewline) {
    EXPECT_EQ(errorLineText(L"Veltrun Error", L"The Veltrun properties file is missing"),
              L"Veltrun Error: The Veltrun properties file is missing\n");
    EXPECT_EQ(errorLineText(L"", L""), L": \n");
}

TEST(ErrorLine, LongMessagesAreBounded) {
    const std::wstring pair = L"\xD83D\xDE00";  // one character outside the basic plane
    struct Case {
        const char* name;
        std::wstring message;
        std::wstring kept;
    } cases[] = {
        {"at the bound", std::wstring(kErrorMessageBound, L'a'), std::wstring(kErrorMessageBound, L'a')},
        {"past the bound", std::wstring(kErrorMessageBound * 3, L'b'), std::wstring(kErrorMessageBound, L'b')},
        {"pair across the bound", std::wstring(kErrorMessageBound - 1, L'c') + pair + L"tail",
         std::wstring(kErrorMessageBound - 1, L'c')},
        {"pair just inside", std::wstring(kErrorMessageBound - 2, L'd') + pair + L"tail",
         std::wstring(kErrorMessageBound - 2, L'd') + pair},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::wstring line = errorLineText(L"T", c.message);
        EXPECT_EQ(line, L"T: " + c.kept + L"\n");
    }
}

TEST(ErrorLine, FormatNumber) {
    struct Case {
        const wchar_t* text;
        long number;
        const wchar_t* result;
    } cases[] = {
        {L"Windows error %d occured while loading the Java VM", 2,
         L"Windows error 2 occured while loading the Java VM"},
        {L"%d", -5, L"-5"},
        {L"no number", 7, L"no number"},
        {L"%s and %d and %d", 267, L"%s and 267 and %d"},
    };
    for (const auto& c : cases) EXPECT_EQ(formatNumber(c.text, c.number), c.result);
}
