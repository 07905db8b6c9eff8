#include "Wow64Queries.h"

#include "Wow64.h"
#include "win32.h"

namespace {

class SystemQueries final : public Wow64Queries {
public:
    bool RunningUnderWow64() const override { return runsUnderWow64(); }

    std::wstring SystemWow64Directory() const override {
        using GetDirectoryFn = UINT(WINAPI*)(LPWSTR, UINT);
        const HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
        if (kernel == nullptr) return {};
        const auto getDirectory = reinterpret_cast<GetDirectoryFn>(
            reinterpret_cast<void*>(::GetProcAddress(kernel, "GetSystemWow64DirectoryW")));
        if (getDirectory == nullptr) return {};
        wchar_t buffer[MAX_PATH] = {};
        const UINT length = getDirectory(buffer, MAX_PATH);
        if (length == 0 || length >= MAX_PATH) return {};
        return std::wstring(buffer, length);
    }
};

}  // namespace

const Wow64Queries& SystemWow64Queries() {
    static const SystemQueries queries;
    return queries;
}
