#pragma once
// A storage object on a disk file. The file layer beneath it (ALRawFile) batches system calls;
// what this class does per 4096-byte buffer (CRC, decryption hook, progress and message pump)
// is unchanged by that.
#include "ALRawFile.h"
#include "ALStorage.h"

class ALFile : public ALStorage {
public:
    explicit ALFile(const std::wstring& name = std::wstring(), int32_t bufferSize = kDefaultBufferSize,
                    int32_t caseMode = AL_MIXED_NOCASE);
    ~ALFile() override;

    // Opens the file for reading; the size, time stamp (local time) and attribute bits come from
    // the file. Failure: -1995.
    int32_t Open() override;
    // Creates or truncates the file for writing (clearing a read-only attribute first and
    // making missing folders); an object with the directory attribute makes folders only. With
    // an empty name a temporary file "~al~NNN.tmp" is made in the current folder.
    int32_t Create(int32_t size = -1) override;
    // Flushes, applies the time stamp and attributes after Create, closes; returns the status.
    int32_t Close() override;
    int32_t LoadBuffer(int32_t position) override;
    int32_t FlushBuffer() override;
    int32_t Seek(int32_t position) override;
    int32_t Rename(const wchar_t* newName = nullptr, bool deleteExisting = true) override;
    int32_t UndoRename(bool deleteExisting = true) override;
    int32_t RenameToBackup(bool deleteExisting = true) override;
    int32_t Delete() override;
    // A new ALFile (4096-byte buffer, case mode 3) for type -1 or 1; null otherwise.
    std::unique_ptr<ALStorage> Clone(const std::wstring& name, int32_t type) const override;

    // The name becomes "~al~%03d.tmp" with the counter.
    void MakeTempName(int32_t counter);
    // Creates every folder on the name's path (each prefix up to a slash or backslash). Returns 1
    // when done, 0 when a folder could not be made for a reason other than its existence.
    int32_t MakeDirectories();

    bool IsFileOpen() const noexcept { return raw_.IsOpen(); }

private:
    int32_t CreateNamed(int32_t sizeHint);
    int32_t CreateTemporary(int32_t sizeHint);
    int32_t WriteFailure(int64_t written, int error);

    ALRawFile raw_;
};
