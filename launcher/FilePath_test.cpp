#include "FilePath.h"

#include <gtest/gtest.h>

TEST(FilePath, Normalisation) {
    struct Case {
        const wchar_t* text;
        const wchar_t* normalised;
    } cases[] = {
        {L"C:\\a\\\\b\\\\\\\\c", L"C:\\a\\b\\c"},
        {L"\\\\server\\\\share\\x", L"\\\\server\\share\\x"},
        {L"\\\\\\\\server", L"\\\\\\server"},
        {L"C:/Program Files/Java", L"C:\\Program Files\\Java"},
        {L"//host/share", L"\\\\host\\share"},
        {L"plain", L"plain"},
        {L"", L""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FilePath(c.text).text(), c.normalised) << FilePath(c.text).text();
    }
}

TEST(FilePath, NameQueries) {
    struct Case {
        const wchar_t* text;
        bool hasExtension;
        const wchar_t* extension;
        const wchar_t* name;
        const wchar_t* parent;
        bool absolute;
    } cases[] = {
        {L"C:\\App\\Run.EXE", true, L"exe", L"Run.EXE", L"C:\\App", true},
        {L"C:\\my.app\\run", false, L"", L"run", L"C:\\my.app", true},
        {L"run.exe", true, L"exe", L"run.exe", L".", false},
        {L".profile", false, L"", L".profile", L".", false},
        {L"a.b.JAR", true, L"jar", L"a.b.JAR", L".", false},
        {L"\\tools\\x.tar.gz", true, L"gz", L"x.tar.gz", L"\\tools", true},
        {L"dir\\", false, L"", L"", L"dir", false},
        {L"D:", false, L"", L"D:", L".", true},
    };
    for (const Case& c : cases) {
        const FilePath path(c.text);
        SCOPED_TRACE(testing::Message() << "path " << path.text());
        EXPECT_EQ(path.hasExtension(), c.hasExtension);
        EXPECT_EQ(path.extension(), c.extension);
        EXPECT_EQ(path.name(), c.name);
        EXPECT_EQ(path.parent(), c.parent);
        EXPECT_EQ(path.isAbsolute(), c.absolute);
    }
    EXPECT_EQ(FilePath(L"C:\\Java\\BIN\\JView.EXE").name(true), L"jview.exe");
    EXPECT_EQ(FilePath(L"file").parent(L"none"), L"none");
}

TEST(FilePath, FullPathLeavesSlashTextsAlone) {
    EXPECT_EQ(fullPathText(L"/cp", false), L"/cp");
}
