#include "RegistryKey.h"

#include "Exceptions.h"
#include "RegistryRoots.h"
#include "WindowsTestSupport.h"

#include <gtest/gtest.h>

namespace {

using testing_support::Narrow;
using testing_support::TestRegistryTree;

const std::wstring kTestKey = L"SOFTWARE\\CorvaneTest\\RegistryKey";

// Runs the call and returns the KeyException it raised; fails the test when it raises none.
template <class Call>
KeyException ExpectKeyException(Call call) {
    try {
        call();
    } catch (const KeyException& e) {
        return e;
    }
    ADD_FAILURE() << "no KeyException";
    return KeyException(L"", L"");
}

TEST(RegistryKey, OpensListsAndReadsStrings) {
    TestRegistryTree tree(kTestKey);
    tree.SetString(L"1.8", L"JavaHome", L"C:\\Program Files\\Java\\jre1.8.0_201");
    tree.SetString(L"11.0.2", L"Expand", L"%SystemRoot%\\java", REG_EXPAND_SZ);
    tree.SetBytes(L"11.0.2", L"Multi", REG_MULTI_SZ,
                  {'a', 0, 0, 0, 'b', 0, 'c', 0, 0, 0, 0, 0});
    tree.SetBytes(L"11.0.2", L"Number", REG_DWORD, {1, 0, 0, 0});
    tree.SetBytes(L"11.0.2", L"Unterminated", REG_SZ, {'x', 0, 'y', 0});

    RegistryKey key(HKEY_LOCAL_MACHINE, kTestKey, KEY_READ);
    EXPECT_TRUE(key.isOpen());
    EXPECT_EQ(key.path(), kTestKey);
    std::vector<std::wstring> names = key.subkeyNames();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::wstring>{L"1.8", L"11.0.2"}));

    RegistryKey runtime;
    runtime.openBelow(key, L"1.8", KEY_READ);
    EXPECT_EQ(runtime.path(), kTestKey + L"\\1.8");
    EXPECT_EQ(runtime.stringValue(L"JavaHome"), L"C:\\Program Files\\Java\\jre1.8.0_201");
    EXPECT_TRUE(runtime.subkeyNames().empty());

    runtime.openBelow(key, L"11.0.2", KEY_READ);
    EXPECT_EQ(runtime.stringValue(L"Expand"), L"%SystemRoot%\\java");  // not expanded
    EXPECT_EQ(runtime.stringValue(L"Multi"), L"abc");                  // strings run together
    EXPECT_EQ(runtime.stringValue(L"Unterminated"), L"xy");

    const KeyException notString = ExpectKeyException([&] { runtime.stringValue(L"Number"); });
    EXPECT_EQ(notString.message(), L"value not a string");
    EXPECT_EQ(notString.key(), kTestKey + L"\\11.0.2");
    const KeyException missing = ExpectKeyException([&] { runtime.stringValue(L"Absent"); });
    EXPECT_EQ(missing.message(), L"key query failed") << Narrow(missing.message());
    EXPECT_EQ(missing.key(), kTestKey + L"\\11.0.2");
}

TEST(RegistryKey, StringsOfAt255CharactersFitTheBuffer) {
    TestRegistryTree tree(kTestKey);
    tree.SetString(L"", L"Fits", std::wstring(255, L'a'));
    tree.SetString(L"", L"TooLong", std::wstring(256, L'b'));
    RegistryKey key(HKEY_LOCAL_MACHINE, kTestKey, KEY_READ);
    EXPECT_EQ(key.stringValue(L"Fits"), std::wstring(255, L'a'));
    const KeyException tooLong = ExpectKeyException([&] { key.stringValue(L"TooLong"); });
    EXPECT_EQ(tooLong.message(), L"key query failed");
    EXPECT_EQ(tooLong.key(), kTestKey);
}

TEST(RegistryKey, AClosedKeyRefusesEverything) {
    RegistryKey key;
    for (const KeyException& e :
         {ExpectKeyException([&] { key.subkeyNames(); }),
          ExpectKeyException([&] { key.stringValue(L"x"); }),
          ExpectKeyException([&] { RegistryKey below; below.openBelow(key, L"x", KEY_READ); })}) {
        EXPECT_EQ(e.message(), L"key not open");
        EXPECT_EQ(e.key(), L"");
    }
}

TEST(RegistryKey, AMissingKeyRaisesTheSystemText) {
    TestRegistryTree tree(kTestKey);
    RegistryKey key;
    const KeyException e = ExpectKeyException(
        [&] { key.open(HKEY_LOCAL_MACHINE, kTestKey + L"\\absent", KEY_READ); });
    EXPECT_EQ(e.key(), kTestKey + L"\\absent");
    EXPECT_FALSE(e.message().empty());
    EXPECT_NE(e.message().back(), L'\n');
    EXPECT_FALSE(key.isOpen());
}

TEST(RegistryKey, OpeningAgainClosesTheFormerKey) {
    TestRegistryTree tree(kTestKey);
    tree.SetString(L"a", L"v", L"from a");
    tree.SetString(L"b", L"v", L"from b");
    RegistryKey key(HKEY_LOCAL_MACHINE, kTestKey + L"\\a", KEY_READ);
    key.open(HKEY_LOCAL_MACHINE, kTestKey + L"\\b", KEY_READ);
    EXPECT_EQ(key.stringValue(L"v"), L"from b");
    EXPECT_THROW(key.open(HKEY_LOCAL_MACHINE, kTestKey + L"\\c", KEY_READ), KeyException);
    EXPECT_FALSE(key.isOpen());
    key.close();
    EXPECT_FALSE(key.isOpen());
}

TEST(RegistryRoots, NamesAtTheStartOfAText) {
    struct Case {
        const wchar_t* text;
        std::optional<HKEY> root;
    };
    const Case cases[] = {
        {L"\\HKEY_LOCAL_MACHINE\\SOFTWARE\\JavaSoft", HKEY_LOCAL_MACHINE},
        {L"\\HKEY_CURRENT_USER", HKEY_CURRENT_USER},
        {L"\\HKEY_CLASSES_ROOT\\x", HKEY_CLASSES_ROOT},
        {L"\\HKEY_USERS\\.DEFAULT", HKEY_USERS},
        {L"\\HKEY_PERFORMANCE_DATA", HKEY_PERFORMANCE_DATA},
        {L"\\HKEY_PERFORMANCE_TEXT", HKEY_PERFORMANCE_TEXT},
        {L"\\HKEY_PERFORMANCE_NLSTEXT", HKEY_PERFORMANCE_NLSTEXT},
        {L"\\HKEY_CURRENT_CONFIG\\x", HKEY_CURRENT_CONFIG},
        {L"\\HKEY_DYN_DATA", HKEY_DYN_DATA},
        {L"\\HKEY_LOCAL_MACHINEX", HKEY_LOCAL_MACHINE},  // a prefix is enough
        {L"HKEY_LOCAL_MACHINE\\SOFTWARE", std::nullopt},
        {L"\\hkey_local_machine", std::nullopt},
        {L"", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RootFromName(c.text), c.root) << Narrow(c.text);
}

}  // namespace
