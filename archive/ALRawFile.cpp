#include "ALRawFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>

void ALRawFile::Allocate(int64_t sizeHint) {
    int64_t want = kMaximumBatch;
    if (sizeHint >= 0) want = std::clamp<int64_t>((sizeHint + 4095) / 4096 * 4096, 4096, kMaximumBatch);
    batch_.reset(new (std::nothrow) uint8_t[static_cast<size_t>(want)]);
    capacity_ = batch_ ? want : 0;  // without a batch every call goes straight to the system
    batchStart_ = batchLength_ = batchCursor_ = osPosition_ = 0;
    writing_ = false;
}

bool ALRawFile::OpenForReading(const std::wstring& name) {
    Close();
    fd_ = alsys::OpenForReading(name);
    if (fd_ < 0) return false;
    alsys::FileInfo info;
    Allocate(alsys::Stat(fd_, info) ? info.size : -1);
    return true;
}

bool ALRawFile::OpenForWriting(const std::wstring& name, bool exclusive, int64_t sizeHint) {
    Close();
    fd_ = alsys::OpenForWriting(name, exclusive);
    if (fd_ < 0) return false;
    Allocate(sizeHint);
    return true;
}

bool ALRawFile::DropReadAhead() {
    if (writing_ || batchLength_ == 0) return true;
    const int64_t logical = batchStart_ + batchCursor_;
    batchStart_ = logical;
    batchLength_ = batchCursor_ = 0;
    if (osPosition_ != logical) {
        if (alsys::SeekTo(fd_, logical) < 0) return false;
        osPosition_ = logical;
    }
    return true;
}

int64_t ALRawFile::Read(uint8_t* destination, int64_t count) {
    if (fd_ < 0) {
        errno = EBADF;
        return -1;
    }
    if (writing_ && !Flush()) return -1;
    writing_ = false;
    int64_t done = 0;
    while (done < count) {
        if (batchCursor_ < batchLength_) {
            const int64_t n = std::min(count - done, batchLength_ - batchCursor_);
            std::memcpy(destination + done, batch_.get() + batchCursor_, static_cast<size_t>(n));
            batchCursor_ += n;
            done += n;
            continue;
        }
        batchStart_ += batchLength_;
        batchLength_ = batchCursor_ = 0;
        if (count - done >= capacity_) {
            const int64_t n = alsys::Read(fd_, destination + done, count - done);
            if (n < 0) return done > 0 ? done : -1;
            osPosition_ += n;
            batchStart_ = osPosition_;
            done += n;
            break;
        }
        const int64_t n = alsys::Read(fd_, batch_.get(), capacity_);
        if (n < 0) return done > 0 ? done : -1;
        osPosition_ += n;
        batchLength_ = n;
        if (n == 0) break;
    }
    return done;
}

int64_t ALRawFile::Write(const uint8_t* source, int64_t count) {
    if (fd_ < 0) {
        errno = EBADF;
        return -1;
    }
    if (!writing_) {
        if (!DropReadAhead()) return -1;
        writing_ = true;
        batchStart_ = osPosition_;
        batchLength_ = batchCursor_ = 0;
    }
    if (batchLength_ + count > capacity_ && !Flush()) return lastWriteResult_;
    if (count >= capacity_) {
        const int64_t n = alsys::Write(fd_, source, count);
        lastWriteResult_ = n;
        if (n > 0) osPosition_ += n;
        batchStart_ = osPosition_;
        if (n != count) return n;
        return count;
    }
    std::memcpy(batch_.get() + batchLength_, source, static_cast<size_t>(count));
    batchLength_ += count;
    return count;
}

bool ALRawFile::Flush() {
    if (fd_ < 0 || !writing_ || batchLength_ == 0) return true;
    const int64_t n = alsys::Write(fd_, batch_.get(), batchLength_);
    lastWriteResult_ = n;
    if (n > 0) osPosition_ += n;
    const bool complete = n == batchLength_;
    if (!complete && n >= 0) errno = errno ? errno : ENOSPC;
    batchStart_ = osPosition_;
    batchLength_ = 0;
    return complete;
}

bool ALRawFile::Seek(int64_t position) {
    if (fd_ < 0) {
        errno = EBADF;
        return false;
    }
    if (!writing_ && position >= batchStart_ && position <= batchStart_ + batchLength_) {
        batchCursor_ = position - batchStart_;
        return true;
    }
    if (writing_ && !Flush()) return false;
    writing_ = false;
    batchLength_ = batchCursor_ = 0;
    if (position < 0) {
        errno = EINVAL;
        return false;
    }
    if (alsys::SeekTo(fd_, position) < 0) return false;
    osPosition_ = batchStart_ = position;
    return true;
}

bool ALRawFile::Stat(alsys::FileInfo& info) {
    if (!Flush()) return false;
    return alsys::Stat(fd_, info);
}

bool ALRawFile::SetModifiedTime(int64_t seconds) {
    if (!Flush()) return false;
    return alsys::SetModifiedTime(fd_, seconds);
}

bool ALRawFile::Close() {
    if (fd_ < 0) return true;
    bool ok = Flush();
    const int saved = errno;
    if (alsys::Close(fd_) != 0 && ok) {
        ok = false;
    } else if (!ok) {
        errno = saved;
    }
    fd_ = -1;
    batch_.reset();
    capacity_ = 0;
    return ok;
}
