#include "ALCopyEngine.h"
#include "ALFile.h"
#include "ALPkEngine.h"
#include "ALTestSupport.h"
#include "ALText.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace altest;

namespace {

std::string U8(const wchar_t* w) { return ALWideToUtf8(w); }

// Counts the bytes of every flush, to see the passes of an engine.
class CountingFile : public ALFile {
public:
    using ALFile::ALFile;
    int32_t FlushBuffer() override {
        if (WriteIndex() > 0) largest = std::max(largest, WriteIndex());
        return ALFile::FlushBuffer();
    }
    int32_t largest = 0;
};

}  // namespace

TEST(ALEngine, CloneTables) {
    struct Case {
        int32_t type;
        const char* pk;  // name of ALPkDecompressor's clone, or null
        int32_t option;
    } cases[] = {
        {-1, "Inflate", 0}, {0, "Binary copy", -1}, {100, "Binary copy", -1}, {108, "Inflate", 0},
        {109, "Inflate", 1}, {110, "Inflate", 2}, {111, "Inflate", 3}, {112, nullptr, 0}, {112 - 4, "Inflate", 0},
        {12, nullptr, 0},
    };
    ALPkDecompressor inflate;
    ALPkCompressor deflate(9);
    for (const Case& c : cases) {
        auto d = inflate.Clone(c.type);
        auto e = deflate.Clone(c.type);
        if (c.pk == nullptr) {
            EXPECT_FALSE(d) << c.type;
            EXPECT_FALSE(e) << c.type;
            continue;
        }
        ASSERT_TRUE(d) << c.type;
        ASSERT_TRUE(e) << c.type;
        EXPECT_STREQ(d->Name(), c.pk) << c.type;
        if (c.option >= 0) {
            EXPECT_EQ(static_cast<ALPkDecompressor&>(*d).Option(), c.option);
            EXPECT_EQ(d->TypeCode(), 108 + c.option);
            auto& pk = static_cast<ALPkCompressor&>(*e);
            EXPECT_EQ(pk.Option(), c.option);
            EXPECT_EQ(pk.Level(), 9);
        }
    }
    ALCopyDecompressor copy;
    EXPECT_TRUE(copy.Clone(-1));
    EXPECT_TRUE(copy.Clone(0));
    EXPECT_FALSE(copy.Clone(100));
    EXPECT_FALSE(ALCopyCompressor().Clone(108));
}

TEST(ALEngine, CompressorLevels) {
    struct Case {
        int32_t level;
        const char* name;
        int32_t option;
        int32_t stored;
    } cases[] = {{0, "Stored", 0, 0},         {1, "Deflate Fast", 2, 1},   {2, "Deflate Normal", 0, 2},
                 {8, "Deflate Normal", 0, 8}, {9, "Deflate Maximum", 1, 9}, {12, "???", 0, -1},
                 {-5, "???", 0, -1},          {-2, "Deflate Normal", 0, 6}};
    for (const Case& c : cases) {
        ALPkCompressor e(c.level);
        EXPECT_STREQ(e.Name(), c.name) << c.level;
        EXPECT_EQ(e.Option(), c.option) << c.level;
        EXPECT_EQ(e.Level(), c.stored) << c.level;
    }
    const ALPkCompressor defaults(-2, -2, -2);
    EXPECT_EQ(defaults.WindowBits(), 15);
    EXPECT_EQ(defaults.MemoryLevel(), 8);
}

TEST(ALEngine, DeflateRoundTripInPasses) {
    ScratchFolder scratch;
    Bytes data = Pattern(3000000, 5);
    const Bytes noise = Random(2125182, 6);
    data.insert(data.end(), noise.begin(), noise.end());  // 5,125,182 bytes
    WriteFile("in.bin", data);
    for (int level : {12, 1, 6, 9}) {
        ALFile in(L"in.bin");
        ALFile packed(L"packed.bin");
        ALPkCompressor compressor(level);
        ASSERT_EQ(compressor.Compress(in, packed), 0) << U8(compressor.mStatus.StatusText());
        EXPECT_EQ(in.GetCrc(), ~Crc32(data));
        EXPECT_FALSE(in.IsOpen());
        EXPECT_FALSE(packed.IsOpen());

        ALFile source(L"packed.bin");
        CountingFile out(L"out.bin");
        ALPkDecompressor inflate;
        ASSERT_EQ(source.Open(), 0);
        const int32_t length = source.GetSize();
        ASSERT_EQ(inflate.Decompress(source, out, length), 0) << U8(inflate.mStatus.StatusText());
        EXPECT_TRUE(source.IsOpen());  // open before, still open
        EXPECT_EQ(source.Tell(), length);
        source.Close();
        EXPECT_EQ(out.GetCrc(), ~Crc32(data)) << level;
        EXPECT_LE(out.largest, 4096);
        EXPECT_EQ(ReadFile("out.bin"), data) << level;
    }
}

TEST(ALEngine, ShortAndDamagedInput) {
    ScratchFolder scratch;
    const Bytes data = Pattern(100000, 2);
    const Bytes packed = RawDeflate(data);
    WriteFile("whole.bin", packed);
    WriteFile("half.bin", Bytes(packed.begin(), packed.begin() + packed.size() / 2));
    Bytes damaged = packed;
    damaged[10] ^= 0xFF;
    WriteFile("damaged.bin", damaged);
    struct Case {
        const wchar_t* file;
        int32_t length;
        bool complete;
    } cases[] = {
        {L"whole.bin", -1, true},
        {L"whole.bin", 0, false},  // nothing to inflate: empty output
        {L"half.bin", -1, false},  // truncated: no error here, the CRC tells
        {L"damaged.bin", -1, false},
    };
    for (const Case& c : cases) {
        ALFile in(c.file);
        ALFile out(L"out.bin");
        ALPkDecompressor inflate;
        EXPECT_EQ(inflate.Decompress(in, out, c.length), 0) << U8(c.file);
        const bool matches = out.GetCrc() == ~Crc32(data);
        EXPECT_EQ(matches, c.complete) << U8(c.file) << " " << c.length;
        if (c.length == 0) {
            EXPECT_TRUE(ReadFile("out.bin").empty());
        }
    }
}

TEST(ALEngine, CopyEngines) {
    ScratchFolder scratch;
    const Bytes data = Random(10000, 9);
    WriteFile("in.bin", data);
    ALFile in(L"in.bin");
    ALFile out(L"copy.bin");
    ALCopyCompressor copy;
    ASSERT_EQ(copy.Compress(in, out), 0);
    EXPECT_EQ(in.GetCrc(), ~Crc32(data));
    ALFile source(L"copy.bin");
    ALFile part(L"part.bin");
    ALCopyDecompressor take;
    ASSERT_EQ(take.Decompress(source, part, 1234), 0);
    EXPECT_EQ(ReadFile("part.bin"), Bytes(data.begin(), data.begin() + 1234));

    ALFile missing(L"missing.bin");
    ALFile sink(L"sink.bin");
    EXPECT_EQ(take.Decompress(missing, sink, -1), AL_CANT_OPEN_FILE);
    EXPECT_EQ(U8(take.mStatus.StatusText()).rfind("File open failure.  Open of missing.bin", 0), 0u);
}
