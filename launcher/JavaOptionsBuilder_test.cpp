#include "JavaOptionsBuilder.h"

#include "LauncherTestSupport.h"

#include <gtest/gtest.h>

namespace {

using List = std::vector<std::wstring>;

// The options the launcher builds in `folder` (its current directory after construction, the
// property file's folder) from the property-file text and the command line.
struct Built {
    JavaOptions options;
    List warnings;
};

Built build(const std::string& vrx, const std::wstring& line = L"app.exe", bool service = false,
            const std::wstring& classPathVariable = L"") {
    PropertySet properties;
    properties.parse(vrx);
    const CommandLine commandLine = CommandLine::parse(line);
    const JavaOptionsSources sources{
        .properties = properties,
        .commandLine = commandLine,
        .isService = service,
        .propertyFilePath = L"app.vrx",
        .startDirectory = L"C:\\started\\here",
        .temporaryFilePath = L"C:\\temp\\vrx1A2B.tmp",
        .classPathVariable = classPathVariable,
    };
    Built built;
    built.options = buildJavaOptions(sources, [&](const std::wstring& warning) { built.warnings.push_back(warning); });
    return built;
}

// A path as a property file can hold it: with forward slashes, since "\u" in a value (as in
// "C:\users") would start an escape.
std::string slashed(const std::wstring& path) {
    std::string out;
    for (wchar_t c : path) out += c == L'\\' ? '/' : static_cast<char>(c);
    return out;
}

}  // namespace

TEST(JavaOptionsBuilder, WorkingDirectory) {
    ScratchFolder scratch;
    CurrentDirectory inside(scratch.native());
    EXPECT_EQ(build("").options.workingDirectory.text(), L"C:\\started\\here");
    EXPECT_EQ(build("vrx.user.dir=data\n").options.workingDirectory.text(), scratch / L"data");
    EXPECT_EQ(build("vrx.user.dir=sub\\..\\data\n").options.workingDirectory.text(), scratch / L"data");
    EXPECT_EQ(build("vrx.user.dir=" + slashed(scratch.path()) + "/abs\n").options.workingDirectory.text(),
              scratch / L"abs");
}

TEST(JavaOptionsBuilder, Verbosity) {
    struct Case {
        const char* value;
        bool verbose;
        const wchar_t* selection;
        const wchar_t* warning;  // nullptr: none
    } cases[] = {
        {"", false, L"", nullptr},
        {"normal", true, L"", nullptr},
        {"ALL", true, L"", nullptr},
        {"gc", true, L"gc", nullptr},
        {"Class", true, L"class", nullptr},
        {"none", false, L"", nullptr},
        {"Loud", false, L"", L"invalid verbosity selection 'loud', disabling verbosity.\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        const Built built = build(std::string("vrx.nl.java.option.verbose=") + c.value + "\n");
        EXPECT_EQ(built.options.verbose, c.verbose);
        EXPECT_EQ(built.options.verboseSelection, c.selection);
        EXPECT_EQ(built.warnings, c.warning ? List{c.warning} : List{});
    }
}

TEST(JavaOptionsBuilder, ClassPathResolvesAgainstThePropertyFileFolder) {
    ScratchFolder scratch;
    CurrentDirectory inside(scratch.native());
    const Built built = build("vrx.class.path= lib\\a.jar;;" + slashed(scratch.path()) + "//abs/b.jar;$ENV_CLASSPATH$; \n",
                              L"app.exe", false, L"from\\env.jar");
    EXPECT_EQ(built.options.ClassPath,
              (List{scratch / L"lib\\a.jar", scratch / L"abs\\b.jar", scratch / L"from\\env.jar"}));
}

TEST(JavaOptionsBuilder, ValuesArgumentsAndServiceMode) {
    ScratchFolder scratch;
    CurrentDirectory inside(scratch.native());
    const std::string vrx =
        "vrx.nl.java.launcher.main.class=com.example.Main\n"
        "vrx.nl.java.option.additional=-Dx=1\n"
        "vrx.nl.java.option.java.heap.size.initial=64K\n"
        "vrx.nl.java.option.java.heap.size.max=4g\n"
        "vrx.nl.java.option.garbage.collection.extent=yes\n"
        "vrx.nl.java.option.debugging=t\n"
        "vrx.nl.java.option.garbage.collection.background.thread=on\n"
        "vrx.nl.java.option.compiler=yes\n"
        "vrx.nl.win32.microsoftvm.min.version=3167\n";
    const Built console = build(vrx, L"app.exe -i console VRX_VM C:\\j\\java.exe \"a b\"");
    const JavaOptions& o = console.options;
    EXPECT_EQ(o.mainClass, L"com.example.Main");
    EXPECT_EQ(o.additionalOptions, L"-Dx=1");
    EXPECT_EQ(o.initialHeap, 65536);
    EXPECT_EQ(o.maxHeap, 4294967296LL);
    EXPECT_EQ(o.classGcExtent, L"yes");
    EXPECT_TRUE(o.debugging);
    EXPECT_TRUE(o.noAsyncGc);
    EXPECT_FALSE(o.noJit);
    EXPECT_EQ(o.microsoftVmMinBuild, 3167);
    EXPECT_EQ(o.programArguments, (List{L"-i", L"console", L"VRX_VM", L"C:\\j\\java.exe", L"a b"}));
    EXPECT_EQ(o.launcherArguments, (List{scratch / L"app.vrx", L"C:\\temp\\vrx1A2B.tmp"}));

    EXPECT_EQ(build(vrx, L"app.exe", true).options.additionalOptions, L"-Dx=1 -Xrs");
    EXPECT_EQ(build("", L"app.exe", true).options.additionalOptions, L" -Xrs");
    EXPECT_EQ(build("").options.programArguments, List{});
}
