#pragma once
// The launcher's failures. Each carries a wide message for the error line; none of them sets the
// standard description, so what() is "Unknown exception" for all of them. Only the entry point
// catches them (a TerminalError shows its own message there, every other exception the generic
// text followed by what()).
#include <exception>
#include <string>

class LauncherException : public std::exception {
public:
    explicit LauncherException(std::wstring message) : message_(std::move(message)) {}
    const char* what() const noexcept override { return "Unknown exception"; }
    const std::wstring& message() const noexcept { return message_; }

private:
    std::wstring message_;
};

// A failure that ends the launch and is shown to the user as its own message. The process then
// exits with `exitCode` (a code of the table in launcher/Strings.h; 1 unless the raiser names one).
class TerminalError : public LauncherException {
public:
    explicit TerminalError(std::wstring message, int exitCode = 1)
        : LauncherException(std::move(message)), exitCode_(exitCode) {}
    int exitCode() const noexcept { return exitCode_; }

private:
    int exitCode_;
};

// A file that cannot be opened: the path and what went wrong.
class FileException : public LauncherException {
public:
    FileException(std::wstring fileName, std::wstring message)
        : LauncherException(std::move(message)), fileName_(std::move(fileName)) {}
    const std::wstring& fileName() const noexcept { return fileName_; }

private:
    std::wstring fileName_;
};

// Base of every registry failure.
class RegistryException : public LauncherException {
public:
    using LauncherException::LauncherException;
};

// A registry key that cannot be opened, listed or read; key() names the key (may be empty).
class KeyException : public RegistryException {
public:
    static constexpr const wchar_t* NotOpen = L"key not open";
    static constexpr const wchar_t* QueryFailed = L"key query failed";
    static constexpr const wchar_t* NotAString = L"value not a string";

    KeyException(std::wstring message, std::wstring key)
        : RegistryException(std::move(message)), key_(std::move(key)) {}
    const std::wstring& key() const noexcept { return key_; }

private:
    std::wstring key_;
};

// A string id that the executable's string table does not hold.
class StringTableException : public LauncherException {
public:
    StringTableException() : LauncherException(L"invalid key") {}
};
