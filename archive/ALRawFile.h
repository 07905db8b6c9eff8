#pragma once
// The file beneath an ALFile: one descriptor and a batch buffer of up to 256 KiB, so that the
// 4096-byte buffers of the storage objects above cost one system call per batch, not per buffer.
// Reads are served from read-ahead; writes are gathered and written when the batch is full, on
// Seek, Flush, Stat and Close. A failed batched write is reported by the call that writes it,
// with the count written and the error number.
#include <cstdint>
#include <memory>
#include <string>

#include "ALPlatform.h"

class ALRawFile {
public:
    static constexpr int64_t kMaximumBatch = 256 * 1024;

    ALRawFile() = default;
    ~ALRawFile() { Close(); }
    ALRawFile(const ALRawFile&) = delete;
    ALRawFile& operator=(const ALRawFile&) = delete;

    // Both return false with errno set when the file cannot be opened. The size hint (bytes
    // expected, -1 unknown) keeps the batch of a small file small.
    bool OpenForReading(const std::wstring& name);
    bool OpenForWriting(const std::wstring& name, bool exclusive, int64_t sizeHint);
    bool IsOpen() const noexcept { return fd_ >= 0; }

    // Bytes read (0 at the end of the file) or -1 with errno.
    int64_t Read(uint8_t* destination, int64_t count);
    // count, or what a failed write of the batch achieved (-1 for nothing) with errno set; then
    // lastWriteResult() tells the bytes that reached the file in the failing call.
    int64_t Write(const uint8_t* source, int64_t count);
    bool Seek(int64_t position);
    bool Flush();
    bool Stat(alsys::FileInfo& info);
    bool SetModifiedTime(int64_t seconds);
    // Writes what is pending and closes; false with errno when either failed. Closed afterwards.
    bool Close();

    int64_t LastWriteResult() const noexcept { return lastWriteResult_; }

private:
    void Allocate(int64_t sizeHint);
    bool DropReadAhead();

    int fd_ = -1;
    std::unique_ptr<uint8_t[]> batch_;
    int64_t capacity_ = 0;
    int64_t batchStart_ = 0;  // file offset of batch_[0]
    int64_t batchLength_ = 0;  // bytes of read-ahead, or bytes waiting to be written
    int64_t batchCursor_ = 0;  // next byte of read-ahead
    bool writing_ = false;
    int64_t osPosition_ = 0;  // where the system's file pointer stands
    int64_t lastWriteResult_ = 0;
};
