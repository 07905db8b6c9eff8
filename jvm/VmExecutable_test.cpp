#include "VmExecutable.h"

#include "Exceptions.h"
#include "WindowsTestSupport.h"

#include <gtest/gtest.h>

namespace {

using testing_support::Narrow;
using testing_support::ScratchFolder;
using testing_support::TestRegistryTree;

VmExecutable At(const std::wstring& path) { return VmExecutable(FilePath(path)); }

TEST(VmExecutable, KindFromTheFileNameAndTheCompiler) {
    ScratchFolder scratch;
    scratch.File(L"jdk\\bin\\javac.exe");
    struct Case {
        std::wstring path;
        VmKind kind;
    };
    const Case cases[] = {
        {scratch / L"jdk\\bin\\java.exe", VmKind::JDK},
        {scratch / L"jdk\\bin\\javaw.exe", VmKind::JDK},
        {scratch / L"jdk\\bin\\jre.exe", VmKind::JRE},
        {scratch / L"jre\\bin\\java.exe", VmKind::JRE},
        {scratch / L"Windows\\JVIEW.EXE", VmKind::MSJ},
        {scratch / L"Windows\\wjview.exe", VmKind::MSJ},
        {scratch / L"old\\bin\\JREW.exe", VmKind::JRE},
        {L"C:\\does\\not\\exist\\java.exe", VmKind::JRE},
    };
    for (const Case& c : cases) EXPECT_EQ(At(c.path).kind(), c.kind) << Narrow(c.path);
}

TEST(VmExecutable, HomeIsAboveAFolderNamedLikeBin) {
    struct Case {
        const wchar_t* path;
        const wchar_t* home;
    };
    const Case cases[] = {
        {L"C:\\jdk\\bin\\java.exe", L"C:\\jdk"},
        {L"C:\\Windows\\system32\\java.exe", L"C:\\Windows\\system32"},
        {L"C:\\tools\\binaries\\java.exe", L"C:\\tools"},
        {L"C:\\JDK\\BIN\\java.exe", L"C:\\JDK"},
        {L"java.exe", L"."},
    };
    for (const Case& c : cases) EXPECT_EQ(At(c.path).home(), c.home) << Narrow(c.path);
}

TEST(VmExecutable, VendorWithoutAVersionResource) {
    ScratchFolder scratch;
    EXPECT_EQ(At(scratch.File(L"bin\\java.exe")).vendor(), L"Sun");
    EXPECT_EQ(At(scratch.File(L"JVIEW.EXE")).vendor(), L"Microsoft");
    EXPECT_EQ(At(L"C:\\missing\\java.exe").vendor(), L"Sun");
}

TEST(VmExecutable, VersionFromTheFilesBesideTheExecutable) {
    struct Case {
        const char* name;
        std::vector<std::wstring> files;    // made below the scratch folder
        std::vector<std::wstring> folders;  // likewise
        const wchar_t* executable;
        JavaVersion version;
    };
    const Case cases[] = {
        {"pack200", {L"j\\bin\\pack200.exe", L"j\\bin\\classic\\x"}, {}, L"j\\bin\\java.exe",
         JavaVersion(5, 0, 0)},
        {"client", {}, {L"j\\bin\\client"}, L"j\\bin\\java.exe", JavaVersion(4, 0, 0)},
        {"server of the jre below a jdk", {}, {L"j\\jre\\bin\\server"}, L"j\\bin\\java.exe",
         JavaVersion(4, 0, 0)},
        {"hotspot", {}, {L"j\\bin\\hotspot"}, L"j\\bin\\java.exe", JavaVersion(3, 0, 0)},
        {"hotspot of the jre", {}, {L"j\\jre\\bin\\hotspot"}, L"j\\bin\\java.exe",
         JavaVersion(3, 0, 0)},
        {"classic", {}, {L"j\\bin\\classic"}, L"j\\bin\\java.exe", JavaVersion(2, 0, 0)},
        {"plug-in without a version", {L"j\\bin\\NPJava32.dll"}, {L"j\\bin\\client"},
         L"j\\bin\\java.exe", JavaVersion(4, 0, 0)},
        {"jre.exe beside", {L"old\\bin\\jre.exe"}, {}, L"old\\bin\\java.exe", JavaVersion(1, 0, 0)},
        {"jrew.exe itself", {}, {}, L"old\\bin\\jrew.exe", JavaVersion(1, 0, 0)},
        {"nothing", {}, {}, L"plain\\bin\\java.exe", JavaVersion()},
        {"Microsoft VM", {}, {}, L"win\\jview.exe", JavaVersion(1, 4, 0)},
    };
    for (const Case& c : cases) {
        ScratchFolder scratch;
        for (const std::wstring& folder : c.folders) scratch.Folder(folder);
        for (const std::wstring& file : c.files) scratch.File(file);
        VmExecutable executable = At(scratch.File(c.executable));
        EXPECT_EQ(executable.version(), c.version)
            << c.name << ": " << Narrow(executable.version().text());
        EXPECT_FALSE(executable.fileVersion().has_value()) << c.name;
    }
}

const std::wstring kRuntimes = L"SOFTWARE\\JavaSoft\\Java Runtime Environment";

TEST(VmExecutable, VersionOfTheSystemFolderCopyFromTheRegistry) {
    ScratchFolder scratch;
    TestRegistryTree runtimes(kRuntimes);
    runtimes.SetString(L"", L"CurrentVersion", L"1.8");
    runtimes.SetString(L"1.8", L"MicroVersion", L"0");
    for (const wchar_t* folder : {L"Windows\\System32", L"Windows\\SysWOW64"}) {
        VmExecutable executable = At(scratch.File(std::wstring(folder) + L"\\java.exe"));
        EXPECT_EQ(executable.version(), JavaVersion(8, 0, 0)) << Narrow(folder);
    }
}

TEST(VmExecutable, SystemFolderCopyWithoutRegistryKeyRaises) {
    ScratchFolder scratch;
    TestRegistryTree runtimes(kRuntimes);
    runtimes.SetString(L"", L"CurrentVersion", L"1.7");
    VmExecutable executable = At(scratch.File(L"system32\\java.exe"));
    try {
        executable.version();
        ADD_FAILURE() << "no KeyException";
    } catch (const KeyException& e) {
        EXPECT_EQ(e.key(), kRuntimes + L"\\1.7") << Narrow(e.message());
    }
}

}  // namespace
