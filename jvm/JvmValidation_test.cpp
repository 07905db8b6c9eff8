#include "JvmValidation.h"

#include "Exceptions.h"
#include "WindowsTestSupport.h"

#include <gtest/gtest.h>

namespace {

using testing_support::FakeJava;
using testing_support::FakeWow64;
using testing_support::JavaKeys;
using testing_support::Register;
using testing_support::Narrow;
using testing_support::ScratchFolder;

// A VM whose home holds fakejava as bin\java.exe.
struct FakeVm {
    FakeVm(const ScratchFolder& scratch, const std::string& config)
        : java(scratch, L"java", L"java.exe", L"jdk\\bin\\java.exe", config) {
        vm.home = scratch / L"jdk";
        vm.version = JavaVersion(8, 0, 201);
        vm.kind = VmKind::JRE;
        vm.options.ClassPath = {L"C:\\App\\lib\\a.jar", L"C:\\App\\lib\\b.jar"};
    }
    FakeJava java;
    ModernJavaVm vm;
};

TEST(Validator, RunsOnTheVmAndReturnsItsExitCode) {
    ScratchFolder scratch;
    FakeVm fake(scratch, "validator.exit=3\nvalidator.exit.GOOD=0\nvalidator.exit.LARGE=0x10001\n");
    EXPECT_EQ(RunValidator(fake.vm, L"GOOD"), 0);
    EXPECT_EQ(RunValidator(fake.vm, L"OTHER"), 3);
    EXPECT_EQ(RunValidator(fake.vm, L"LARGE"), 0x10001);

    // Only the class path comes from the VM's options; the rest are the defaults.
    const std::string record = fake.java.Record();
    const std::wstring expected = L"\"" + fake.java.path() +
                                  L"\" -classpath \"C:\\App\\lib\\a.jar;C:\\App\\lib\\b.jar;\" "
                                  L"com.orvex.util.jvm.Validator 1 GOOD";
    EXPECT_NE(record.find("\"commandLine\": " + JsonText(expected)), std::string::npos) << record;
}

TEST(Validator, AVmThatCannotBeStartedGivesMinusOne) {
    ModernJavaVm vm;
    vm.home = L"C:\\no\\such\\jdk";
    EXPECT_EQ(RunValidator(vm, L"GOOD"), -1);
}

// The token match hands the validator its argument in upper case and takes a non-zero exit
// code as a refusal; the category and pattern of the token are checked after it.
TEST(Validator, CompositeTokensRunTheValidatorFirst) {
    ScratchFolder scratch;
    FakeVm fake(scratch, "validator.exit=1\nvalidator.exit.GOOD=0\n");
    struct Case {
        const wchar_t* token;
        bool matches;
    } const cases[] = {
        {L"good", true},         {L"jre_good", true},        {L"good_1.8+", true},
        {L"jre_good_1.8*", true}, {L"jdk_good", false},       {L"good_1.9+", false},
        {L"bad", false},          {L"bad_1.8+", false},       {L"jre_j2", true},
        {L"1.8.0_201", true},     {L"1.8.0", true},           {L"1.8.0_20", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MatchesToken(fake.vm, c.token), c.matches) << Narrow(c.token);
    const std::string record = fake.java.Record();
    EXPECT_NE(record.find("\"programArgs\": [\"1\", \"GOOD\"]"), std::string::npos) << record;
    EXPECT_EQ(record.find("\"programArgs\": [\"1\", \"good\"]"), std::string::npos) << record;
}

// The list search over an inventory of a registered runtime without an executable and a 64-bit
// fakejava on PATH (64-bit under the WOW64 answer).
TEST(CandidateSearch, TokensInOrderWithTheBitnessOfThePlatform) {
    JavaKeys keys;
    Register(keys.runtime, L"1.8", L"0", L"C:\\no\\jre8");
    ScratchFolder scratch;
    const FakeJava java(scratch, L"java11", L"java.exe", L"jdk-11\\bin\\java.exe",
                        "validator.exit=1\nvalidator.exit.GOOD=0\n");
    const VmInventory inventory =
        VmInventory::Build(0, L"", {scratch / L"jdk-11\\bin"}, FakeWow64(true, L""));
    ASSERT_EQ(inventory.entries().size(), 2u);
    JavaVm* const jre8 = inventory.entries()[0].get();
    JavaVm* const jdk11 = inventory.entries()[1].get();
    ASSERT_EQ(jdk11->is64Bit, sizeof(void*) == 8 ? 1 : 0);
    if (jdk11->is64Bit != 1) GTEST_SKIP() << "needs the 64-bit build";

    JavaOptions options;
    options.ClassPath = {L"C:\\App\\a.jar"};
    using List = std::vector<JavaVm*>;
    struct Case {
        std::vector<std::wstring> tokens;
        std::int32_t platform;
        List candidates;
    } const cases[] = {
        {{L"11+", L"J2"}, 0, {jdk11, jre8}},
        {{L"1.8*", L"J2"}, 0, {jre8, jdk11}},
        {{L"J2"}, 3, {jre8}},
        {{L"J2"}, 1, {jdk11}},
        {{L"J2"}, 2, {jre8, jdk11}},
        {{L"1.9+", L"JDK"}, 0, {jdk11}},
        // The validator runs on each VM; the registered one has no executable and fails.
        {{L"good"}, 0, {jdk11}},
        {{L"jdk_good"}, 0, {}},
        {{L"jre_good"}, 0, {jdk11}},
        {{}, 0, {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CandidateSearch(c.tokens, c.platform, options, inventory), c.candidates)
            << Narrow(c.tokens.empty() ? L"" : c.tokens.front()) << " platform " << c.platform;
    }
    EXPECT_EQ(jre8->options.ClassPath, options.ClassPath);
    const std::string record = java.Record();
    EXPECT_NE(record.find("-classpath \\\"C:\\\\App\\\\a.jar;\\\" com.orvex.util.jvm.Validator 1 GOOD"),
              std::string::npos)
        << record;
}

// A folder with Verify.jar (any content: fakejava answers for the Verify class) and a java.exe.
struct VerifySetup {
    explicit VerifySetup(const std::string& config)
        : java(scratch, L"java", L"java.exe", L"jre\\bin\\java.exe", config) {
        scratch.File(L"specs\\Verify.jar", "PK");
    }
    bool Check(const std::map<std::wstring, std::wstring>& expected) const {
        return JavaPropertiesAccepted(scratch / L"specs", java.path(), expected);
    }
    ScratchFolder scratch;
    FakeJava java;
};

TEST(PropertyCheck, ComparesTheReportedProperties) {
    const VerifySetup setup(
        "property.java.version=1.8.0_201\n"
        "property.java.vendor=Sun Microsystems Inc.\n"
        "property.os.arch=amd64\n"
        "property.user.name=J\xC3\xBCrgen\n");
    struct Case {
        const char* name;
        std::map<std::wstring, std::wstring> expected;
        bool accepted;
    } const cases[] = {
        {"patterns", {{L"java.version", L"1.8..."}, {L"java.vendor", L"Sun*"}, {L"os.arch", L"*"}},
         true},
        {"exact values", {{L"java.version", L"1.8.0_201"}, {L"user.name", L"J\u00FCrgen"}}, true},
        {"value differs", {{L"java.version", L"1.7..."}, {L"java.vendor", L"Sun*"}}, false},
        {"case matters", {{L"os.arch", L"AMD64"}}, false},
        {"a prefix is not equal", {{L"java.version", L"1.8.0"}}, false},
        {"last property differs", {{L"java.vendor", L"*"}, {L"os.arch", L"x86"}}, false},
        {"property not known", {{L"no.such.property", L"x*"}}, false},
    };
    for (const Case& c : cases) EXPECT_EQ(setup.Check(c.expected), c.accepted) << c.name;

    // The command line names the properties in map order, and the process runs in the folder.
    const std::string record = setup.java.Record();
    const std::wstring commandLine = L"\"" + setup.java.path() + L"\" -classpath \"" +
                                     (setup.scratch / L"specs\\Verify.jar") +
                                     L"\" Verify java.vendor java.version os.arch";
    EXPECT_NE(record.find("\"commandLine\": " + JsonText(commandLine)), std::string::npos) << record;
    EXPECT_NE(record.find("\"cwd\": " + JsonText(setup.scratch / L"specs")), std::string::npos)
        << record;
}

TEST(PropertyCheck, OutputWithoutAFirstLineFails) {
    // Only the first line: even with nothing expected the check fails.
    EXPECT_FALSE(VerifySetup("").Check({}));
    // No output at all.
    EXPECT_FALSE(VerifySetup("verify.first=\n").Check({}));
    // A value where the first line belongs is taken as that line; then nothing is left.
    EXPECT_FALSE(VerifySetup("verify.first=\nproperty.java.version=1.8.0_201\n")
                     .Check({{L"java.version", L"1.8.0_201"}}));
}

TEST(PropertyCheck, OutputLongerThanOneBlockIsReadWhole) {
    const std::wstring value(20000, L'v');
    const VerifySetup setup("property.long=" + std::string(20000, 'v') + "x\n" +
                            "property.after=end\n");
    EXPECT_TRUE(setup.Check({{L"long", value + L"x"}, {L"after", L"end"}}));
    EXPECT_FALSE(setup.Check({{L"long", value}, {L"after", L"end"}}));
}

TEST(PropertyCheck, FindsTheArchiveInTheJvmspecsFolder) {
    ScratchFolder scratch;
    const FakeJava java(scratch, L"java", L"java.exe", L"jre\\bin\\java.exe",
                        "property.java.version=1.8.0_201\n");
    const std::map<std::wstring, std::wstring> expected{{L"java.version", L"1.8*"}};
    scratch.File(L"app\\jvmspecs\\Verify.jar", "PK");
    scratch.Folder(L"folder\\Verify.jar");
    EXPECT_TRUE(JavaPropertiesAccepted(scratch / L"app", java.path(), expected));
    EXPECT_TRUE(JavaPropertiesAccepted(scratch / L"app\\jvmspecs", java.path(), expected));
    EXPECT_FALSE(JavaPropertiesAccepted(scratch / L"folder", java.path(), expected));
    EXPECT_FALSE(JavaPropertiesAccepted(scratch / L"missing", java.path(), expected));
    // A folder named jvmspecs is not searched for a jvmspecs folder of its own.
    scratch.File(L"other\\jvmspecs\\jvmspecs\\Verify.jar", "PK");
    EXPECT_FALSE(JavaPropertiesAccepted(scratch / L"other\\jvmspecs", java.path(), expected));
    EXPECT_FALSE(JavaPropertiesAccepted(scratch / L"other\\jvmspecs\\", java.path(), expected));
    // An executable that cannot be started only rejects the candidate.
    EXPECT_FALSE(JavaPropertiesAccepted(scratch / L"app", scratch / L"jre\\bin\\none.exe", expected));
}

TEST(PropertyCheck, AProcessRunningPastTheLimitIsRejectedAndLeftRunning) {
    const VerifySetup setup("verify.sleep=7000\nproperty.java.version=1.8.0_201\n");
    EXPECT_FALSE(setup.Check({{L"java.version", L"*"}}));
    // The check has returned while the process still runs: its executable is still in use.
    EXPECT_FALSE(::DeleteFileW(setup.java.path().c_str()));
    // Wait for it to end so that the scratch folder can go.
    while (!::DeleteFileW(setup.java.path().c_str())) ::Sleep(100);
}

}  // namespace
