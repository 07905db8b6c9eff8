#include "ALFile.h"

#include "ALPlatform.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>

ALFile::ALFile(const std::wstring& name, int32_t bufferSize, int32_t caseMode)
    : ALStorage(name, bufferSize, AL_FILE_OBJECT, caseMode) {}

ALFile::~ALFile() {
    if (raw_.IsOpen()) Close();
}

int32_t ALFile::Open() {
    if (mStatus.Failed()) return mStatus.GetStatusCode();
    if (!raw_.OpenForReading(mName.GetName())) {
        return mStatus.SetError(AL_CANT_OPEN_FILE, L"File open failure.  Open of %ls returned errno = %d",
                                mName.c_str(), errno);
    }
    if (ALStorage::Open() < 0) return mStatus.GetStatusCode();
    alsys::FileInfo info;
    if (!raw_.Stat(info)) {
        return mStatus.SetError(AL_CANT_OPEN_FILE,
                                L"Couldn't get time, date, and size information for %ls.  errno = %d.",
                                mName.c_str(), errno);
    }
    size_ = static_cast<int32_t>(info.size);
    mTimeDate = alsys::LocalTime(info.modified);
    mAttributes = static_cast<uint16_t>((mAttributes & ~0x000Fu) | alsys::GetAttributes(mName.GetName()));
    return mStatus.GetStatusCode();
}

int32_t ALFile::Create(int32_t size) {
    if (ALStorage::Create(size) < 0) return mStatus.GetStatusCode();
    if (mName.empty()) return CreateTemporary(size);
    return CreateNamed(size);
}

int32_t ALFile::CreateNamed(int32_t sizeHint) {
    const bool directory = (mAttributes & AL_ATTRIBUTE_DIRECTORY) != 0;
    auto attempt = [&]() -> int {
        if (directory) return ENOENT;
        alsys::ClearReadOnly(mName.GetName());
        if (raw_.OpenForWriting(mName.GetName(), false, sizeHint)) return 0;
        return errno;
    };
    int error = attempt();
    const std::wstring& name = mName.GetName();
    const bool hasSeparator = name.find_first_of(L"/\\") != std::wstring::npos;
    if (error == ENOENT && hasSeparator && MakeDirectories()) error = attempt();
    if (raw_.IsOpen() || directory) return mStatus.GetStatusCode();
    return mStatus.SetError(AL_CANT_OPEN_FILE, L"File creation failure.  Open of %ls returned errno = %d",
                            mName.c_str(), error);
}

int32_t ALFile::CreateTemporary(int32_t sizeHint) {
    for (int32_t counter = 0; counter < 1000; ++counter) {
        MakeTempName(counter);
        if (raw_.OpenForWriting(mName.GetName(), true, sizeHint)) return mStatus.GetStatusCode();
        const int error = errno;
        if (error != EEXIST && error != EACCES) {
            mStatus.SetError(AL_CANT_OPEN_FILE, L"Temporary file creation failure.  Open of %ls returned errno = %d",
                             mName.c_str(), error);
            mName = std::wstring();
            return mStatus.GetStatusCode();
        }
    }
    mStatus.SetError(AL_CANT_OPEN_FILE,
                     L"Temporary file creation failure.  Tried 1000 times to open %ls (or a name something like that).",
                     mName.c_str());
    mName = std::wstring();
    return mStatus.GetStatusCode();
}

void ALFile::MakeTempName(int32_t counter) {
    wchar_t text[32];
    std::swprintf(text, 32, L"~al~%03d.tmp", static_cast<int>(counter));
    mName = std::wstring(text);
}

int32_t ALFile::MakeDirectories() {
    const std::wstring name = mName.GetName();
    for (size_t i = 0; i < name.size(); ++i) {
        if (name[i] != L'/' && name[i] != L'\\') continue;
        if (alsys::MakeDirectory(name.substr(0, i)) == 0) continue;
        const int error = errno;
        if (error != ENOENT && error != EACCES && error != EEXIST && error != ENFILE) return 0;
    }
    return 1;
}

int32_t ALFile::WriteFailure(int64_t written, int error) {
    return mStatus.SetError(AL_WRITE_ERROR, L"Write failure on %ls.  result = %d, errno = %d", mName.c_str(),
                            static_cast<int>(written), error);
}

int32_t ALFile::LoadBuffer(int32_t position) {
    if (mStatus.Failed()) return mStatus.GetStatusCode();
    if (!buffer_ || !raw_.IsOpen()) return NotOpenError();
    if (position != filePosition_ && !raw_.Seek(position)) {
        return mStatus.SetError(AL_SEEK_ERROR, L"Seek failure on %ls.  errno = %d", mName.c_str(), errno);
    }
    // Positions are 32-bit: nothing at or beyond 2 GiB is read.
    const int64_t room = INT32_MAX - static_cast<int64_t>(position);
    const int64_t n = raw_.Read(buffer_.get(), std::min<int64_t>(bufferSize_, std::max<int64_t>(room, 0)));
    if (n < 0) return mStatus.SetError(AL_READ_ERROR, L"Read failure on %ls.  errno = %d", mName.c_str(), errno);
    filePosition_ = position;
    readIndex_ = endOfData_ = 0;
    if (n == 0) return AL_END_OF_FILE;
    const int32_t count = static_cast<int32_t>(n);
    ProcessRead(buffer_.get(), count);
    filePosition_ = position + count;
    endOfData_ = count;
    ServiceEvents();
    return count;
}

