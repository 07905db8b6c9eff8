#include "ALFile.h"
#include "ALPlatform.h"
#include "ALTestSupport.h"
#include "ALText.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

using namespace altest;
namespace fs = std::filesystem;

namespace {
std::string U8(const wchar_t* w) { return ALWideToUtf8(w); }
}

TEST(ALFile, BufferedReadingTellAndTypedValues) {
    ScratchFolder scratch;
    Bytes data = Pattern(10000, 3);
    const uint8_t head[] = {0x34, 0x12, 0x78, 0x56, 0x34, 0x12, 0x12, 0x34, 0x12, 0x34, 0x56, 0x78};
    std::copy(std::begin(head), std::end(head), data.begin());
    WriteFile("data.bin", data);
    ALFile f(L"data.bin");
    ASSERT_EQ(f.Open(), 0) << U8(f.mStatus.StatusText());
    EXPECT_EQ(f.GetSize(), 10000);
    uint16_t v16 = 0;
    uint32_t v32 = 0;
    f.ReadInt16LE(v16);
    EXPECT_EQ(v16, 0x1234);
    f.ReadInt32LE(v32);
    EXPECT_EQ(v32, 0x12345678u);
    f.ReadInt16BE(v16);
    EXPECT_EQ(v16, 0x1234);
    f.ReadInt32BE(v32);
    EXPECT_EQ(v32, 0x12345678u);
    EXPECT_EQ(f.Tell(), 12);
    f.Seek(5000);
    uint8_t ten[10];
    EXPECT_EQ(f.ReadBuffer(ten, 10), 10);
    EXPECT_EQ(f.Tell(), 5010);
    EXPECT_EQ(ten[0], data[5000]);
    f.Seek(9999);
    EXPECT_EQ(f.ReadChar(), data[9999]);
    EXPECT_EQ(f.ReadChar(), AL_END_OF_FILE);
    EXPECT_EQ(f.mStatus.GetStatusCode(), 0);  // the end of data is no error
    EXPECT_EQ(f.Close(), 0);
}

TEST(ALFile, WritingCrcAndStrings) {
    ScratchFolder scratch;
    const Bytes data = Random(20000, 1);
    {
        ALFile f(L"out.bin");
        ASSERT_EQ(f.Create(), 0) << U8(f.mStatus.StatusText());
        f.InitCrc(0xFFFFFFFFu);
        EXPECT_EQ(f.WriteBuffer(data.data(), 19999), 19999);
        EXPECT_EQ(f.WriteChar(data[19999]), data[19999]);
        EXPECT_EQ(f.GetCrc(), ~Crc32(data));
        f.WriteInt16BE(5);
        f.WriteBuffer(reinterpret_cast<const uint8_t*>("hello"), 5);
        ASSERT_EQ(f.Close(), 0);
        EXPECT_EQ(f.GetSize(), 20007);
    }
    ALFile f(L"out.bin");
    ASSERT_EQ(f.Open(), 0);
    f.Seek(20000);
    ALStorageName s;
    EXPECT_EQ(f.ReadString(s, -1), 0);
    EXPECT_EQ(s.GetName(), L"hello");
    EXPECT_EQ(f.ReadString(s, -1), AL_READ_ERROR);
    EXPECT_EQ(U8(f.mStatus.StatusText()), "Error reading string lengthin ReadString() for object out.bin");
    EXPECT_EQ(f.ReadChar(), AL_READ_ERROR);  // a failed object refuses further work
    f.Close();
}

