#pragma once
// Raw deflate engines over zlib (no zlib header, 32 KiB window), working in place on the
// storage objects' buffers.
#include "ALEngine.h"

class ALPkDecompressor : public ALDecompressor {
public:
    // option: the deflate option bits of the ZIP flag word (0 normal, 1 maximum, 2 fast,
    // 3 super fast); it does not change decoding.
    explicit ALPkDecompressor(int32_t option = 0) noexcept;
    // 0 or 100: a copy engine; -1 or 108: option 0; 109 to 111: options 1 to 3; else null.
    std::unique_ptr<ALDecompressor> Clone(int32_t type) const override;
    // Inflates until the stream ends, the data is damaged, the input ends or compressedLength
    // bytes are consumed. A damaged or truncated stream is not an error here: it shows as a CRC
    // mismatch to the caller.
    int32_t Decompress(ALStorage& input, ALStorage& output, int32_t compressedLength = -1) override;

    int32_t Option() const noexcept { return option_; }

private:
    int32_t option_;
};

class ALPkCompressor : public ALCompressor {
public:
    // -2 for any argument means its default (level 6, window bits 15, memory level 8). A level
    // outside 0 to 9 is named "???" and becomes -1, zlib's default level.
    explicit ALPkCompressor(int32_t level = 6, int32_t windowBits = 15, int32_t memoryLevel = 8) noexcept;
    // 0 or 100: a copy engine; -1 or 108 to 111: this level, window and memory level with
    // option 0 to 3; else null.
    std::unique_ptr<ALCompressor> Clone(int32_t type) const override;
    int32_t Compress(ALStorage& input, ALStorage& output) override;

    int32_t Level() const noexcept { return level_; }
    int32_t WindowBits() const noexcept { return windowBits_; }
    int32_t MemoryLevel() const noexcept { return memoryLevel_; }
    int32_t Option() const noexcept { return option_; }

private:
    int32_t option_;
    int32_t level_;
    int32_t windowBits_;
    int32_t memoryLevel_;
};
