#include "VmExecutable.h"

#include "RegistryKey.h"

#include <cstdio>

namespace {

bool Exists(const std::wstring& path) { return FilePath(path).exists(); }

std::wstring LastComponent(const std::wstring& folder) { return FilePath(folder).name(true); }

}  // namespace

bool IsSystemFolder(const std::wstring& folder) {
    const std::wstring last = LastComponent(folder);
    return last == L"system32" || last == L"syswow64";
}

VmKind VmExecutable::kind() const {
    const std::wstring name = path_.name(true);
    if (name == L"jview.exe" || name == L"wjview.exe") return VmKind::MSJ;
    if (name == L"jre.exe" || name == L"jrew.exe") return VmKind::JRE;
    return Exists(folder() + L"\\javac.exe") ? VmKind::JDK : VmKind::JRE;
}

const std::wstring& VmExecutable::vendor() {
    if (!vendor_.empty()) return vendor_;
    const std::wstring name = path_.name(true);
    if (name == L"jview.exe" || name == L"wjview.exe") return vendor_ = L"Microsoft";
    const std::optional<std::wstring> company = CompanyNameOf(path_.text());
    if (company) {
        std::fwprintf(stdout, L"company: %ls\n", company->c_str());
        std::fflush(stdout);
    }
    const bool ibm = company && asciiLower(*company).find(L"ibm") != std::wstring::npos;
    return vendor_ = ibm ? L"IBM" : L"Sun";
}

// "bin" is looked for in lower case: Windows folder names carry no case, and installations
// named C:\JDK\BIN exist.
std::wstring VmExecutable::home() const {
    const std::wstring executableFolder = folder();
    if (LastComponent(executableFolder).find(L"bin") != std::wstring::npos)
        return FilePath(executableFolder).parent();
    return executableFolder;
}

const std::optional<FileVersionNumbers>& VmExecutable::fileVersion() {
    if (!fileVersionRead_) {
        fileVersion_ = FileVersionOf(path_.text());
        fileVersionRead_ = true;
    }
    return fileVersion_;
}

JavaVersion VmExecutable::version() {
    if (kind() == VmKind::MSJ) return JavaVersion(1, 4, 0);
    if (const auto& numbers = fileVersion()) return JavaVersion::FromFileVersion(*numbers);
    if (IsSystemFolder(home())) return versionFromRegistry();
    return versionFromMarkerFiles();
}

JavaVersion VmExecutable::versionFromRegistry() const {
    const std::wstring runtimes = L"SOFTWARE\\JavaSoft\\Java Runtime Environment";
    const RegistryKey runtimeKey(HKEY_LOCAL_MACHINE, runtimes, KEY_READ);
    const std::wstring current = runtimeKey.stringValue(L"CurrentVersion");
    const RegistryKey versionKey(HKEY_LOCAL_MACHINE, runtimes + L"\\" + current, KEY_READ);
    const std::wstring micro = versionKey.stringValue(L"MicroVersion");
    return JavaVersion::Parse(current + L"." + micro + L"_0");
}

JavaVersion VmExecutable::versionFromMarkerFiles() const {
    const std::wstring f = folder();
    const std::wstring jreBin = f + L"\\..\\jre\\bin";
    int major = 0;
    if (Exists(f + L"\\pack200.exe")) major = 5;
    else if (Exists(f + L"\\client") || Exists(jreBin + L"\\client") || Exists(f + L"\\server") ||
             Exists(jreBin + L"\\server"))
        major = 4;
    else if (Exists(f + L"\\hotspot") || Exists(jreBin + L"\\hotspot")) major = 3;
    else if (Exists(f + L"\\classic")) major = 2;

    if (major != 0) {
        const std::wstring plugin = (kind() == VmKind::JRE ? f : jreBin) + L"\\NPJava32.dll";
        if (!Exists(plugin)) return JavaVersion(major, 0, 0);
        const std::optional<FileVersionNumbers> numbers = FileVersionOf(plugin);
        if (!numbers) return JavaVersion(major, 0, 0);
        const auto [first, second, third, fourth] = *numbers;
        const std::uint16_t update = second >= 4 ? fourth / 10 : fourth;
        return JavaVersion(second, third, update);
    }
    const std::wstring name = path_.name(true);
    if (name == L"jre.exe" || name == L"jrew.exe" || Exists(f + L"\\jre.exe") ||
        Exists(f + L"\\jrew.exe"))
        return JavaVersion(1, 0, 0);
    return JavaVersion();
}

