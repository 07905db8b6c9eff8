#include "ALCopyEngine.h"

#include "ALStorage.h"

#include <algorithm>

std::unique_ptr<ALDecompressor> ALCopyDecompressor::Clone(int32_t type) const {
    if (type != AL_ENGINE_DEFAULT && type != AL_COMPRESSION_COPY) return nullptr;
    return std::make_unique<ALCopyDecompressor>();
}

// Moves whole buffers rather than single characters: the result is the byte-by-byte copy of
// ReadChar and WriteChar, with the same CRC, end-of-data and error behaviour.
int32_t ALCopyDecompressor::Decompress(ALStorage& input, ALStorage& output, int32_t compressedLength) {
    bool openedInput = false, openedOutput = false;
    if (OpenBoth(input, output, openedInput, openedOutput) < 0) {
        return Finish(input, output, openedInput, openedOutput);
    }
    output.InitCrc(0xFFFFFFFFu);
    uint32_t remaining = static_cast<uint32_t>(compressedLength);  // -1 means everything
    uint8_t chunk[4096];
    while (remaining > 0) {
        const int32_t want = static_cast<int32_t>(std::min<uint32_t>(remaining, sizeof chunk));
        const int32_t got = input.ReadBuffer(chunk, want);
        if (got > 0 && output.WriteBuffer(chunk, got) != got) break;
        remaining -= static_cast<uint32_t>(std::max(got, 0));
        if (got < want) break;
    }
    return Finish(input, output, openedInput, openedOutput);
}

std::unique_ptr<ALCompressor> ALCopyCompressor::Clone(int32_t type) const {
    if (type != AL_ENGINE_DEFAULT && type != AL_COMPRESSION_COPY) return nullptr;
    return std::make_unique<ALCopyCompressor>();
}

int32_t ALCopyCompressor::Compress(ALStorage& input, ALStorage& output) {
    bool openedInput = false, openedOutput = false;
    if (OpenBoth(input, output, openedInput, openedOutput) < 0) {
        return Finish(input, output, openedInput, openedOutput);
    }
    input.InitCrc(0xFFFFFFFFu);
    uint8_t chunk[4096];
    for (;;) {
        const int32_t got = input.ReadBuffer(chunk, sizeof chunk);
        if (got > 0 && output.WriteBuffer(chunk, got) != got) break;
        if (got < static_cast<int32_t>(sizeof chunk)) break;
    }
    return Finish(input, output, openedInput, openedOutput);
}
