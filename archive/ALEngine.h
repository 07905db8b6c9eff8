#pragma once
// Compression engines move the bytes of one member between two storage objects: a decompressor
// from an archive into the member's storage, a compressor from a storage into an archive. They
// are made by type code through the prototypes of an engine kit (ALEngineKit::Clone...).
//
// Both Decompress and Compress open a storage object that is not yet open (the input with Open,
// the output with Create) and close it again before returning; one that was open stays open and
// keeps its position.
#include "ALStatusRecord.h"

#include <cstdint>
#include <memory>

class ALStorage;

// Engine type codes: 100 + the ZIP method; deflate 108 to 111 by the option bits of the flags.
enum ALEngineType : int32_t {
    AL_ENGINE_DEFAULT = -1,  // a new engine of the prototype's own kind
    AL_COMPRESSION_COPY = 0,
    AL_PK_STORED = 100,
    AL_PK_DEFLATE_NORMAL = 108,
    AL_PK_DEFLATE_MAXIMUM = 109,
    AL_PK_DEFLATE_FAST = 110,
    AL_PK_DEFLATE_SUPER_FAST = 111,
};

class ALEngine {
public:
    ALEngine(int32_t typeCode, const char* name) noexcept : typeCode_(typeCode), name_(name) {}
    virtual ~ALEngine() = default;
    ALEngine(const ALEngine&) = delete;
    ALEngine& operator=(const ALEngine&) = delete;

    virtual int32_t WriteEngineData(ALStorage& storage);  // a 16-bit big-endian zero
    virtual int32_t ReadEngineData(ALStorage& storage);  // a 16-bit big-endian value

    int32_t TypeCode() const noexcept { return typeCode_; }
    const char* Name() const noexcept { return name_; }

    ALStatusRecord mStatus;

protected:
    // Opens what is not open; 0, or the first negative status of either object (copied into
    // the engine). Sets the flags of the objects opened here.
    int32_t OpenBoth(ALStorage& input, ALStorage& output, bool& openedInput, bool& openedOutput);
    // Closes what OpenBoth opened; returns the negative status of either object (copied into
    // the engine) or the engine's own.
    int32_t Finish(ALStorage& input, ALStorage& output, bool openedInput, bool openedOutput);

    int32_t typeCode_;
    const char* name_;
};

class ALDecompressor : public ALEngine {
public:
    using ALEngine::ALEngine;
    // A new engine of this family for the type, or null when this prototype does not serve it.
    virtual std::unique_ptr<ALDecompressor> Clone(int32_t type) const = 0;
    // Decodes at most compressedLength bytes of the input (-1: until the input ends) into the
    // output. The output's CRC register holds the CRC of everything written afterwards. Returns
    // 0 or a negative status code.
    virtual int32_t Decompress(ALStorage& input, ALStorage& output, int32_t compressedLength = -1) = 0;
};

class ALCompressor : public ALEngine {
public:
    using ALEngine::ALEngine;
    virtual std::unique_ptr<ALCompressor> Clone(int32_t type) const = 0;
    // Encodes the whole input into the output; the input's CRC register holds the CRC of
    // everything read afterwards. Returns 0 or a negative status code.
    virtual int32_t Compress(ALStorage& input, ALStorage& output) = 0;
};

// A decryption engine: an interface only; this system has no engine of that kind. What the
// extraction loop asks of it: Start consumes the engine's own header from the archive, Finish
// ends the member, Transform changes each buffer as it is read or written.
class ALCryptoEngine : public ALEngine {
public:
    enum Direction { kDecrypt, kEncrypt };
    using ALEngine::ALEngine;
    virtual std::unique_ptr<ALCryptoEngine> Clone(int32_t type) const = 0;
    virtual int32_t Start(ALStorage& archive, ALStorage& member) = 0;
    virtual int32_t Finish(ALStorage& archive, ALStorage& member) = 0;
    virtual void Transform(uint8_t* data, int32_t count, Direction direction) = 0;
};
