#include "ExecutableBitness.h"

#include <optional>

namespace {

constexpr size_t kNewHeaderOffsetField = 60;   // e_lfanew of the DOS header
constexpr size_t kMachineOffset = 4;           // after the "PE\0\0" signature
constexpr size_t kOptionalMagicOffset = 24;    // signature (4) + file header (20)
constexpr std::uint16_t kMachineI386 = 0x14C;
constexpr std::uint16_t kMachineAmd64 = 0x8664;
constexpr std::uint16_t kMagicPe32 = 0x10B;
constexpr std::uint16_t kMagicPe32Plus = 0x20B;

std::optional<std::uint32_t> ReadLittleEndian(std::span<const std::uint8_t> bytes, size_t offset,
                                              size_t width) {
    if (offset > bytes.size() || bytes.size() - offset < width) return std::nullopt;
    std::uint32_t value = 0;
    for (size_t i = 0; i < width; ++i) value |= std::uint32_t{bytes[offset + i]} << (8 * i);
    return value;
}

}  // namespace

ExecutableBitness BitnessFromImage(std::span<const std::uint8_t> image) {
    if (image.size() < 2 || image[0] != 'M' || image[1] != 'Z') return ExecutableBitness::Unknown;
    const auto peOffset = ReadLittleEndian(image, kNewHeaderOffsetField, 4);
    if (!peOffset) return ExecutableBitness::Unknown;
    const auto signature = ReadLittleEndian(image, *peOffset, 4);
    if (!signature || *signature != 0x00004550) return ExecutableBitness::Unknown;  // "PE\0\0"
    // The signature was read, so the header offset lies inside the image and adding the small
    // field offsets to it cannot wrap around.
    const size_t base = *peOffset;
    const auto machine = ReadLittleEndian(image, base + kMachineOffset, 2);
    const auto magic = ReadLittleEndian(image, base + kOptionalMagicOffset, 2);
    if (!machine || !magic) return ExecutableBitness::Unknown;
    if (*magic == kMagicPe32 && *machine == kMachineI386) return ExecutableBitness::X86;
    if (*magic == kMagicPe32Plus && *machine == kMachineAmd64) return ExecutableBitness::X64;
    return ExecutableBitness::Unknown;
}

