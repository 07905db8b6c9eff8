#pragma once
// Test support for the archive engine: scratch folders, file helpers and a byte-level ZIP
// builder that makes well-formed and deliberately damaged fixtures at test time.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace altest {

using Bytes = std::vector<uint8_t>;

// A fresh empty folder that becomes the current folder; both are undone on destruction.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    const std::filesystem::path& path() const { return path_; }
    std::wstring Name(const std::string& relative) const;

private:
    std::filesystem::path path_;
    std::filesystem::path previous_;
};

void WriteFile(const std::filesystem::path& path, const Bytes& bytes);
void WriteFile(const std::filesystem::path& path, const std::string& text);
Bytes ReadFile(const std::filesystem::path& path);
std::string ReadText(const std::filesystem::path& path);
Bytes Pattern(size_t size, uint32_t seed);  // compressible, repeatable data
Bytes Random(size_t size, uint32_t seed);  // incompressible, repeatable data

uint32_t Crc32(const Bytes& data);
Bytes RawDeflate(const Bytes& data, int level = 6);

struct ZipMember {
    std::string name;  // bytes as stored
    Bytes data;  // uncompressed contents
    uint16_t method = 8;  // 8 deflate, 0 stored, anything else as given (data stored raw)
    uint16_t flags = 0x0808;
    uint16_t dosTime = 0x5A0B;  // 11:16:22
    uint16_t dosDate = 0x5B2F;  // 2025-09-15
    Bytes extra;  // the same in the local and the central record
    uint32_t external = 0x20;
    bool badCrc = false;  // store a CRC that does not match
    int32_t compressedOverride = -1;  // store this compressed size in the central record
    Bytes storedOverride;  // when not empty: the bytes stored; CRC and size still describe data
};

// Builds the ZIP bytes: local records from the first byte, a data descriptor for every member
// with flag bit 3, the central directory and the end record.
Bytes BuildZip(const std::vector<ZipMember>& members, const std::string& comment = std::string());

// Offset of the central directory inside a ZIP built by BuildZip.
uint32_t DirectoryOffset(const Bytes& zip);

Bytes Concat(std::initializer_list<Bytes> parts);

}  // namespace altest
