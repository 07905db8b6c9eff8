#include "PropertySet.h"

#include "Exceptions.h"

#include <gtest/gtest.h>

namespace {

PropertySet Parse(const std::string& bytes) {
    PropertySet set;
    set.parse(bytes);
    return set;
}

std::string Dump(const PropertySet& set) {
    std::string out;
    for (const auto& [k, v] : set.entries()) {
        out += "[";
        for (wchar_t c : k) out += c < 128 ? static_cast<char>(c) : '?';
        out += "]=[";
        for (wchar_t c : v) out += c < 128 ? static_cast<char>(c) : '?';
        out += "] ";
    }
    return out;
}

}  // namespace

TEST(PropertySet, LineRules) {
    struct Case {
        const char* file;
        const wchar_t* key;
        const wchar_t* value;  // nullptr: the key must be missing
    } cases[] = {
        {"# note=1\n", L"# note", nullptr},
        {"  # note=1\n", L"# note", L"1"},
        {"a = b = c\n", L"a", L"b = c"},
        {"java=C:\\Program Files\\Java\\\nnext=2\n", L"java", L"C:\\Program Files\\Java "},
        {"java=C:\\Program Files\\Java\\\nnext=2\n", L"next", L"2"},
        {"v=\\u0041\\u00e9\n", L"v", L"A\u00e9"},
        {"p=C:\\temp\\new\n", L"p", L"C:\\temp\\new"},
        {"empty=\n", L"empty", L""},
        {"k=1\nk=2\n", L"k", L"2"},
        {"last=no newline", L"last", L"no newline"},
        {"crlf=x\r\ny=1\r\n", L"crlf", L"x"},
        {"lone=a\rb\n", L"lone", L"a\rb"},
        {"noequals\n", L"noequals", nullptr},
        {"=v\n", L"", L"v"},
        {"key: value\n", L"key: value", nullptr},
        {"key:x = y\n", L"key:x", L"y"},
        {"\t k \t=\t v \t\n", L"k", L"v"},
        {"u=\\u41x\n", L"u", L"Ax"},
        {"u=\\u00411\n", L"u", L"A1"},
        {"dbl=\\\\u0041\n", L"dbl", L"\\\\u0041"},
        {"k\\=v\n", L"k\\", L"v"},
        {"hi=\xe9\xff\n", L"hi", L"\u00e9\u00ff"},
        {"cut=1\x1Arest=2\n", L"cut", L"1"},
        {"cut=1\x1Arest=2\n", L"rest", nullptr},
    };
    for (const Case& c : cases) {
        const PropertySet set = Parse(c.file);
        SCOPED_TRACE(testing::Message() << "file \"" << c.file << "\" gives " << Dump(set));
        if (c.value == nullptr) {
            EXPECT_FALSE(set.contains(c.key));
        } else {
            ASSERT_TRUE(set.contains(c.key));
            EXPECT_EQ(set.get(c.key, L"default"), std::wstring(c.value));
        }
    }
}

TEST(PropertySet, DecodedCharacterZeroKeepsItsPlace) {
    const PropertySet set = Parse("z=a\\uq\n");
    EXPECT_EQ(set.get(L"z", L""), std::wstring(L"a\0q", 3));
}

TEST(PropertySet, EmptyValueIsNotTheDefault) {
    const PropertySet set = Parse("vrx.application.name=\n");
    EXPECT_EQ(set.readString(keys::ApplicationName), L"");
    EXPECT_EQ(PropertySet().readString(keys::ApplicationName), L"Veltrun");
}

TEST(PropertySet, LoadingAddsToTheSet) {
    PropertySet set = Parse("a=1\nb=1\n");
    set.parse("b=2\n");
    EXPECT_EQ(set.get(L"a", L""), L"1");
    EXPECT_EQ(set.get(L"b", L""), L"2");
}

TEST(PropertyRules, Flags) {
    struct Case {
        const wchar_t* value;
        bool flag;
        bool pause;
    } cases[] = {
        {L"true", true, true}, {L"TRUE", true, true}, {L"on", true, true}, {L"t", true, false},
        {L"T", true, false},   {L"yes", false, true}, {L"Yes", false, true}, {L"1", false, false},
        {L"", false, false},   {L"false", false, false}, {L" true", false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(property_rules::flag(c.value), c.flag) << "flag " << testing::PrintToString(c.value);
        EXPECT_EQ(property_rules::pauseFlag(c.value), c.pause) << "pause " << testing::PrintToString(c.value);
    }
}

TEST(PropertyRules, Numbers) {
    struct Case {
        const wchar_t* value;
        int64_t size;
        int32_t integer;
    } cases[] = {
        {L"512m", 536870912, 512},
        {L"64K", 65536, 64},
        {L"100", 100, 100},
        {L"", 0, 0},
        {L"abc", 0, 0},
        {L"-1m", -1048576, -1},
        {L"+7", 7, 7},
        {L"12abc", 12, 12},
        {L"2048m", 2147483648LL, 2048},
        {L"4g", 4294967296LL, 4},
        {L"4G", 4294967296LL, 4},
        {L"3000000k", 3072000000LL, 3000000},
        {L"99999999999", 99999999999LL, 2147483647},
        {L"-99999999999", -99999999999LL, -2147483647 - 1},
        {L"99999999999999999999", INT64_MAX, 2147483647},
        {L"9999999999999999m", INT64_MAX, 2147483647},
        {L"-9999999999999999m", INT64_MIN, -2147483647 - 1},
        {L"m", 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.value));
        EXPECT_EQ(property_rules::size(c.value), c.size);
        EXPECT_EQ(property_rules::integer(c.value), c.integer);
    }
}

TEST(PropertySet, TypedReadersUseKeyAndDefault) {
    const PropertySet set = Parse(
        "vrx.nl.java.option.java.heap.size.max=512m\n"
        "vrx.win32.console.pause=Yes\n"
        "vrx.nl.java.option.debugging=yes\n"
        "vrx.nl.java.option.compiler=t\n"
        "vrx.class.path=lib\\a.jar;$ENV_CLASSPATH$;x;$ENV_CLASSPATH$\n");
    EXPECT_EQ(set.readSize(keys::MaxHeap), 536870912);
    EXPECT_EQ(set.readSize(keys::InitialHeap), 0);
    EXPECT_EQ(set.readSize(keys::LauncherPlatform), 1);
    EXPECT_EQ(set.readInteger(keys::MicrosoftVmMinVersion), 0);
    EXPECT_TRUE(set.readPauseFlag(keys::ConsolePause));
    EXPECT_FALSE(set.readFlag(keys::Debugging));
    EXPECT_TRUE(set.readFlag(keys::Compiler));
    EXPECT_EQ(set.readClassPath(keys::ClassPath, L"C:\\cp"), L"lib\\a.jar;C:\\cp;x;$ENV_CLASSPATH$");
    EXPECT_EQ(set.readClassPath(keys::ClassPath, L""), L"lib\\a.jar;;x;$ENV_CLASSPATH$");
}

TEST(PropertySet, MissingFileRaisesFileException) {
    PropertySet set;
    try {
        set.load(L"no-such-dir\\no-such.vrx");
        FAIL() << "no exception";
    } catch (const FileException& e) {
        EXPECT_EQ(e.message(), L"could not open file for read");
        EXPECT_EQ(e.fileName(), L"no-such-dir\\no-such.vrx");
        EXPECT_STREQ(e.what(), "Unknown exception");
    }
}
