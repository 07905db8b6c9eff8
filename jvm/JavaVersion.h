#pragma once
// The version of a Java VM: major, micro and update packed into one unsigned 64-bit value (major
// in the upper 32 bits, micro in bits 16 to 31, update in bits 0 to 15), so that comparing the
// packed values orders versions by major, then micro, then update.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

class JavaVersion {
public:
    JavaVersion() = default;
    JavaVersion(std::int32_t major, std::uint16_t micro, std::uint16_t update);

    // Reads a version text such as "1.8.0_201", "11.0.2" or "17". The text is cut at every "."
    // and "_"; when the first piece is not exactly "1" a "1" is put in front, and the second,
    // third and fourth pieces give major, micro and update, each read by its leading decimal
    // digits. Never fails: a missing piece, or one that does not start with a digit, gives 0.
    static JavaVersion Parse(std::wstring_view text);

    // The version a Java executable reports through the four numbers of its file version:
    // 8.0.2010.9 is 8, 0, 2010 and 1.4.2.19 is 4, 2, 19.
    static JavaVersion FromFileVersion(const std::array<std::uint16_t, 4>& fileVersion);

    std::int32_t major() const { return static_cast<std::int32_t>(packed_ >> 32); }
    std::uint16_t micro() const { return static_cast<std::uint16_t>(packed_ >> 16); }
    std::uint16_t update() const { return static_cast<std::uint16_t>(packed_); }
    std::uint64_t packed() const { return packed_; }

    JavaVersion withUpdate(std::uint16_t update) const { return {major(), micro(), update}; }

    // "major.micro_update", for messages and test output.
    std::wstring text() const;

    friend bool operator==(JavaVersion a, JavaVersion b) { return a.packed_ == b.packed_; }
    friend bool operator<(JavaVersion a, JavaVersion b) { return a.packed_ < b.packed_; }
    friend bool operator>=(JavaVersion a, JavaVersion b) { return a.packed_ >= b.packed_; }

private:
    std::uint64_t packed_ = 0;
};

