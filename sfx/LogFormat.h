#pragma once
// The printf-style formatting of the stub's log lines, done by the stub itself so that every
// build formats alike and no argument can be read with the wrong type: %s takes wide text,
// %d, %ld, %i and %u integers, %x and %X hexadecimal, %c one character, %% a percent sign.
// Flags '-' and '0' and a field width are understood; anything else is copied as it stands.
#include <cstdint>
#include <initializer_list>
#include <string>

class LogArg {
public:
    LogArg(const wchar_t* text) : isText_(true), text_(text ? text : L"(null)") {}
    LogArg(const std::wstring& text) : isText_(true), text_(text) {}
    LogArg(int value) : number_(value) {}
    LogArg(long value) : number_(value) {}
    LogArg(long long value) : number_(value) {}
    LogArg(unsigned value) : number_(value) {}
    LogArg(unsigned long value) : number_(static_cast<long long>(value)) {}
    LogArg(unsigned long long value) : number_(static_cast<long long>(value)) {}

    bool isText() const { return isText_; }
    const std::wstring& text() const { return text_; }
    long long number() const { return number_; }

private:
    bool isText_ = false;
    std::wstring text_;
    long long number_ = 0;
};

std::wstring FormatLogMessage(const wchar_t* format, std::initializer_list<LogArg> args);

// Cuts a message to at most maxChars characters without splitting a surrogate pair.
std::wstring CutLogMessage(const std::wstring& message, size_t maxChars);
