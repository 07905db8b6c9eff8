#include "ALPkArchive.h"

#include "ALFile.h"
#include "ALText.h"

#include <algorithm>
#include <new>
#include <vector>

namespace {

constexpr int32_t kEndRecordSearch = 66000;
constexpr uint16_t kFlagEncrypted = 0x0001;
constexpr uint16_t kFlagDescriptor = 0x0008;
constexpr uint16_t kFlagUtf8 = 0x0800;
constexpr uint16_t kVersion = 20;  // made by MS-DOS, version 2.0; also the version needed
constexpr int32_t kLocalHeaderSize = 30;
constexpr int32_t kDescriptorSize = 16;

// ZIP external attributes (low byte, as on Windows) to the storage attribute word, and back.
uint16_t AttributesFromZip(uint32_t external) {
    uint16_t word = 0;
    if (external & 0x01) word |= AL_ATTRIBUTE_READ_ONLY;
    if (external & 0x04) word |= AL_ATTRIBUTE_SYSTEM;
    if (external & 0x02) word |= AL_ATTRIBUTE_HIDDEN;
    if (external & 0x20) word |= AL_ATTRIBUTE_ARCHIVE;
    if (external & 0x10) word |= AL_ATTRIBUTE_DIRECTORY;
    return word;
}

uint32_t AttributesToZip(uint16_t word) {
    uint32_t external = 0;
    if (word & AL_ATTRIBUTE_READ_ONLY) external |= 0x01;
    if (word & AL_ATTRIBUTE_HIDDEN) external |= 0x02;
    if (word & AL_ATTRIBUTE_SYSTEM) external |= 0x04;
    if (word & AL_ATTRIBUTE_DIRECTORY) external |= 0x10;
    if (word & AL_ATTRIBUTE_ARCHIVE) external |= 0x20;
    return external;
}

// DOS time stamps hold the years 1980 to 2107; a stamp outside them (or none) is clamped.
ALTimeStamp DosRange(const ALTimeStamp& stamp) {
    if (!stamp.IsSet() || stamp.year < 1980) return ALTimeStamp{1980, 1, 1, 0, 0, 0};
    if (stamp.year > 2107) return ALTimeStamp{2107, 12, 31, 23, 59, 58};
    return stamp;
}

int32_t Add32(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

// Opens a storage object for one operation unless the caller holds it open already, and closes
// it at the end of the operation only when it was opened here.
class OpenForOperation {
public:
    explicit OpenForOperation(ALStorage& storage) : storage_(storage), openedHere_(!storage.IsOpen()) {
        if (openedHere_) storage_.Open();
    }
    ~OpenForOperation() {
        if (openedHere_) storage_.Close();
    }
    OpenForOperation(const OpenForOperation&) = delete;
    OpenForOperation& operator=(const OpenForOperation&) = delete;

private:
    ALStorage& storage_;
    bool openedHere_;
};

// ".." and the steps Windows reads as ".." because it drops trailing dots and spaces from
// path components (".. ", "..."): only dots and spaces, starting with two dots.
bool IsParentStep(const std::wstring& step) {
    if (step.size() < 2 || step[0] != L'.' || step[1] != L'.') return false;
    return step.find_first_not_of(L". ") == std::wstring::npos;
}

}  // namespace

bool ALIsUnsafeMemberName(const std::wstring& name) {
    if (name.empty()) return false;
    if (name[0] == L'/' || name[0] == L'\\') return true;
    if (name.size() >= 2 && name[1] == L':') return true;
    size_t start = 0;
    while (start <= name.size()) {
        size_t end = name.find_first_of(L"/\\", start);
        if (end == std::wstring::npos) end = name.size();
        if (IsParentStep(name.substr(start, end - start))) return true;
        start = end + 1;
    }
    return false;
}

ALPkArchive::ALPkArchive(const std::wstring& name) : ALArchive(name, AL_PK_ARCHIVE_FORMAT) {}

ALPkArchive::ALPkArchive(ALStorage& storage) : ALArchive(storage, AL_PK_ARCHIVE_FORMAT) {}

int32_t ALPkArchive::CopyStorageStatus() {
    if (storage_->mStatus.Failed()) mStatus = storage_->mStatus;
    return mStatus.GetStatusCode();
}

// ---- reading

int32_t ALPkArchive::LocateEndRecord() {
    const int32_t size = storage_->GetSize();
    if (size <= 0) return -1;
    // The last "PK" 5 6 whose four bytes lie in the final 66000 bytes of the file.
    const int32_t range = std::min(size, kEndRecordSearch);
    std::vector<uint8_t> tail(static_cast<size_t>(range));
    if (storage_->Seek(size - range) < 0) return -1;
    const int32_t got = storage_->ReadBuffer(tail.data(), range);
    for (int32_t i = got - 4; i >= 0; --i) {
        if (tail[i] == 'P' && tail[i + 1] == 'K' && tail[i + 2] == 5 && tail[i + 3] == 6) {
            return size - range + i;
        }
    }
    return -1;
}

int32_t ALPkArchive::ReadEndRecord() {
    storage_->Seek(endRecordPosition_ + 4);
    uint32_t size = 0, offset = 0;
    uint16_t commentLength = 0;
    storage_->ReadInt16LE(thisDisk_);
    storage_->ReadInt16LE(directoryDisk_);
    storage_->ReadInt16LE(entriesOnDisk_);
    storage_->ReadInt16LE(totalEntries_);
    storage_->ReadInt32LE(size);
    storage_->ReadInt32LE(offset);
    storage_->ReadInt16LE(commentLength);
    directorySize_ = static_cast<int32_t>(size);
    directoryOffset_ = static_cast<int32_t>(offset);
    storage_->ReadString(mComment, commentLength);
    return storage_->mStatus.GetStatusCode();
}

// Reads one central record after its signature. 0 to go on, 1 at the end record, or a negative
// status (already in the archive's or the group's record).
int32_t ALPkArchive::ReadCentralRecord(ALEntryGroup& group, uint32_t& localTotal) {
    ALStorage& in = *storage_;
    uint16_t ignored16 = 0, flags = 0, method = 0;
    in.ReadInt16LE(ignored16);  // version made by
    in.ReadInt16LE(ignored16);  // version needed
    in.ReadInt16LE(flags);
    // A data descriptor follows the data exactly when flag bit 3 is set. (Counting one for any
    // non-zero flag word, as a reader that knows only 0 and 0x0808 could, misplaces every member
    // of archives whose flags carry only the deflate level bits or bit 11.)
    if (flags & kFlagDescriptor) localTotal += kDescriptorSize;
    in.ReadInt16LE(method);
    const bool encrypted = (flags & kFlagEncrypted) != 0;
    flags &= static_cast<uint16_t>(~kFlagEncrypted);
    const int32_t type = method == 8 ? AL_PK_DEFLATE_NORMAL + ((flags >> 1) & 3) : AL_PK_STORED + method;

    const ALEngineKit& kit = group.GetKit();
    auto decompressor = kit.CloneDecompressor(type);
    auto compressor = kit.CloneCompressor(type);
    auto storage = kit.CloneStorage(AL_STORAGE_DEFAULT);
    if (!storage) {
        return mStatus.SetError(AL_CANT_CREATE_STORAGE_OBJECT, L"Failure creating storage object in ZIP file %ls",
                                in.mName.c_str());
    }
    std::unique_ptr<ALCryptoEngine> crypto = encrypted ? kit.CloneCryptoEngine(AL_ENGINE_DEFAULT) : nullptr;
    ALStorage* member = storage.get();
    ALEntry* entry = new (std::nothrow)
        ALEntry(group, std::move(storage), std::move(compressor), std::move(decompressor), std::move(crypto));
    if (entry == nullptr) {
        return mStatus.SetError(AL_CANT_ALLOCATE_MEMORY,
                                L"Failure creating ALEntry object when reading directory in ZIP file %ls",
                                in.mName.c_str());
    }
    if (encrypted) entry->flags |= AL_ENTRY_ENCRYPTED;

    uint16_t time = 0, date = 0, nameLength = 0, extraLength = 0, commentLength = 0;
    uint32_t crc = 0, compressed = 0, uncompressed = 0, external = 0, offset = 0;
    in.ReadInt16LE(time);
    in.ReadInt16LE(date);
    member->mTimeDate = ALTimeStamp::FromDos(date, time);
    in.ReadInt32LE(crc);
    entry->crc32 = ~crc;
    in.ReadInt32LE(compressed);
    entry->compressedSize = static_cast<int32_t>(compressed);
    in.ReadInt32LE(uncompressed);
    member->SetSize(static_cast<int32_t>(uncompressed));
    in.ReadInt16LE(nameLength);
    in.ReadInt16LE(extraLength);
    in.ReadInt16LE(commentLength);
    in.ReadInt16LE(ignored16);  // starting disk
    in.ReadInt16LE(ignored16);  // internal attributes
    in.ReadInt32LE(external);
    in.ReadInt32LE(offset);
    entry->offset = static_cast<int32_t>(offset);
    localTotal += compressed + nameLength + extraLength;
    member->mAttributes = AttributesFromZip(external);

    // Builders flag UTF-8 names with bit 11; other names are in the system's code page.
    in.ReadString(member->mName, nameLength, (flags & kFlagUtf8) != 0);
    const std::wstring& name = member->mName.GetName();
    // A name ending in a separator is a folder, whatever its attributes say.
    if (!name.empty() && (name.back() == L'/' || name.back() == L'\\')) member->mAttributes |= AL_ATTRIBUTE_DIRECTORY;
    for (uint16_t i = 0; i < extraLength; ++i) {
        if (in.ReadChar() < 0) break;
    }
    if (commentLength > 0) {
        ALStorageName comment(std::wstring(), AL_MIXED);
        in.ReadString(comment, commentLength, (flags & kFlagUtf8) != 0);
        try {
            entry->comment = comment.GetName();
        } catch (const std::bad_alloc&) {
            group.mStatus.SetError(AL_CANT_ALLOCATE_MEMORY,
                                   L"Failed to allocate memory when adding comment to storage object %ls",
                                   member->mName.c_str());
        }
    }
    if (in.mStatus.Failed()) return CopyStorageStatus();
    group.GetMonitor().Report(AL_DIRECTORY_ENTRY, L"%ls", name.c_str());
    localTotal += kLocalHeaderSize;
    return 0;
}

int32_t ALPkArchive::ReadDirectory(ALEntryGroup& group) {
    ALMonitor& monitor = group.GetMonitor();
    monitor.ArchiveOperation(AL_READ_DIRECTORY_OPEN, this, nullptr);
    const OpenForOperation opened(*storage_);
    if (storage_->mStatus.Failed()) return CopyStorageStatus();

    endRecordPosition_ = LocateEndRecord();
    if (endRecordPosition_ < 0) {
        if (storage_->mStatus.Failed()) return CopyStorageStatus();
        return mStatus.SetError(AL_INVALID_ARCHIVE, L"Can't locate end of central directory in ZIP file %ls",
                                storage_->mName.c_str());
    }
    ReadEndRecord();
    const int32_t directoryStart = Add32(endRecordPosition_, -directorySize_);
    storage_->Seek(directoryStart);

    uint32_t localTotal = 0;
    int32_t count = 0;
    for (;;) {
        uint8_t signature[4];
        if (storage_->ReadBuffer(signature, 4) < 4) {
            CopyStorageStatus();
            break;
        }
        if (signature[0] == 'P' && signature[1] == 'K' && signature[2] == 5 && signature[3] == 6) break;
        if (signature[0] != 'P' || signature[1] != 'K' || signature[2] != 1 || signature[3] != 2) {
            mStatus.SetError(AL_INVALID_ARCHIVE, L"Bad record in central directory of ZIP file %ls",
                             storage_->mName.c_str());
            break;
        }
        const int32_t result = ReadCentralRecord(group, localTotal);
        if (result < 0) break;
        ++count;
    }
    // The stored offsets count from the archive's first byte; the archive starts where the
    // local records, laid end to end, must begin to end at the directory.
    const int32_t displacement = Add32(directoryStart, -static_cast<int32_t>(localTotal));
    for (ALEntry* entry = group.GetFirstEntry(); entry != nullptr; entry = entry->GetNextEntry()) {
        entry->offset = Add32(entry->offset, displacement);
    }
    monitor.ArchiveOperation(AL_READ_DIRECTORY_CLOSE, this, nullptr);
    if (mStatus.Failed()) return mStatus.GetStatusCode();
    return count;
}

int32_t ALPkArchive::SkipLocalHeader(ALEntry&) {
    uint8_t fixed[26];
    storage_->ReadBuffer(fixed, sizeof fixed);
    uint16_t nameLength = 0, extraLength = 0;
    storage_->ReadInt16LE(nameLength);
    storage_->ReadInt16LE(extraLength);
    const int32_t skip = nameLength + extraLength;
    return storage_->Seek(Add32(storage_->Tell(), skip));
}

int32_t ALPkArchive::SkipLocalRecordHead(ALEntry&) {
    uint8_t fixed[26];
    storage_->ReadBuffer(fixed, sizeof fixed);
    uint16_t n = 0;
    storage_->ReadInt16LE(n);
    return storage_->Seek(Add32(storage_->Tell(), n + 2));
}

// ---- extraction

int32_t ALPkArchive::Extract(ALEntryGroup& group) {
    const OpenForOperation opened(*storage_);

    ALMonitor& monitor = group.GetMonitor();
    monitor.ArchiveOperation(AL_EXTRACTION_OPEN, this, nullptr);
    monitor.jobSoFar = 0;
    if (monitor.mode == AL_MONITOR_JOB) {
        uint32_t total = 0;
        for (ALEntry* e = group.GetFirstEntry(); e != nullptr; e = e->GetNextEntry()) {
            if (!e->IsMarked()) continue;
            if (e->compressedSize == -1) {
                total = 0xFFFFFFFFu;
                break;
            }
            total += static_cast<uint32_t>(e->compressedSize);
        }
        monitor.jobSize = static_cast<int32_t>(total);
    }

    int32_t count = 0;
    for (ALEntry* entry = group.GetFirstEntry(); entry != nullptr; entry = entry->GetNextEntry()) {
        if (entry->pathFlags & AL_STRIP_PATH_ON_EXTRACT) entry->storage->mName.StripPath();
        if (!entry->IsMarked()) continue;
        ++count;
        const int32_t result = ExtractEntry(group, *entry);
        if (result < 0) return result;  // no decompressor, no crypto engine: stop at once
        if (mStatus.Failed()) break;
    }
    monitor.ArchiveOperation(AL_EXTRACTION_CLOSE, this, nullptr);
    if (!mStatus.Failed()) {
        for (ALEntry* entry = group.GetFirstEntry(); entry != nullptr; entry = entry->GetNextEntry()) {
            if (entry->storage->mStatus.Failed()) {
                mStatus.SetError(entry->storage->mStatus.GetStatusCode(), L"%ls: %ls", entry->Name().c_str(),
                                 entry->storage->mStatus.StatusText());
                break;
            }
        }
    }
    if (mStatus.Failed()) return mStatus.GetStatusCode();
    return count;
}

// Extracts one member. Returns a negative code only for the failures that end the extraction
// at once; every other failure is left in the member's storage status.
int32_t ALPkArchive::ExtractEntry(ALEntryGroup& group, ALEntry& entry) {
    ALMonitor& monitor = group.GetMonitor();
    ALStorage& member = *entry.storage;
    monitor.ArchiveOperation(AL_START_DIRECTORY_EXTRACT, this, &entry);
    storage_->Seek(entry.offset);
    SkipLocalHeader(entry);
    if (!entry.decompressor) {
        return mStatus.SetError(AL_CANT_CREATE_ENGINE, L"Attempt to decompress without a decompressor");
    }
    if (entry.IsEncrypted() && !entry.cryptoEngine) {
        return mStatus.SetError(AL_MISSING_CRYPTO_ENGINE, L"Attempt to extract an object without decryption engine");
    }
    // The name comes from the archive; one that points outside the current folder is refused
    // before anything is created.
    if (ALIsUnsafeMemberName(member.mName.GetName()) && !member.mStatus.Failed()) {
        member.mStatus.SetError(AL_CANT_OPEN_FILE,
                                L"Refused to write %ls: the name leads outside the target folder", member.mName.c_str());
    }
    member.Create(member.GetSize());
    if (!member.mStatus.Failed()) {
        int32_t length = entry.compressedSize;
        ALCryptoEngine* crypto = entry.cryptoEngine.get();
        if (crypto) {
            const int32_t before = storage_->Tell();
            if (crypto->Start(*storage_, member) < 0) {
                mStatus = crypto->mStatus;
                return mStatus.GetStatusCode();
            }
            const int32_t after = storage_->Tell();
            storage_->SetDecryptionHook(crypto);
            storage_->Seek(after);
            length = Add32(length, -(after - before));
        }
        monitor.objectStart = storage_->Tell();
        monitor.objectSize = length;
        storage_->SetMonitor(&monitor);
        entry.decompressor->Decompress(*storage_, member, length);
        if (crypto) {
            const int32_t finished = crypto->Finish(*storage_, member);
            storage_->SetDecryptionHook(nullptr);
            if (finished < 0) {
                storage_->SetMonitor(nullptr);
                mStatus = crypto->mStatus;
                return mStatus.GetStatusCode();
            }
        }
        member.Close();
        PostDecompress(entry);
        const uint32_t computed = member.GetCrc();
        if (computed != entry.crc32 && !member.mStatus.Failed()) {
            if (crypto) {
                member.mStatus.SetError(AL_INVALID_KEY, L"Invalid key specified.");
                member.Delete();
            } else {
                member.mStatus.SetError(AL_CRC_ERROR, L"CRC32 was supposed to be %08lx, was %08lx",
                                        static_cast<unsigned long>(entry.crc32), static_cast<unsigned long>(computed));
            }
        }
    }
    storage_->ServiceEvents();
    monitor.jobSoFar = Add32(monitor.jobSoFar, entry.compressedSize);
    storage_->SetMonitor(nullptr);
    monitor.ArchiveOperation(AL_END_DIRECTORY_EXTRACT, this, &entry);
    CopyStorageStatus();
    return 0;
}

// ---- writing

uint16_t ALPkArchive::EntryFlagWord(const ALEntry& entry) const {
    uint16_t flags = entryFlags_;
    if (entry.compressor && entry.compressor->TypeCode() >= AL_PK_DEFLATE_NORMAL &&
        entry.compressor->TypeCode() <= AL_PK_DEFLATE_SUPER_FAST) {
        flags |= static_cast<uint16_t>((entry.compressor->TypeCode() - AL_PK_DEFLATE_NORMAL) << 1);
    }
    if (entry.IsEncrypted()) flags |= kFlagEncrypted;
    std::wstring name = entry.Name();
    if (entry.pathFlags & AL_STRIP_PATH_ON_INSERT) name = ALStripPath(name);
    if (!ALIsAscii(name)) flags |= kFlagUtf8;
    // The reader expects a data descriptor exactly behind the members whose flag word is not 0.
    if (flags != 0) flags |= kFlagDescriptor;
    return flags;
}

std::string ALPkArchive::StoredName(const ALEntry& entry) const {
    std::wstring name = entry.Name();
    if (entry.pathFlags & AL_STRIP_PATH_ON_INSERT) name = ALStripPath(name);
    std::replace(name.begin(), name.end(), L'\\', L'/');
    return (EntryFlagWord(entry) & kFlagUtf8) ? ALWideToUtf8(name) : ALWideToAnsi(name);
}

int32_t ALPkArchive::WriteLocalHeader(ALEntry& entry, bool withSizes) {
    ALStorage& out = *storage_;
    const std::string name = StoredName(entry);
    const uint16_t flags = EntryFlagWord(entry);
    const ALTimeStamp stamp = DosRange(entry.storage->mTimeDate);
    const bool copy = entry.compressor && entry.compressor->TypeCode() == AL_COMPRESSION_COPY;
    out.WriteInt32LE(0x04034B50);
    out.WriteInt16LE(kVersion);
    out.WriteInt16LE(flags);
    out.WriteInt16LE(copy ? 0 : 8);
    out.WriteInt16LE(stamp.DosTime());
    out.WriteInt16LE(stamp.DosDate());
    out.WriteInt32LE(withSizes ? ~entry.crc32 : 0);
    out.WriteInt32LE(withSizes ? static_cast<uint32_t>(entry.compressedSize) : 0);
    out.WriteInt32LE(withSizes ? static_cast<uint32_t>(entry.storage->GetSize()) : 0);
    out.WriteInt16LE(static_cast<uint32_t>(name.size()));
    out.WriteInt16LE(0);  // no extra field
    out.WriteBuffer(reinterpret_cast<const uint8_t*>(name.data()), static_cast<int32_t>(name.size()));
    return CopyStorageStatus();
}

int32_t ALPkArchive::PreCompress(ALEntry& entry) {
    if (mStatus.Failed()) return mStatus.GetStatusCode();
    entry.offset = storage_->Tell();
    // With a data descriptor the local header holds no sizes and can be written at once;
    // otherwise room is left for it and PostCompress fills it in.
    if (EntryFlagWord(entry) & kFlagDescriptor) return WriteLocalHeader(entry, false);
    const int32_t room = kLocalHeaderSize + static_cast<int32_t>(StoredName(entry).size());
    storage_->Seek(Add32(entry.offset, room));
    return CopyStorageStatus();
}

int32_t ALPkArchive::PostCompress(ALEntry& entry) {
    if (mStatus.Failed()) return mStatus.GetStatusCode();
    ALStorage& out = *storage_;
    const int32_t end = out.Tell();
    const int32_t dataStart = Add32(entry.offset, kLocalHeaderSize + static_cast<int32_t>(StoredName(entry).size()));
    entry.compressedSize = end - dataStart;
    entry.crc32 = entry.storage->GetCrc();
    if (EntryFlagWord(entry) & kFlagDescriptor) {
        out.WriteInt32LE(0x08074B50);
        out.WriteInt32LE(~entry.crc32);
        out.WriteInt32LE(static_cast<uint32_t>(entry.compressedSize));
        out.WriteInt32LE(static_cast<uint32_t>(entry.storage->GetSize()));
        return CopyStorageStatus();
    }
    out.Seek(entry.offset);
    WriteLocalHeader(entry, true);
    out.Seek(end);
    return CopyStorageStatus();
}

int32_t ALPkArchive::CompressEntry(ALEntry& entry) {
    if (mStatus.Failed()) return mStatus.GetStatusCode();
    ALStorage& input = *entry.storage;
    if (!entry.compressor) {
        return mStatus.SetError(AL_CANT_CREATE_ENGINE, L"Attempt to compress %ls without a compressor",
                                input.mName.c_str());
    }
    const OpenForOperation opened(input);
    if (input.mStatus.Failed()) {
        mStatus = input.mStatus;
        return mStatus.GetStatusCode();
    }
    PreCompress(entry);
    const int32_t result = mStatus.Failed() ? mStatus.GetStatusCode() : entry.compressor->Compress(input, *storage_);
    input.SetSize(input.Tell());  // what was actually read, even if the file changed meanwhile
    if (result < 0 && !mStatus.Failed()) mStatus = entry.compressor->mStatus;
    PostCompress(entry);
    return mStatus.GetStatusCode();
}

int32_t ALPkArchive::Create(ALEntryGroup& group) {
    ALMonitor& monitor = group.GetMonitor();
    for (ALEntry* entry = group.GetFirstEntry(); entry != nullptr; entry = entry->GetNextEntry()) {
        if (!entry->IsMarked()) continue;
        monitor.ArchiveOperation(AL_INSERTION_BEGINS, this, entry);
        if (CompressEntry(*entry) < 0) return mStatus.GetStatusCode();
        monitor.ArchiveOperation(AL_END_INSERTION, this, entry);
    }
    directoryOffset_ = storage_->Tell();
    return WriteDirectory(group);
}

int32_t ALPkArchive::PreWriteDirectory() {
    directoryStart_ = storage_->Tell();
    entriesWritten_ = 0;
    return CopyStorageStatus();
}

int32_t ALPkArchive::WriteDirectoryEntry(ALEntry& entry) {
    ALStorage& out = *storage_;
    const std::string name = StoredName(entry);
    const std::string comment = ALWideToUtf8(entry.comment);
    const uint16_t flags = EntryFlagWord(entry);
    const ALTimeStamp stamp = DosRange(entry.storage->mTimeDate);
    const bool copy = entry.compressor && entry.compressor->TypeCode() == AL_COMPRESSION_COPY;
    out.WriteInt32LE(0x02014B50);
    out.WriteInt16LE(kVersion);
    out.WriteInt16LE(kVersion);
    out.WriteInt16LE(flags);
    out.WriteInt16LE(copy ? 0 : 8);
    out.WriteInt16LE(stamp.DosTime());
    out.WriteInt16LE(stamp.DosDate());
    out.WriteInt32LE(~entry.crc32);
    out.WriteInt32LE(static_cast<uint32_t>(entry.compressedSize));
    out.WriteInt32LE(static_cast<uint32_t>(entry.storage->GetSize()));
    out.WriteInt16LE(static_cast<uint32_t>(name.size()));
    out.WriteInt16LE(0);  // no extra field
    out.WriteInt16LE(static_cast<uint32_t>(comment.size()));
    out.WriteInt16LE(0);  // starting disk
    out.WriteInt16LE(0);  // internal attributes
    out.WriteInt32LE(AttributesToZip(entry.storage->mAttributes));
    out.WriteInt32LE(static_cast<uint32_t>(entry.offset - archiveStart_));
    out.WriteBuffer(reinterpret_cast<const uint8_t*>(name.data()), static_cast<int32_t>(name.size()));
    out.WriteBuffer(reinterpret_cast<const uint8_t*>(comment.data()), static_cast<int32_t>(comment.size()));
    ++entriesWritten_;
    return CopyStorageStatus();
}

int32_t ALPkArchive::PostWriteDirectory() {
    ALStorage& out = *storage_;
    const int32_t end = out.Tell();
    const std::string comment = ALWideToAnsi(mComment.GetName());
    out.WriteInt32LE(0x06054B50);
    out.WriteInt16LE(0);
    out.WriteInt16LE(0);
    out.WriteInt16LE(static_cast<uint32_t>(entriesWritten_));
    out.WriteInt16LE(static_cast<uint32_t>(entriesWritten_));
    out.WriteInt32LE(static_cast<uint32_t>(end - directoryStart_));
    out.WriteInt32LE(static_cast<uint32_t>(directoryStart_ - archiveStart_));
    out.WriteInt16LE(static_cast<uint32_t>(comment.size()));
    out.WriteBuffer(reinterpret_cast<const uint8_t*>(comment.data()), static_cast<int32_t>(comment.size()));
    out.FlushBuffer();
    return CopyStorageStatus();
}

int32_t ALPkArchive::WriteDirectory(ALEntryGroup& group) {
    if (mStatus.Failed()) return mStatus.GetStatusCode();
    if (directoryOffset_ >= 0) storage_->Seek(directoryOffset_);
    PreWriteDirectory();
    int32_t count = 0;
    for (ALEntry* entry = group.GetFirstEntry(); entry != nullptr && !mStatus.Failed(); entry = entry->GetNextEntry()) {
        if (!entry->IsMarked()) continue;
        if (count == 0xFFFF) {
            return mStatus.SetError(AL_INVALID_ARCHIVE, L"More than 65535 members do not fit in ZIP file %ls",
                                    storage_->mName.c_str());
        }
        WriteDirectoryEntry(*entry);
        ++count;
    }
    PostWriteDirectory();
    if (mStatus.Failed()) return mStatus.GetStatusCode();
    return count;
}
