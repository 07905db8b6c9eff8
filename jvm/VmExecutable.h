#pragma once
// Identifies a Java VM from nothing but the path of its executable: its kind, vendor, home
// folder and version. Used only while a JavaVm record is being made.
#include "FilePath.h"
#include "FileVersion.h"
#include "JavaVersion.h"
#include "VmKind.h"

#include <optional>
#include <string>

class VmExecutable {
public:
    explicit VmExecutable(FilePath path) : path_(std::move(path)) {}

    const FilePath& path() const { return path_; }

    // jview.exe and wjview.exe are the Microsoft VM; jre.exe and jrew.exe a runtime; anything
    // else a development kit when javac.exe lies beside it, else a runtime. Names are compared
    // in lower case.
    VmKind kind() const;

    // "Microsoft" for jview.exe and wjview.exe; otherwise "IBM" when the company name of the
    // version resource contains "ibm" (any case) and "Sun" in every other case. Writes
    // "company: <name>" to standard output when the version resource names a company. Computed
    // once.
    const std::wstring& vendor();

    // The executable's folder, or the folder above it when the folder's name contains "bin".
    std::wstring home() const;

    // The file version of the executable, read once; nothing when it has none.
    const std::optional<FileVersionNumbers>& fileVersion();

    // The version from the file version, else (for the copy in system32 or SysWOW64) from the
    // runtime's registry key, else from the files beside the executable; zero when nothing
    // tells. Raises KeyException when the registry key of a system-folder copy cannot be read.
    JavaVersion version();

private:
    std::wstring folder() const { return path_.parent(); }
    JavaVersion versionFromRegistry() const;
    JavaVersion versionFromMarkerFiles() const;

    FilePath path_;
    std::wstring vendor_;
    std::optional<FileVersionNumbers> fileVersion_;
    bool fileVersionRead_ = false;
};

// True when the last component of the folder, in lower case, is "system32" or "syswow64": the
// copies of java.exe a runtime installer places in the Windows system folders.
bool IsSystemFolder(const std::wstring& folder);

