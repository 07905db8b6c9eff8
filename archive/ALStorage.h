#pragma once
// A storage object: a buffered byte stream with a name, a size, a time stamp, attributes, a
// CRC-32 accumulator, an optional decryption hook, an optional progress monitor and its own
// status. ALStorage holds the buffering and the typed reads and writes; a concrete kind
// (ALFile) supplies the loading, flushing, seeking and naming operations.
//
// Once the status is negative every operation returns it without touching the data.
#include "ALStatusRecord.h"
#include "ALStorageName.h"
#include "ALTimeStamp.h"

#include <cstdint>
#include <memory>
#include <string>

class ALCryptoEngine;
class ALMonitor;

enum ALStorageType : int32_t {
    AL_STORAGE_DEFAULT = -1,  // a new object of the prototype's own kind
    AL_FILE_OBJECT = 1,
};

// Bits of the attribute word.
enum ALAttribute : uint16_t {
    AL_ATTRIBUTE_READ_ONLY = 0x0001,
    AL_ATTRIBUTE_SYSTEM = 0x0002,
    AL_ATTRIBUTE_HIDDEN = 0x0004,
    AL_ATTRIBUTE_ARCHIVE = 0x0008,
    AL_ATTRIBUTE_DIRECTORY = 0x4000,
};

class ALStorage {
public:
    static constexpr int32_t kDefaultBufferSize = 4096;

    // The status starts at 0, the size at -1, the CRC register at 0xFFFFFFFF; no buffer.
    ALStorage(const std::wstring& name, int32_t bufferSize, int32_t storageType, int32_t caseMode);
    virtual ~ALStorage();
    ALStorage(const ALStorage&) = delete;
    ALStorage& operator=(const ALStorage&) = delete;

    virtual int32_t WriteStorageData();  // a 16-bit big-endian zero
    virtual int32_t ReadStorageData();  // a 16-bit big-endian value; returns the status
    // Allocates the buffer and resets the stream for reading.
    virtual int32_t Open();
    // Allocates the buffer, resets the stream, sets the size to 0 and asks Close to apply the
    // time stamp and the attributes. The size is a hint of the final length (-1: unknown).
    virtual int32_t Create(int32_t size = -1);
    // Frees the buffer; returns the status.
    virtual int32_t Close();
    // Fills the buffer from the position: the count of bytes, -1 at the end of data (status
    // unchanged), or the negative status.
    virtual int32_t LoadBuffer(int32_t position) = 0;
    // Writes what the buffer holds and discards read-ahead; 0 or the negative status.
    virtual int32_t FlushBuffer() = 0;
    virtual int32_t Seek(int32_t position) = 0;
    // Tells the attached monitor the position, then dispatches pending window messages.
    virtual void ServiceEvents();
    virtual int32_t Rename(const wchar_t* newName = nullptr, bool deleteExisting = true) = 0;
    virtual int32_t UndoRename(bool deleteExisting = true) = 0;
    virtual int32_t RenameToBackup(bool deleteExisting = true) = 0;
    virtual int32_t Delete() = 0;
    // A new object of this kind for the type (-1 or the kind's own code), or null.
    virtual std::unique_ptr<ALStorage> Clone(const std::wstring& name, int32_t type) const = 0;

    // The next byte (0-255), -1 at the end of data, or the negative status.
    int ReadChar();
    // The byte, or the negative status.
    int WriteChar(int c);
    // Bytes read; fewer at the end of data or on error.
    int32_t ReadBuffer(uint8_t* destination, int32_t count);
    // Bytes written; 0 at once when the status is negative.
    int32_t WriteBuffer(const uint8_t* source, int32_t count);
    // The logical position of the stream.
    int32_t Tell() const noexcept;

    // Reads length bytes (length -1: a 16-bit big-endian length first) and assigns them to the
    // name, decoded as UTF-8 when utf8 is set, from the system's 8-bit code page otherwise.
    int32_t ReadString(ALStorageName& name, int32_t length, bool utf8 = false);

    // Typed reads: missing bytes at the end of data read as zero; all return the status.
    int32_t ReadInt16LE(uint16_t& value);
    int32_t ReadInt32LE(uint32_t& value);
    int32_t ReadInt16BE(uint16_t& value);
    int32_t ReadInt32BE(uint32_t& value);
    int32_t WriteInt16LE(uint32_t value);
    int32_t WriteInt32LE(uint32_t value);
    int32_t WriteInt16BE(uint32_t value);
    int32_t WriteInt32BE(uint32_t value);

    // Starts accumulating the CRC over every buffer read or written from the value (-1 from the
    // engines). GetCrc flushes pending output first, stops the accumulation and returns the
    // register (the CRC-32 without its final complement).
    void InitCrc(uint32_t value) noexcept;
    uint32_t GetCrc();

    bool IsOpen() const noexcept { return buffer_ != nullptr; }
    int32_t GetSize() const noexcept { return size_; }
    void SetSize(int32_t size) noexcept { size_ = size; }
    int32_t StorageType() const noexcept { return storageType_; }
    int32_t BufferSize() const noexcept { return bufferSize_; }

    ALMonitor* GetMonitor() const noexcept { return monitor_; }
    void SetMonitor(ALMonitor* monitor) noexcept { monitor_ = monitor; }
    ALCryptoEngine* GetDecryptionHook() const noexcept { return decryptionHook_; }
    void SetDecryptionHook(ALCryptoEngine* hook) noexcept { decryptionHook_ = hook; }

    // Direct access to the buffer for the engines, which inflate and deflate in place.
    uint8_t* Buffer() noexcept { return buffer_.get(); }
    int32_t ReadIndex() const noexcept { return readIndex_; }
    void SetReadIndex(int32_t index) noexcept { readIndex_ = index; }
    int32_t EndOfData() const noexcept { return endOfData_; }
    int32_t WriteIndex() const noexcept { return writeIndex_; }
    void SetWriteIndex(int32_t index) noexcept { writeIndex_ = index; }

    ALStorageName mName;
    ALTimeStamp mTimeDate;
    uint16_t mAttributes = 0;
    ALStatusRecord mStatus;

protected:
    // Allocates the buffer (failure: -1200) and resets indexes, position and CRC.
    int32_t AllocateAndReset();
    void FreeBuffer() noexcept { buffer_.reset(); }
    // Runs the decryption hook and the CRC over bytes read or about to be written.
    void ProcessRead(uint8_t* data, int32_t count);
    void ProcessWrite(uint8_t* data, int32_t count);
    int32_t NotOpenError();

    std::unique_ptr<uint8_t[]> buffer_;
    int32_t bufferSize_;
    int32_t endOfData_ = 0;
    int32_t writeIndex_ = 0;
    int32_t readIndex_ = 0;
    int32_t filePosition_ = 0;
    int32_t size_ = -1;
    uint32_t crcRegister_ = 0xFFFFFFFFu;
    bool crcOn_ = false;
    bool stampOnClose_ = false;
    ALCryptoEngine* decryptionHook_ = nullptr;
    int32_t storageType_;
    ALMonitor* monitor_ = nullptr;
};

// The CRC-32 of ZIP (reflected polynomial 0xEDB88320) applied to a register without the final
// complement: for each byte b, register = (register >> 8) ^ table[(register ^ b) & 0xFF].
uint32_t ALUpdateCrc(uint32_t registerValue, const uint8_t* data, size_t count) noexcept;
