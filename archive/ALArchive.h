#pragma once
// The abstract archive: an archive format kept in one storage object, whose members are
// described by the ALEntry objects of an ALEntryGroup. ALPkArchive is the ZIP implementation.
#include "ALEntry.h"
#include "ALStatusRecord.h"
#include "ALStorage.h"
#include "ALStorageName.h"

#include <memory>
#include <string>

enum ALArchiveFlag : int32_t {
    AL_ARCHIVE_OWNS_STORAGE = 0x01,
};

class ALArchive {
public:
    // From a name: the archive makes and owns an ALFile of that name (4096-byte buffer, case
    // mode 3). From a storage object: the archive uses it and does not own it.
    ALArchive(const std::wstring& name, int32_t formatCode);
    ALArchive(ALStorage& storage, int32_t formatCode);
    virtual ~ALArchive();
    ALArchive(const ALArchive&) = delete;
    ALArchive& operator=(const ALArchive&) = delete;

    // Two hooks without argument and one with an entry keep their places among the virtual
    // operations; nothing calls them, and they do nothing here.
    virtual void ReservedHook1() {}
    virtual void ReservedHook2() {}
    virtual int32_t PreCompress(ALEntry& entry);
    virtual int32_t PostCompress(ALEntry& entry);
    virtual int32_t SkipLocalHeader(ALEntry& entry);
    virtual int32_t PostDecompress(ALEntry& entry);
    virtual int32_t PreWriteDirectory();
    virtual int32_t WriteDirectoryEntry(ALEntry& entry) = 0;
    virtual int32_t PostWriteDirectory();
    virtual int32_t SkipLocalRecordHead(ALEntry& entry);
    virtual void ReservedEntryHook(ALEntry&) {}
    virtual int32_t WriteArchiveData();  // a 16-bit big-endian zero
    virtual int32_t ReadArchiveData();  // a 16-bit big-endian value; returns the storage status
    // Fills the group from the archive's directory: the number of entries added, or a negative
    // status code (also left in mStatus).
    virtual int32_t ReadDirectory(ALEntryGroup& group) = 0;

    ALStorage& GetStorageObject() noexcept { return *storage_; }
    int32_t FormatCode() const noexcept { return formatCode_; }
    int32_t DirectoryOffset() const noexcept { return directoryOffset_; }

    ALStatusRecord mStatus;
    ALStorageName mComment{std::wstring(), AL_MIXED};

protected:
    std::unique_ptr<ALStorage> ownedStorage_;
    ALStorage* storage_;
    int32_t formatCode_;
    int32_t entriesWritten_ = 0;
    int32_t flags_ = 0;
    int32_t directoryOffset_ = -1;
};
