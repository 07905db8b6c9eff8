#include "VmInventory.h"

#include "WindowsTestSupport.h"

#include <gtest/gtest.h>

#include <sstream>
#include <typeinfo>

namespace {

using testing_support::FakeJava;
using testing_support::FakeWow64;
using testing_support::Narrow;
using testing_support::ScratchFolder;
using testing_support::TestRegistryTree;
using testing_support::ThisExecutable;

// One inventory entry as text: class, home, version, kind, vendor, bitness.
std::string Describe(const JavaVm& vm) {
    std::ostringstream out;
    const char* cls = dynamic_cast<const MicrosoftJavaVm*>(&vm) ? "Microsoft"
                      : dynamic_cast<const OldJavaVm*>(&vm)     ? "Old"
                                                                : "Modern";
    out << cls << " " << Narrow(vm.home) << " " << Narrow(vm.version.text()) << " kind "
        << static_cast<int>(vm.kind) << " " << Narrow(vm.vendor) << " is64Bit " << vm.is64Bit;
    return out.str();
}

std::vector<std::string> Describe(const VmInventory& inventory) {
    std::vector<std::string> lines;
    for (const auto& vm : inventory.entries()) lines.push_back(Describe(*vm));
    return lines;
}

std::string Entry(const char* cls, const std::wstring& home, const wchar_t* version, VmKind kind,
                  const wchar_t* vendor, int is64Bit = 0) {
    std::ostringstream out;
    out << cls << " " << Narrow(home) << " " << Narrow(version) << " kind "
        << static_cast<int>(kind) << " " << Narrow(vendor) << " is64Bit " << is64Bit;
    return out.str();
}

// The six Java keys of the scan, emptied for the test and removed after it.
struct JavaKeys {
    TestRegistryTree jdk{L"SOFTWARE\\JavaSoft\\JDK"};
    TestRegistryTree jre{L"SOFTWARE\\JavaSoft\\JRE"};
    TestRegistryTree developmentKit{L"SOFTWARE\\JavaSoft\\Java Development Kit"};
    TestRegistryTree runtime{L"SOFTWARE\\JavaSoft\\Java Runtime Environment"};
    TestRegistryTree ibmRuntime{L"SOFTWARE\\IBM\\Java2 Runtime Environment"};
    TestRegistryTree ibmDevelopmentKit{L"SOFTWARE\\IBM\\Java Development Kit"};
};

void Register(const TestRegistryTree& key, const std::wstring& version, const wchar_t* micro,
              const std::wstring& home) {
    key.CreateKey(version);
    if (micro) key.SetString(version, L"MicroVersion", micro);
    if (!home.empty()) key.SetString(version, L"JavaHome", home);
}

TEST(VmInventory, ListsTheRegisteredVmsInKeyOrder) {
    JavaKeys keys;
    Register(keys.runtime, L"1.8", L"0", L"C:\\jre8");
    Register(keys.runtime, L"1.6.0_45", nullptr, L"C:\\jre6");   // no MicroVersion: skipped
    Register(keys.runtime, L"11.0.2", nullptr, L"C:\\jdk11");    // major above 8: not read
    Register(keys.runtime, L"1.7", L"0", L"");                   // no JavaHome: skipped
    Register(keys.runtime, L"1.5", L"0", std::wstring(256, L'h'));  // too long: skipped
    Register(keys.jdk, L"17", L"junk", L"C:\\jdk17");
    Register(keys.jre, L"1.8.0_201", L"12x", L"C:\\jre8u201");
    Register(keys.developmentKit, L"1.8", L"0", L"C:\\jre8");    // same as the runtime: dropped
    Register(keys.developmentKit, L"1.4.2_19", L"2", L"C:\\j2sdk1.4.2_19");
    Register(keys.ibmRuntime, L"1.1", L"8", L"C:\\ibm11");
    Register(keys.ibmDevelopmentKit, L"1.6.0", L"", L"C:\\ibm6");

    const VmInventory inventory = VmInventory::Build(1, L"", {}, FakeWow64(false));
    EXPECT_EQ(Describe(inventory), (std::vector<std::string>{
        Entry("Modern", L"C:\\jdk17", L"17.0_0", VmKind::JDK, L"Sun"),
        Entry("Modern", L"C:\\jre8u201", L"8.12_201", VmKind::JRE, L"Sun"),
        Entry("Modern", L"C:\\j2sdk1.4.2_19", L"4.2_19", VmKind::JDK, L"Sun"),
        Entry("Modern", L"C:\\jre8", L"8.0_0", VmKind::JDK, L"Sun"),
        Entry("Modern", L"C:\\jdk11", L"11.0_2", VmKind::JRE, L"Sun"),
        Entry("Old", L"C:\\ibm11", L"1.8_0", VmKind::JRE, L"IBM"),
        Entry("Modern", L"C:\\ibm6", L"6.0_0", VmKind::JDK, L"IBM"),
    }));
    EXPECT_TRUE(inventory.platformRestricted());
    EXPECT_TRUE(VmInventory::Build(3, L"", {}, FakeWow64(false)).platformRestricted());
    EXPECT_FALSE(VmInventory::Build(0, L"", {}, FakeWow64(false)).platformRestricted());
    EXPECT_FALSE(VmInventory::Build(2, L"", {}, FakeWow64(false)).platformRestricted());
}

TEST(VmInventory, PathFoldersAndTheirOrder) {
    JavaKeys keys;
    Register(keys.runtime, L"1.8", L"0", L"C:\\jre8");
    ScratchFolder scratch;
    scratch.File(L"one\\java.exe");
    scratch.File(L"one\\jview.exe");
    scratch.File(L"two\\bin\\javaw.exe");
    scratch.File(L"two\\bin\\jrew.exe");
    scratch.Folder(L"empty");
    const std::vector<std::wstring> path{scratch / L"one", scratch / L"empty", scratch / L"two\\bin",
                                         scratch / L"missing"};
    const std::string registry = Entry("Modern", L"C:\\jre8", L"8.0_0", VmKind::JRE, L"Sun");
    const std::string one = Entry("Old", scratch / L"one", L"0.0_0", VmKind::JRE, L"Sun");
    const std::string msj =
        Entry("Microsoft", scratch / L"one", L"1.4_0", VmKind::MSJ, L"Microsoft");
    // javaw.exe and jrew.exe of one folder share home and version: the second is a duplicate.
    const std::string two = Entry("Old", scratch / L"two", L"1.0_0", VmKind::JRE, L"Sun");

    EXPECT_EQ(Describe(VmInventory::Build(1, L"", path, FakeWow64(false))),
              (std::vector<std::string>{registry, one, msj, two}));
    EXPECT_EQ(Describe(VmInventory::Build(1, L"1", path, FakeWow64(false))),
              (std::vector<std::string>{registry, one, msj, two}));
    EXPECT_EQ(Describe(VmInventory::Build(1, L"0", path, FakeWow64(false))),
              (std::vector<std::string>{one, msj, two, registry}));
}

TEST(VmInventory, PathExecutablesAreIdentifiedByTheirVersionResources) {
    JavaKeys keys;
    ScratchFolder scratch;
    const FakeJava jdk8(scratch, L"java", L"java.exe", L"jdk8\\bin\\java.exe");  // 8.0.2010.9
    scratch.File(L"jdk8\\bin\\javac.exe");
    const FakeJava jdk8w(scratch, L"javaw", L"javaw.exe", L"jdk8\\bin\\javaw.exe");
    const FakeJava ibm(scratch, L"ibm", L"java.exe", L"ibm\\bin\\java.exe");  // 1.6.0.20, IBM
    const FakeJava sun14(scratch, L"java14", L"java.exe", L"j2re14\\java.exe");  // 1.4.2.19
    const FakeJava jre(scratch, L"jre", L"jre.exe", L"jre11\\bin\\jre.exe");  // 1.1.8.0
    const FakeJava jrew(scratch, L"jrew", L"jrew.exe", L"jre11\\bin\\jrew.exe");
    const FakeJava jview(scratch, L"jview", L"jview.exe", L"Windows\\jview.exe");
    const FakeJava plain(scratch, L"noversion", L"java.exe", L"plain\\bin\\java.exe");
    scratch.Folder(L"plain\\bin\\server");
    // The same installation as the first PATH folder, registered as a runtime.
    Register(keys.runtime, L"1.8.0_2010", L"0", scratch / L"jdk8");

    const std::vector<std::wstring> path{scratch / L"jdk8\\bin", scratch / L"ibm\\bin",
                                         scratch / L"j2re14", scratch / L"jre11\\bin",
                                         scratch / L"Windows", scratch / L"plain\\bin"};
    const std::string registered = Entry("Modern", scratch / L"jdk8", L"8.0_2010", VmKind::JRE, L"Sun");
    // javaw.exe beside java.exe and jrew.exe beside jre.exe are the same installations again.
    const std::vector<std::string> found{
        Entry("Modern", scratch / L"jdk8", L"8.0_2010", VmKind::JDK, L"Sun"),
        Entry("Modern", scratch / L"ibm", L"6.0_20", VmKind::JRE, L"IBM"),
        Entry("Modern", scratch / L"j2re14", L"4.2_19", VmKind::JRE, L"Sun"),
        Entry("Old", scratch / L"jre11", L"1.8_0", VmKind::JRE, L"Sun"),
        Entry("Microsoft", scratch / L"Windows", L"1.4_0", VmKind::MSJ, L"Microsoft"),
        Entry("Modern", scratch / L"plain", L"4.0_0", VmKind::JRE, L"Sun"),
    };

    testing::internal::CaptureStdout();
    const std::vector<std::string> pathFirst = Describe(VmInventory::Build(0, L"0", path, FakeWow64(false)));
    const std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_EQ(pathFirst, found);
    EXPECT_NE(printed.find("company: IBM Corporation\n"), std::string::npos) << printed;
    EXPECT_NE(printed.find("company: Oracle Corporation\n"), std::string::npos) << printed;

    // Registry first: the registered runtime stays and the PATH copy of it is dropped.
    std::vector<std::string> registryFirst{registered};
    registryFirst.insert(registryFirst.end(), found.begin() + 1, found.end());
    EXPECT_EQ(Describe(VmInventory::Build(0, L"", path, FakeWow64(false))), registryFirst);
}

TEST(VmInventory, ALinkOnPathIsListedUnderItsTarget) {
    JavaKeys keys;
    ScratchFolder scratch;
    const FakeJava jdk8(scratch, L"java", L"java.exe", L"jdk8\\bin\\java.exe");
    const std::wstring link = scratch.Folder(L"links") + L"\\java.exe";
    // Wine 8 answers CreateSymbolicLinkW with success and creates nothing; the test then has
    // nothing to look at.
    const bool created = ::CreateSymbolicLinkW(link.c_str(), jdk8.path().c_str(), 0);
    const DWORD attributes = ::GetFileAttributesW(link.c_str());
    if (!created || attributes == INVALID_FILE_ATTRIBUTES)
        GTEST_SKIP() << "no symbolic links here";
    ASSERT_NE(attributes & FILE_ATTRIBUTE_REPARSE_POINT, 0u);
    EXPECT_EQ(Describe(VmInventory::Build(0, L"", {scratch / L"links"}, FakeWow64(false))),
              (std::vector<std::string>{
                  Entry("Modern", scratch / L"jdk8", L"8.0_2010", VmKind::JRE, L"Sun")}));
}

TEST(VmInventory, Wow64AddsTheSystemFolderAndMarks64BitExecutables) {
    JavaKeys keys;
    Register(keys.runtime, L"1.8", L"0", L"C:\\jre8");
    ScratchFolder scratch;
    scratch.Copy(ThisExecutable(), L"x64\\java.exe");  // a 64-bit image on win64
    scratch.File(L"syswow\\java.exe");
    const bool own64 = sizeof(void*) == 8;
    const std::vector<std::wstring> path{scratch / L"x64"};

    // The second registry pass reads the same keys in the 64-bit view; here that is the same
    // view, so its entries are duplicates of the first pass and dropped.
    EXPECT_EQ(Describe(VmInventory::Build(1, L"", path, FakeWow64(true, scratch / L"syswow"))),
              (std::vector<std::string>{
                  Entry("Modern", L"C:\\jre8", L"8.0_0", VmKind::JRE, L"Sun"),
                  Entry("Old", scratch / L"x64", L"0.0_0", VmKind::JRE, L"Sun", own64 ? 1 : 0),
                  Entry("Old", scratch / L"syswow", L"0.0_0", VmKind::JRE, L"Sun"),
              }));
    EXPECT_EQ(Describe(VmInventory::Build(1, L"", path, FakeWow64(false, scratch / L"syswow"))),
              (std::vector<std::string>{
                  Entry("Modern", L"C:\\jre8", L"8.0_0", VmKind::JRE, L"Sun"),
                  Entry("Old", scratch / L"x64", L"0.0_0", VmKind::JRE, L"Sun"),
              }));
}

TEST(VmInventory, ASystemFolderCopyWithoutItsRegistryKeyIsListedWithVersionZero) {
    JavaKeys keys;
    ScratchFolder scratch;
    scratch.File(L"Windows\\System32\\java.exe");
    EXPECT_EQ(Describe(VmInventory::Build(1, L"", {scratch / L"Windows\\System32"}, FakeWow64(false))),
              (std::vector<std::string>{
                  Entry("Old", scratch / L"Windows\\System32", L"0.0_0", VmKind::JRE, L"Sun")}));
    keys.runtime.SetString(L"", L"CurrentVersion", L"1.8");
    keys.runtime.SetString(L"1.8", L"MicroVersion", L"0");
    keys.runtime.SetString(L"1.8", L"JavaHome", L"C:\\jre8");
    EXPECT_EQ(Describe(VmInventory::Build(1, L"0", {scratch / L"Windows\\System32"}, FakeWow64(false))),
              (std::vector<std::string>{
                  Entry("Modern", scratch / L"Windows\\System32", L"8.0_0", VmKind::JRE, L"Sun"),
                  Entry("Modern", L"C:\\jre8", L"8.0_0", VmKind::JRE, L"Sun")}));
}

TEST(VmInventory, ResolvesTheTargetOfAMappedFile) {
    ScratchFolder scratch;
    const std::wstring file = scratch.File(L"bin\\java.exe", "MZ");
    const std::optional<std::wstring> resolved = ResolveLink(file);
    ASSERT_TRUE(resolved.has_value());
    EXPECT_EQ(FilePath(*resolved).fullPath(true), FilePath(file).fullPath(true)) << Narrow(*resolved);
    // An empty file cannot be mapped (and says so on standard output).
    EXPECT_FALSE(ResolveLink(scratch.File(L"bin\\empty.exe", "")).has_value());
    EXPECT_FALSE(ResolveLink(scratch / L"missing.exe").has_value());
}

TEST(VmInventory, TheProcessWideInventoryKeepsItsFirstArguments) {
    const VmInventory& first = VmInventory::Get(0, L"");
    const VmInventory& second = VmInventory::Get(1, L"0");
    EXPECT_EQ(&first, &second);
    EXPECT_FALSE(second.platformRestricted());
}

}  // namespace
