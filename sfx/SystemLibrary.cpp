#include "SystemLibrary.h"

#include <string>

HMODULE LoadSystemLibrary(const wchar_t* name) {
    wchar_t buffer[MAX_PATH + 1] = {};
    const UINT n = GetSystemDirectoryW(buffer, MAX_PATH + 1);
    if (n == 0 || n > MAX_PATH) return nullptr;
    std::wstring path(buffer, n);
    if (!path.empty() && (path.back() == L'\\' || path.back() == L'/')) path.pop_back();
    path += L"\\";
    path += name;
    return LoadLibraryW(path.c_str());
}
