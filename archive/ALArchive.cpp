#include "ALArchive.h"

#include "ALFile.h"

ALArchive::ALArchive(const std::wstring& name, int32_t formatCode)
    : ownedStorage_(std::make_unique<ALFile>(name, ALStorage::kDefaultBufferSize, AL_MIXED_NOCASE)),
      storage_(ownedStorage_.get()), formatCode_(formatCode), flags_(AL_ARCHIVE_OWNS_STORAGE) {}

ALArchive::ALArchive(ALStorage& storage, int32_t formatCode) : storage_(&storage), formatCode_(formatCode) {}

ALArchive::~ALArchive() = default;

int32_t ALArchive::PreCompress(ALEntry&) { return mStatus.GetStatusCode(); }
int32_t ALArchive::PostCompress(ALEntry&) { return mStatus.GetStatusCode(); }
int32_t ALArchive::SkipLocalHeader(ALEntry&) { return mStatus.GetStatusCode(); }
int32_t ALArchive::PostDecompress(ALEntry&) { return mStatus.GetStatusCode(); }
int32_t ALArchive::PreWriteDirectory() { return mStatus.GetStatusCode(); }
int32_t ALArchive::PostWriteDirectory() { return mStatus.GetStatusCode(); }
int32_t ALArchive::SkipLocalRecordHead(ALEntry&) { return mStatus.GetStatusCode(); }

int32_t ALArchive::WriteArchiveData() { return storage_->WriteInt16BE(0); }

int32_t ALArchive::ReadArchiveData() {
    uint16_t ignored = 0;
    return storage_->ReadInt16BE(ignored);
}
