#pragma once
// Test fixtures for the Windows side: registry keys written for one test and removed after it,
// and a fresh scratch folder per test. Used by the unit tests only.
#include "JsonText.h"
#include "ScopedHandle.h"
#include "Wow64Queries.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace testing_support {

// A registry key below HKEY_LOCAL_MACHINE that the test writes; removed with everything below
// it when the object goes (and when it already exists at the start, so a test that was killed
// half way does not disturb the next run).
class TestRegistryTree {
public:
    explicit TestRegistryTree(std::wstring path, REGSAM view = 0)
        : path_(std::move(path)), view_(view) {
        RemoveTree();
    }
    ~TestRegistryTree() { RemoveTree(); }
    TestRegistryTree(const TestRegistryTree&) = delete;
    TestRegistryTree& operator=(const TestRegistryTree&) = delete;

    const std::wstring& path() const { return path_; }

    // Creates path\subkey (subkey may be empty or hold backslashes) and sets a string value
    // when a name is given.
    void SetString(const std::wstring& subkey, const std::wstring& name, const std::wstring& value,
                   DWORD type = REG_SZ) const {
        corvane::RegistryKeyHandle key = Create(subkey);
        const auto bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
        ASSERT_EQ(::RegSetValueExW(key.get(), name.c_str(), 0, type,
                                   reinterpret_cast<const BYTE*>(value.c_str()), bytes),
                  ERROR_SUCCESS);
    }
    // Sets raw bytes, for values that are not strings or have no final NUL.
    void SetBytes(const std::wstring& subkey, const std::wstring& name, DWORD type,
                  const std::vector<BYTE>& bytes) const {
        corvane::RegistryKeyHandle key = Create(subkey);
        ASSERT_EQ(::RegSetValueExW(key.get(), name.c_str(), 0, type, bytes.data(),
                                   static_cast<DWORD>(bytes.size())),
                  ERROR_SUCCESS);
    }
    void CreateKey(const std::wstring& subkey) const { Create(subkey); }

private:
    corvane::RegistryKeyHandle Create(const std::wstring& subkey) const {
        const std::wstring full = subkey.empty() ? path_ : path_ + L"\\" + subkey;
        corvane::RegistryKeyHandle key;
        const LSTATUS status =
            ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, full.c_str(), 0, nullptr, 0,
                              KEY_ALL_ACCESS | view_, nullptr, key.Receive(), nullptr);
        EXPECT_EQ(status, ERROR_SUCCESS) << "cannot create the test key";
        return key;
    }
    void RemoveTree() const {
        corvane::RegistryKeyHandle key;
        if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, path_.c_str(), 0, KEY_ALL_ACCESS | view_,
                            key.Receive()) != ERROR_SUCCESS)
            return;
        ::RegDeleteTreeW(key.get(), nullptr);
        key.Reset();
        ::RegDeleteKeyExW(HKEY_LOCAL_MACHINE, path_.c_str(), view_, 0);
    }

    std::wstring path_;
    REGSAM view_;
};

// The six Java keys of the scan, emptied for the test and removed after it.
struct JavaKeys {
    TestRegistryTree jdk{L"SOFTWARE\\JavaSoft\\JDK"};
    TestRegistryTree jre{L"SOFTWARE\\JavaSoft\\JRE"};
    TestRegistryTree developmentKit{L"SOFTWARE\\JavaSoft\\Java Development Kit"};
    TestRegistryTree runtime{L"SOFTWARE\\JavaSoft\\Java Runtime Environment"};
    TestRegistryTree ibmRuntime{L"SOFTWARE\\IBM\\Java2 Runtime Environment"};
    TestRegistryTree ibmDevelopmentKit{L"SOFTWARE\\IBM\\Java Development Kit"};
};

inline void Register(const TestRegistryTree& key, const std::wstring& version, const wchar_t* micro,
              const std::wstring& home) {
    key.CreateKey(version);
    if (micro) key.SetString(version, L"MicroVersion", micro);
    if (!home.empty()) key.SetString(version, L"JavaHome", home);
}

// A fresh empty folder below the temporary folder, removed with its content afterwards.
class ScratchFolder {
public:
    ScratchFolder() {
        wchar_t temp[MAX_PATH] = {};
        ::GetTempPathW(MAX_PATH, temp);
        for (unsigned n = ::GetTickCount() ^ ::GetCurrentProcessId();; ++n) {
            path_ = std::wstring(temp) + L"jvmtest" + std::to_wstring(n);
            if (::CreateDirectoryW(path_.c_str(), nullptr)) break;
            if (::GetLastError() != ERROR_ALREADY_EXISTS) {
                ADD_FAILURE() << "cannot create a scratch folder";
                break;
            }
        }
    }
    ~ScratchFolder() { RemoveAll(path_); }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::wstring& path() const { return path_; }
    std::wstring operator/(const std::wstring& relative) const { return path_ + L"\\" + relative; }

