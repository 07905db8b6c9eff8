#pragma once
// The status of one archive-engine object. The engine throws nothing: an object that fails
// records a negative code and a detail text here, returns the code, and refuses further work
// while the code stays negative. Callers copy a failure outwards into their own record.
#include "ALStatusCodes.h"

#include <cstdarg>
#include <cstdint>
#include <memory>

class ALStatusRecord {
public:
    // Detail texts are cut to this many characters (the buffer holds one more, the terminator).
    static constexpr int32_t kDetailLength = 128;

    ALStatusRecord() noexcept = default;
    ALStatusRecord(const ALStatusRecord& other) noexcept { *this = other; }
    // Copies the code and the detail text; a source without text frees the target's text.
    ALStatusRecord& operator=(const ALStatusRecord& other) noexcept;

    // Stores the code and returns it. With a format (printf rules, %ls for wide strings) the
    // formatted text is kept, cut to kDetailLength characters; if its buffer cannot be allocated
    // only the code is kept. Without a format the detail text is freed.
    int32_t SetError(int32_t code, const wchar_t* format, ...) noexcept;
    int32_t SetErrorV(int32_t code, const wchar_t* format, std::va_list args) noexcept;

    // Back to success, without detail text.
    void Clear() noexcept { SetError(AL_SUCCESS, nullptr); }

    int32_t GetStatusCode() const noexcept { return code_; }
    bool Failed() const noexcept { return code_ < 0; }

    // The detail text if there is one; otherwise "No errors" for code 0, or "Unable to allocate
    // memory for error detail message" for a negative code.
    const wchar_t* StatusText() const noexcept;

private:
    bool EnsureDetail() noexcept;

    int32_t code_ = AL_SUCCESS;
    std::unique_ptr<wchar_t[]> detail_;
};
