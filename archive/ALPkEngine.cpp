#include "ALPkEngine.h"

#include "ALCopyEngine.h"
#include "ALStorage.h"

#include <zlib.h>

#include <algorithm>

namespace {

int32_t OptionOfType(int32_t type) {
    switch (type) {
        case AL_ENGINE_DEFAULT:
        case AL_PK_DEFLATE_NORMAL: return 0;
        case AL_PK_DEFLATE_MAXIMUM: return 1;
        case AL_PK_DEFLATE_FAST: return 2;
        case AL_PK_DEFLATE_SUPER_FAST: return 3;
        default: return -1;
    }
}

}  // namespace

ALPkDecompressor::ALPkDecompressor(int32_t option) noexcept
    : ALDecompressor(AL_PK_DEFLATE_NORMAL + (option & 3), "Inflate"), option_(option & 3) {}

std::unique_ptr<ALDecompressor> ALPkDecompressor::Clone(int32_t type) const {
    if (type == AL_COMPRESSION_COPY || type == AL_PK_STORED) return std::make_unique<ALCopyDecompressor>();
    const int32_t option = OptionOfType(type);
    if (option < 0) return nullptr;
    return std::make_unique<ALPkDecompressor>(option);
}

int32_t ALPkDecompressor::Decompress(ALStorage& input, ALStorage& output, int32_t compressedLength) {
    bool openedInput = false, openedOutput = false;
    if (OpenBoth(input, output, openedInput, openedOutput) < 0) {
        return Finish(input, output, openedInput, openedOutput);
    }
    output.InitCrc(0xFFFFFFFFu);
    z_stream stream{};
    stream.avail_in = 0;
    output.FlushBuffer();
    const uInt outputSpace = static_cast<uInt>(output.BufferSize());
    stream.next_out = output.Buffer();
    stream.avail_out = outputSpace;
    if (inflateInit2(&stream, -15) != Z_OK) {
        mStatus.SetError(AL_CANT_CREATE_ENGINE, L"Error creating inflate engine");
        return Finish(input, output, openedInput, openedOutput);
    }
    uint32_t remaining = static_cast<uint32_t>(compressedLength);
    const bool limited = compressedLength != -1;
    for (;;) {
        if (stream.avail_in == 0) {
            int32_t available = input.EndOfData() - input.ReadIndex();
            if (available <= 0) {
                const int32_t loaded = input.LoadBuffer(input.Tell());
                available = loaded > 0 ? loaded : 0;
            }
            if (limited) {
                available = static_cast<int32_t>(std::min<uint32_t>(static_cast<uint32_t>(available), remaining));
                remaining -= static_cast<uint32_t>(available);
            }
            stream.next_in = input.Buffer() + input.ReadIndex();
            stream.avail_in = static_cast<uInt>(available);
            input.SetReadIndex(input.ReadIndex() + available);
        }
        const uInt offered = stream.avail_in;
        const int result = inflate(&stream, Z_NO_FLUSH);
        const bool produced = stream.avail_out != outputSpace;
        // A call may consume input without producing output (the bytes left in a buffer can
        // all belong to a block header); only a call that does neither ends the loop.
        if (!produced && (stream.avail_in == offered || result != Z_OK)) break;
        if (produced) {
            output.SetWriteIndex(static_cast<int32_t>(outputSpace - stream.avail_out));
            output.FlushBuffer();
            stream.next_out = output.Buffer();
            stream.avail_out = outputSpace;
        }
        if (result != Z_OK || output.mStatus.Failed()) break;
    }
    inflateEnd(&stream);
    return Finish(input, output, openedInput, openedOutput);
}

namespace {

struct LevelInfo {
    const char* name;
    int32_t option;
    int32_t level;
};

LevelInfo DescribeLevel(int32_t level) {
    if (level == 0) return {"Stored", 0, 0};
    if (level == 1) return {"Deflate Fast", 2, 1};
    if (level >= 2 && level <= 8) return {"Deflate Normal", 0, level};
    if (level == 9) return {"Deflate Maximum", 1, 9};
    return {"???", 0, -1};
}

}  // namespace

ALPkCompressor::ALPkCompressor(int32_t level, int32_t windowBits, int32_t memoryLevel) noexcept
    : ALCompressor(AL_PK_DEFLATE_NORMAL, "???"), option_(0), level_(-1),
      windowBits_(windowBits == -2 ? 15 : windowBits), memoryLevel_(memoryLevel == -2 ? 8 : memoryLevel) {
    const LevelInfo info = DescribeLevel(level == -2 ? 6 : level);
    name_ = info.name;
    option_ = info.option;
    level_ = info.level;
    typeCode_ = AL_PK_DEFLATE_NORMAL + option_;
}

std::unique_ptr<ALCompressor> ALPkCompressor::Clone(int32_t type) const {
    if (type == AL_COMPRESSION_COPY || type == AL_PK_STORED) return std::make_unique<ALCopyCompressor>();
    const int32_t option = OptionOfType(type);
    if (option < 0) return nullptr;
    auto copy = std::make_unique<ALPkCompressor>(level_, windowBits_, memoryLevel_);
    copy->option_ = option;
    copy->typeCode_ = AL_PK_DEFLATE_NORMAL + option;
    return copy;
}

int32_t ALPkCompressor::Compress(ALStorage& input, ALStorage& output) {
    bool openedInput = false, openedOutput = false;
    if (OpenBoth(input, output, openedInput, openedOutput) < 0) {
        return Finish(input, output, openedInput, openedOutput);
    }
    input.InitCrc(0xFFFFFFFFu);
    z_stream stream{};
    const int init = deflateInit2(&stream, level_, Z_DEFLATED, -windowBits_, memoryLevel_, Z_DEFAULT_STRATEGY);
    if (init != Z_OK) {
        deflateEnd(&stream);
        mStatus.SetError(AL_CANT_CREATE_ENGINE, L"Error creating deflate engine. ZLIB returned %d\n", init);
        return Finish(input, output, openedInput, openedOutput);
    }
    output.FlushBuffer();
    const uInt outputSpace = static_cast<uInt>(output.BufferSize());
    stream.next_out = output.Buffer();
    stream.avail_out = outputSpace;
    // Hands what deflate produced to the output and gives it the whole buffer again.
    auto drain = [&]() {
        if (stream.avail_out != outputSpace) {
            output.SetWriteIndex(static_cast<int32_t>(outputSpace - stream.avail_out));
            output.FlushBuffer();
            stream.next_out = output.Buffer();
            stream.avail_out = outputSpace;
        }
    };
    for (;;) {
        if (stream.avail_in == 0 && input.ReadIndex() >= input.EndOfData() &&
            input.LoadBuffer(input.Tell()) < 0) {
            int result = Z_OK;
            while (result == Z_OK && !output.mStatus.Failed()) {
                result = deflate(&stream, Z_FINISH);
                drain();
            }
            deflateEnd(&stream);
            return Finish(input, output, openedInput, openedOutput);
        }
        if (stream.avail_in == 0) {
            stream.next_in = input.Buffer() + input.ReadIndex();
            stream.avail_in = static_cast<uInt>(input.EndOfData() - input.ReadIndex());
            input.SetReadIndex(input.EndOfData());
        }
        const int result = deflate(&stream, Z_NO_FLUSH);
        drain();
        if (output.mStatus.Failed() || result != Z_OK) {
            deflateEnd(&stream);
            return Finish(input, output, openedInput, openedOutput);
        }
    }
}
