#include "PrivateDirectory.h"

#include "ScopedHandle.h"
#include "win32.h"

#include <sddl.h>

#include <vector>

namespace {

// The string form of the current user's SID, or empty when it cannot be read.
std::wstring CurrentUserSid() {
    corvane::KernelHandle token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.Receive())) return std::wstring();
    DWORD size = 0;
    GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size);
    if (size == 0) return std::wstring();
    std::vector<unsigned char> buffer(size);
    if (!GetTokenInformation(token.get(), TokenUser, buffer.data(), size, &size)) return std::wstring();
    const auto* user = reinterpret_cast<const TOKEN_USER*>(buffer.data());
    wchar_t* text = nullptr;
    if (!ConvertSidToStringSidW(user->User.Sid, &text)) return std::wstring();
    corvane::LocalMemory owned(text);
    return text;
}

}  // namespace

std::wstring PrivateDirectorySddl() {
    const std::wstring user = CurrentUserSid();
    if (user.empty()) return std::wstring();
    // P: protected, no entries inherited from the parent. OICI: files and folders created inside
    // inherit the entry. FA: full access.
    std::wstring sddl = L"D:P(A;OICI;FA;;;" + user + L")";
    // Run as SYSTEM (a deployment tool), the user entry already is the SYSTEM entry.
    if (user != L"S-1-5-18") sddl += L"(A;OICI;FA;;;SY)";
    sddl += L"(A;OICI;FA;;;BA)";
    return sddl;
}

bool CreatePrivateDirectory(const std::wstring& path) {
    const std::wstring sddl = PrivateDirectorySddl();
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (sddl.empty() ||
        !ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.c_str(), SDDL_REVISION_1,
                                                              &descriptor, nullptr)) {
        if (GetLastError() == ERROR_SUCCESS) SetLastError(ERROR_INVALID_SECURITY_DESCR);
        return false;
    }
    corvane::LocalMemory owned(descriptor);
    SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor, FALSE};
    if (!CreateDirectoryW(path.c_str(), &attributes)) return false;
    SetFileSecurityW(path.c_str(), DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION, descriptor);
    return true;
}
