#pragma once
// The launcher's property files: an ordered map of wide strings read line by line, one byte per
// character, with \u escapes for anything beyond 255. Also the reader of the JVM specification
// files. Loading adds to the set; a later line of the same key replaces the earlier value.
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

// A key of the launcher property file together with its default value.
struct PropertyKey {
    const wchar_t* name;
    const wchar_t* defaultValue;
};

namespace keys {
inline constexpr PropertyKey MainClass{L"vrx.nl.java.launcher.main.class", L""};
inline constexpr PropertyKey ClassPath{L"vrx.class.path", L""};
inline constexpr PropertyKey UserDir{L"vrx.user.dir", L""};
inline constexpr PropertyKey CurrentVm{L"vrx.nl.current.vm", L""};
inline constexpr PropertyKey ValidVmList{L"vrx.nl.valid.vm.list", L""};
inline constexpr PropertyKey JvmHigh{L"vrx.nl.jvm.high", L""};
inline constexpr PropertyKey LauncherPlatform{L"vrx.nl.win32.java.launcher.platform", L"1"};
inline constexpr PropertyKey MicrosoftVmMinVersion{L"vrx.nl.win32.microsoftvm.min.version", L"0"};
inline constexpr PropertyKey InitialHeap{L"vrx.nl.java.option.java.heap.size.initial", L"0"};
inline constexpr PropertyKey MaxHeap{L"vrx.nl.java.option.java.heap.size.max", L"0"};
inline constexpr PropertyKey Verbose{L"vrx.nl.java.option.verbose", L""};
inline constexpr PropertyKey Debugging{L"vrx.nl.java.option.debugging", L""};
inline constexpr PropertyKey NoAsyncGc{L"vrx.nl.java.option.garbage.collection.background.thread", L""};
inline constexpr PropertyKey ClassGcExtent{L"vrx.nl.java.option.garbage.collection.extent", L""};
inline constexpr PropertyKey Compiler{L"vrx.nl.java.option.compiler", L""};
inline constexpr PropertyKey AdditionalOptions{L"vrx.nl.java.option.additional", L""};
inline constexpr PropertyKey VerifyMode{L"vrx.nl.java.option.verify.mode", L""};
inline constexpr PropertyKey ApplicationName{L"vrx.application.name", L"Veltrun"};
inline constexpr PropertyKey ConsolePause{L"vrx.win32.console.pause", L""};
inline constexpr PropertyKey UiDefault{L"vrx.installer.windows.ui.default", L""};
}  // namespace keys

class PropertySet {
public:
    using Map = std::map<std::wstring, std::wstring>;

    // Reads the file at `path` and adds its entries. Raises FileException with the path and
    // "could not open file for read" when the file cannot be opened; the set is then unchanged.
    void load(const std::wstring& path);

    // Adds the entries of a file's bytes. The bytes are read as a runtime-library text stream
    // would deliver them: CR LF arrives as LF and a Ctrl-Z (0x1A) ends the text.
    void parse(std::string_view bytes);

    // The value when the key is present (also when it is empty), else `fallback`.
    std::wstring get(const std::wstring& key, const std::wstring& fallback) const;
    bool contains(const std::wstring& key) const { return entries_.count(key) != 0; }
    void set(const std::wstring& key, const std::wstring& value) { entries_[key] = value; }
    const Map& entries() const noexcept { return entries_; }

    // Typed readers: the value of the key (or its default), read by one of the rules below.
    std::wstring readString(const PropertyKey& key) const;
    bool readFlag(const PropertyKey& key) const;
    bool readPauseFlag(const PropertyKey& key) const;
    int32_t readInteger(const PropertyKey& key) const;
    int64_t readSize(const PropertyKey& key) const;
    // The string with its first "$ENV_CLASSPATH$" replaced by `classPathVariable`, the value of
    // the environment variable named exactly CLASSPATH (empty when it is absent).
    std::wstring readClassPath(const PropertyKey& key, const std::wstring& classPathVariable) const;

private:
    Map entries_;
};

// The reading rules, on a value.
namespace property_rules {
// Lower case: "true", "on" or "t".
bool flag(const std::wstring& value);
// Lower case: "true", "yes" or "on".
bool pauseFlag(const std::wstring& value);
// Leading decimal digits with an optional sign; 0 when there are none. A number outside the
// signed 32-bit range is held at the nearest end of it.
int32_t integer(const std::wstring& value);
// Bytes: a last "k" multiplies by 1024, "m" by 1048576, "g" by 1073741824 (any letter case);
// the rest reads as a decimal number, empty counts as 0.
//
// Sizes are 64-bit: a heap of 2048m or 4g is meant as written and must reach the Java command
// line as that many bytes (a 64-bit VM takes it; a 32-bit VM refuses it with its own message),
// not wrap to 0, a negative number or a small size. "g" is accepted because the installer's
// -jvmxmx option hands such values through. A number too large even for 64 bits is held at the
// largest 64-bit value, which the VM then refuses in the same way.
int64_t size(const std::wstring& value);
// Decodes \uXXXX escapes (up to four hexadecimal digits, none giving character 0); any other
// backslash stays together with the character after it.
std::wstring decode(std::wstring_view text);
}  // namespace property_rules