TEST(ALFile, CreateMakesFoldersClearsReadOnlyAndStamps) {
    ScratchFolder scratch;
    {
        ALFile f(L"Windows/jvmspecs/Verify.jar");
        ASSERT_EQ(f.Create(), 0) << U8(f.mStatus.StatusText());
        f.WriteBuffer(reinterpret_cast<const uint8_t*>("jar"), 3);
        f.mTimeDate = ALTimeStamp{2025, 9, 15, 11, 16, 22};
        f.mAttributes = AL_ATTRIBUTE_READ_ONLY;
        ASSERT_EQ(f.Close(), 0) << U8(f.mStatus.StatusText());
    }
    EXPECT_EQ(ReadText("Windows/jvmspecs/Verify.jar"), "jar");
    EXPECT_EQ(alsys::GetAttributes(L"Windows/jvmspecs/Verify.jar") & alsys::kReadOnly, alsys::kReadOnly);
    {
        ALFile f(L"Windows/jvmspecs/Verify.jar");
        ASSERT_EQ(f.Open(), 0);
        EXPECT_EQ(f.mTimeDate, (ALTimeStamp{2025, 9, 15, 11, 16, 22}));
        EXPECT_EQ(f.mAttributes & AL_ATTRIBUTE_READ_ONLY, AL_ATTRIBUTE_READ_ONLY);
        f.Close();
    }
    {
        ALFile f(L"Windows/jvmspecs/Verify.jar");  // read-only, overwritten; no stamp: time as written
        ASSERT_EQ(f.Create(), 0) << U8(f.mStatus.StatusText());
        f.WriteChar('x');
        ASSERT_EQ(f.Close(), 0);
    }
    EXPECT_EQ(ReadText("Windows/jvmspecs/Verify.jar"), "x");
    {
        ALFile folder(L"a/b/");
        folder.mAttributes = AL_ATTRIBUTE_DIRECTORY;
        EXPECT_EQ(folder.Create(), 0) << U8(folder.mStatus.StatusText());
        EXPECT_EQ(folder.Close(), 0);
    }
    EXPECT_TRUE(fs::is_directory("a/b"));
    fs::permissions("Windows/jvmspecs/Verify.jar", fs::perms::owner_write, fs::perm_options::add);
}

TEST(ALFile, ErrorTexts) {
    ScratchFolder scratch;
    fs::create_directories("folder");
    struct Case {
        const char* what;
        std::function<int32_t(ALFile&)> action;
        const wchar_t* name;
        int32_t code;
        std::string text;
    } cases[] = {
        {"open missing", [](ALFile& f) { return f.Open(); }, L"missing.txt", AL_CANT_OPEN_FILE,
         "File open failure.  Open of missing.txt returned errno = " + std::to_string(ENOENT)},
        {"create on a folder", [](ALFile& f) { return f.Create(); }, L"folder", AL_CANT_OPEN_FILE,
         "File creation failure.  Open of folder returned errno = "},
        {"delete missing", [](ALFile& f) { return f.Delete(); }, L"missing.txt", AL_DELETE_ERROR,
         "Error deleting file missing.txt, errno = " + std::to_string(ENOENT)},
        {"rename missing", [](ALFile& f) { return f.Rename(L"other.txt"); }, L"missing.txt", AL_RENAME_ERROR,
         "Error renaming missing.txt to other.txt.  errno = " + std::to_string(ENOENT)},
        {"rename to itself", [](ALFile& f) { return f.Rename(L"SAME.txt"); }, L"same.txt", AL_RENAME_ERROR,
         "Error attempting to rename SAME.txt to same.txt.  Can't rename to the same name!"},
        {"target cannot be removed", [](ALFile& f) { return f.Rename(L"folder", true); }, L"present.txt",
         AL_RENAME_ERROR, "Error deleting folder before renaming present.txt.  errno = "},
        {"undo: previous cannot be removed",
         [](ALFile& f) {
             f.mName = L"present.txt";
             return f.UndoRename(true);
         },
         L"folder", AL_RENAME_ERROR, "Error deleting folder before renaming present.txt.  errno = "},
        {"seek before the start",
         [](ALFile& f) {
             f.Open();
             return f.Seek(-1);
         },
         L"present.txt", AL_SEEK_ERROR, "Seek failure on present.txt.  errno = " + std::to_string(EINVAL)},
#ifndef _WIN32
        // Failures that only POSIX systems produce on demand: a folder opened for reading, a
        // device that is always full.
        {"read a folder",
         [](ALFile& f) {
             f.Open();
             return f.ReadChar();
         },
         L"folder", AL_READ_ERROR, "Read failure on folder.  errno = " + std::to_string(EISDIR)},
        {"write to a full device",
         [](ALFile& f) {
             f.Create();
             const Bytes block(10000, 'x');
             f.WriteBuffer(block.data(), static_cast<int32_t>(block.size()));
             return f.Close();
         },
         L"/dev/full", AL_WRITE_ERROR, "Write failure on /dev/full.  result = "},
#endif
    };
    WriteFile("present.txt", std::string("data"));
    for (const Case& c : cases) {
        ALFile f(c.name);
        EXPECT_EQ(c.action(f), c.code) << c.what;
        EXPECT_EQ(U8(f.mStatus.StatusText()).rfind(c.text, 0), 0u) << c.what << ": " << U8(f.mStatus.StatusText());
    }
#ifndef _WIN32
    // A temporary file in a folder that has been removed: the error is not "name in use", so
    // the search stops at the first name.
    fs::create_directories("gone");
    const fs::path here = fs::current_path();
    fs::current_path("gone");
    fs::remove(here / "gone");
    ALFile temporary;
    EXPECT_EQ(temporary.Create(), AL_CANT_OPEN_FILE);
    EXPECT_EQ(U8(temporary.mStatus.StatusText()),
              "Temporary file creation failure.  Open of ~al~000.tmp returned errno = " + std::to_string(ENOENT));
    EXPECT_EQ(temporary.mName.GetName(), L"");
    fs::current_path(here);
#endif
}

