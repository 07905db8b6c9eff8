// The string table as the built jlauncher.exe carries it: loaded from the program file itself (it
// sits next to this test), every language is there with every string, and each translation keeps
// the placeholders, line breaks and outer blanks of the English text, within the 255 characters
// the launcher's 256-character load buffer holds.
#include "ScopedHandle.h"
#include "win32.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

const LANGID kLanguages[] = {10,   1025, 1027, 1028, 1029, 1030, 1031, 1032, 1033, 1035,
                             1036, 1038, 1040, 1041, 1042, 1043, 1044, 1045, 1046, 1049,
                             1051, 1053, 1054, 1055, 1057, 1060, 1069, 2052, 2070, 3084};
const int kStringIds[] = {101, 102, 103, 104, 105, 106, 109, 110, 111, 112, 113, 114, 115, 116, 117};
const int kUndefinedIds[] = {107, 108};
const LANGID kEnglish = 1033;
const size_t kLoadBufferCharacters = 256;

// jlauncher.exe loaded as a resource image, so that nothing of it runs.
struct ProgramImage {
    ProgramImage() {
        wchar_t self[MAX_PATH];
        const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
        path.assign(self, length);
        path.erase(path.find_last_of(L'\\') + 1);
        path += L"jlauncher.exe";
        module.Reset(LoadLibraryExW(path.c_str(), nullptr,
                                    LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
    }

    std::wstring path;
    corvane::ModuleHandle module;
};

const ProgramImage& program() {
    static const ProgramImage image;
    return image;
}

HMODULE programModule() { return program().module.get(); }

// The string-table block that holds a string id.
LPCWSTR blockOf(int id) { return MAKEINTRESOURCEW(id / 16 + 1); }

// The text of a string in exactly this language; false when the language has no such string.
bool stringIn(LANGID language, int id, std::wstring* text) {
    HRSRC found = FindResourceExW(programModule(), RT_STRING, blockOf(id), language);
    if (found == nullptr) return false;
    const auto* p = static_cast<const WCHAR*>(LockResource(LoadResource(programModule(), found)));
    if (p == nullptr) return false;
    for (int i = 0; i < id % 16; ++i) p += 1 + *p;
    text->assign(p + 1, *p);
    return *p != 0;
}

BOOL CALLBACK addLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR found) {
    reinterpret_cast<std::set<LANGID>*>(found)->insert(language);
    return TRUE;
}

std::set<LANGID> languagesOfBlock(LPCWSTR block) {
    std::set<LANGID> found;
    EnumResourceLanguagesW(programModule(), RT_STRING, block, addLanguage,
                           reinterpret_cast<LONG_PTR>(&found));
    return found;
}

// The printf conversions of a text in order ("%d", "%-5s", "%%", ...).
std::vector<std::wstring> placeholders(const std::wstring& text) {
    std::vector<std::wstring> found;
    for (size_t at = text.find(L'%'); at != std::wstring::npos; at = text.find(L'%', at)) {
        size_t end = at + 1;
        while (end < text.size() && wcschr(L"-+ #0123456789.*hlLIjzt", text[end]) != nullptr) ++end;
        if (end < text.size()) ++end;
        found.push_back(text.substr(at, end - at));
        at = end;
    }
    return found;
}

// Where the line breaks are not inside the text: its leading and trailing blanks and newlines, and
// the number of newlines (101 has its empty line between the two sentences).
std::wstring layoutOf(const std::wstring& text) {
    const wchar_t* blank = L" \t\r\n";
    const size_t first = text.find_first_not_of(blank);
    if (first == std::wstring::npos) return L"[" + text + L"]";
    const size_t last = text.find_last_not_of(blank);
    size_t newlines = 0;
    for (wchar_t c : text) newlines += c == L'\n';
    return L"[" + text.substr(0, first) + L"]" + std::to_wstring(newlines) + L"[" +
           text.substr(last + 1) + L"]";
}

class StringResources : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(programModule(), nullptr)
            << "cannot load " << testing::PrintToString(program().path) << " (Windows error "
            << GetLastError() << ")";
    }
};

}  // namespace

TEST_F(StringResources, EveryLanguageAndNoOther) {
    const std::set<LANGID> expected(std::begin(kLanguages), std::end(kLanguages));
    EXPECT_EQ(languagesOfBlock(blockOf(101)), expected);
    EXPECT_EQ(languagesOfBlock(blockOf(117)), expected);
}

TEST_F(StringResources, EveryLanguageHasEveryStringAndNoUndefinedOne) {
    for (LANGID language : kLanguages) {
        std::wstring text;
        for (int id : kStringIds) {
            EXPECT_TRUE(stringIn(language, id, &text)) << "language " << language << ", string " << id;
        }
        for (int id : kUndefinedIds) {
            EXPECT_FALSE(stringIn(language, id, &text)) << "language " << language << ", string " << id;
        }
    }
}

TEST_F(StringResources, TranslationsKeepPlaceholdersAndLayout) {
    for (int id : kStringIds) {
        std::wstring english;
        ASSERT_TRUE(stringIn(kEnglish, id, &english)) << id;
        for (LANGID language : kLanguages) {
            std::wstring text;
            if (!stringIn(language, id, &text)) continue;  // reported above
            const std::string where = "language " + std::to_string(language) + ", string " +
                                      std::to_string(id) + ": " + testing::PrintToString(text);
            EXPECT_EQ(placeholders(text), placeholders(english)) << where;
            EXPECT_EQ(layoutOf(text), layoutOf(english)) << where;
            EXPECT_LT(text.size(), kLoadBufferCharacters) << where;
            if (language != kEnglish) {
                EXPECT_NE(text, english) << where << " is not translated";
            }
        }
    }
}

// The English texts come through the resource compiler exactly, and the UTF-8 sources come out
// as the intended characters, not as their bytes read in some other code page.
TEST_F(StringResources, TextsSurviveTheResourceCompiler) {
    const struct {
        LANGID language;
        int id;
        const wchar_t* text;
    } cases[] = {
        {1033, 101, L"Could not find a valid Java virtual machine to load.\n\n"
                    L"You may need to reinstall a supported Java virtual machine."},
        {1033, 103, L"Windows error %d occured while loading the Java VM"},
        {1033, 110, L"Veltrun Error"},
        {1033, 113, L"Could not extract the downloaded VM pack. Installer exiting..."},
        {1031, 102, L"Die Veltrun-Eigenschaftendatei fehlt"},
        {1031, 110, L"Veltrun-Fehler"},
        {10, 110, L"Error de Veltrun"},
        {1049, 110, L"\u041e\u0448\u0438\u0431\u043a\u0430 Veltrun"},
        {2052, 110, L"Veltrun \u9519\u8bef"},
        {1041, 110, L"Veltrun \u30a8\u30e9\u30fc"},
    };
    for (const auto& c : cases) {
        std::wstring text;
        EXPECT_TRUE(stringIn(c.language, c.id, &text));
        EXPECT_EQ(text, c.text) << "language " << c.language << ", string " << c.id;
    }
}
