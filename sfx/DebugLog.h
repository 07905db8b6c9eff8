#pragma once
// The stub's trace for support cases: one line per call appended to "sea.log" in the log
// directory, written only while the debug log is on. The file is opened and closed for every
// line, so each line is on disk when the call returns. A log that cannot be written never
// affects the stub: the line is dropped.
#include "LogFormat.h"
#include "StubState.h"

#include <cstdint>

// Writes one formatted line (see LogFormat.h for the conversions).
void WriteDebugLogLine(const std::wstring& message);

template <class... Args>
void DebugLog(const wchar_t* format, const Args&... args) {
    if (!Stub().debugEnabled) return;
    WriteDebugLogLine(FormatLogMessage(format, {LogArg(args)...}));
}

// Logs "Code <code> = '<text>'" for a negative status code that has a text; nothing otherwise.
void LogStatusCode(int32_t code);

// The log file's path for a log directory, or empty when the path would be too long to open.
std::wstring DebugLogPath(const std::wstring& logDirectory);

// The 8-bit form of a log line: the system's ANSI code page on Windows, where a character it
// cannot represent becomes '?', and UTF-8 elsewhere.
std::string LogLineBytes(const std::wstring& line);
