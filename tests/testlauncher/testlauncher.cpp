// Stands in for the launcher an installer's payload carries. It records what the stub handed it
// and exits with the code the test chose:
//
//   TESTLAUNCHER_RECORD  path of a JSON file to write (nothing is written when unset)
//   TESTLAUNCHER_EXIT    exit code, decimal or 0x-hexadecimal (default 0)
//
// The record holds the full command line, the module path, the working directory, the bytes of
// sea_loc found there (in hexadecimal; null when there is none) and the working directory's
// access list as a security descriptor string (DACL part only).
#include "JsonText.h"
#include "ScopedHandle.h"

#include <sddl.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

std::wstring Environment(const wchar_t* name) {
    wchar_t buffer[32768];
    const DWORD n = GetEnvironmentVariableW(name, buffer, 32768);
    return (n == 0 || n >= 32768) ? std::wstring() : std::wstring(buffer, n);
}

std::string SeaLocHex(const std::wstring& directory) {
    corvane::KernelHandle file(CreateFileW((directory + L"\\sea_loc").c_str(), GENERIC_READ,
                                           FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file) return "null";
    std::string hex = "\"";
    unsigned char buffer[4096];
    DWORD n = 0;
    while (ReadFile(file.get(), buffer, sizeof buffer, &n, nullptr) && n > 0) {
        for (DWORD i = 0; i < n; ++i) {
            char two[3];
            std::snprintf(two, sizeof two, "%02x", buffer[i]);
            hex += two;
        }
    }
    return hex + "\"";
}

std::wstring DirectoryDacl(const std::wstring& directory) {
    DWORD size = 0;
    GetFileSecurityW(directory.c_str(), DACL_SECURITY_INFORMATION, nullptr, 0, &size);
    if (size == 0) return L"";
    std::vector<unsigned char> descriptor(size);
    if (!GetFileSecurityW(directory.c_str(), DACL_SECURITY_INFORMATION, descriptor.data(), size, &size)) {
        return L"";
    }
    wchar_t* text = nullptr;
    if (!ConvertSecurityDescriptorToStringSecurityDescriptorW(descriptor.data(), SDDL_REVISION_1,
                                                              DACL_SECURITY_INFORMATION, &text, nullptr)) {
        return L"";
    }
    corvane::LocalMemory owned(text);
    return text;
}

}  // namespace

int wmain() {
    wchar_t cwd[32768] = {};
    GetCurrentDirectoryW(32768, cwd);
    wchar_t module[32768] = {};
    GetModuleFileNameW(nullptr, module, 32768);

    const std::wstring record = Environment(L"TESTLAUNCHER_RECORD");
    if (!record.empty()) {
        std::string json = "{\n";
        json += "  \"command_line\": " + JsonText(GetCommandLineW()) + ",\n";
        json += "  \"module\": " + JsonText(module) + ",\n";
        json += "  \"cwd\": " + JsonText(cwd) + ",\n";
        json += "  \"sea_loc_hex\": " + SeaLocHex(cwd) + ",\n";
        json += "  \"cwd_dacl\": " + JsonText(DirectoryDacl(cwd)) + "\n";
        json += "}\n";
        corvane::KernelHandle file(CreateFileW(record.c_str(), GENERIC_WRITE, 0, nullptr,
                                               CREATE_ALWAYS, 0, nullptr));
        DWORD written = 0;
        if (file) WriteFile(file.get(), json.data(), static_cast<DWORD>(json.size()), &written, nullptr);
    }
    const std::wstring exitText = Environment(L"TESTLAUNCHER_EXIT");
    return exitText.empty() ? 0 : static_cast<int>(std::wcstoul(exitText.c_str(), nullptr, 0));
}
