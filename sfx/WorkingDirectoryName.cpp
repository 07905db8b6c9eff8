#include "WorkingDirectoryName.h"

std::wstring TimeDirectoryName(int64_t secondsSince1970) {
    const auto low = static_cast<int32_t>(static_cast<uint32_t>(secondsSince1970 & 0xFFFFFFFF));
    return L"I" + std::to_wstring(low);
}

std::wstring RandomDirectoryNames::Next() { return L"I" + std::to_wstring(range_(generator_)); }
