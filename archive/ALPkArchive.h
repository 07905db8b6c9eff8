#pragma once
// The ZIP archive. Reading finds the end record in the last 66000 bytes of the file, so a ZIP
// appended to a program (an installer) is read like a stand-alone one: the archive's position in
// the file is worked out from the directory (see ReadDirectory).
//
// Extracting every member of an installer into the current folder:
//
//     ALSimpleMonitor monitor([](const wchar_t* text, int32_t objectPercent, int32_t percent) {
//         if (percent > 0) ShowPercent(percent);
//         return 0;
//     });
//     ALEngineKit kit{ALFile(), ALPkDecompressor()};
//     kit.Add(ALCopyDecompressor());
//     ALEntryGroup group(&monitor, kit);
//     ALPkArchive archive(installerPath);
//     if (archive.ReadDirectory(group) < 0) Log(archive.mStatus.GetStatusCode(), archive.mStatus.StatusText());
//     // ... change to the working folder ...
//     if (archive.Extract(group) < 0) Log(archive.mStatus.GetStatusCode(), archive.mStatus.StatusText());
//
// Extract writes every marked member below the current folder. A member whose name is absolute,
// has a drive prefix or climbs out with ".." is not written; like a member whose file cannot be
// created, it fails alone and the others are still extracted. The first failed member becomes
// the result, "name: text".
//
// Writing (as the installer builder does): open or create the storage, set the archive start
// and the flag word, add entries with a compressor, then Create(group).
#include "ALArchive.h"

#include <string>

constexpr int32_t AL_PK_ARCHIVE_FORMAT = 32;

class ALPkArchive : public ALArchive {
public:
    explicit ALPkArchive(const std::wstring& name);
    explicit ALPkArchive(ALStorage& storage);

    int32_t PreCompress(ALEntry& entry) override;
    int32_t PostCompress(ALEntry& entry) override;
    int32_t SkipLocalHeader(ALEntry& entry) override;
    int32_t PreWriteDirectory() override;
    int32_t WriteDirectoryEntry(ALEntry& entry) override;
    int32_t PostWriteDirectory() override;
    int32_t SkipLocalRecordHead(ALEntry& entry) override;
    int32_t WriteArchiveData() override { return 0; }
    int32_t ReadArchiveData() override { return 0; }

    // Lists the central directory into the group: the number of entries added, or a negative
    // status. Entries read before a damaged record stay in the group. Member names are UTF-8
    // when flag bit 11 is set, in the system's 8-bit code page otherwise.
    int32_t ReadDirectory(ALEntryGroup& group) override;
    // Extracts every marked entry below the current folder: the number of marked entries
    // processed, or the first failure (a failed member does not stop the others).
    int32_t Extract(ALEntryGroup& group);

    // Writing. The archive begins at the storage position given (the local-header offsets and
    // the directory offset are stored relative to it); flags are the general-purpose flag bits
    // every member gets (0x0808: data descriptors and UTF-8 names). A member whose flag word is
    // not zero gets bit 3 and a data descriptor; a non-ASCII name always gets bit 11.
    void SetArchiveStart(int32_t position) noexcept { archiveStart_ = position; }
    void SetEntryFlags(uint16_t flags) noexcept { entryFlags_ = flags; }
    // Compresses one member at the current position: its storage is opened if it is not open
    // (and closed again), then PreCompress, the compressor, PostCompress.
    int32_t CompressEntry(ALEntry& entry);
    // Compresses every marked entry of the group from the current position, then writes the
    // directory and the end record. The number of entries written, or a negative status.
    int32_t Create(ALEntryGroup& group);
    // Writes a central record for every marked entry at the directory offset (the position
    // after the last member), then the end record.
    int32_t WriteDirectory(ALEntryGroup& group);

    int32_t EndRecordPosition() const noexcept { return endRecordPosition_; }
    uint16_t TotalEntries() const noexcept { return totalEntries_; }

private:
    int32_t LocateEndRecord();
    int32_t ReadEndRecord();
    int32_t ReadCentralRecord(ALEntryGroup& group, uint32_t& localTotal);
    int32_t ExtractEntry(ALEntryGroup& group, ALEntry& entry);
    int32_t WriteLocalHeader(ALEntry& entry, bool withSizes);
    uint16_t EntryFlagWord(const ALEntry& entry) const;
    std::string StoredName(const ALEntry& entry) const;
    int32_t CopyStorageStatus();

    int32_t endRecordPosition_ = -1;
    uint16_t thisDisk_ = 0;
    uint16_t directoryDisk_ = 0;
    uint16_t entriesOnDisk_ = 0;
    uint16_t totalEntries_ = 0;
    int32_t directorySize_ = 0;
    int32_t directoryStart_ = 0;
    int32_t archiveStart_ = 0;
    uint16_t entryFlags_ = 0;
};

// True when a member name would be written outside the current folder: an absolute name, a
// drive prefix, or a ".." step, also as Windows reads it with trailing dots or spaces (slashes
// and backslashes both separate).
bool ALIsUnsafeMemberName(const std::wstring& name);
