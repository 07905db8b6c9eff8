#include "CommandLine.h"

#include "LauncherTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Arguments = std::vector<std::wstring>;

}  // namespace

TEST(CommandLine, Parsing) {
    struct Case {
        const wchar_t* line;
        Arguments arguments;
        bool service;
        const wchar_t* serviceName;
    } cases[] = {
        {LR"("C:\Program Files\App\app.exe" "a b" plain)",
         {LR"(C:\Program Files\App\app.exe)", L"a b", L"plain"}, false, L""},
        {LR"(app.exe "*.txt" "a *b" x)", {L"app.exe", L"\"*.txt\"", L"a *b", L"x"}, false, L""},
        {L"app.exe \"two words\" \"three more words\"", {L"app.exe", L"two words", L"three more words"}, false, L""},
        {L"app.exe -qmvrxservice MyService x", {L"app.exe", L"x"}, true, L"MyService"},
        {L"app.exe x -qmvrxservice", {L"app.exe", L"x"}, false, L""},
        {L"app.exe -i console", {L"app.exe", L"-i", L"console"}, false, L""},
        {L"app.exe -i", {L"app.exe", L"-i"}, false, L""},
        // The piece after -i is taken unchanged, even the service switch.
        {L"app.exe -i -qmvrxservice Svc", {L"app.exe", L"-i", L"-qmvrxservice", L"Svc"}, false, L""},
        {L"  app.exe   a    b  ", {L"app.exe", L"a", L"b"}, false, L""},
        {L"\"unterminated a b", {L"unterminated a b"}, false, L""},
        {L"app.exe \"open to the end", {L"app.exe", L"open to the end"}, false, L""},
        {L"app.exe \"\" x", {L"app.exe", L"", L"x"}, false, L""},
        {L"app.exe \" spaced \"", {L"app.exe", L" spaced "}, false, L""},
        {L"\"app.exe\"VRX_VM C:\\j\\java.exe", {L"app.exe", L"VRX_VM", L"C:\\j\\java.exe"}, false, L""},
        {L"", {}, false, L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "command line " << testing::PrintToString(std::wstring(c.line)));
        const CommandLine parsed = CommandLine::parse(c.line);
        EXPECT_EQ(parsed.arguments, c.arguments);
        EXPECT_EQ(parsed.isService, c.service);
        EXPECT_EQ(parsed.serviceName, c.serviceName);
    }
}

TEST(CommandLine, ExistingFilesBecomeFullPaths) {
    ScratchFolder scratch;
    scratch.file(L"data.txt");
    scratch.file(L"my file.txt");
    scratch.folder(L"sub");
    CurrentDirectory inside(scratch.native());
    const CommandLine parsed =
        CommandLine::parse(L"app.exe data.txt \"my file.txt\" sub missing.txt -i data.txt");
    const Arguments expected = {L"app.exe", scratch / L"data.txt", scratch / L"my file.txt",
                                scratch / L"sub", L"missing.txt", L"-i", scratch / L"data.txt"};
    EXPECT_EQ(parsed.arguments, expected);
}

TEST(CommandLine, ValueAfter) {
    const CommandLine parsed = CommandLine::parse(L"app.exe vrx_vm low VRX_VM C:\\j\\java.exe VRX_VM second last");
    EXPECT_EQ(parsed.valueAfter(L"VRX_VM"), L"C:\\j\\java.exe");
    EXPECT_EQ(parsed.valueAfter(L"vrx_vm"), L"low");
    EXPECT_EQ(parsed.valueAfter(L"last"), L"");
    EXPECT_EQ(parsed.valueAfter(L"absent"), L"");
}

TEST(CommandLine, SplitAtRuns) {
    EXPECT_EQ(splitAtRuns(L"  C:\\a;;C:\\b ;; ", L';'), (Arguments{L"C:\\a", L"C:\\b "}));
    EXPECT_EQ(splitAtRuns(L";;;", L';'), Arguments{});
    EXPECT_EQ(splitAtRuns(L"", L';'), Arguments{});
    EXPECT_EQ(splitAtBlanks(L" a  b "), (Arguments{L"a", L"b"}));
}
