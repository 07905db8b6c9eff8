#pragma once
// Names and the space rule of the working directory. Portable, tested natively.
#include <cstdint>
#include <random>
#include <string>

// Attempts to create a working directory before giving up.
constexpr int kWorkingDirectoryAttempts = 6;

// The first name: "I" and the low 32 bits of the seconds since 1970, as a signed number.
std::wstring TimeDirectoryName(int64_t secondsSince1970);

// The names tried after a collision: "I" and a number drawn uniformly from 10000000 to 99999999
// by a Mersenne Twister seeded with one value from the caller (the system's secure source).
class RandomDirectoryNames {
public:
    explicit RandomDirectoryNames(uint32_t seed) : generator_(seed), range_(10000000, 99999999) {}
    std::wstring Next();

private:
    std::mt19937 generator_;
    std::uniform_int_distribution<uint32_t> range_;
};

// The payload needs three times its size on the working directory's drive.
inline uint64_t RequiredBytes(uint32_t payloadSize) { return 3 * static_cast<uint64_t>(payloadSize); }
inline bool EnoughSpace(uint32_t payloadSize, uint64_t freeBytes) {
    return RequiredBytes(payloadSize) <= freeBytes;
}
