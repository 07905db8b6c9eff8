#include "TemporaryPropertyFile.h"

#include "Exceptions.h"
#include "ScopedHandle.h"

TemporaryPropertyFile& TemporaryPropertyFile::instance() {
    static TemporaryPropertyFile file = [] {
        wchar_t directory[246];
        const DWORD length = GetTempPathW(246, directory);
        if (length == 0 || length >= 246) {
            throw FileException(L"", L"windows could not open the file specified");
        }
        wchar_t name[MAX_PATH];
        if (GetTempFileNameW(directory, L"vrx", 0, name) == 0) {
            throw FileException(directory, L"windows could not open the file specified");
        }
        return TemporaryPropertyFile(FilePath(name));
    }();
    return file;
}

void TemporaryPropertyFile::append(const std::wstring& lines) const {
    corvane::KernelHandle file(CreateFileW(path_.text().c_str(), GENERIC_WRITE, FILE_SHARE_WRITE,
                                           nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) throw FileException(path_.text(), L"windows could not open the file specified");
    const std::string bytes = textModeBytes(lines);
    LARGE_INTEGER end{};
    DWORD written = 0;
    if (!SetFilePointerEx(file.get(), end, nullptr, FILE_END) ||
        !WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
        written != bytes.size()) {
        throw FileException(path_.text(), L"windows could not write the file specified");
    }
}
