#include "JavaVm.h"

#include "Exceptions.h"
#include "ScopedHandle.h"
#include "StringTable.h"
#include "Strings.h"
#include "WindowsTestSupport.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

using testing_support::FakeJava;
using testing_support::Narrow;
using testing_support::ScratchFolder;

template <class Vm>
std::wstring ExecutableOf(const std::wstring& home) {
    Vm vm;
    vm.home = home;
    return vm.executablePath();
}

TEST(JavaVm, ExecutablePathOfEachClass) {
    ScratchFolder scratch;
    scratch.File(L"modern\\bin\\java.exe");
    scratch.File(L"nobin\\java.exe");
    scratch.File(L"Windows\\System32\\java.exe");
    scratch.File(L"Windows\\System32\\bin\\java.exe");
    scratch.File(L"old\\bin\\jre.exe");
    scratch.File(L"old\\bin\\java.exe");
    scratch.File(L"old2\\bin\\java.exe");

    EXPECT_EQ(ExecutableOf<ModernJavaVm>(scratch / L"modern"), scratch / L"modern\\bin\\java.exe");
    EXPECT_EQ(ExecutableOf<ModernJavaVm>(scratch / L"nobin"), scratch / L"nobin\\java.exe");
    EXPECT_EQ(ExecutableOf<ModernJavaVm>(scratch / L"missing"), scratch / L"missing\\java.exe");
    EXPECT_EQ(ExecutableOf<ModernJavaVm>(scratch / L"Windows\\System32"),
              scratch / L"Windows\\System32\\java.exe");
    EXPECT_EQ(ExecutableOf<OldJavaVm>(scratch / L"old"), scratch / L"old\\bin\\jre.exe");
    EXPECT_EQ(ExecutableOf<OldJavaVm>(scratch / L"old2"), scratch / L"old2\\bin\\java.exe");
    EXPECT_EQ(ExecutableOf<OldJavaVm>(scratch / L"missing"), scratch / L"missing\\bin\\java.exe");
    EXPECT_EQ(ExecutableOf<MicrosoftJavaVm>(L"C:\\Windows"), L"C:\\Windows\\jview.exe");
}

TEST(JavaVm, TheMicrosoftVmIsAlways140) {
    MicrosoftJavaVm vm;
    EXPECT_EQ(vm.vendor, L"Microsoft");
    EXPECT_EQ(vm.version, JavaVersion(1, 4, 0));
    EXPECT_EQ(vm.is64Bit, 0);
    vm.home = L"C:\\no\\such\\folder";
    EXPECT_EQ(vm.build(), 0);
}

TEST(JavaVm, DuplicatesShareHomeAndVersion) {
    ModernJavaVm a, b;
    a.home = b.home = L"C:\\jdk";
    a.version = b.version = JavaVersion(8, 0, 201);
    b.is64Bit = 1;
    b.vendor = L"IBM";
    EXPECT_TRUE(SameInstallation(a, b));
    b.home = L"C:\\JDK";
    EXPECT_FALSE(SameInstallation(a, b));
    b.home = a.home;
    b.version = JavaVersion(8, 0, 202);
    EXPECT_FALSE(SameInstallation(a, b));
}

TEST(JavaVm, RecordFromAnExplicitPath) {
    ScratchFolder scratch;
    scratch.File(L"jdk\\bin\\javac.exe");
    scratch.Folder(L"jdk\\bin\\server");
    JavaOptions options;
    options.mainClass = L"app.Main";
    const auto vm = RecordFromExplicitPath(scratch.File(L"jdk\\bin\\java.exe"), options);
    ASSERT_NE(dynamic_cast<ModernJavaVm*>(vm.get()), nullptr);
    EXPECT_EQ(vm->home, scratch / L"jdk");
    EXPECT_EQ(vm->kind, VmKind::JDK);
    EXPECT_EQ(vm->vendor, L"Sun");
    EXPECT_EQ(vm->version, JavaVersion(4, 0, 0)) << Narrow(vm->version.text());
    EXPECT_EQ(vm->options.mainClass, L"app.Main");
    EXPECT_EQ(vm->executablePath(), scratch / L"jdk\\bin\\java.exe");

    // Even the Microsoft VM named by a path gets the modern command line.
    const auto named = RecordFromExplicitPath(scratch.File(L"win\\jview.exe"), options);
    EXPECT_NE(dynamic_cast<ModernJavaVm*>(named.get()), nullptr);
    EXPECT_EQ(named->kind, VmKind::MSJ);
    EXPECT_EQ(named->vendor, L"Microsoft");
}

