#include "ALStorage.h"

#include "ALEngine.h"
#include "ALMonitor.h"
#include "ALPlatform.h"
#include "ALText.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <new>

uint32_t ALUpdateCrc(uint32_t registerValue, const uint8_t* data, size_t count) noexcept {
    // zlib's crc32() applies the complement on entry and exit; undo both around it.
    uint32_t crc = ~registerValue;
    while (count > 0) {
        const uInt chunk = static_cast<uInt>(std::min<size_t>(count, 1u << 30));
        crc = static_cast<uint32_t>(::crc32(crc, data, chunk));
        data += chunk;
        count -= chunk;
    }
    return ~crc;
}

ALStorage::ALStorage(const std::wstring& name, int32_t bufferSize, int32_t storageType, int32_t caseMode)
    : mName(std::wstring(), caseMode), bufferSize_(bufferSize > 0 ? bufferSize : kDefaultBufferSize),
      storageType_(storageType) {
    mName = name;
    // A name that could not be stored leaves the object unusable but constructed.
    if (mName.empty() && !name.empty()) {
        mStatus.SetError(AL_CANT_ALLOCATE_BUFFER, L"Allocation of buffer failed in ALStorage constructor");
    }
}

ALStorage::~ALStorage() = default;

int32_t ALStorage::WriteStorageData() { return WriteInt16BE(0); }

int32_t ALStorage::ReadStorageData() {
    uint16_t ignored = 0;
    return ReadInt16BE(ignored);
}

int32_t ALStorage::AllocateAndReset() {
    if (!buffer_) {
        buffer_.reset(new (std::nothrow) uint8_t[static_cast<size_t>(bufferSize_)]);
        if (!buffer_) return mStatus.SetError(AL_CANT_ALLOCATE_BUFFER, L"Allocation of buffer failed in Open()");
    }
    crcRegister_ = 0xFFFFFFFFu;
    crcOn_ = false;
    endOfData_ = writeIndex_ = readIndex_ = filePosition_ = 0;
    return AL_SUCCESS;
}

int32_t ALStorage::Open() {
    if (mStatus.Failed()) return mStatus.GetStatusCode();
    return AllocateAndReset();
}

int32_t ALStorage::Create(int32_t) {
    if (mStatus.Failed()) return mStatus.GetStatusCode();
    if (AllocateAndReset() < 0) return mStatus.GetStatusCode();
    size_ = 0;
    stampOnClose_ = true;
    return AL_SUCCESS;
}

int32_t ALStorage::Close() {
    FreeBuffer();
    return mStatus.GetStatusCode();
}

int32_t ALStorage::NotOpenError() {
    return mStatus.SetError(AL_LOGIC_ERROR, L"Attempt to read or write %ls while it is not open", mName.c_str());
}

void ALStorage::ServiceEvents() {
    if (monitor_ != nullptr) monitor_->Progress(Tell(), *this);
    alsys::PumpMessages();
}

void ALStorage::ProcessRead(uint8_t* data, int32_t count) {
    if (!crcOn_ && decryptionHook_ == nullptr) return;
    if (decryptionHook_ != nullptr) decryptionHook_->Transform(data, count, ALCryptoEngine::kDecrypt);
    if (crcOn_) crcRegister_ = ALUpdateCrc(crcRegister_, data, static_cast<size_t>(count));
}

void ALStorage::ProcessWrite(uint8_t* data, int32_t count) {
    if (!crcOn_ && decryptionHook_ == nullptr) return;
    if (decryptionHook_ != nullptr) decryptionHook_->Transform(data, count, ALCryptoEngine::kEncrypt);
    if (crcOn_) crcRegister_ = ALUpdateCrc(crcRegister_, data, static_cast<size_t>(count));
}

int ALStorage::ReadChar() {
    if (readIndex_ >= endOfData_) {
        const int32_t loaded = LoadBuffer(filePosition_);
        if (loaded < 0) return loaded;
    }
    return buffer_[readIndex_++];
}

int ALStorage::WriteChar(int c) {
    if (mStatus.Failed()) return mStatus.GetStatusCode();
    if (!buffer_) return NotOpenError();
    buffer_[writeIndex_++] = static_cast<uint8_t>(c);
    if (writeIndex_ >= bufferSize_ && FlushBuffer() < 0) return mStatus.GetStatusCode();
    return c & 0xFF;
}

int32_t ALStorage::ReadBuffer(uint8_t* destination, int32_t count) {
    int32_t done = 0;
    while (done < count) {
        if (readIndex_ >= endOfData_ && LoadBuffer(filePosition_) < 0) break;
        const int32_t n = std::min(count - done, endOfData_ - readIndex_);
        std::memcpy(destination + done, buffer_.get() + readIndex_, static_cast<size_t>(n));
        readIndex_ += n;
        done += n;
    }
    return done;
}

