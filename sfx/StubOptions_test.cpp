#include "StubOptions.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

namespace fs = std::filesystem;

namespace {

// A fresh folder holding an "install.exe" path and whatever properties files a case writes.
class InstallerFolder {
public:
    InstallerFolder() {
        std::random_device rd;
        dir_ = fs::temp_directory_path() / ("stubopts-" + std::to_string(rd()) + std::to_string(rd()));
        fs::create_directories(dir_);
    }
    ~InstallerFolder() {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    void Write(const std::string& name, const std::string& bytes) const {
        std::ofstream(dir_ / name, std::ios::binary) << bytes;
    }
    std::wstring Module() const { return (dir_ / "install.exe").wstring(); }
    std::wstring PathOf(const std::string& name) const { return (dir_ / name).wstring(); }

private:
    fs::path dir_;
};

}  // namespace

TEST(TokenizeStubCommandLine, SplitsAtBlanksOutsideQuotes) {
    struct Case {
        const wchar_t* line;
        std::vector<std::wstring> tokens;
    } cases[] = {
        {L"", {}},
        {L"   ", {}},
        {L"-i silent", {L"-i", L"silent"}},
        {L"  -i   console  ", {L"-i", L"console"}},
        {L"ab\"c d\"", {L"abc d"}},
        {L"\"\"", {L""}},
        {L"a \"\" b", {L"a", L"", L"b"}},
        {L"-f \"C:\\My Files\\x.properties\"", {L"-f", L"C:\\My Files\\x.properties"}},
        {L"a\tb c", {L"a\tb", L"c"}},
        {L"\"open quote", {L"open quote"}},
        {L"x\"y\"z", {L"xy", L"z"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TokenizeStubCommandLine(c.line), c.tokens) << c.line;
    }
}

TEST(StubOptions, CommandLineOptions) {
    InstallerFolder folder;  // no properties file at all
    struct Case {
        const wchar_t* line;
        RunMode mode;
        bool hasXms;
        const wchar_t* xms;
        bool hasXmx;
        const wchar_t* xmx;
    } cases[] = {
        {L"", GuiMode, false, L"", false, L""},
        {L"-i silent", SilentMode, false, L"", false, L""},
        {L"-i console", ConsoleMode, false, L"", false, L""},
        {L"-I silent", GuiMode, false, L"", false, L""},
        {L"-i SILENT", GuiMode, false, L"", false, L""},
        {L"-i", GuiMode, false, L"", false, L""},
        {L"-i silent -i console", ConsoleMode, false, L"", false, L""},
        {L"-i -i silent", SilentMode, false, L"", false, L""},
        {L"-i -jvmxms 64m", GuiMode, true, L"64m", false, L""},
        {L"-jvmxms 256m -jvmxmx 1g", GuiMode, true, L"256m", true, L"1g"},
        {L"-jvmxms 256m -jvmxms 512m", GuiMode, true, L"512m", false, L""},
        {L"-jvmxms", GuiMode, false, L"", false, L""},
        {L"-jvmxmx 2g -jvmxms", GuiMode, false, L"", true, L"2g"},
        {L"-jvmxms junk!", GuiMode, true, L"junk!", false, L""},
        {L"other -i silent words", SilentMode, false, L"", false, L""},
    };
    for (const Case& c : cases) {
        const StubOptions o = StubOptions::Build(c.line, folder.Module());
        EXPECT_EQ(o.mode, c.mode) << c.line;
        EXPECT_EQ(o.hasInitialHeap, c.hasXms) << c.line;
        EXPECT_EQ(o.initialHeapValue, c.xms) << c.line;
        EXPECT_EQ(o.hasMaxHeap, c.hasXmx) << c.line;
        EXPECT_EQ(o.maxHeapValue, c.xmx) << c.line;
    }
}

TEST(StubOptions, DefaultInputFile) {
    InstallerFolder folder;
    EXPECT_EQ(StubOptions::Build(L"", folder.Module()).inputFile, folder.PathOf("install.properties"));
    folder.Write("installer.properties", "");
    EXPECT_EQ(StubOptions::Build(L"", folder.Module()).inputFile, folder.PathOf("installer.properties"));
    EXPECT_EQ(StubOptions::Build(L"-f \"some where.properties\"", folder.Module()).inputFile,
              L"some where.properties");
    EXPECT_EQ(StubOptions::Build(L"-f", folder.Module()).inputFile, folder.PathOf("installer.properties"));
}

TEST(StubOptions, PropertiesFileDecidesTheMode) {
    struct Case {
        const char* file;    // installer.properties, or nullptr for none
        const char* other;   // install.properties, or nullptr
        const wchar_t* line;
        RunMode mode;
    } cases[] = {
        {"INSTALLER_UI=silent\n", nullptr, L"", SilentMode},
        {"INSTALLER_UI=console\r\n", nullptr, L"", ConsoleMode},
        {"INSTALLER_UI=Swing\n", nullptr, L"-i console", GuiMode},
        {"INSTALLER_UI=console\n", nullptr, L"-i silent", SilentMode},
        {"  INSTALLER_UI=console\n", nullptr, L"", GuiMode},
        {"INSTALLER_UI_X=console\n", nullptr, L"", ConsoleMode},
        {"installer_ui=console\nINSTALLER_UI=silent\n", nullptr, L"", ConsoleMode},
        {"# comment\nUSER_INSTALL_DIR=x\nInstaller_UI=SILENT", nullptr, L"", SilentMode},
        {"INSTALLER_UI\n", nullptr, L"-i console", GuiMode},
        {"nothing here\n", nullptr, L"-i console", ConsoleMode},
        {nullptr, "INSTALLER_UI=silent\n", L"", SilentMode},
        {"", "INSTALLER_UI=silent\n", L"", GuiMode},
    };
    for (const Case& c : cases) {
        InstallerFolder folder;
        if (c.file) folder.Write("installer.properties", c.file);
        if (c.other) folder.Write("install.properties", c.other);
        EXPECT_EQ(StubOptions::Build(c.line, folder.Module()).mode, c.mode)
            << (c.file ? c.file : "(none)") << " / " << (c.other ? c.other : "(none)");
    }
}

TEST(StubOptions, NamedPropertiesFileIsRead) {
    InstallerFolder folder;
    folder.Write("my ui.properties", "INSTALLER_UI=console\n");
    const std::wstring line = L"-f \"" + folder.PathOf("my ui.properties") + L"\"";
    EXPECT_EQ(StubOptions::Build(line, folder.Module()).mode, ConsoleMode);
    EXPECT_EQ(StubOptions::Build(L"-f missing.properties", folder.Module()).mode, GuiMode);
}
