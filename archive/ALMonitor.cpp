#include "ALMonitor.h"

#include "ALEntry.h"
#include "ALStorage.h"
#include "ALText.h"

ALMonitor::ALMonitor(uint16_t modeWord) : flags((modeWord >> 8) != 0 ? 1 : 0), mode(modeWord & 0xFF) {}

int32_t ALMonitor::Percentage(uint32_t done, uint32_t divisor) noexcept {
    if (divisor == 0) return -1;
    if (divisor < 1000000) return static_cast<int32_t>(done * 100u / divisor);
    return static_cast<int32_t>(done / (divisor / 100u));
}

void ALMonitor::Progress(int32_t position, ALStorage& object) {
    objectSoFar = static_cast<int32_t>(static_cast<uint32_t>(position) - static_cast<uint32_t>(objectStart));
    if (objectSize == -1) objectSize = object.GetSize();
    uint32_t divisor = static_cast<uint32_t>(objectSize);
    if (mode == AL_MONITOR_JOB) {
        objectSoFar = static_cast<int32_t>(static_cast<uint32_t>(objectSoFar) + static_cast<uint32_t>(jobSoFar));
        divisor = static_cast<uint32_t>(jobSize);
    }
    percent = Percentage(static_cast<uint32_t>(objectSoFar), divisor);
}

void ALMonitor::ArchiveOperation(int32_t, ALArchive*, ALEntry*) {}

void ALMonitor::Report(int32_t messageType, const wchar_t* format, ...) {
    std::va_list args;
    va_start(args, format);
    ReportV(messageType, format, args);
    va_end(args);
}

void ALMonitor::ReportV(int32_t, const wchar_t*, std::va_list) {}

ALSimpleMonitor::ALSimpleMonitor(ALMonitorCallback callback)
    : ALMonitor(AL_MONITOR_JOB), callback_(std::move(callback)) {}

void ALSimpleMonitor::Progress(int32_t position, ALStorage& object) {
    ALMonitor::Progress(position, object);
    const uint32_t done = static_cast<uint32_t>(position) - static_cast<uint32_t>(objectStart);
    const int32_t objectPercent = Percentage(done, static_cast<uint32_t>(objectSize));
    if (callback_) callback_(nullptr, objectPercent, percent);
}

void ALSimpleMonitor::ArchiveOperation(int32_t operation, ALArchive*, ALEntry* entry) {
    if (!callback_ || entry == nullptr || !entry->storage) return;
    if (operation == AL_START_DIRECTORY_EXTRACT || operation == AL_INSERTION_BEGINS ||
        operation == AL_COPY_BEGINS) {
        callback_(entry->Name().c_str(), -1, -1);
    }
}

void ALSimpleMonitor::ReportV(int32_t messageType, const wchar_t* format, std::va_list args) {
    if (!(flags & 1) || !callback_) return;
    constexpr size_t kLimit = 255;
    std::wstring s = format ? ALFormatV(format, args) : std::wstring();
    if (s.size() > kLimit) s.resize(kLimit);
    std::wstring message;
    switch (messageType) {
        case AL_DIRECTORY_ENTRY: message = L"Directory entry: " + s; break;
        case AL_WILD_CARD_MATCH: message = L"Wild card match: " + s; break;
        case AL_SORTING: message = L"Sorting entries"; break;
        case AL_DONE_SORTING: message = L"Done sorting entries"; break;
        case AL_SORT_PROGRESS: message = L"Sorting is " + s + L" complete"; break;
        default: message = L"Bad monitor message type!!!"; break;
    }
    if (message.size() > kLimit) message.resize(kLimit);
    callback_(message.c_str(), -1, -1);
}