int32_t ALStorage::WriteBuffer(const uint8_t* source, int32_t count) {
    if (mStatus.Failed()) return 0;
    if (!buffer_) {
        NotOpenError();
        return 0;
    }
    int32_t done = 0;
    while (done < count) {
        const int32_t n = std::min(count - done, bufferSize_ - writeIndex_);
        std::memcpy(buffer_.get() + writeIndex_, source + done, static_cast<size_t>(n));
        writeIndex_ += n;
        done += n;
        if (writeIndex_ >= bufferSize_ && FlushBuffer() < 0) break;
    }
    return done;
}

int32_t ALStorage::Tell() const noexcept {
    if (writeIndex_ != 0) return filePosition_ + writeIndex_;
    return filePosition_ + readIndex_ - endOfData_;
}

int32_t ALStorage::ReadString(ALStorageName& name, int32_t length, bool utf8) {
    if (mStatus.Failed()) return mStatus.GetStatusCode();
    if (length == -1) {
        uint8_t prefix[2];
        if (ReadBuffer(prefix, 2) != 2) {
            return mStatus.SetError(AL_READ_ERROR, L"Error reading string lengthin ReadString() for object %ls",
                                    mName.c_str());
        }
        length = (prefix[0] << 8) | prefix[1];
    }
    try {
        std::string bytes(static_cast<size_t>(std::max(length, 0)), '\0');
        const int32_t got = ReadBuffer(reinterpret_cast<uint8_t*>(bytes.data()), length);
        bytes.resize(static_cast<size_t>(std::max(got, 0)));
        name = utf8 ? ALUtf8ToWide(bytes) : ALAnsiToWide(bytes);
    } catch (const std::bad_alloc&) {
        return mStatus.SetError(AL_CANT_ALLOCATE_MEMORY,
                                L"Error allocating buffer space in call to ReadString() for object %ls", mName.c_str());
    }
    return mStatus.GetStatusCode();
}

namespace {

uint32_t LittleEndian(const uint8_t* b, int n) {
    uint32_t v = 0;
    for (int i = n - 1; i >= 0; --i) v = (v << 8) | b[i];
    return v;
}

uint32_t BigEndian(const uint8_t* b, int n) {
    uint32_t v = 0;
    for (int i = 0; i < n; ++i) v = (v << 8) | b[i];
    return v;
}

}  // namespace

int32_t ALStorage::ReadInt16LE(uint16_t& value) {
    uint8_t b[2] = {0, 0};
    ReadBuffer(b, 2);
    value = static_cast<uint16_t>(LittleEndian(b, 2));
    return mStatus.GetStatusCode();
}

int32_t ALStorage::ReadInt32LE(uint32_t& value) {
    uint8_t b[4] = {0, 0, 0, 0};
    ReadBuffer(b, 4);
    value = LittleEndian(b, 4);
    return mStatus.GetStatusCode();
}

int32_t ALStorage::ReadInt16BE(uint16_t& value) {
    uint8_t b[2] = {0, 0};
    ReadBuffer(b, 2);
    value = static_cast<uint16_t>(BigEndian(b, 2));
    return mStatus.GetStatusCode();
}

int32_t ALStorage::ReadInt32BE(uint32_t& value) {
    uint8_t b[4] = {0, 0, 0, 0};
    ReadBuffer(b, 4);
    value = BigEndian(b, 4);
    return mStatus.GetStatusCode();
}

int32_t ALStorage::WriteInt16LE(uint32_t value) {
    const uint8_t b[2] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8)};
    WriteBuffer(b, 2);
    return mStatus.GetStatusCode();
}

int32_t ALStorage::WriteInt32LE(uint32_t value) {
    const uint8_t b[4] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                          static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)};
    WriteBuffer(b, 4);
    return mStatus.GetStatusCode();
}

int32_t ALStorage::WriteInt16BE(uint32_t value) {
    const uint8_t b[2] = {static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value)};
    WriteBuffer(b, 2);
    return mStatus.GetStatusCode();
}

int32_t ALStorage::WriteInt32BE(uint32_t value) {
    const uint8_t b[4] = {static_cast<uint8_t>(value >> 24), static_cast<uint8_t>(value >> 16),
                          static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value)};
    WriteBuffer(b, 4);
    return mStatus.GetStatusCode();
}

void ALStorage::InitCrc(uint32_t value) noexcept {
    crcOn_ = true;
    crcRegister_ = value;
}

uint32_t ALStorage::GetCrc() {
    if (buffer_ && crcOn_) FlushBuffer();
    crcOn_ = false;
    return crcRegister_;
}
