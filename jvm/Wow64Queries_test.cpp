#include "Wow64Queries.h"

#include "ExecutableFile.h"
#include "WindowsTestSupport.h"

#include <gtest/gtest.h>

namespace {

using testing_support::ScratchFolder;
using testing_support::ThisExecutable;

TEST(Wow64Queries, TheSystemAnswersMatchTheWordSize) {
    // A 64-bit program never runs under WOW64; the win32 build runs only on real Windows.
    if (sizeof(void*) == 8) {
        EXPECT_FALSE(SystemWow64Queries().RunningUnderWow64());
    }
    EXPECT_LT(SystemWow64Queries().SystemWow64Directory().size(), 260u);
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