TEST(ALFile, RenameBackupAndUndo) {
    ScratchFolder scratch;
    WriteFile("setup.exe", std::string("v1"));
    WriteFile("setup.bak", std::string("stale"));
    ALFile f(L"setup.exe");
    ASSERT_EQ(f.RenameToBackup(), 0) << U8(f.mStatus.StatusText());
    EXPECT_EQ(ReadText("setup.bak"), "v1");
    EXPECT_FALSE(fs::exists("setup.exe"));
    EXPECT_EQ(f.mName.GetName(), L"setup.bak");
    ASSERT_EQ(f.UndoRename(), 0) << U8(f.mStatus.StatusText());
    EXPECT_EQ(ReadText("setup.exe"), "v1");
    EXPECT_EQ(f.mName.GetName(), L"setup.exe");
    ASSERT_EQ(f.Rename(L"moved.exe"), 0) << U8(f.mStatus.StatusText());
    EXPECT_EQ(ReadText("moved.exe"), "v1");
    EXPECT_EQ(f.mName.GetOldName(), L"setup.exe");
    ASSERT_EQ(f.Delete(), 0);
    EXPECT_FALSE(fs::exists("moved.exe"));
}

TEST(ALFile, TemporaryNames) {
    ScratchFolder scratch;
    {
        ALFile first;
        ASSERT_EQ(first.Create(), 0) << U8(first.mStatus.StatusText());
        EXPECT_EQ(first.mName.GetName(), L"~al~000.tmp");
        first.Close();
        ALFile second;
        ASSERT_EQ(second.Create(), 0);
        EXPECT_EQ(second.mName.GetName(), L"~al~001.tmp");
        second.Close();
    }
    for (int i = 2; i < 1000; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "~al~%03d.tmp", i);
        WriteFile(name, std::string());
    }
    ALFile f;
    EXPECT_EQ(f.Create(), AL_CANT_OPEN_FILE);
    EXPECT_EQ(U8(f.mStatus.StatusText()),
              "Temporary file creation failure.  Tried 1000 times to open ~al~999.tmp (or a name something like that).");
    EXPECT_EQ(f.mName.GetName(), L"");
}

TEST(ALFile, Clone) {
    ALFile prototype(L"p", 100, AL_UPPER);
    auto clone = prototype.Clone(L"new.txt", AL_STORAGE_DEFAULT);
    ASSERT_TRUE(clone);
    EXPECT_EQ(clone->mName.GetName(), L"new.txt");
    EXPECT_EQ(clone->BufferSize(), 4096);
    EXPECT_EQ(clone->mName.CaseMode(), AL_MIXED_NOCASE);
    EXPECT_TRUE(prototype.Clone(L"x", AL_FILE_OBJECT));
    EXPECT_FALSE(prototype.Clone(L"x", 2));
}
