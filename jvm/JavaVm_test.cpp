#include "JavaVm.h"

#include "WindowsTestSupport.h"

#include <gtest/gtest.h>

namespace {

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

}  // namespace
