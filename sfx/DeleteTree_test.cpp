#include "DeleteTree.h"

#include "win32.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

fs::path FreshDirectory(const char* name) {
    fs::path dir = fs::temp_directory_path() / (std::string(name) + std::to_string(GetTickCount64()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

void MakeFile(const fs::path& path, bool readOnly) {
    std::ofstream(path) << "data";
    if (readOnly) SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
}

}  // namespace

TEST(DeleteTree, RemovesATreeWithReadOnlyFiles) {
    const fs::path root = FreshDirectory("deltree");
    fs::create_directories(root / "a" / "b");
    MakeFile(root / "top.txt", false);
    MakeFile(root / "a" / "locked.txt", true);
    MakeFile(root / "a" / "b" / "deep.txt", true);
    SetFileAttributesW((root / "a" / "b").c_str(), FILE_ATTRIBUTE_READONLY);

    EXPECT_TRUE(DeleteTree(root.wstring(), true));
    EXPECT_FALSE(fs::exists(root));
}

TEST(DeleteTree, ReadOnlyFileStopsItWithoutClearing) {
    const fs::path root = FreshDirectory("deltree-ro");
    MakeFile(root / "locked.txt", true);
    MakeFile(root / "free.txt", false);

    EXPECT_FALSE(DeleteTree(root.wstring(), false));
    EXPECT_TRUE(fs::exists(root / "locked.txt"));
    EXPECT_FALSE(fs::exists(root / "free.txt"));  // the enumeration went on past the failure
    EXPECT_TRUE(DeleteTree(root.wstring(), true));
}

TEST(DeleteTree, MissingPathFailsAndRemovesNothing) {
    const fs::path root = FreshDirectory("deltree-missing");
    MakeFile(root / "keep.txt", false);
    EXPECT_FALSE(DeleteTree((root / "no such folder").wstring(), true));
    EXPECT_TRUE(fs::exists(root / "keep.txt"));
    EXPECT_TRUE(DeleteTree(root.wstring(), true));
}

TEST(SetReadOnly, SetsAndClears) {
    const fs::path root = FreshDirectory("setro");
    MakeFile(root / "f.txt", false);
    const std::wstring f = (root / "f.txt").wstring();
    EXPECT_TRUE(SetReadOnly(f, true));
    EXPECT_TRUE(GetFileAttributesW(f.c_str()) & FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(SetReadOnly(f, false));
    EXPECT_FALSE(GetFileAttributesW(f.c_str()) & FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(SetReadOnly((root / "missing").wstring(), true));
    EXPECT_TRUE(DeleteTree(root.wstring(), true));
}
