// alextract: lists or extracts a ZIP archive (or an installer) with the archive engine, as the
// stub does. Used by the benchmarks and by the tests of sfxbuild.
//   alextract -l ARCHIVE        list the members, one name a line
//   alextract ARCHIVE [FOLDER]  extract every member below the folder (default: current)
#include "ALCopyEngine.h"
#include "ALFile.h"
#include "ALPkArchive.h"
#include "ALPkEngine.h"
#include "ALText.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

std::filesystem::path PathOf(const std::wstring& text) {
#ifdef _WIN32
    return std::filesystem::path(text);
#else
    return std::filesystem::path(ALWideToUtf8(text));
#endif
}

int Report(const ALStatusRecord& status) {
    std::fprintf(stderr, "alextract: %d: %s\n", static_cast<int>(status.GetStatusCode()),
                 ALWideToUtf8(status.StatusText()).c_str());
    return 1;
}

int Run(const std::vector<std::wstring>& args) {
    const bool list = !args.empty() && args[0] == L"-l";
    const size_t first = list ? 1 : 0;
    if (args.size() <= first || args.size() > first + 2) {
        std::fputs("usage: alextract [-l] ARCHIVE [FOLDER]\n", stderr);
        return 2;
    }
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(PathOf(args[first]), ec);
#ifdef _WIN32
    const std::wstring archivePath = absolute.wstring();
#else
    const std::wstring archivePath = ALUtf8ToWide(absolute.string());
#endif
    ALEngineKit kit{ALFile(), ALPkDecompressor()};
    kit.Add(ALCopyDecompressor());
    ALEntryGroup group(nullptr, kit);
    ALPkArchive archive(archivePath);
    if (archive.ReadDirectory(group) < 0) return Report(archive.mStatus);
    if (list) {
        for (ALEntry* e = group.GetFirstEntry(); e; e = e->GetNextEntry()) {
            std::printf("%s\n", ALWideToUtf8(e->Name()).c_str());
        }
        return 0;
    }
    if (args.size() == first + 2) {
        std::filesystem::create_directories(PathOf(args[first + 1]), ec);
        std::filesystem::current_path(PathOf(args[first + 1]), ec);
        if (ec) {
            std::fprintf(stderr, "alextract: cannot enter %s\n", ALWideToUtf8(args[first + 1]).c_str());
            return 1;
        }
    }
    if (archive.Extract(group) < 0) return Report(archive.mStatus);
    return 0;
}

}  // namespace

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) { return Run(std::vector<std::wstring>(argv + 1, argv + argc)); }
#else
int main(int argc, char** argv) {
    std::vector<std::wstring> args;
    for (int i = 1; i < argc; ++i) args.push_back(ALUtf8ToWide(argv[i]));
    return Run(args);
}
#endif
