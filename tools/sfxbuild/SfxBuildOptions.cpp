#include "SfxBuildOptions.h"

#include <cwchar>

const char* const kSfxBuildUsage =
    "Usage: sfxbuild --stub STUB.exe --launcher PATH -o INSTALLER.exe [options] SOURCE_DIR\n"
    "\n"
    "Writes one installer: the stub program, the payload header naming the launcher, and a ZIP\n"
    "archive of every file below SOURCE_DIR (in sorted order; empty folders are not kept).\n"
    "\n"
    "  --stub FILE       the self-extracting stub program\n"
    "  --launcher PATH   the launcher's path inside SOURCE_DIR, e.g. Windows\\setup.exe\n"
    "  -o, --output FILE the installer to write (replaced only when the build succeeds)\n"
    "  --level N         deflate level 0 to 9 (default 6)\n"
    "  --time YYYY-MM-DDTHH:MM:SS\n"
    "                    one time stamp for every entry instead of the files' own\n"
    "  --quiet           no progress and no summary\n"
    "  --help            this text\n"
    "\n"
    "Exit code 0 on success, 1 when the build fails, 2 for a bad command line.\n";

namespace {

bool IsDigits(const std::wstring& s, size_t from, size_t count) {
    if (from + count > s.size()) return false;
    for (size_t i = from; i < from + count; ++i) {
        if (s[i] < L'0' || s[i] > L'9') return false;
    }
    return true;
}

int Number(const std::wstring& s, size_t from, size_t count) {
    int n = 0;
    for (size_t i = from; i < from + count; ++i) n = n * 10 + (s[i] - L'0');
    return n;
}

}  // namespace

bool ParseTimeStamp(const std::wstring& t, ALTimeStamp& stamp) {
    if (t.size() != 19 || t[4] != L'-' || t[7] != L'-' || t[10] != L'T' || t[13] != L':' || t[16] != L':') return false;
    if (!IsDigits(t, 0, 4) || !IsDigits(t, 5, 2) || !IsDigits(t, 8, 2) || !IsDigits(t, 11, 2) ||
        !IsDigits(t, 14, 2) || !IsDigits(t, 17, 2)) {
        return false;
    }
    const int year = Number(t, 0, 4), month = Number(t, 5, 2), day = Number(t, 8, 2);
    const int hour = Number(t, 11, 2), minute = Number(t, 14, 2), second = Number(t, 17, 2);
    static const int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (year < 1980 || year > 2107 || month < 1 || month > 12 || day < 1 || day > kDays[month - 1]) return false;
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    if (month == 2 && day == 29 && !leap) return false;
    if (hour > 23 || minute > 59 || second > 59) return false;
    stamp = ALTimeStamp{static_cast<uint16_t>(year), static_cast<uint16_t>(month), static_cast<uint16_t>(day),
                        static_cast<uint16_t>(hour), static_cast<uint16_t>(minute), static_cast<uint16_t>(second)};
    return true;
}

bool ParseSfxBuildOptions(const std::vector<std::wstring>& args, SfxBuildOptions& options, std::wstring& error) {
    std::vector<std::wstring> positional;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::wstring& a = args[i];
        auto value = [&](std::wstring& target) {
            if (i + 1 >= args.size()) {
                error = a + L" needs a value";
                return false;
            }
            target = args[++i];
            return true;
        };
        if (a == L"--help" || a == L"-h") {
            options.help = true;
            return true;
        } else if (a == L"--stub") {
            if (!value(options.stub)) return false;
        } else if (a == L"--launcher") {
            if (!value(options.launcher)) return false;
        } else if (a == L"-o" || a == L"--output") {
            if (!value(options.output)) return false;
        } else if (a == L"--level") {
            std::wstring text;
            if (!value(text)) return false;
            if (text.size() != 1 || text[0] < L'0' || text[0] > L'9') {
                error = L"--level takes a number from 0 to 9, not \"" + text + L"\"";
                return false;
            }
            options.level = text[0] - L'0';
        } else if (a == L"--time") {
            std::wstring text;
            if (!value(text)) return false;
            ALTimeStamp stamp;
            if (!ParseTimeStamp(text, stamp)) {
                error = L"--time takes YYYY-MM-DDTHH:MM:SS between 1980 and 2107, not \"" + text + L"\"";
                return false;
            }
            options.time = stamp;
        } else if (a == L"--quiet" || a == L"-q") {
            options.quiet = true;
        } else if (a.size() > 1 && a[0] == L'-') {
            error = L"unknown option " + a;
            return false;
        } else {
            positional.push_back(a);
        }
    }
    if (positional.size() != 1) {
        error = positional.empty() ? L"no SOURCE_DIR given" : L"more than one SOURCE_DIR given";
        return false;
    }
    options.source = positional[0];
    if (options.stub.empty()) error = L"--stub is required";
    else if (options.launcher.empty()) error = L"--launcher is required";
    else if (options.output.empty()) error = L"-o is required";
    return error.empty();
}
