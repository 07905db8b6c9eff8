#pragma once
// The property file handed to the Java program as its second argument: the environment, the
// control-key switches and the chosen VM. The launcher creates it in the temporary folder,
// appends to it and never deletes it (the Java program owns it afterwards).
#include "FilePath.h"

#include <string>

// A text as a property-file writer stores it: every backslash doubled, every character above 127
// written as "\u" and four lower-case hexadecimal digits.
std::wstring escapeForPropertyFile(const std::wstring& text);

// The bytes a text-mode stream stores for `text`: one byte per character, LF as CR LF.
// Characters above 255 cannot occur here (callers escape them first) and become "?".
std::string textModeBytes(const std::wstring& text);

#ifdef _WIN32
class TemporaryPropertyFile {
public:
    // The process-wide file, created empty on first use (GetTempPathW, then GetTempFileNameW
    // with the prefix "vrx"). Raises FileException when the file cannot be created.
    static TemporaryPropertyFile& instance();

    const FilePath& path() const noexcept { return path_; }

    // Appends `lines` (each already ending in "\n") at the end of the file, LF stored as CR LF.
    // Raises FileException "windows could not open the file specified" when the file cannot be
    // opened for appending.
    void append(const std::wstring& lines) const;

private:
    explicit TemporaryPropertyFile(FilePath path) : path_(std::move(path)) {}
    FilePath path_;
};
#endif
