#include "CommandLine.h"

#include "FilePath.h"
#include "FileSystem.h"

namespace {

std::wstring trimBlanks(const std::wstring& text) {
    const size_t begin = text.find_first_not_of(L' ');
    if (begin == std::wstring::npos) return std::wstring();
    return text.substr(begin, text.find_last_not_of(L' ') - begin + 1);
}

// Joins an argument that was cut inside double quotes back together. An element that begins
// with a quote and holds an asterisk is left as it is, quotes included.
std::vector<std::wstring> joinQuoted(const std::vector<std::wstring>& pieces) {
    std::vector<std::wstring> out;
    for (size_t i = 0; i < pieces.size(); ++i) {
        const std::wstring& piece = pieces[i];
        if (!piece.starts_with(L'"') || piece.find(L'*') != std::wstring::npos) {
            out.push_back(piece);
            continue;
        }
        std::wstring joined = piece;
        // A piece that is just a quote, or that does not end in one, opens a run of pieces.
        bool closed = piece.size() > 1 && piece.ends_with(L'"');
        while (!closed && i + 1 < pieces.size()) {
            joined += L' ';
            joined += pieces[++i];
            closed = pieces[i].ends_with(L'"');
        }
        joined.erase(0, 1);
        if (joined.ends_with(L'"')) joined.pop_back();
        out.push_back(joined);
    }
    return out;
}

// An argument naming an existing file or folder becomes its full path, 8.3 names expanded.
std::wstring expandExisting(const std::wstring& argument) {
    if (filesystem_query::kindOf(argument) == filesystem_query::Kind::Missing) return argument;
    return fullPathText(argument, true);
}

}  // namespace

std::vector<std::wstring> splitAtRuns(const std::wstring& text, wchar_t separator) {
    std::vector<std::wstring> pieces;
    const std::wstring trimmed = trimBlanks(text);
    size_t at = 0;
    while (at < trimmed.size()) {
        const size_t end = trimmed.find(separator, at);
        const size_t stop = end == std::wstring::npos ? trimmed.size() : end;
        if (stop > at) pieces.push_back(trimmed.substr(at, stop - at));
        at = stop + 1;
    }
    return pieces;
}

std::vector<std::wstring> splitAtBlanks(const std::wstring& text) { return splitAtRuns(text, L' '); }

CommandLine CommandLine::parse(const std::wstring& commandLine) {
    std::vector<std::wstring> pieces;
    std::wstring rest = commandLine;
    if (commandLine.starts_with(L'"')) {
        const size_t second = commandLine.find(L'"', 1);
        if (second != std::wstring::npos) {
            pieces.push_back(commandLine.substr(0, second + 1));
            rest = commandLine.substr(second + 1);
        }
    }
    for (std::wstring& piece : splitAtBlanks(rest)) pieces.push_back(std::move(piece));

    CommandLine result;
    std::vector<std::wstring> kept;
    for (size_t i = 0; i < pieces.size(); ++i) {
        if (pieces[i] == L"-qmvrxservice") {
            if (i + 1 < pieces.size()) {
                result.isService = true;
                result.serviceName = pieces[++i];
            }
            continue;
        }
        kept.push_back(pieces[i]);
        if (pieces[i] == L"-i" && i + 1 < pieces.size()) kept.push_back(pieces[++i]);
    }
    for (std::wstring& argument : joinQuoted(kept)) {
        result.arguments.push_back(expandExisting(argument));
    }
    return result;
}

std::wstring CommandLine::valueAfter(const std::wstring& name) const {
    for (size_t i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == name) return i + 1 < arguments.size() ? arguments[i + 1] : std::wstring();
    }
    return std::wstring();
}
