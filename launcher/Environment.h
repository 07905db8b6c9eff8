#pragma once
// A snapshot of the process environment, taken once: variable names map to raw values, ordered
// by exact name. Values are handed out with their %NAME% references expanded.
#include <functional>
#include <map>
#include <string>
#include <vector>

class Environment {
public:
    // Expands %NAME% references in a raw value.
    using Expander = std::function<std::wstring(const std::wstring&)>;

    // `entries` are the "NAME=VALUE" texts of an environment block in block order; the name is
    // the text before the first "=" (empty for the hidden per-drive entries), a later entry of the
    // same name replaces an earlier one.
    Environment(const std::vector<std::wstring>& entries, Expander expand);

    // The process-wide snapshot of this process's environment, made on first use.
    static const Environment& instance();

    // The expanded value of the variable named exactly `name`; empty when there is none.
    std::wstring value(const std::wstring& name) const;

    // The PATH directories: the first variable in name order whose lower-case name is "path"
    // (else "Path"), blanks removed at both ends, cut at runs of ";".
    std::vector<std::wstring> pathDirectories() const;

    // The three lines per variable, in name order, that tell the Java program its environment:
    // "vrx.nl.env." + lower-case name, "vrx.nl.env." + upper-case name and
    // "vrx.nl.env.exact_case." + name, each "=" + value; names and values escaped for a
    // property file. Each line ends with "\n".
    std::wstring propertyLines() const;

    const std::map<std::wstring, std::wstring>& variables() const noexcept { return variables_; }

private:
    std::map<std::wstring, std::wstring> variables_;
    Expander expand_;
};

// Expands %NAME% references against `lookup` the way ExpandEnvironmentStringsW does: a name
// that `lookup` does not know, and a "%" without a closing one, stay as they are. The result is
// never cut. Used where no Windows environment is at hand (native builds and their tests).
std::wstring expandReferences(const std::wstring& text,
                              const std::function<const std::wstring*(const std::wstring&)>& lookup);
