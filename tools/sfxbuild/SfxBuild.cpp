#include "SfxBuild.h"

#include "ALFile.h"
#include "ALPkArchive.h"
#include "ALPkEngine.h"
#include "ALText.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Paths and wide text: native on Windows; on Linux wide text is carried as UTF-8, whatever the
// locale of the process.
fs::path PathOf(const std::wstring& text) {
#ifdef _WIN32
    return fs::path(text);
#else
    return fs::path(ALWideToUtf8(text));
#endif
}

std::wstring WideOf(const fs::path& path, bool generic = false) {
#ifdef _WIN32
    return generic ? path.generic_wstring() : path.wstring();
#else
    return ALUtf8ToWide(generic ? path.generic_string() : path.string());
#endif
}

constexpr size_t kHeaderSize = 1028;
constexpr uint16_t kEntryFlags = 0x0808;  // data descriptors, UTF-8 names
constexpr int64_t kLimit = INT32_MAX;  // positions and sizes are 32-bit
constexpr int64_t kProgressThreshold = 32 * 1024 * 1024;

struct SourceFile {
    std::string key;  // UTF-8 of the archive name: the sort order
    std::wstring name;  // archive name, forward slashes
    int64_t size = 0;
};

void Print(std::FILE* stream, const std::wstring& text) {
    std::fputs(ALWideToUtf8(text).c_str(), stream);
    std::fflush(stream);
}

int Fail(const std::wstring& message) {
    Print(stderr, L"sfxbuild: error: " + message + L"\n");
    return 1;
}

std::wstring Quoted(const fs::path& p) { return L"\"" + WideOf(p) + L"\""; }

std::wstring Message(const std::error_code& ec) { return ALUtf8ToWide(ec.message()); }

// Every regular file below the folder, sorted by name. False with a message on error.
bool ScanTree(const fs::path& root, std::vector<SourceFile>& files, std::wstring& error) {
    std::error_code ec;
    fs::recursive_directory_iterator it(root, fs::directory_options::none, ec);
    for (; !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        std::error_code statusError;
        const fs::file_status status = it->status(statusError);
        if (statusError) {
            error = L"cannot read " + Quoted(it->path()) + L": " + Message(statusError);
            return false;
        }
        if (!fs::is_regular_file(status)) continue;
        SourceFile f;
        f.name = WideOf(it->path().lexically_relative(root), true);
        f.key = ALWideToUtf8(f.name);
        f.size = static_cast<int64_t>(it->file_size(statusError));
        if (statusError) {
            error = L"cannot read " + Quoted(it->path()) + L": " + Message(statusError);
            return false;
        }
        if (f.size >= kLimit) {
            error = Quoted(it->path()) + L" is 2 GiB or larger; an installer must stay below 2 GiB";
            return false;
        }
        files.push_back(std::move(f));
    }
    if (ec) {
        error = L"cannot read the folder " + Quoted(root) + L": " + Message(ec);
        return false;
    }
    std::sort(files.begin(), files.end(), [](const SourceFile& a, const SourceFile& b) { return a.key < b.key; });
    return true;
}

// Deletes the temporary output unless the build was committed; restores the current folder.
class BuildScope {
public:
    explicit BuildScope(fs::path temporary) : temporary_(std::move(temporary)), folder_(fs::current_path()) {}
    ~BuildScope() {
        std::error_code ignored;
        fs::current_path(folder_, ignored);
        if (!committed_) fs::remove(temporary_, ignored);
    }
    void Commit() { committed_ = true; }

private:
    fs::path temporary_;
    fs::path folder_;
    bool committed_ = false;
};

class Progress {
public:
    Progress(bool enabled, int64_t total, size_t files) : enabled_(enabled && total >= kProgressThreshold), total_(total), files_(files) {}
    void Done(int64_t bytes, size_t files) {
        if (!enabled_) return;
        const int percent = total_ > 0 ? static_cast<int>(bytes * 100 / total_) : 100;
        if (percent == last_ && files != files_) return;
        last_ = percent;
        Print(stderr, ALFormat(L"\rsfxbuild: %3d%% (%zu of %zu files)", percent, files, files_));
    }
    void End() {
        if (enabled_ && last_ >= 0) Print(stderr, L"\n");
    }

private:
    bool enabled_;
    int64_t total_;
    size_t files_;
    int last_ = -1;
};

bool CopyStub(ALFile& stub, ALStorage& out) {
    uint8_t chunk[4096];
    for (;;) {
        const int32_t got = stub.ReadBuffer(chunk, sizeof chunk);
        if (got > 0 && out.WriteBuffer(chunk, got) != got) return false;
        if (got < static_cast<int32_t>(sizeof chunk)) break;
    }
    return !stub.mStatus.Failed() && !out.mStatus.Failed();
}

}  // namespace

