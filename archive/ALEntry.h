#pragma once
// One archive member (ALEntry) and the list of members (ALEntryGroup). The group owns its
// entries: an entry made with new on a group, given a storage object, links itself into the
// group, and the group deletes it when the group is destroyed. Deleting an entry unlinks it.
#include "ALEngine.h"
#include "ALEngineKit.h"
#include "ALMonitor.h"
#include "ALStatusRecord.h"
#include "ALStorage.h"

#include <memory>
#include <string>

class ALEntryGroup;

enum ALEntryFlag : int32_t {
    AL_ENTRY_MARKED = 0x01,  // processed by Extract and WriteDirectory
    AL_ENTRY_ENCRYPTED = 0x02,
};

enum ALPathFlag : int32_t {
    AL_STRIP_PATH_ON_INSERT = 0x01,  // the folder part is dropped from the name in the archive
    AL_STRIP_PATH_ON_EXTRACT = 0x02,  // the member is written without its folder part
};

class ALEntry {
public:
    // Compressed size and offset start unknown (-1), path flags clear, the entry marked (and
    // encrypted when a crypto engine is given). Only with a storage object is the entry added
    // to the group, before its head.
    ALEntry(ALEntryGroup& group, std::unique_ptr<ALStorage> storage,
            std::unique_ptr<ALCompressor> compressor = nullptr, std::unique_ptr<ALDecompressor> decompressor = nullptr,
            std::unique_ptr<ALCryptoEngine> cryptoEngine = nullptr);
    ~ALEntry();
    ALEntry(const ALEntry&) = delete;
    ALEntry& operator=(const ALEntry&) = delete;

    // The next entry of the group, or null after the last.
    ALEntry* GetNextEntry() const noexcept;
    ALEntryGroup* GetGroup() const noexcept { return group_; }

    bool IsMarked() const noexcept { return (flags & AL_ENTRY_MARKED) != 0; }
    void SetMark() noexcept { flags |= AL_ENTRY_MARKED; }
    void ClearMark() noexcept { flags &= ~AL_ENTRY_MARKED; }
    bool IsEncrypted() const noexcept { return (flags & AL_ENTRY_ENCRYPTED) != 0; }
    // The member's name (the storage object's name).
    const std::wstring& Name() const noexcept;

    std::wstring comment;  // empty when the member has none
    int32_t compressedSize = -1;
    uint32_t crc32 = 0;  // held complemented: the bitwise NOT of the CRC-32 stored in the archive
    int32_t flags = AL_ENTRY_MARKED;
    int32_t offset = -1;  // file position of the local header
    int32_t pathFlags = 0;
    std::unique_ptr<ALStorage> storage;
    std::unique_ptr<ALCompressor> compressor;
    std::unique_ptr<ALDecompressor> decompressor;
    std::unique_ptr<ALCryptoEngine> cryptoEngine;

private:
    friend class ALEntryGroup;
    explicit ALEntry(ALEntryGroup& group);  // the group's head

    void Unlink() noexcept;

    ALEntry* next_;
    ALEntry* previous_;
    ALEntryGroup* group_;
};

class ALEntryGroup {
public:
    // Without a monitor a do-nothing one stands in. The kit is copied.
    explicit ALEntryGroup(ALMonitor* monitor = nullptr, const ALEngineKit& kit = ALEngineKit());
    ~ALEntryGroup();  // deletes every entry
    ALEntryGroup(const ALEntryGroup&) = delete;
    ALEntryGroup& operator=(const ALEntryGroup&) = delete;

    // The first entry, or null when the group is empty.
    ALEntry* GetFirstEntry() const noexcept;
    int32_t GetCount() const noexcept;
    ALMonitor& GetMonitor() noexcept { return monitor_ ? *monitor_ : defaultMonitor_; }
    const ALEngineKit& GetKit() const noexcept { return kit_; }

    ALStatusRecord mStatus;

private:
    friend class ALEntry;

    ALEntry head_;
    ALMonitor* monitor_;
    ALMonitor defaultMonitor_;
    ALEngineKit kit_;
};
