// Fuzz target: arbitrary bytes as an installer, read with ReadDirectory and extracted into a
// scratch folder, as the stub does with its own file. Built by scripts/fuzz.sh with libFuzzer;
// without libFuzzer (AL_FUZZ_REPLAY) a small main replays the files named on its command line,
// which is how ctest runs the kept regression inputs.
#include "ALCopyEngine.h"
#include "ALFile.h"
#include "ALPkArchive.h"
#include "ALPkEngine.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

// One scratch folder per process: the input file lives in it, members go to "out" below it.
const fs::path& Scratch() {
    static const fs::path folder = [] {
        fs::path p = fs::temp_directory_path() / ("alfuzz-" + std::to_string(::getpid()));
        fs::create_directories(p / "out");
        return p;
    }();
    return folder;
}

void RunOne(const uint8_t* data, size_t size) {
    const fs::path input = Scratch() / "installer.exe";
    {
        std::ofstream out(input, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    std::error_code ec;
    const fs::path previous = fs::current_path(ec);
    fs::current_path(Scratch() / "out", ec);
    {
        ALEngineKit kit{ALFile(), ALPkDecompressor()};
        kit.Add(ALCopyDecompressor());
        ALEntryGroup group(nullptr, kit);
        ALPkArchive archive(input.wstring());
        archive.ReadDirectory(group);
        archive.Extract(group);
    }
    fs::current_path(previous, ec);
    // Whatever was written stays inside the scratch folder; clear it for the next input.
    for (const auto& e : fs::directory_iterator(Scratch() / "out", ec)) fs::remove_all(e.path(), ec);
    for (const auto& e : fs::directory_iterator(Scratch(), ec)) {
        if (e.path().filename() != "out" && e.path().filename() != "installer.exe") {
            std::fprintf(stderr, "fuzz: something was written outside the target folder: %s\n", e.path().c_str());
            std::abort();
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    RunOne(data, size);
    return 0;
}

#ifdef AL_FUZZ_REPLAY
int main(int argc, char** argv) {
    int replayed = 0;
    for (int i = 1; i < argc; ++i) {
        std::vector<fs::path> files;
        if (fs::is_directory(argv[i])) {
            for (const auto& e : fs::directory_iterator(argv[i])) files.push_back(e.path());
        } else {
            files.emplace_back(argv[i]);
        }
        for (const fs::path& f : files) {
            std::ifstream in(f, std::ios::binary);
            const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            RunOne(bytes.data(), bytes.size());
            ++replayed;
        }
    }
    std::printf("replayed %d inputs\n", replayed);
    std::error_code ec;
    fs::remove_all(Scratch(), ec);
    return 0;
}
#endif
