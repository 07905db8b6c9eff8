#include "VmInventory.h"

#include "Environment.h"
#include "Exceptions.h"
#include "ExecutableFile.h"
#include "RegistryKey.h"
#include "ScopedHandle.h"
#include "VmExecutable.h"

#include <psapi.h>

#include <array>
#include <cstdio>
#include <cwctype>
#include <limits>

namespace {

struct RegistryLocation {
    const wchar_t* vendor;
    const wchar_t* key;
    VmKind kind;
};

constexpr std::array<RegistryLocation, 6> kRegistryLocations{{
    {L"Sun", L"SOFTWARE\\JavaSoft\\JDK", VmKind::JDK},
    {L"Sun", L"SOFTWARE\\JavaSoft\\JRE", VmKind::JRE},
    {L"Sun", L"SOFTWARE\\JavaSoft\\Java Development Kit", VmKind::JDK},
    {L"Sun", L"SOFTWARE\\JavaSoft\\Java Runtime Environment", VmKind::JRE},
    {L"IBM", L"SOFTWARE\\IBM\\Java2 Runtime Environment", VmKind::JRE},
    {L"IBM", L"SOFTWARE\\IBM\\Java Development Kit", VmKind::JDK},
}};

constexpr std::array<const wchar_t*, 5> kExecutableNames{
    L"\\java.exe", L"\\jre.exe", L"\\javaw.exe", L"\\jrew.exe", L"\\jview.exe"};

// The decimal number at the start of a registry string, 0 without digits; held at the largest
// 16-bit value when it is larger.
std::uint16_t LeadingMicro(const std::wstring& text) {
    std::uint32_t value = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9') break;
        value = value * 10 + static_cast<std::uint32_t>(c - L'0');
        if (value > std::numeric_limits<std::uint16_t>::max())
            return std::numeric_limits<std::uint16_t>::max();
    }
    return static_cast<std::uint16_t>(value);
}

std::unique_ptr<JavaVm> NewVmForMajor(std::int32_t major) {
    if (major <= 1) return std::make_unique<OldJavaVm>();
    return std::make_unique<ModernJavaVm>();
}

// One subkey of a Java key, named by its version; KeyException when a value is missing.
std::unique_ptr<JavaVm> VmFromSubkey(const RegistryKey& key, const std::wstring& name,
                                     const RegistryLocation& location, std::int32_t is64Bit) {
    RegistryKey subkey;
    subkey.openBelow(key, name, KEY_READ);
    const JavaVersion named = JavaVersion::Parse(name);
    const std::uint16_t micro =
        named.major() > 8 ? 0 : LeadingMicro(subkey.stringValue(L"MicroVersion"));
    auto vm = NewVmForMajor(named.major());
    vm->version = JavaVersion(named.major(), micro, named.update());
    vm->home = subkey.stringValue(L"JavaHome");
    vm->kind = location.kind;
    vm->is64Bit = is64Bit;
    vm->vendor = location.vendor;
    return vm;
}

void ScanRegistryLocation(const RegistryLocation& location, REGSAM access, std::int32_t is64Bit,
                          VmInventory::Entries& entries) {
    RegistryKey key;
    std::vector<std::wstring> names;
    try {
        key.open(HKEY_LOCAL_MACHINE, location.key, access);
        names = key.subkeyNames();
    } catch (const KeyException&) {
        return;
    }
    for (const std::wstring& name : names) {
        try {
            entries.push_back(VmFromSubkey(key, name, location, is64Bit));
        } catch (const KeyException&) {
        }
    }
}

// The path kept for one PATH candidate: the link target behind a reparse point, else the path.
std::optional<std::wstring> KeptPath(const std::wstring& candidate) {
    const DWORD attributes = ::GetFileAttributesW(candidate.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return std::nullopt;
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) return ResolveLink(candidate);
    return candidate;
}

std::unique_ptr<JavaVm> VmFromExecutable(const std::wstring& path, const Wow64Queries& wow64) {
    VmExecutable executable{FilePath(path)};
    if (executable.kind() == VmKind::MSJ) {
        auto vm = std::make_unique<MicrosoftJavaVm>();
        vm->home = executable.home();
        vm->vendor = executable.vendor();
        vm->kind = VmKind::MSJ;
        return vm;
    }
    // A copy in the system folder takes its version from the runtime's registry key. When that
    // key cannot be read the executable is listed with version zero, like any other executable
    // whose version nothing tells: one stray java.exe must not stop the whole search.
    JavaVersion version;
    try {
        version = executable.version();
    } catch (const KeyException&) {
    }
    auto vm = NewVmForMajor(version.major());
    vm->vendor = executable.vendor();
    vm->home = executable.home();
    vm->version = version;
    vm->kind = executable.kind();
    vm->is64Bit =
        wow64.RunningUnderWow64() && BitnessOfFile(path) == ExecutableBitness::X64 ? 1 : 0;
    return vm;
}