int32_t ALFile::FlushBuffer() {
    if (mStatus.Failed()) return mStatus.GetStatusCode();
    if (writeIndex_ != 0) {
        if (!buffer_ || !raw_.IsOpen()) return NotOpenError();
        if (static_cast<int64_t>(filePosition_) + writeIndex_ > INT32_MAX) {
            return mStatus.SetError(AL_WRITE_ERROR, L"Write failure on %ls.  The file would reach the 2 GiB limit",
                                    mName.c_str());
        }
        ProcessWrite(buffer_.get(), writeIndex_);
        const int64_t n = raw_.Write(buffer_.get(), writeIndex_);
        if (n != writeIndex_) return WriteFailure(raw_.LastWriteResult(), errno);
        filePosition_ += writeIndex_;
        writeIndex_ = 0;
    }
    readIndex_ = endOfData_ = 0;
    ServiceEvents();
    return AL_SUCCESS;
}

int32_t ALFile::Seek(int32_t position) {
    if (FlushBuffer() < 0) return mStatus.GetStatusCode();
    if (position != filePosition_) {
        if (!raw_.Seek(position)) {
            return mStatus.SetError(AL_SEEK_ERROR, L"Seek failure on %ls.  errno = %d", mName.c_str(), errno);
        }
    }
    filePosition_ = position;
    return AL_SUCCESS;
}

int32_t ALFile::Close() {
    if (!raw_.IsOpen()) {
        FreeBuffer();
        stampOnClose_ = false;
        return mStatus.GetStatusCode();
    }
    FlushBuffer();
    alsys::FileInfo info;
    if (raw_.Stat(info)) {
        size_ = static_cast<int32_t>(info.size);
    } else if (!mStatus.Failed()) {
        WriteFailure(raw_.LastWriteResult(), errno);
    }
    const bool stamp = stampOnClose_ && mTimeDate.IsSet();
    // The time stamp is local time; the system converts it with the daylight-saving state of
    // that date (not of today), so a stamp shows unchanged in local time whatever the season.
    // File times set here keep the two-second resolution of DOS times.
    if (stamp) {
        ALTimeStamp dos = mTimeDate;
        dos.second = static_cast<uint16_t>(dos.second & ~1u);
        raw_.SetModifiedTime(alsys::FromLocalTime(dos));
    }
    if (!raw_.Close() && !mStatus.Failed()) WriteFailure(raw_.LastWriteResult(), errno);
    FreeBuffer();
    if (stamp) alsys::SetAttributes(mName.GetName(), mAttributes);
    stampOnClose_ = false;
    return mStatus.GetStatusCode();
}

int32_t ALFile::Delete() {
    if (alsys::Remove(mName.GetName()) != 0) {
        return mStatus.SetError(AL_DELETE_ERROR, L"Error deleting file %ls, errno = %d", mName.c_str(), errno);
    }
    return AL_SUCCESS;
}

int32_t ALFile::Rename(const wchar_t* newName, bool deleteExisting) {
    const std::wstring source = newName ? mName.GetName() : mName.GetOldName();
    const std::wstring target = newName ? std::wstring(newName) : mName.GetName();
    if (deleteExisting) {
        if (mName.SameName(source, target)) {
            return mStatus.SetError(AL_RENAME_ERROR,
                                    L"Error attempting to rename %ls to %ls.  Can't rename to the same name!",
                                    target.c_str(), source.c_str());
        }
        if (alsys::Remove(target) != 0 && errno != ENOENT) {
            return mStatus.SetError(AL_RENAME_ERROR, L"Error deleting %ls before renaming %ls.  errno = %d",
                                    target.c_str(), source.c_str(), errno);
        }
    }
    if (alsys::RenameFile(source, target) != 0) {
        return mStatus.SetError(AL_RENAME_ERROR, L"Error renaming %ls to %ls.  errno = %d", source.c_str(),
                                target.c_str(), errno);
    }
    if (newName) mName = target;
    return AL_SUCCESS;
}

int32_t ALFile::RenameToBackup(bool deleteExisting) {
    mName.ChangeExtension(L".bak");
    return Rename(nullptr, deleteExisting);
}

int32_t ALFile::UndoRename(bool deleteExisting) {
    const std::wstring current = mName.GetName();
    const std::wstring previous = mName.GetOldName();
    if (deleteExisting && alsys::Remove(previous) != 0 && errno != ENOENT) {
        return mStatus.SetError(AL_RENAME_ERROR, L"Error deleting %ls before renaming %ls.  errno = %d",
                                previous.c_str(), current.c_str(), errno);
    }
    if (alsys::RenameFile(current, previous) != 0 && errno != ENOENT) {
        return mStatus.SetError(AL_RENAME_ERROR, L"Error renaming %ls to %ls.  errno = %d", current.c_str(),
                                previous.c_str(), errno);
    }
    mName = previous;
    return AL_SUCCESS;
}

std::unique_ptr<ALStorage> ALFile::Clone(const std::wstring& name, int32_t type) const {
    if (type != AL_STORAGE_DEFAULT && type != AL_FILE_OBJECT) return nullptr;
    return std::make_unique<ALFile>(name, kDefaultBufferSize, AL_MIXED_NOCASE);
}
