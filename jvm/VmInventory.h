#pragma once
// The Java VMs installed on the machine: those registered under the JavaSoft and IBM registry
// keys and those found in the folders of PATH. Built once per process, then only read.
#include "JavaVm.h"
#include "Wow64Queries.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class VmInventory {
public:
    using Entries = std::vector<std::unique_ptr<JavaVm>>;

    // The process-wide inventory, built by the first call from the registry, the PATH of the
    // launcher's environment and the running system's WOW64 answers; later calls return it
    // unchanged whatever they pass.
    static const VmInventory& Get(std::int32_t platform, const std::wstring& jvmHigh);

    // A new inventory. jvmHigh exactly "0" scans PATH before the registry, anything else after
    // it. The platform restriction is set for the platform values 1 and 3. Registry keys and
    // subkeys that cannot be read are skipped; entries equal to an earlier one are dropped.
    static VmInventory Build(std::int32_t platform, const std::wstring& jvmHigh,
                             const std::vector<std::wstring>& pathFolders,
                             const Wow64Queries& wow64);

    const Entries& entries() const { return entries_; }
    bool platformRestricted() const { return platformRestricted_; }

private:
    void scanRegistry(const Wow64Queries& wow64);
    void scanPath(std::vector<std::wstring> folders, const Wow64Queries& wow64);
    void removeDuplicates();

    Entries entries_;
    bool platformRestricted_ = false;
};

// The target of a file reached through a reparse point, as a drive-letter path: the file is
// mapped and the system asked for the mapped file's device path. Nothing when the file is empty
// (which is said on standard output), cannot be mapped, or its device has no drive letter.
std::optional<std::wstring> ResolveLink(const std::wstring& path);

