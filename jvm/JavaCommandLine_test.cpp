#include "JavaCommandLine.h"

#include <gtest/gtest.h>

namespace {

// The launch of the example application: property file in C:\App, class path lib\a.jar.
JavaOptions AppOptions() {
    JavaOptions options;
    options.mainClass = L"com.example.Main";
    options.ClassPath = {L"C:\\App\\lib\\a.jar"};
    options.launcherArguments = {L"C:\\App\\app.vrx", L"C:\\Temp\\vrx1A2B.tmp"};
    return options;
}

const std::wstring kJava11 = L"C:\\jdk-11\\bin\\java.exe";
const std::wstring kTail =
    L" -classpath \"C:\\App\\lib\\a.jar;\" com.example.Main \"C:/App/app.vrx\" "
    L"\"C:/Temp/vrx1A2B.tmp\" ";

TEST(JavaCommandLine, ModernVmOfJava11WithHeapSizes) {
    JavaOptions options = AppOptions();
    options.initialHeap = 64 * 1048576;
    options.maxHeap = 256 * 1048576;
    EXPECT_EQ(ModernCommandLine(kJava11, 11, options),
              L"\"C:\\jdk-11\\bin\\java.exe\" --add-opens java.base/jdk.internal.loader=ALL-UNNAMED"
              L" -Dsun.java2d.uiScale.enabled=false -Xms67108864 -Xmx268435456" + kTail);
    EXPECT_EQ(ModernCommandLine(kJava11, 8, options),
              L"\"C:\\jdk-11\\bin\\java.exe\" -Xms67108864 -Xmx268435456" + kTail);
    EXPECT_EQ(ModernCommandLine(kJava11, 9, AppOptions()),
              L"\"C:\\jdk-11\\bin\\java.exe\" --add-opens java.base/jdk.internal.loader=ALL-UNNAMED"
              L" -Dsun.java2d.uiScale.enabled=false" + kTail);
}

TEST(JavaCommandLine, OptionsInEachDialect) {
    struct Case {
        const char* name;
        void (*set)(JavaOptions&);
        const wchar_t* modern;
        const wchar_t* old;
    };
    const Case cases[] = {
        {"verbose with a selection", [](JavaOptions& o) { o.verbose = true; o.verboseSelection = L"gc"; },
         L" -verbose:gc", L" -verbose"},
        {"verbose", [](JavaOptions& o) { o.verbose = true; }, L" -verbose", L" -verbose"},
        {"selection without verbose", [](JavaOptions& o) { o.verboseSelection = L"gc"; }, L"", L""},
        {"debugging", [](JavaOptions& o) { o.debugging = true; }, L" -Xdebug", L" -debug"},
        {"no asynchronous GC", [](JavaOptions& o) { o.noAsyncGc = true; }, L" -Xnoasyncgc",
         L" -noasyncgc"},
        {"compiler off", [](JavaOptions& o) { o.noJit = true; }, L" -Djava.compiler=off", L" -nojit"},
        {"class GC extent", [](JavaOptions& o) { o.classGcExtent = L"x"; }, L" -Xnoclassgc",
         L" -noclassgc"},
        {"heap", [](JavaOptions& o) { o.initialHeap = 65536; o.maxHeap = -5; }, L" -Xms65536",
         L" -ms65536"},
        {"heap of 2 GB and more", [](JavaOptions& o) { o.maxHeap = 4294967296; }, L" -Xmx4294967296",
         L" -mx4294967296"},
        {"additional options", [](JavaOptions& o) { o.additionalOptions = L"-Dx=1 -Dy=2"; },
         L" -Dx=1 -Dy=2", L" -Dx=1 -Dy=2"},
        {"service mode", [](JavaOptions& o) { o.additionalOptions = L" -Xrs"; }, L"  -Xrs", L"  -Xrs"},
        {"all in order",
         [](JavaOptions& o) {
             o.initialHeap = 1;
             o.maxHeap = 2;
             o.verbose = true;
             o.verboseSelection = L"class";
             o.debugging = o.noAsyncGc = o.noJit = true;
             o.classGcExtent = L"all";
             o.additionalOptions = L"-Dz";
         },
         L" -Xms1 -Xmx2 -verbose:class -Xdebug -Xnoasyncgc -Djava.compiler=off -Xnoclassgc -Dz",
         L" -ms1 -mx2 -verbose -debug -noasyncgc -nojit -noclassgc -Dz"},
    };
    for (const Case& c : cases) {
        JavaOptions options = AppOptions();
        c.set(options);
        EXPECT_EQ(ModernCommandLine(L"C:\\j\\bin\\java.exe", 8, options),
                  L"\"C:\\j\\bin\\java.exe\"" + std::wstring(c.modern) + kTail)
            << c.name;
        EXPECT_EQ(OldCommandLine(L"C:\\j\\bin\\java.exe", L"C:\\j", options),
                  L"\"C:\\j\\bin\\java.exe\"" + std::wstring(c.old) +
                      L" -classpath \"C:\\App\\lib\\a.jar;C:\\j\\lib\\classes.zip;\" com.example.Main"
                      L" \"C:/App/app.vrx\" \"C:/Temp/vrx1A2B.tmp\" ")
            << c.name;
        EXPECT_EQ(MicrosoftCommandLine(L"C:\\Windows\\jview.exe", options),
                  L"\"C:\\Windows\\jview.exe\" /cp \"C:\\App\\lib\\a.jar;\" com.example.Main"
                  L" \"C:/App/app.vrx\" \"C:/Temp/vrx1A2B.tmp\" ")
            << c.name;
    }
}

TEST(JavaCommandLine, OldVmClassPathSwitchByExecutableName) {
    const JavaOptions options = AppOptions();
    for (const wchar_t* name : {L"JRE.EXE", L"jre.exe", L"Jrew.exe"})
        EXPECT_NE(OldCommandLine(std::wstring(L"C:\\j\\bin\\") + name, L"C:\\j", options)
                      .find(L"\" -cp \"C:\\App\\lib\\a.jar;C:\\j\\lib\\classes.zip;\" "),
                  std::wstring::npos)
            << testing::PrintToString(std::wstring(name));
    for (const wchar_t* name : {L"java.exe", L"jre", L"javaw.exe"})
        EXPECT_NE(OldCommandLine(std::wstring(L"C:\\j\\bin\\") + name, L"C:\\j", options)
                      .find(L"\" -classpath \"C:\\App\\lib\\a.jar;C:\\j\\lib\\classes.zip;\" "),
                  std::wstring::npos)
            << testing::PrintToString(std::wstring(name));
}

TEST(JavaCommandLine, ProgramArguments) {
    JavaOptions options = AppOptions();
    options.programArguments = {L"C:\\a b\\c", L"plain", L"x\\y", L"-i", L"console"};
    EXPECT_EQ(ArgumentText(options),
              L"\"C:/App/app.vrx\" \"C:/Temp/vrx1A2B.tmp\" \"C:\\\\a b\\\\c\" plain x\\\\y -i "
              L"console");
    options.launcherArguments.clear();
    options.programArguments = {L"1", L"CHECK"};
    EXPECT_EQ(ArgumentText(options), L"1 CHECK");
}

TEST(JavaCommandLine, ClassPathTextEndsWithASemicolon) {
    EXPECT_EQ(ClassPathText({}), L"");
    EXPECT_EQ(ClassPathText({L"a.jar", L"C:\\b"}), L"a.jar;C:\\b;");
}

}  // namespace
