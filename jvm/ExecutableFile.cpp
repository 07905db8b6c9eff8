#include "ExecutableFile.h"

#include "ScopedHandle.h"

#include <span>

ExecutableBitness BitnessOfFile(const std::wstring& path) {
    corvane::KernelHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file || !::GetFileSizeEx(file.get(), &size) || size.QuadPart <= 0)
        return ExecutableBitness::Unknown;
    corvane::KernelHandle mapping(::CreateFileMappingW(file.get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
    if (!mapping) return ExecutableBitness::Unknown;
    corvane::MappedView view(::MapViewOfFile(mapping.get(), FILE_MAP_READ, 0, 0, 0));
    if (!view) return ExecutableBitness::Unknown;
    // A view of the whole file; on a 32-bit build a file above 4 GiB cannot be mapped at all.
    const auto bytes = static_cast<const std::uint8_t*>(view.get());
    return BitnessFromImage(std::span<const std::uint8_t>(bytes, static_cast<size_t>(size.QuadPart)));
}