    // Makes the folders of the relative path.
    std::wstring Folder(const std::wstring& relative) const {
        std::wstring full = path_;
        size_t start = 0;
        while (start <= relative.size()) {
            const size_t end = std::min(relative.find(L'\\', start), relative.size());
            full += L"\\" + relative.substr(start, end - start);
            ::CreateDirectoryW(full.c_str(), nullptr);
            start = end + 1;
        }
        return full;
    }
    // Writes a file (making its folders) and returns its full path.
    std::wstring File(const std::wstring& relative, const std::string& content = "x") const {
        const size_t slash = relative.rfind(L'\\');
        if (slash != std::wstring::npos) Folder(relative.substr(0, slash));
        const std::wstring full = *this / relative;
        corvane::KernelHandle file(::CreateFileW(full.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD written = 0;
        EXPECT_TRUE(file.valid()) << "cannot write a fixture file";
        ::WriteFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &written,
                    nullptr);
        return full;
    }
    // Copies a file (making the target's folders) and returns the target's full path.
    std::wstring Copy(const std::wstring& source, const std::wstring& relative) const {
        const size_t slash = relative.rfind(L'\\');
        if (slash != std::wstring::npos) Folder(relative.substr(0, slash));
        const std::wstring full = *this / relative;
        EXPECT_TRUE(::CopyFileW(source.c_str(), full.c_str(), FALSE)) << "cannot copy a fixture";
        return full;
    }

private:
    static void RemoveAll(const std::wstring& folder) {
        WIN32_FIND_DATAW found{};
        corvane::FindHandle find(::FindFirstFileW((folder + L"\\*").c_str(), &found));
        if (find) {
            do {
                const std::wstring name = found.cFileName;
                if (name == L"." || name == L"..") continue;
                const std::wstring full = folder + L"\\" + name;
                if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveAll(full);
                else ::DeleteFileW(full.c_str());
            } while (::FindNextFileW(find.get(), &found));
        }
        find.Reset();
        ::RemoveDirectoryW(folder.c_str());
    }

    std::wstring path_;
};

// Chosen WOW64 answers, for the branches Wine64 never takes (no process is WOW64 there).
class FakeWow64 final : public Wow64Queries {
public:
    FakeWow64(bool wow64, std::wstring systemWow64 = L"")
        : wow64_(wow64), systemWow64_(std::move(systemWow64)) {}
    bool RunningUnderWow64() const override { return wow64_; }
    std::wstring SystemWow64Directory() const override { return systemWow64_; }

private:
    bool wow64_;
    std::wstring systemWow64_;
};

// The build of fakejava, the Java stand-in, for one variant (a folder below tests/fakejava of the
// build tree: java, javaw, java11, java14, ibm, jre, jrew, jview, noversion) and its file name.
inline std::wstring FakeJavaBuild(const std::wstring& variant, const std::wstring& exe) {
    std::wstring folder = L"Z:";
    for (const char* c = CORVANE_FAKEJAVA_DIR; *c != '\0'; ++c)
        folder += *c == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(*c));
    return folder + L"\\" + variant + L"\\" + exe;
}

// A copy of fakejava placed in a scratch folder, with its configuration (fakejava.cfg) and its
// record (fakejava.record) beside it.
class FakeJava {
public:
    // Copies the variant's executable to `relative` below the scratch folder and writes the
    // configuration lines ("key=value") beside it.
    FakeJava(const ScratchFolder& scratch, const std::wstring& variant, const std::wstring& exe,
             const std::wstring& relative, const std::string& config = "")
        : path_(scratch.Copy(FakeJavaBuild(variant, exe), relative)) {
        const std::wstring folder = path_.substr(0, path_.rfind(L'\\'));
        const std::wstring relativeFolder = relative.substr(0, relative.rfind(L'\\') + 1);
        record_ = folder + L"\\fakejava.record";
        scratch.File(relativeFolder + L"fakejava.cfg", config);
    }

    const std::wstring& path() const { return path_; }
    std::wstring folder() const { return path_.substr(0, path_.rfind(L'\\')); }

    // What the runs so far recorded: one JSON object per line, in UTF-8; empty without a run.
    std::string Record() const {
        corvane::KernelHandle file(::CreateFileW(record_.c_str(), GENERIC_READ, FILE_SHARE_READ,
                                                 nullptr, OPEN_EXISTING, 0, nullptr));
        if (!file.valid()) return {};
        std::string bytes;
        char block[4096];
        DWORD read = 0;
        while (::ReadFile(file.get(), block, sizeof block, &read, nullptr) && read > 0)
            bytes.append(block, read);
        return bytes;
    }

private:
    std::wstring path_;
    std::wstring record_;
};

// The path of the running test program.
inline std::wstring ThisExecutable() {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    return path;
}

// Wide text for gtest messages.
inline std::string Narrow(const std::wstring& text) { return ::testing::PrintToString(text); }

}  // namespace testing_support
