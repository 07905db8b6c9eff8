#pragma once
// Engines that copy bytes unchanged ("Binary copy"): stored ZIP members and plain copies.
#include "ALEngine.h"

class ALCopyDecompressor : public ALDecompressor {
public:
    ALCopyDecompressor() noexcept : ALDecompressor(AL_COMPRESSION_COPY, "Binary copy") {}
    // A new copy engine for -1 or 0 only.
    std::unique_ptr<ALDecompressor> Clone(int32_t type) const override;
    // Copies compressedLength bytes (-1: all), stopping early at the end of the input.
    int32_t Decompress(ALStorage& input, ALStorage& output, int32_t compressedLength = -1) override;
};

class ALCopyCompressor : public ALCompressor {
public:
    ALCopyCompressor() noexcept : ALCompressor(AL_COMPRESSION_COPY, "Binary copy") {}
    std::unique_ptr<ALCompressor> Clone(int32_t type) const override;
    int32_t Compress(ALStorage& input, ALStorage& output) override;
};
