#include "PrivateDirectory.h"

#include "ScopedHandle.h"
#include "win32.h"

#include <aclapi.h>
#include <sddl.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

namespace fs = std::filesystem;

namespace {

std::wstring SidText(PSID sid) {
    wchar_t* text = nullptr;
    if (!ConvertSidToStringSidW(sid, &text)) return L"?";
    corvane::LocalMemory owned(text);
    return text;
}

struct AccessList {
    bool isProtected = false;
    std::set<std::wstring> sids;  // of the allowed entries
    DWORD count = 0;
    bool everyEntryFullAndInherited = true;
};

AccessList Inspect(PSECURITY_DESCRIPTOR descriptor) {
    AccessList list;
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    GetSecurityDescriptorControl(descriptor, &control, &revision);
    list.isProtected = (control & SE_DACL_PROTECTED) != 0;
    BOOL present = FALSE, defaulted = FALSE;
    PACL dacl = nullptr;
    if (!GetSecurityDescriptorDacl(descriptor, &present, &dacl, &defaulted) || !present || !dacl) return list;
    list.count = dacl->AceCount;
    for (DWORD i = 0; i < dacl->AceCount; ++i) {
        ACCESS_ALLOWED_ACE* ace = nullptr;
        if (!GetAce(dacl, i, reinterpret_cast<void**>(&ace))) continue;
        if (ace->Header.AceType != ACCESS_ALLOWED_ACE_TYPE) continue;
        list.sids.insert(SidText(&ace->SidStart));
        const BYTE inherit = OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE;
        if ((ace->Header.AceFlags & inherit) != inherit || (ace->Mask & FILE_ALL_ACCESS) != FILE_ALL_ACCESS) {
            list.everyEntryFullAndInherited = false;
        }
    }
    return list;
}

std::wstring CurrentUser() {
    const std::wstring sddl = PrivateDirectorySddl();
    const size_t at = sddl.find(L";;;") + 3;
    return sddl.substr(at, sddl.find(L')', at) - at);
}

}  // namespace

TEST(CreatePrivateDirectory, DescriptorIsProtectedWithThreeEntries) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(
        PrivateDirectorySddl().c_str(), SDDL_REVISION_1, &descriptor, nullptr));
    corvane::LocalMemory owned(descriptor);
    const AccessList list = Inspect(descriptor);
    EXPECT_TRUE(list.isProtected);
    EXPECT_EQ(list.count, 3u);
    EXPECT_TRUE(list.everyEntryFullAndInherited);
    EXPECT_EQ(list.sids, (std::set<std::wstring>{CurrentUser(), L"S-1-5-18", L"S-1-5-32-544"}));
}

// Read back from the directory itself. Where the file system keeps Windows descriptors the list
// is exactly the one given; Wine without stored descriptors reports one derived from the Unix
// permissions, which then must still deny everybody else.
TEST(CreatePrivateDirectory, DirectoryReadsBackPrivate) {
    const fs::path dir = fs::temp_directory_path() / ("private" + std::to_string(GetTickCount64()));
    ASSERT_TRUE(CreatePrivateDirectory(dir.wstring())) << "Windows error " << GetLastError();
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ASSERT_EQ(GetNamedSecurityInfoW(dir.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                                    nullptr, nullptr, nullptr, &descriptor),
              static_cast<DWORD>(ERROR_SUCCESS));
    corvane::LocalMemory owned(descriptor);
    const AccessList list = Inspect(descriptor);
    if (list.isProtected) {
        EXPECT_EQ(list.count, 3u);
        EXPECT_EQ(list.sids, (std::set<std::wstring>{CurrentUser(), L"S-1-5-18", L"S-1-5-32-544"}));
    }
    for (const wchar_t* other : {L"S-1-1-0", L"S-1-5-32-545", L"S-1-5-11"}) {
        EXPECT_EQ(list.sids.count(other), 0u) << fs::path(other).string() << " may use the directory";
    }
    RemoveDirectoryW(dir.c_str());
}

TEST(CreatePrivateDirectory, ReportsAnExistingDirectory) {
    const fs::path dir = fs::temp_directory_path() / ("private-twice" + std::to_string(GetTickCount64()));
    ASSERT_TRUE(CreatePrivateDirectory(dir.wstring()));
    EXPECT_FALSE(CreatePrivateDirectory(dir.wstring()));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    RemoveDirectoryW(dir.c_str());
}
