#include "DebugLog.h"

#include "ALStatusCodes.h"
#include "PortableFile.h"

#include <cstdio>

#ifdef _WIN32
#include "win32.h"
#endif

namespace {

// A log line holds at most 511 characters. A longer message (a deep path) is cut there, never in
// the middle of a surrogate pair.
constexpr size_t kMaxLineChars = 511;
// The log file's path holds at most 256 characters. A longer one is not cut (that would name some
// other file): the line is dropped instead.
constexpr size_t kMaxLogPathChars = 256;

}  // namespace

std::wstring DebugLogPath(const std::wstring& logDirectory) {
    std::wstring path = logDirectory + L"\\sea.log";
    if (path.size() > kMaxLogPathChars) return std::wstring();
    return path;
}

std::string LogLineBytes(const std::wstring& line) {
#ifdef _WIN32
    if (line.empty()) return std::string();
    const int n = WideCharToMultiByte(CP_ACP, 0, line.data(), static_cast<int>(line.size()), nullptr,
                                      0, "?", nullptr);
    std::string out(static_cast<size_t>(n > 0 ? n : 0), '\0');
    if (n > 0) {
        WideCharToMultiByte(CP_ACP, 0, line.data(), static_cast<int>(line.size()), out.data(), n,
                            "?", nullptr);
    }
    return out;
#else
    return ToUtf8(line);
#endif
}

void WriteDebugLogLine(const std::wstring& message) {
    const StubState& state = Stub();
    if (!state.debugEnabled) return;
    std::fflush(stdout);
    const std::wstring path = DebugLogPath(state.logDirectory);
    if (path.empty()) return;
    const std::string bytes = LogLineBytes(CutLogMessage(message, kMaxLineChars));
    UniqueFile file = OpenFile(path, "a");
    if (!file) return;
    std::fprintf(file.get(), "%s\n", bytes.c_str());
    std::fflush(file.get());
}

void LogStatusCode(int32_t code) {
    if (code >= 0) return;
    const wchar_t* text = ALStatusCodeText(code);
    if (text == nullptr) return;
    DebugLog(L"Code %ld = '%s'", code, text);
}
