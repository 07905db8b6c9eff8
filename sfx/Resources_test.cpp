// The stub's user interface resources as the built program carries them: a dialog and a string
// table for every language, with every control and string.
#include "ResourceIds.h"

#include "win32.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const LANGID kLanguages[] = {3,  5,  6,  7,  8,  9,  10, 11, 12, 14, 16, 17, 18, 19, 20,
                             21, 25, 29, 30, 31, 33, 36, 45, 1025, 1028, 1037, 1046, 2052, 2070, 3084};
const int kStringIds[] = {1, 2, 3, 4, 5, 9, 12, 13, 14, 17, 18, 20, 21};

// The text of a string-table entry in exactly this language, or empty.
std::wstring StringIn(LANGID language, int id) {
    HRSRC found = FindResourceExW(nullptr, RT_STRING, MAKEINTRESOURCEW(id / 16 + 1), language);
    if (found == nullptr) return std::wstring();
    const auto* p = static_cast<const WCHAR*>(LockResource(LoadResource(nullptr, found)));
    for (int i = 0; i < id % 16; ++i) p += 1 + *p;
    return std::wstring(p + 1, *p);
}

// The control ids of the dialog template in this language (DIALOGEX layout).
std::vector<DWORD> DialogControlIds(LANGID language, DWORD* exStyle) {
    HRSRC found = FindResourceExW(nullptr, RT_DIALOG, IDD_PROGRESSINDICATOR, language);
    if (found == nullptr) return {};
    const auto* base = static_cast<const BYTE*>(LockResource(LoadResource(nullptr, found)));
    const auto* words = reinterpret_cast<const WORD*>(base);
    EXPECT_EQ(words[1], 0xFFFF) << "not an extended dialog template";
    *exStyle = *reinterpret_cast<const DWORD*>(base + 8);
    const WORD count = *reinterpret_cast<const WORD*>(base + 16);
    const WORD* p = reinterpret_cast<const WORD*>(base + 26);
    auto skipSzOrOrd = [&p] {
        if (*p == 0xFFFF) p += 2;
        else { while (*p) ++p; ++p; }
    };
    skipSzOrOrd();  // menu
    skipSzOrOrd();  // class
    skipSzOrOrd();  // caption
    p += 3;         // point size, weight, italic and charset
    skipSzOrOrd();  // font name
    std::vector<DWORD> ids;
    for (WORD i = 0; i < count; ++i) {
        const BYTE* item = reinterpret_cast<const BYTE*>(p);
        item = reinterpret_cast<const BYTE*>((reinterpret_cast<uintptr_t>(item) + 3) & ~uintptr_t(3));
        ids.push_back(*reinterpret_cast<const DWORD*>(item + 20));
        p = reinterpret_cast<const WORD*>(item + 24);
        skipSzOrOrd();  // class
        skipSzOrOrd();  // title
        const WORD extra = *p++;
        p = reinterpret_cast<const WORD*>(reinterpret_cast<const BYTE*>(p) + extra);
    }
    return ids;
}

}  // namespace

TEST(Resources, EveryLanguageHasEveryString) {
    for (LANGID language : kLanguages) {
        for (int id : kStringIds) {
            EXPECT_FALSE(StringIn(language, id).empty()) << "language " << language << " string " << id;
        }
        EXPECT_NE(StringIn(language, IDS_PREPARING).find(L"Corvane"), std::wstring::npos) << language;
    }
}

TEST(Resources, TextsSurviveTheResourceCompiler) {
    EXPECT_EQ(StringIn(9, IDS_PREPARING), L"Corvane is preparing to install...");
    EXPECT_EQ(StringIn(9, IDS_CANNOT_CHECK_SPACE), L"Unable check free space.");
    EXPECT_EQ(StringIn(7, IDS_NOT_ENOUGH_ROOM), L"Nicht gen\u00fcgend Platz f\u00fcr eine vollst\u00e4ndige Installation.");
    EXPECT_EQ(StringIn(17, IDS_CANNOT_EXTRACT), L"\u5727\u7e2e\u30d5\u30a1\u30a4\u30eb\u3092\u5c55\u958b\u3067\u304d\u307e\u305b\u3093\u3002");
}

TEST(Resources, EveryLanguageHasTheWholeDialog) {
    const std::vector<DWORD> expected = {1005, 1007, 10001, 1011, 1009, 1008, 1002,
                                         1003, 1006, 1,    1010, 2,     1012};
    for (LANGID language : kLanguages) {
        DWORD exStyle = 0;
        EXPECT_EQ(DialogControlIds(language, &exStyle), expected) << "language " << language;
        const bool rtl = language == 1025 || language == 1037;
        EXPECT_EQ((exStyle & WS_EX_LAYOUTRTL) != 0, rtl) << "language " << language;
    }
}

TEST(Resources, IconsExist) {
    for (int id : {IDI_STUB_NORMAL, IDI_STUB_CHOOSE, IDI_STUB_ERROR}) {
        EXPECT_NE(FindResourceW(nullptr, MAKEINTRESOURCEW(id), RT_GROUP_ICON), nullptr) << id;
    }
}
