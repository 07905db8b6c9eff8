#include "Environment.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#ifdef _WIN32
#include "win32.h"
#endif

namespace {

// An Environment over `entries` whose %NAME% references expand against its own variables.
std::unique_ptr<Environment> environmentOf(const std::vector<std::wstring>& entries) {
    auto self = std::make_shared<const Environment*>(nullptr);
    auto environment = std::make_unique<Environment>(entries, [self](const std::wstring& raw) {
        return expandReferences(raw, [self](const std::wstring& name) -> const std::wstring* {
            const auto& variables = (*self)->variables();
            const auto found = variables.find(name);
            return found == variables.end() ? nullptr : &found->second;
        });
    });
    *self = environment.get();
    return environment;
}

}  // namespace

TEST(Environment, PropertyLines) {
    struct Case {
        const char* name;
        std::vector<std::wstring> entries;
        std::wstring lines;
    } cases[] = {
        {"backslashes doubled", {L"JAVA_HOME=C:\\jdk"},
         L"vrx.nl.env.java_home=C:\\\\jdk\nvrx.nl.env.JAVA_HOME=C:\\\\jdk\n"
         L"vrx.nl.env.exact_case.JAVA_HOME=C:\\\\jdk\n"},
        {"characters above 127 escaped, the upper-case line in upper case",
         {L"Caf\u00e9=cr\u00e8me \u20ac"},
         L"vrx.nl.env.caf\\u00e9=cr\\u00e8me \\u20ac\nvrx.nl.env.CAF\\U00E9=cr\\u00e8me \\u20ac\n"
         L"vrx.nl.env.exact_case.Caf\\u00e9=cr\\u00e8me \\u20ac\n"},
        {"hidden per-drive entries share the empty name, the last one stays",
         {L"=C:=C:\\a", L"=D:=D:\\b"},
         L"vrx.nl.env.=D:=D:\\\\b\nvrx.nl.env.=D:=D:\\\\b\nvrx.nl.env.exact_case.=D:=D:\\\\b\n"},
        {"values expanded, names in exact order, a later entry replaces an earlier one",
         {L"b=%B%-%nope%", L"B=1", L"b=%B%+%nope%"},
         L"vrx.nl.env.b=1\nvrx.nl.env.B=1\nvrx.nl.env.exact_case.B=1\n"
         L"vrx.nl.env.b=1+%nope%\nvrx.nl.env.B=1+%nope%\nvrx.nl.env.exact_case.b=1+%nope%\n"},
        {"an entry without =", {L"lonely"},
         L"vrx.nl.env.lonely=\nvrx.nl.env.LONELY=\nvrx.nl.env.exact_case.lonely=\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(environmentOf(c.entries)->propertyLines(), c.lines);
    }
}

TEST(Environment, ValueByExactName) {
    const auto environment = environmentOf({L"ClassPath=wrong.jar", L"HOME=C:\\u", L"REF=%HOME%\\x"});
    EXPECT_EQ(environment->value(L"CLASSPATH"), L"");
    EXPECT_EQ(environment->value(L"ClassPath"), L"wrong.jar");
    EXPECT_EQ(environment->value(L"REF"), L"C:\\u\\x");
}

TEST(Environment, PathDirectories) {
    using List = std::vector<std::wstring>;
    struct Case {
        std::vector<std::wstring> entries;
        List directories;
    } cases[] = {
        {{L"Path= C:\\a;;C:\\b ;;; "}, {L"C:\\a", L"C:\\b "}},
        {{L"path=C:\\lower", L"PATH=C:\\upper"}, {L"C:\\upper"}},  // first in exact-name order
        {{L"pAtH=C:\\mixed"}, {L"C:\\mixed"}},
        {{L"PATHEXT=.EXE", L"HOME=C:\\u"}, {}},
        {{L"Path=%HOME%\\bin", L"HOME=C:\\u"}, {L"C:\\u\\bin"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.entries));
        EXPECT_EQ(environmentOf(c.entries)->pathDirectories(), c.directories);
    }
}

TEST(Environment, ExpandReferences) {
    const std::wstring longValue(5000, L'x');
    const std::map<std::wstring, std::wstring> variables = {
        {L"A", L"1"}, {L"B", L"two"}, {L"LONG", longValue}};
    const auto lookup = [&](const std::wstring& name) -> const std::wstring* {
        const auto found = variables.find(name);
        return found == variables.end() ? nullptr : &found->second;
    };
    struct Case {
        std::wstring text;
        std::wstring expanded;
    } cases[] = {
        {L"%A%-%B%", L"1-two"},
        {L"%unknown%", L"%unknown%"},
        {L"100%", L"100%"},
        {L"%A", L"%A"},
        {L"%%A%", L"%1"},
        {L"a%X%A%", L"a%X1"},  // the closing "%" of an unknown name may open the next reference
        {L"%LONG%.%LONG%", longValue + L"." + longValue},
        {L"", L""},
    };
    for (const auto& c : cases) EXPECT_EQ(expandReferences(c.text, lookup), c.expanded) << c.text.substr(0, 40);
}

// The snapshot of this process's own environment expands values of any length whole.
TEST(Environment, ProcessSnapshotExpandsLongValuesWhole) {
    const std::wstring piece(3000, L'y');
#ifdef _WIN32
    SetEnvironmentVariableW(L"LAUNCHER_TEST_PIECE", piece.c_str());
    SetEnvironmentVariableW(L"LAUNCHER_TEST_LONG", L"%LAUNCHER_TEST_PIECE%-%LAUNCHER_TEST_PIECE%");
#else
    setenv("LAUNCHER_TEST_PIECE", std::string(piece.begin(), piece.end()).c_str(), 1);
    setenv("LAUNCHER_TEST_LONG", "%LAUNCHER_TEST_PIECE%-%LAUNCHER_TEST_PIECE%", 1);
#endif
    const std::wstring value = Environment::instance().value(L"LAUNCHER_TEST_LONG");
    EXPECT_EQ(value.size(), 6001u);
    EXPECT_EQ(value, piece + L"-" + piece);
    EXPECT_NE(Environment::instance().propertyLines().find(L"vrx.nl.env.launcher_test_long=" + piece + L"-"),
              std::wstring::npos);
}
