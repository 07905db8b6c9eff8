#include "DeleteTree.h"

#include "ScopedHandle.h"

bool SetReadOnly(const std::wstring& path, bool readOnly) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return false;
    const DWORD wanted = readOnly ? (attributes | FILE_ATTRIBUTE_READONLY)
                                  : (attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
    return SetFileAttributesW(path.c_str(), wanted) != 0;
}

bool DeleteTree(const std::wstring& directory, bool clearReadOnly) {
    WIN32_FIND_DATAW found;
    corvane::FindHandle find(FindFirstFileW((directory + L"\\*").c_str(), &found));
    if (!find) return false;

    bool ok = true;
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        const std::wstring path = directory + L"\\" + name;
        if (clearReadOnly && (found.dwFileAttributes & FILE_ATTRIBUTE_READONLY)) {
            SetReadOnly(path, false);
        }
        // A link to a folder is removed as the link itself, never followed.
        const bool isFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                              !(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT);
        if (isFolder) {
            if (!DeleteTree(path, clearReadOnly)) ok = false;
        } else if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (!RemoveDirectoryW(path.c_str())) ok = false;
        } else if (!DeleteFileW(path.c_str())) {
            ok = false;
        }
    } while (FindNextFileW(find.get(), &found));
    find.Reset();

    if (!ok) return false;
    SetReadOnly(directory, false);
    return RemoveDirectoryW(directory.c_str()) != 0;
}