bool MakePayloadHeader(const std::wstring& launcher, std::string& header) {
    std::wstring path = launcher;
    std::replace(path.begin(), path.end(), L'/', L'\\');
    const std::string bytes = ALWideToUtf8(path);
    if (bytes.size() >= 1024) return false;
    header.assign(kHeaderSize, '\0');
    header[0] = '[';
    header[1] = '>';
    header[2] = 'N';
    std::copy(bytes.begin(), bytes.end(), header.begin() + 4);
    return true;
}

int RunSfxBuild(const SfxBuildOptions& options) {
    std::error_code ec;
    const fs::path stubPath = fs::absolute(PathOf(options.stub), ec);
    const fs::path sourcePath = fs::absolute(PathOf(options.source), ec);
    const fs::path outputPath = fs::absolute(PathOf(options.output), ec);
    if (!fs::is_regular_file(stubPath, ec)) return Fail(L"the stub " + Quoted(stubPath) + L" is not a file");
    if (!fs::is_directory(sourcePath, ec)) return Fail(L"the source folder " + Quoted(sourcePath) + L" is not a folder");
    if (fs::is_directory(outputPath, ec)) return Fail(L"the output " + Quoted(outputPath) + L" is a folder");

    std::vector<SourceFile> files;
    std::wstring error;
    if (!ScanTree(sourcePath, files, error)) return Fail(error);
    if (files.size() > 0xFFFF) return Fail(L"more than 65535 files; a ZIP directory without ZIP64 holds no more");

    std::wstring launcher = options.launcher;
    std::replace(launcher.begin(), launcher.end(), L'\\', L'/');
    const bool launcherFound = std::any_of(files.begin(), files.end(), [&](const SourceFile& f) { return f.name == launcher; });
    if (!launcherFound) return Fail(L"the launcher \"" + options.launcher + L"\" is not a file in " + Quoted(sourcePath));
    std::string header;
    if (!MakePayloadHeader(launcher, header)) return Fail(L"the launcher path is longer than 1023 bytes");

    int64_t total = 0;
    for (const SourceFile& f : files) total += f.size;

    const fs::path temporary = PathOf(WideOf(outputPath) + L".sfxbuild-part");
    BuildScope scope(temporary);
    ALFile out(WideOf(temporary));
    ALFile stub(WideOf(stubPath));
    if (out.Create() < 0) return Fail(out.mStatus.StatusText());
    if (stub.Open() < 0) return Fail(stub.mStatus.StatusText());
    if (!CopyStub(stub, out)) return Fail(stub.mStatus.Failed() ? stub.mStatus.StatusText() : out.mStatus.StatusText());
    stub.Close();
    out.WriteBuffer(reinterpret_cast<const uint8_t*>(header.data()), static_cast<int32_t>(header.size()));
    if (out.mStatus.Failed()) return Fail(out.mStatus.StatusText());

    // Member names are relative to the source folder: work inside it.
    fs::current_path(sourcePath, ec);
    if (ec) return Fail(L"cannot enter " + Quoted(sourcePath) + L": " + Message(ec));
    ALPkArchive archive(out);
    archive.SetArchiveStart(out.Tell());
    archive.SetEntryFlags(kEntryFlags);
    ALEntryGroup group;
    Progress progress(!options.quiet, total, files.size());
    int64_t done = 0;
    size_t count = 0;
    for (const SourceFile& f : files) {
        auto* entry = new ALEntry(group, std::make_unique<ALFile>(f.name), std::make_unique<ALPkCompressor>(options.level));
        ALStorage& input = *entry->storage;
        if (input.Open() < 0) return progress.End(), Fail(input.mStatus.StatusText());
        if (options.time) input.mTimeDate = *options.time;
        input.mAttributes &= static_cast<uint16_t>(~AL_ATTRIBUTE_DIRECTORY);
        archive.CompressEntry(*entry);
        input.Close();
        if (input.mStatus.Failed()) return progress.End(), Fail(input.mStatus.StatusText());
        if (archive.mStatus.Failed()) return progress.End(), Fail(archive.mStatus.StatusText());
        done += f.size;
        progress.Done(done, ++count);
    }
    progress.End();
    if (archive.WriteDirectory(group) < 0) return Fail(archive.mStatus.StatusText());
    const int64_t size = out.Tell();
    if (out.Close() < 0) return Fail(out.mStatus.StatusText());

    fs::rename(temporary, outputPath, ec);
    if (ec) return Fail(L"cannot write " + Quoted(outputPath) + L": " + Message(ec));
    scope.Commit();
    if (!options.quiet) {
        Print(stdout, ALFormat(L"sfxbuild: wrote %ls: %zu files, %lld bytes\n", WideOf(outputPath).c_str(),
                               files.size(), static_cast<long long>(size)));
    }
    return 0;
}
