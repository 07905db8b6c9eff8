#include "ALTestSupport.h"

#include <zlib.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace altest {
namespace fs = std::filesystem;

ScratchFolder::ScratchFolder() {
    static std::atomic<int> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    path_ = fs::temp_directory_path() / ("altest-" + std::to_string(stamp) + "-" + std::to_string(counter++));
    fs::create_directories(path_);
    previous_ = fs::current_path();
    fs::current_path(path_);
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    fs::current_path(previous_, ignored);
    // Read-only files left by a test must not stop the clean-up.
    for (auto it = fs::recursive_directory_iterator(path_, ignored); it != fs::recursive_directory_iterator();
         it.increment(ignored)) {
        fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
    }
    fs::remove_all(path_, ignored);
}

std::wstring ScratchFolder::Name(const std::string& relative) const { return (path_ / relative).wstring(); }

void WriteFile(const fs::path& path, const Bytes& bytes) {
    if (path.has_parent_path()) fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

void WriteFile(const fs::path& path, const std::string& text) { WriteFile(path, Bytes(text.begin(), text.end())); }

Bytes ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string ReadText(const fs::path& path) {
    const Bytes b = ReadFile(path);
    return std::string(b.begin(), b.end());
}

Bytes Pattern(size_t size, uint32_t seed) {
    static const char* words[] = {"class ", "return ", "int ", "value", "; ", "\n", "{ ", "} ", "java.lang.", "0x1f "};
    Bytes out;
    out.reserve(size);
    uint32_t x = seed * 2654435761u + 1;
    while (out.size() < size) {
        x = x * 1103515245u + 12345u;
        const char* w = words[(x >> 16) % 10];
        for (const char* p = w; *p && out.size() < size; ++p) out.push_back(static_cast<uint8_t>(*p));
    }
    return out;
}

Bytes Random(size_t size, uint32_t seed) {
    Bytes out(size);
    uint64_t x = seed + 0x9E3779B97F4A7C15ull;
    for (auto& b : out) {
        x ^= x << 13;
        x ^= x >> 7;
        x ^= x << 17;
        b = static_cast<uint8_t>(x);
    }
    return out;
}

uint32_t Crc32(const Bytes& data) {
    return static_cast<uint32_t>(::crc32(0, data.data(), static_cast<uInt>(data.size())));
}

Bytes RawDeflate(const Bytes& data, int level) {
    z_stream s{};
    deflateInit2(&s, level, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
    Bytes out(deflateBound(&s, static_cast<uLong>(data.size())) + 16);
    s.next_in = const_cast<Bytes::value_type*>(data.data());
    s.avail_in = static_cast<uInt>(data.size());
    s.next_out = out.data();
    s.avail_out = static_cast<uInt>(out.size());
    deflate(&s, Z_FINISH);
    out.resize(s.total_out);
    deflateEnd(&s);
    return out;
}

namespace {

void Put16(Bytes& b, uint32_t v) {
    b.push_back(static_cast<uint8_t>(v));
    b.push_back(static_cast<uint8_t>(v >> 8));
}

void Put32(Bytes& b, uint32_t v) {
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}

void Append(Bytes& b, const Bytes& more) { b.insert(b.end(), more.begin(), more.end()); }
void Append(Bytes& b, const std::string& more) { b.insert(b.end(), more.begin(), more.end()); }

}  // namespace

Bytes BuildZip(const std::vector<ZipMember>& members, const std::string& comment) {
    Bytes zip;
    Bytes directory;
    for (const ZipMember& m : members) {
        const Bytes payload = !m.storedOverride.empty() ? m.storedOverride : m.method == 8 ? RawDeflate(m.data) : m.data;
        uint32_t crc = Crc32(m.data);
        if (m.badCrc) crc ^= 0x00010000;
        const uint32_t offset = static_cast<uint32_t>(zip.size());
        const bool descriptor = (m.flags & 0x0008) != 0;
        Put32(zip, 0x04034B50);
        Put16(zip, 20);
        Put16(zip, m.flags);
        Put16(zip, m.method);
        Put16(zip, m.dosTime);
        Put16(zip, m.dosDate);
        Put32(zip, descriptor ? 0 : crc);
        Put32(zip, descriptor ? 0 : static_cast<uint32_t>(payload.size()));
        Put32(zip, descriptor ? 0 : static_cast<uint32_t>(m.data.size()));
        Put16(zip, static_cast<uint32_t>(m.name.size()));
        Put16(zip, static_cast<uint32_t>(m.extra.size()));
        Append(zip, m.name);
        Append(zip, m.extra);
        Append(zip, payload);
        if (descriptor) {
            Put32(zip, 0x08074B50);
            Put32(zip, crc);
            Put32(zip, static_cast<uint32_t>(payload.size()));
            Put32(zip, static_cast<uint32_t>(m.data.size()));
        }
        const uint32_t compressed =
            m.compressedOverride >= 0 ? static_cast<uint32_t>(m.compressedOverride) : static_cast<uint32_t>(payload.size());
        Put32(directory, 0x02014B50);
        Put16(directory, 20);
        Put16(directory, 20);
        Put16(directory, m.flags);
        Put16(directory, m.method);
        Put16(directory, m.dosTime);
        Put16(directory, m.dosDate);
        Put32(directory, crc);
        Put32(directory, compressed);
        Put32(directory, static_cast<uint32_t>(m.data.size()));
        Put16(directory, static_cast<uint32_t>(m.name.size()));
        Put16(directory, static_cast<uint32_t>(m.extra.size()));
        Put16(directory, 0);
        Put16(directory, 0);
        Put16(directory, 0);
        Put32(directory, m.external);
        Put32(directory, offset);
        Append(directory, m.name);
        Append(directory, m.extra);
    }
    const uint32_t directoryOffset = static_cast<uint32_t>(zip.size());
    Append(zip, directory);
    Put32(zip, 0x06054B50);
    Put16(zip, 0);
    Put16(zip, 0);
    Put16(zip, static_cast<uint32_t>(members.size()));
    Put16(zip, static_cast<uint32_t>(members.size()));
    Put32(zip, static_cast<uint32_t>(directory.size()));
    Put32(zip, directoryOffset);
    Put16(zip, static_cast<uint32_t>(comment.size()));
    Append(zip, comment);
    return zip;
}

uint32_t DirectoryOffset(const Bytes& zip) {
    for (size_t i = zip.size() - 22;; --i) {
        if (zip[i] == 'P' && zip[i + 1] == 'K' && zip[i + 2] == 5 && zip[i + 3] == 6) {
            return zip[i + 16] | (zip[i + 17] << 8) | (zip[i + 18] << 16) | (static_cast<uint32_t>(zip[i + 19]) << 24);
        }
        if (i == 0) break;
    }
    return 0;
}

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts) Append(out, p);
    return out;
}

}  // namespace altest
