#include "Wow64.h"

#include "ExecutableFile.h"
#include "WindowsTestSupport.h"

#include <gtest/gtest.h>

namespace {

using testing_support::FakeWow64;
using testing_support::ScratchFolder;
using testing_support::ThisExecutable;

TEST(Wow64, TheSystemAnswersMatchTheWordSize) {
    // A 64-bit program never runs under WOW64; the win32 build runs only on real Windows.
    if (sizeof(void*) == 8) {
        EXPECT_FALSE(SystemWow64Queries().RunningUnderWow64());
    }
    const std::wstring folder = SystemWow64Queries().SystemWow64Directory();
    EXPECT_LT(folder.size(), 260u);
}

TEST(Wow64, RedirectionIsSwitchedOffOnlyUnderWow64) {
    const size_t before = SavedRedirectionStateCount();
    SwitchOffFileSystemRedirection(FakeWow64(false));
    EXPECT_EQ(SavedRedirectionStateCount(), before);
    SwitchOffFileSystemRedirection(SystemWow64Queries());
    if (!SystemWow64Queries().RunningUnderWow64()) {
        EXPECT_EQ(SavedRedirectionStateCount(), before);
    }
    // Under a WOW64 answer the state saved by the system call is kept (when the call succeeds);
    // nothing is restored.
    SwitchOffFileSystemRedirection(FakeWow64(true));
    EXPECT_LE(SavedRedirectionStateCount(), before + 1);
}

TEST(ExecutableFile, ReadsTheBitnessOfFilesOnDisk) {
    ScratchFolder scratch;
    const ExecutableBitness own = sizeof(void*) == 8 ? ExecutableBitness::X64 : ExecutableBitness::X86;
    EXPECT_EQ(BitnessOfFile(ThisExecutable()), own);
    EXPECT_EQ(BitnessOfFile(scratch.File(L"empty.exe", "")), ExecutableBitness::Unknown);
    EXPECT_EQ(BitnessOfFile(scratch.File(L"text.exe", "MZ but nothing else")),
              ExecutableBitness::Unknown);
    EXPECT_EQ(BitnessOfFile(scratch / L"missing.exe"), ExecutableBitness::Unknown);
    EXPECT_EQ(BitnessOfFile(scratch.path()), ExecutableBitness::Unknown);
}

}  // namespace
