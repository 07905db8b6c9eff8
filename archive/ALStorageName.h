#pragma once
// The name of a storage object: the current name, the one it replaced, and a case mode.
#include <cstdint>
#include <string>

enum ALCaseMode : int32_t {
    AL_UPPER = 0,  // every assigned name is upper-cased
    AL_LOWER = 1,  // every assigned name is lower-cased
    AL_MIXED = 2,  // kept as given, compared exactly
    AL_MIXED_NOCASE = 3,  // kept as given, compared without regard to case
};

class ALStorageName {
public:
    explicit ALStorageName(const std::wstring& name = std::wstring(), int32_t caseMode = AL_MIXED_NOCASE);

    // Stores the case-converted copy as the current name; the former current name becomes the
    // previous one. When the copy cannot be allocated the current name becomes empty.
    ALStorageName& operator=(const std::wstring& name);

    const std::wstring& GetName() const noexcept { return current_; }
    const std::wstring& GetOldName() const noexcept { return previous_; }
    const wchar_t* c_str() const noexcept { return current_.c_str(); }
    bool empty() const noexcept { return current_.empty(); }
    int32_t CaseMode() const noexcept { return caseMode_; }

    // Replaces the part from the last "." by the extension (which includes its dot), or appends
    // it when the name has no "."; the former name becomes the previous one.
    void ChangeExtension(const std::wstring& extension);
    // Keeps what follows the last backslash, or else the last slash, or else the last colon;
    // the previous name is kept.
    void StripPath();

    // Compares two names by this object's case mode (exactly in AL_MIXED, without regard to
    // case otherwise).
    bool SameName(const std::wstring& a, const std::wstring& b) const;

private:
    std::wstring Convert(const std::wstring& name) const;

    std::wstring current_;
    std::wstring previous_;
    int32_t caseMode_;
};

// What follows the last backslash, or else the last slash, or else the last colon.
std::wstring ALStripPath(const std::wstring& name);
