#include "LauncherFiles.h"

#include "LauncherTestSupport.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

std::wstring forwardSlashes(std::wstring path) {
    for (wchar_t& c : path) {
        if (c == L'\\') c = L'/';
    }
    return path;
}

}  // namespace

TEST(LocateExecutable, TypedPathOrPathSearch) {
    ScratchFolder scratch;
    scratch.file(L"bin\\tool.exe");
    scratch.file(L"other\\tool.exe");
    scratch.file(L"my.app\\run.exe");
    scratch.folder(L"empty");
    const std::vector<std::wstring> path = {scratch / L"empty", scratch / L"bin", scratch / L"other"};
    CurrentDirectory inside(scratch.native());
    struct Case {
        std::wstring typed;
        std::vector<std::wstring> path;
        std::optional<std::wstring> found;
    } cases[] = {
        {scratch / L"bin\\tool.exe", {}, scratch / L"bin\\tool.exe"},
        {scratch / L"bin\\tool", {}, scratch / L"bin\\tool.exe"},
        {L"bin\\tool", {}, L"bin\\tool.exe"},  // relative, kept relative
        {L"tool", path, scratch / L"bin\\tool.exe"},  // ".exe" added, "empty" passed over
        {L"tool.exe", path, scratch / L"bin\\tool.exe"},
        {L"tool", {scratch / L"other", scratch / L"bin"}, scratch / L"other\\tool.exe"},
        {L"tool", {scratch / L"empty"}, std::nullopt},
        {L"tool.bat", path, std::nullopt},   // an extension of its own: ".exe" is not added
        {scratch / L"my.app\\run", {}, scratch / L"my.app\\run.exe"},  // the "." of a folder is no extension
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "typed " << testing::PrintToString(c.typed));
        EXPECT_EQ(locateExecutable(c.typed, c.path), c.found);
    }
}

TEST(LocatePropertyFile, ThreeCandidatesInOrder) {
    ScratchFolder scratch;
    const std::wstring work = scratch.folder(L"work");
    scratch.file(L"both\\app.vrx");
    scratch.file(L"both\\app.exe.vrx");
    scratch.file(L"appended\\app.exe.vrx");
    scratch.file(L"upper\\APP.vrx");
    scratch.folder(L"none");
    scratch.file(L"work\\app.vrx");
    scratch.file(L"a.b\\app.vrx");
    CurrentDirectory inside(scratch.native(L"none"));  // relative candidates find nothing here
    struct Case {
        const char* name;
        std::wstring executable;
        std::optional<std::wstring> found;
    } cases[] = {
        {"beside, .exe replaced", scratch / L"both\\app.exe", scratch / L"both\\app.vrx"},
        {"beside, .vrx appended", scratch / L"appended\\app.exe", scratch / L"appended\\app.exe.vrx"},
        {"extension in any case", scratch / L"upper\\APP.EXE", scratch / L"upper\\APP.vrx"},
        {"forward slashes", forwardSlashes(scratch / L"both\\app.exe"), scratch / L"both\\app.vrx"},
        // The current-directory candidate keeps the executable's backslash after the one
        // that joins it to the directory.
        {"current directory", scratch / L"none\\app.exe", work + L"\\\\app.vrx"},
        {"bare file name", L"app.exe", work + L"\\\\app.vrx"},
        {"no extension, dotted folder", scratch / L"none.d\\app", work + L"\\\\app.vrx"},
        {"no extension, .vrx appended", scratch / L"a.b\\app", scratch / L"a.b\\app.vrx"},
        {"nowhere", scratch / L"none\\other.exe", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(locatePropertyFile(c.executable, work), c.found);
    }
}
