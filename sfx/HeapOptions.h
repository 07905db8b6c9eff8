#pragma once
// The two Java heap options of the stub. They are not handed to the launcher: the stub writes
// them into the launcher's property file (the .vrx file) and takes them off the command line it
// passes on.
#include <string>

struct HeapSettings {
    bool hasInitialHeap = false;
    std::wstring initialHeapValue;
    bool hasMaxHeap = false;
    std::wstring maxHeapValue;

    bool any() const { return hasInitialHeap || hasMaxHeap; }
};

extern const char kInitialHeapKey[];  // "vrx.nl.java.option.java.heap.size.initial"
extern const char kMaxHeapKey[];      // "vrx.nl.java.option.java.heap.size.max"

// The property file's text with the heap keys that were given replaced, byte for byte: lines
// split at line feeds, a carriage return before a line feed dropped, every line written back
// with CR LF (the last one too). Comment lines ("#...") and empty lines are copied; a line whose
// part before its first "=" equals a heap key exactly becomes "key=value". Keys that do not
// occur are not added; a key that occurs several times is replaced every time.
std::string RewriteHeapKeys(const std::string& text, const HeapSettings& heap);

// Rewrites the heap keys of the first "*.vrx" file in the launcher folder of the working
// directory (which ends in a backslash): "Windows\" when it exists, else
// "Windows_Pure_64_Bit\". No .vrx file: prints "Unable to locate the vrx file" on standard
// output. A file that cannot be read is logged and left alone; one that cannot be opened for
// writing is left as it was. Never stops the extraction flow.
void ApplyHeapOptions(const std::wstring& workingDirectory, const HeapSettings& heap);

// Removes "-jvmxms" and "-jvmxmx" together with the token after each from a command line. Tokens
// are split at blanks (quotes are ordinary characters, runs of blanks one separator) and the
// line is rebuilt with every token followed by one blank.
void StripHeapOptions(std::wstring& commandLine);
