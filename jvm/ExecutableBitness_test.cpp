#include "ExecutableBitness.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

// The smallest headers the reader looks at: "MZ", e_lfanew, "PE\0\0", machine, magic.
std::vector<std::uint8_t> Image(std::uint16_t machine, std::uint16_t magic,
                                std::uint32_t peOffset = 0x80) {
    std::vector<std::uint8_t> bytes(peOffset + 4 + 20 + 2, 0);
    bytes[0] = 'M';
    bytes[1] = 'Z';
    std::memcpy(&bytes[60], &peOffset, 4);
    std::memcpy(&bytes[peOffset], "PE\0\0", 4);
    bytes[peOffset + 4] = machine & 0xFF;
    bytes[peOffset + 5] = machine >> 8;
    bytes[peOffset + 24] = magic & 0xFF;
    bytes[peOffset + 25] = magic >> 8;
    return bytes;
}

std::vector<std::uint8_t> Truncated(std::vector<std::uint8_t> bytes, size_t size) {
    bytes.resize(size);
    return bytes;
}

TEST(ExecutableBitness, ReadsThePeHeaders) {
    struct Case {
        const char* name;
        std::vector<std::uint8_t> bytes;
        ExecutableBitness expected;
    };
    std::vector<std::uint8_t> notMz = Image(0x14C, 0x10B);
    notMz[0] = 'Z';
    std::vector<std::uint8_t> notPe = Image(0x14C, 0x10B);
    notPe[0x81] = 'X';
    std::vector<std::uint8_t> hugeOffset = Image(0x14C, 0x10B);
    std::memset(&hugeOffset[60], 0xFF, 4);
    const Case cases[] = {
        {"32-bit", Image(0x14C, 0x10B), ExecutableBitness::X86},
        {"64-bit", Image(0x8664, 0x20B), ExecutableBitness::X64},
        {"headers right after the DOS header", Image(0x8664, 0x20B, 64), ExecutableBitness::X64},
        {"PE32+ magic with an i386 machine", Image(0x14C, 0x20B), ExecutableBitness::Unknown},
        {"ARM64", Image(0xAA64, 0x20B), ExecutableBitness::Unknown},
        {"not MZ", notMz, ExecutableBitness::Unknown},
        {"no PE signature", notPe, ExecutableBitness::Unknown},
        {"offset past the end", hugeOffset, ExecutableBitness::Unknown},
        {"empty", {}, ExecutableBitness::Unknown},
        {"only MZ", {'M', 'Z'}, ExecutableBitness::Unknown},
        {"cut inside e_lfanew", Truncated(Image(0x14C, 0x10B), 62), ExecutableBitness::Unknown},
        {"cut inside the magic", Truncated(Image(0x14C, 0x10B), 0x80 + 25),
         ExecutableBitness::Unknown},
        {"cut right after the machine", Truncated(Image(0x8664, 0x20B), 0x80 + 6),
         ExecutableBitness::Unknown},
    };
    for (const Case& c : cases)
        EXPECT_EQ(BitnessFromImage(c.bytes), c.expected) << c.name;
}

}  // namespace
