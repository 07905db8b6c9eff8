#include "HeapOptions.h"

#include "DebugLog.h"
#include "PortableFile.h"

#include <cstdio>
#include <vector>

const char kInitialHeapKey[] = "vrx.nl.java.option.java.heap.size.initial";
const char kMaxHeapKey[] = "vrx.nl.java.option.java.heap.size.max";

namespace {

// The property file is 8-bit text read one byte per character. A value character up to U+00FF
// is that byte; a character above it is written as a \u escape, the form in which property files
// carry such characters.
std::string PropertyBytes(const std::wstring& value) {
    std::string out;
    for (wchar_t c : value) {
        const unsigned code = static_cast<unsigned>(c);
        if (code <= 0xFF) {
            out += static_cast<char>(code);
        } else {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04X", code & 0xFFFF);
            out += escape;
        }
    }
    return out;
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

bool HasKey(const std::string& line, const char* key) {
    return line.substr(0, line.find('=')) == key;
}

std::string ReadAll(std::FILE* file) {
    std::string text;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, n);
    return text;
}

std::wstring LauncherFolder(const std::wstring& workingDirectory) {
    const std::wstring windows = workingDirectory + L"Windows\\";
    if (IsDirectory(windows)) return windows;
    return workingDirectory + L"Windows_Pure_64_Bit\\";
}

}  // namespace

std::string RewriteHeapKeys(const std::string& text, const HeapSettings& heap) {
    std::string out;
    for (std::string line : SplitLines(text)) {
        if (!line.empty() && line[0] != '#') {
            if (heap.hasInitialHeap && HasKey(line, kInitialHeapKey)) {
                line = std::string(kInitialHeapKey) + "=" + PropertyBytes(heap.initialHeapValue);
            }
            if (heap.hasMaxHeap && HasKey(line, kMaxHeapKey)) {
                line = std::string(kMaxHeapKey) + "=" + PropertyBytes(heap.maxHeapValue);
            }
        }
        out += line;
        out += "\r\n";
    }
    return out;
}

void ApplyHeapOptions(const std::wstring& workingDirectory, const HeapSettings& heap) {
    const std::wstring folder = LauncherFolder(workingDirectory);
    const std::wstring name = FirstFileWithExtension(folder, L".vrx");
    if (name.empty()) {
        std::fputs("Unable to locate the vrx file\n", stdout);
        std::fflush(stdout);
        return;
    }
    const std::wstring path = folder + name;
    if (!FileSystemObjectExists(path)) return;

    std::string text;
    {
        UniqueFile in = OpenFile(path, "rb");
        if (!in) {
            DebugLog(L"Unable to open .vrx file");
            return;
        }
        text = ReadAll(in.get());
    }
    const std::string rewritten = RewriteHeapKeys(text, heap);
    UniqueFile out = OpenFile(path, "wb");
    if (!out) return;
    std::fwrite(rewritten.data(), 1, rewritten.size(), out.get());
}

void StripHeapOptions(std::wstring& commandLine) {
    std::vector<std::wstring> tokens;
    std::wstring current;
    for (wchar_t c : commandLine + L" ") {
        if (c != L' ') {
            current += c;
        } else if (!current.empty()) {
            tokens.push_back(current);
            current.clear();
        }
    }
    std::wstring rebuilt;
    for (size_t i = 0; i < tokens.size(); ++i) {
        if (tokens[i] == L"-jvmxms" || tokens[i] == L"-jvmxmx") {
            ++i;  // the value goes with the option, whatever it is
            continue;
        }
        rebuilt += tokens[i];
        rebuilt += L' ';
    }
    commandLine = rebuilt;
}
