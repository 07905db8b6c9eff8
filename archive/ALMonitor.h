#pragma once
// Progress monitors. The engine tells a monitor about archive operations and, through the
// storage objects' event servicing, about byte positions; the monitor turns them into
// percentages. ALSimpleMonitor hands them to a callback.
#include <cstdarg>
#include <cstdint>
#include <functional>

class ALArchive;
class ALEntry;
class ALStorage;

// Archive operations reported to ALMonitor::ArchiveOperation.
enum ALArchiveOperation : int32_t {
    AL_EXTRACTION_OPEN = 0,
    AL_EXTRACTION_CLOSE = 1,
    AL_START_DIRECTORY_EXTRACT = 2,
    AL_END_DIRECTORY_EXTRACT = 3,
    AL_INSERTION_BEGINS = 4,  // no producer in the reader; sfxbuild reports it per member
    AL_END_INSERTION = 5,
    AL_COPY_BEGINS = 6,
    AL_READ_DIRECTORY_OPEN = 10,
    AL_READ_DIRECTORY_CLOSE = 11,
};

// Message types of ALMonitor::Report.
enum ALMonitorMessage : int32_t {
    AL_DIRECTORY_ENTRY = 12,
    AL_WILD_CARD_MATCH = 13,
    AL_SORTING = 14,
    AL_DONE_SORTING = 15,
    AL_SORT_PROGRESS = 16,
};

enum ALMonitorMode : int32_t {
    AL_MONITOR_OBJECTS = 0,
    AL_MONITOR_JOB = 1,  // percentages over the whole job
};

class ALMonitor {
public:
    // The low byte of the mode word is the mode; a non-zero high byte asks for text messages.
    explicit ALMonitor(uint16_t modeWord = AL_MONITOR_OBJECTS);
    virtual ~ALMonitor() = default;
    ALMonitor(const ALMonitor&) = delete;
    ALMonitor& operator=(const ALMonitor&) = delete;

    // Computes objectDone and percent for a storage position (percent -1 when there is nothing
    // to divide by). Arithmetic is unsigned 32-bit, as the percentages of large jobs need.
    virtual void Progress(int32_t position, ALStorage& object);
    virtual void ArchiveOperation(int32_t operation, ALArchive* archive, ALEntry* entry);
    // Formats and passes on a message of the given type; only with text messages wanted.
    void Report(int32_t messageType, const wchar_t* format, ...);
    virtual void ReportV(int32_t messageType, const wchar_t* format, std::va_list args);

    int32_t jobSize = 0;
    int32_t jobSoFar = 0;
    int32_t objectSize = -1;  // -1: take it from the storage object at the next Progress
    int32_t objectStart = 0;
    int32_t objectSoFar = 0;
    int32_t percent = -1;
    int32_t flags = 0;  // bit 0: text messages wanted
    int32_t mode = AL_MONITOR_OBJECTS;

protected:
    // (done * 100 / divisor) in unsigned 32-bit arithmetic, split at 1,000,000 so the product
    // stays within 32 bits; -1 for a divisor of 0.
    static int32_t Percentage(uint32_t done, uint32_t divisor) noexcept;
};

// Callback of ALSimpleMonitor: (text or null, object percent or -1, job percent or -1). Its
// result is ignored.
using ALMonitorCallback = std::function<int32_t(const wchar_t* text, int32_t objectPercent, int32_t percent)>;

class ALSimpleMonitor : public ALMonitor {
public:
    // Job mode, no text messages.
    explicit ALSimpleMonitor(ALMonitorCallback callback);

    // The base computation, then the callback with (null, object percent, job percent).
    void Progress(int32_t position, ALStorage& object) override;
    // Operations 2, 4 and 6: the callback with the entry's name.
    void ArchiveOperation(int32_t operation, ALArchive* archive, ALEntry* entry) override;
    // Types 12 to 16 as their message, any other "Bad monitor message type!!!"; texts cut to
    // 255 characters.
    void ReportV(int32_t messageType, const wchar_t* format, std::va_list args) override;

private:
    ALMonitorCallback callback_;
};
