#include "HeapOptions.h"

#include "PortableFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

namespace fs = std::filesystem;

namespace {

HeapSettings Initial(const wchar_t* value) {
    HeapSettings heap;
    heap.hasInitialHeap = true;
    heap.initialHeapValue = value;
    return heap;
}

HeapSettings Both(const wchar_t* initial, const wchar_t* max) {
    HeapSettings heap = Initial(initial);
    heap.hasMaxHeap = true;
    heap.maxHeapValue = max;
    return heap;
}

}  // namespace

TEST(RewriteHeapKeys, ReplacesExactKeysAndWritesCrLf) {
    const std::string ini = "vrx.nl.java.option.java.heap.size.initial";
    const std::string max = "vrx.nl.java.option.java.heap.size.max";
    struct Case {
        std::string in;
        HeapSettings heap;
        std::string out;
    } cases[] = {
        {ini + "=64m\n", Initial(L"256m"), ini + "=256m\r\n"},
        {ini + "=64m\r\n" + max + "=1g\r\n", Both(L"128m", L"2g"), ini + "=128m\r\n" + max + "=2g\r\n"},
        // only the options that were given are touched
        {ini + "=64m\n" + max + "=1g\n", Initial(L"256m"), ini + "=256m\r\n" + max + "=1g\r\n"},
        // LF files come back CR LF, with a line end after the last line
        {"a=1\nb=2", Initial(L"1m"), "a=1\r\nb=2\r\n"},
        // comments and empty lines are copied, even when they hold the key
        {"#" + ini + "=1\n\n", Initial(L"9m"), "#" + ini + "=1\r\n\r\n"},
        // blanks around "=" or in front of the key: not the key
        {ini + " = 64m\n", Initial(L"256m"), ini + " = 64m\r\n"},
        {" " + ini + "=64m\n", Initial(L"256m"), " " + ini + "=64m\r\n"},
        // case-sensitive; a longer key is another key
        {"VRX.nl.java.option.java.heap.size.initial=1\n", Initial(L"2"),
         "VRX.nl.java.option.java.heap.size.initial=1\r\n"},
        {ini + "x=1\n", Initial(L"2"), ini + "x=1\r\n"},
        // a line that is only the key, and a key that occurs twice
        {ini + "\n" + ini + "=3\n", Initial(L"5m"), ini + "=5m\r\n" + ini + "=5m\r\n"},
        // a missing key is not added
        {"other=1\n", Initial(L"256m"), "other=1\r\n"},
        // bytes above 127 pass unchanged; a lone CR inside a line stays
        {"name=\xE9t\xE9\na=b\rc\n", Initial(L"1"), "name=\xE9t\xE9\r\na=b\rc\r\n"},
        {"", Initial(L"1"), ""},
        // values beyond one byte are written as \u escapes
        {ini + "=1\n", Initial(L"2\u20ac"), ini + "=2\\u20AC\r\n"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RewriteHeapKeys(c.in, c.heap), c.out) << "input: " << c.in;
    }
}

TEST(StripHeapOptions, RemovesOptionsAndValues) {
    struct Case {
        const wchar_t* in;
        const wchar_t* out;
    } cases[] = {
        {L"setup.exe -jvmxms 256m -i silent", L"setup.exe -i silent "},
        {L"setup.exe -jvmxmx 1g", L"setup.exe "},
        {L"setup.exe -jvmxms -jvmxmx 1g", L"setup.exe 1g "},
        {L"setup.exe  -i   silent", L"setup.exe -i silent "},
        {L"setup.exe -i silent -jvmxms", L"setup.exe -i silent "},
        {L"\"C:\\My Files\\setup.exe\" -jvmxmx 512m -jvmxms 64m x",
         L"\"C:\\My Files\\setup.exe\" x "},
        {L"setup.exe -JVMXMS 1m", L"setup.exe -JVMXMS 1m "},
        {L"", L""},
    };
    for (const Case& c : cases) {
        std::wstring line = c.in;
        StripHeapOptions(line);
        EXPECT_EQ(line, c.out) << "input: " << ToUtf8(c.in);
    }
}

class ApplyHeapOptionsTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::random_device rd;
        dir_ = fs::temp_directory_path() / ("heapopts-" + std::to_string(rd()) + std::to_string(rd()));
        fs::create_directories(dir_);
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    void Write(const fs::path& relative, const std::string& bytes) {
        fs::create_directories((dir_ / relative).parent_path());
        std::ofstream(dir_ / relative, std::ios::binary) << bytes;
    }
    std::string Read(const fs::path& relative) {
        std::ifstream in(dir_ / relative, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    // The working directory in the stub's form: ending in a backslash.
    std::wstring WorkingDirectory() const { return dir_.wstring() + L"\\"; }

    fs::path dir_;
};

TEST_F(ApplyHeapOptionsTest, RewritesTheVrxOfTheWindowsFolder) {
    Write("Windows/setup.vrx", "vrx.nl.java.option.java.heap.size.initial=64m\n");
    Write("Windows_Pure_64_Bit/setup.vrx", "vrx.nl.java.option.java.heap.size.initial=64m\n");
    ApplyHeapOptions(WorkingDirectory(), Initial(L"256m"));
    EXPECT_EQ(Read("Windows/setup.vrx"), "vrx.nl.java.option.java.heap.size.initial=256m\r\n");
    EXPECT_EQ(Read("Windows_Pure_64_Bit/setup.vrx"), "vrx.nl.java.option.java.heap.size.initial=64m\n");
}

TEST_F(ApplyHeapOptionsTest, UsesThe64BitFolderWhenThereIsNoWindowsFolder) {
    Write("Windows_Pure_64_Bit/app.vrx", "vrx.nl.java.option.java.heap.size.max=1g\n");
    ApplyHeapOptions(WorkingDirectory(), Both(L"1m", L"3g"));
    EXPECT_EQ(Read("Windows_Pure_64_Bit/app.vrx"), "vrx.nl.java.option.java.heap.size.max=3g\r\n");
}

TEST_F(ApplyHeapOptionsTest, NoVrxFileIsReportedOnStandardOutput) {
    Write("Windows/setup.exe", "MZ");
    testing::internal::CaptureStdout();
    ApplyHeapOptions(WorkingDirectory(), Initial(L"256m"));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Unable to locate the vrx file\n");
    EXPECT_EQ(Read("Windows/setup.exe"), "MZ");
}
