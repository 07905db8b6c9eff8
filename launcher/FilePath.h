#pragma once
// A file-system path held as one wide string, normalised when it is made: doubled backslashes
// become one (two leading backslashes of a network name stay), "/" becomes "\" and, when the text
// holds "~", 8.3 short names are expanded (the text stays as it is when that fails).
#include <string>

class FilePath {
public:
    FilePath() = default;
    explicit FilePath(std::wstring text);

    const std::wstring& text() const noexcept { return text_; }
    bool empty() const noexcept { return text_.empty(); }

    // The path names something on disk (file or directory).
    bool exists() const;
    // The path names an existing directory.
    bool isDirectory() const;

    // A "." after the last backslash; without a backslash, a "." after the first character.
    bool hasExtension() const;
    // The text after the last ".", in lower case; empty without an extension.
    std::wstring extension() const;
    // The text after the last backslash (the whole text without one), optionally in lower case.
    std::wstring name(bool lowerCase = false) const;
    // The text before the last backslash, or `fallback` when there is none.
    std::wstring parent(const std::wstring& fallback = L".") const;
    // Begins with a backslash or has ":" as its second character.
    bool isAbsolute() const;
    // The full path (GetFullPathNameW, 260 characters), with 8.3 names expanded when asked. A text
    // that begins with "/" stays unchanged; so does the text when the full-path call fails.
    FilePath fullPath(bool expandShortNames) const;

    friend bool operator==(const FilePath&, const FilePath&) = default;

private:
    std::wstring text_;
};

// Lower case of the letters A to Z only; every other character stays.
std::wstring asciiLower(std::wstring text);
// Upper case of the letters a to z only; every other character stays.
std::wstring asciiUpper(std::wstring text);

// The full-path rule of FilePath::fullPath applied to a bare text, without the normalisation.
std::wstring fullPathText(const std::wstring& text, bool expandShortNames);