JavaOptions LaunchOptions() {
    JavaOptions options;
    options.mainClass = L"com.example.Main";
    options.ClassPath = {L"C:\\App\\lib\\a.jar"};
    options.launcherArguments = {L"C:\\App\\app.vrx", L"C:\\Temp\\vrx1.tmp"};
    options.programArguments = {L"C:\\a b\\c", L"plain"};
    return options;
}

DWORD ExitCodeOf(HANDLE process) {
    const corvane::KernelHandle owned(process);
    ::WaitForSingleObject(owned.get(), INFINITE);
    DWORD code = 0;
    ::GetExitCodeProcess(owned.get(), &code);
    return code;
}

TEST(JavaVm, LaunchStartsTheExecutableInTheWorkingDirectory) {
    ScratchFolder scratch;
    const FakeJava java(scratch, L"java11", L"java.exe", L"jdk-11\\bin\\java.exe", "exit=0x8000002A\n");
    const std::wstring work = scratch.Folder(L"work dir");
    ModernJavaVm vm;
    vm.home = scratch / L"jdk-11";
    vm.version = JavaVersion(11, 0, 2);
    JavaOptions options = LaunchOptions();
    options.workingDirectory = FilePath(work);
    EXPECT_EQ(ExitCodeOf(vm.launch(options)), 0x8000002Au);
    const std::string record = java.Record();
    const std::wstring expected =
        L"\"" + java.path() + L"\" --add-opens java.base/jdk.internal.loader=ALL-UNNAMED"
        L" -Dsun.java2d.uiScale.enabled=false -classpath \"C:\\App\\lib\\a.jar;\" com.example.Main"
        L" \"C:/App/app.vrx\" \"C:/Temp/vrx1.tmp\" \"C:\\\\a b\\\\c\" plain";
    EXPECT_NE(record.find("\"commandLine\": " + JsonText(expected)), std::string::npos) << record;
    EXPECT_NE(record.find("\"cwd\": " + JsonText(work)), std::string::npos) << record;
}

// Restores CLASSPATH of the test process, which the Microsoft VM's launch sets.
class SavedClassPath {
public:
    SavedClassPath() {
        wchar_t value[4096];
        const DWORD length = ::GetEnvironmentVariableW(L"CLASSPATH", value, 4096);
        if (length > 0 && length < 4096) saved_ = std::wstring(value, length);
    }
    ~SavedClassPath() {
        ::SetEnvironmentVariableW(L"CLASSPATH", saved_ ? saved_->c_str() : nullptr);
    }

private:
    std::optional<std::wstring> saved_;
};

TEST(JavaVm, TheMicrosoftVmChecksItsBuildAndPassesTheClassPathInTheEnvironment) {
    const SavedClassPath saved;
    ScratchFolder scratch;
    const FakeJava jview(scratch, L"jview", L"jview.exe", L"Windows\\jview.exe");  // 5.0.3810.0
    MicrosoftJavaVm vm;
    vm.home = scratch / L"Windows";
    EXPECT_EQ(vm.build(), 3810);

    JavaOptions options = LaunchOptions();
    options.microsoftVmMinBuild = 3811;
    options.initialHeap = 1048576;
    options.debugging = true;
    try {
        vm.launch(options);
        ADD_FAILURE() << "a build below the minimum was launched";
    } catch (const TerminalError& error) {
        EXPECT_EQ(error.message(), terminalErrorFor(strings::NoJavaVm).message());
    }
    EXPECT_EQ(jview.Record(), "");

    for (const std::int32_t minimum : {3810, 0, -1}) {
        options.microsoftVmMinBuild = minimum;
        EXPECT_EQ(ExitCodeOf(vm.launch(options)), 0u) << minimum;
    }
    const std::string record = jview.Record();
    const std::wstring expected = L"\"" + jview.path() +
                                  L"\" /cp \"C:\\App\\lib\\a.jar;\" com.example.Main"
                                  L" \"C:/App/app.vrx\" \"C:/Temp/vrx1.tmp\" \"C:\\\\a b\\\\c\" plain";
    EXPECT_NE(record.find("\"commandLine\": " + JsonText(expected)), std::string::npos) << record;
    EXPECT_NE(record.find("\"CLASSPATH\": " + JsonText(L"C:\\App\\lib\\a.jar;")),
              std::string::npos)
        << record;
}

}  // namespace