bool StartsWithIgnoringCase(const std::wstring& text, const std::wstring& prefix) {
    if (text.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (std::towlower(text[i]) != std::towlower(prefix[i])) return false;
    return true;
}

// "\Device\HarddiskVolume1\x\java.exe" becomes "C:\x\java.exe" for the drive whose device is
// "\Device\HarddiskVolume1". Some systems (Wine among them) answer with the object-manager
// form "\??\C:\x\java.exe" instead; that already holds the drive letter and is taken as it is.
std::optional<std::wstring> DrivePathOf(const std::wstring& devicePath) {
    const std::wstring dosDevices = L"\\??\\";
    if (devicePath.starts_with(dosDevices) && devicePath.size() > dosDevices.size() + 2 &&
        devicePath[dosDevices.size() + 1] == L':' && devicePath[dosDevices.size() + 2] == L'\\')
        return devicePath.substr(dosDevices.size());
    wchar_t drives[512] = {};
    const DWORD length = ::GetLogicalDriveStringsW(static_cast<DWORD>(std::size(drives)), drives);
    if (length == 0 || length >= std::size(drives)) return std::nullopt;
    for (const wchar_t* drive = drives; *drive != L'\0'; drive += std::wcslen(drive) + 1) {
        const std::wstring letter(drive, 2);  // "C:"
        wchar_t device[MAX_PATH] = {};
        if (::QueryDosDeviceW(letter.c_str(), device, MAX_PATH) == 0) continue;
        const std::wstring deviceName = device;
        if (deviceName.empty() || !StartsWithIgnoringCase(devicePath, deviceName)) continue;
        if (devicePath.size() <= deviceName.size() || devicePath[deviceName.size()] != L'\\')
            continue;
        return letter + devicePath.substr(deviceName.size());
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::wstring> ResolveLink(const std::wstring& path) {
    corvane::KernelHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return std::nullopt;
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.get(), &size)) return std::nullopt;
    if (size.QuadPart == 0) {
        std::fwprintf(stdout, L"Cannot map a file with a length of zero.\n");
        std::fflush(stdout);
        return std::nullopt;
    }
    corvane::KernelHandle mapping(::CreateFileMappingW(file.get(), nullptr, PAGE_READONLY, 0, 1, nullptr));
    if (!mapping) return std::nullopt;
    corvane::MappedView view(::MapViewOfFile(mapping.get(), FILE_MAP_READ, 0, 0, 1));
    if (!view) return std::nullopt;
    wchar_t devicePath[MAX_PATH + 1] = {};
    if (::GetMappedFileNameW(::GetCurrentProcess(), const_cast<void*>(view.get()), devicePath,
                             MAX_PATH) == 0)
        return std::nullopt;
    return DrivePathOf(devicePath);
}

const VmInventory& VmInventory::Get(std::int32_t platform, const std::wstring& jvmHigh) {
    static const VmInventory inventory =
        Build(platform, jvmHigh, Environment::instance().pathDirectories(), SystemWow64Queries());
    return inventory;
}

VmInventory VmInventory::Build(std::int32_t platform, const std::wstring& jvmHigh,
                               const std::vector<std::wstring>& pathFolders,
                               const Wow64Queries& wow64) {
    VmInventory inventory;
    inventory.platformRestricted_ = platform == 1 || platform == 3;
    if (jvmHigh == L"0") {
        inventory.scanPath(pathFolders, wow64);
        inventory.scanRegistry(wow64);
    } else {
        inventory.scanRegistry(wow64);
        inventory.scanPath(pathFolders, wow64);
    }
    inventory.removeDuplicates();
    return inventory;
}

void VmInventory::scanRegistry(const Wow64Queries& wow64) {
    for (const RegistryLocation& location : kRegistryLocations)
        ScanRegistryLocation(location, KEY_READ, 0, entries_);
    if (!wow64.RunningUnderWow64()) return;
    for (const RegistryLocation& location : kRegistryLocations)
        ScanRegistryLocation(location, KEY_READ | KEY_WOW64_64KEY, 1, entries_);
}

void VmInventory::scanPath(std::vector<std::wstring> folders, const Wow64Queries& wow64) {
    if (wow64.RunningUnderWow64()) folders.push_back(wow64.SystemWow64Directory());
    std::vector<std::wstring> kept;
    for (const std::wstring& folder : folders) {
        for (const wchar_t* name : kExecutableNames) {
            if (auto path = KeptPath(folder + name)) kept.push_back(std::move(*path));
        }
    }
    for (const std::wstring& path : kept) entries_.push_back(VmFromExecutable(path, wow64));
}

void VmInventory::removeDuplicates() {
    Entries unique;
    for (auto& entry : entries_) {
        bool seen = false;
        for (const auto& earlier : unique) seen = seen || SameInstallation(*earlier, *entry);
        if (!seen) unique.push_back(std::move(entry));
    }
    entries_ = std::move(unique);
}

