#include "ALCopyEngine.h"
#include "ALFile.h"
#include "ALPkArchive.h"
#include "ALPkEngine.h"
#include "ALPlatform.h"
#include "ALTestSupport.h"
#include "ALText.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace altest;
namespace fs = std::filesystem;

namespace {

// The kit the stub builds: the file prototype, deflate and copy decompressors.
ALEngineKit ExtractionKit() {
    ALEngineKit kit{ALFile(), ALPkDecompressor()};
    kit.Add(ALCopyDecompressor());
    return kit;
}

std::string U8(const std::wstring& w) { return ALWideToUtf8(w); }

struct Outcome {
    int32_t read = 0;
    std::wstring readText;
    int32_t result = 0;
    std::wstring text;
    std::vector<std::wstring> names;
    std::vector<int32_t> memberCodes;
};

// Reads the directory of the file and, when asked, extracts every member into "out".
Outcome ReadAndExtract(const fs::path& file, bool extract = true, ALMonitor* monitor = nullptr,
                   int32_t pathFlags = 0) {
    ALEntryGroup group(monitor, ExtractionKit());
    ALPkArchive archive(fs::absolute(file).wstring());
    Outcome r;
    r.read = archive.ReadDirectory(group);
    r.readText = archive.mStatus.StatusText();
    for (ALEntry* e = group.GetFirstEntry(); e; e = e->GetNextEntry()) {
        r.names.push_back(e->Name());
        e->pathFlags = pathFlags;
    }
    if (extract) {
        fs::create_directories("out");
        const fs::path here = fs::current_path();
        fs::current_path("out");
        r.result = archive.Extract(group);
        fs::current_path(here);
        r.text = archive.mStatus.StatusText();
        for (ALEntry* e = group.GetFirstEntry(); e; e = e->GetNextEntry()) {
            r.memberCodes.push_back(e->storage->mStatus.GetStatusCode());
        }
    }
    return r;
}

ZipMember Member(const std::string& name, const Bytes& data) {
    ZipMember m;
    m.name = name;
    m.data = data;
    return m;
}

Bytes Text(const std::string& s) { return Bytes(s.begin(), s.end()); }

// A program image and the 1028-byte payload header in front of the archive.
Bytes StubAndHeader(size_t imageSize) {
    Bytes b = Random(imageSize, 7);
    b[0] = 'M';
    b[1] = 'Z';
    Bytes header(1028, 0);
    header[0] = '[';
    header[1] = '>';
    header[2] = 'N';
    const std::string launcher = "Windows\\setup.exe";
    std::copy(launcher.begin(), launcher.end(), header.begin() + 4);
    return Concat({b, header});
}

}  // namespace

TEST(ALPkArchive, InstallerWithOpaqueExtraFieldAndCertificateTable) {
    ScratchFolder scratch;
    // Installers of other builders carry an 11-byte extra field of hex digits, not in tagged
    // form, the same in the local and the central record; a signature table follows.
    std::vector<ZipMember> members;
    for (int i = 0; i < 12; ++i) {
        ZipMember m = Member("Windows/resource/file" + std::to_string(i) + ".txt", Pattern(5000 + i * 1000, i));
        m.extra = Text("0A1B2C3D4E5");
        members.push_back(m);
    }
    members.push_back(Member("Windows/setup.exe", Random(70000, 3)));
    const Bytes installer = Concat({StubAndHeader(0x3000), BuildZip(members), Random(11864, 9)});
    WriteFile("installer.exe", installer);

    const Outcome r = ReadAndExtract("installer.exe");
    ASSERT_EQ(r.read, 13) << U8(r.readText);
    ASSERT_EQ(r.result, 13) << U8(r.text);
    for (const ZipMember& m : members) {
        EXPECT_EQ(ReadFile(fs::path("out") / m.name), m.data) << m.name;
    }
}

TEST(ALPkArchive, SameArchiveBehindAnyPrefixOrStandAlone) {
    ScratchFolder scratch;
    const Bytes zip = BuildZip({Member("a.txt", Text("alpha")), Member("b/c.txt", Pattern(9000, 1))});
    const std::vector<Bytes> prefixes = {Bytes(), StubAndHeader(100), StubAndHeader(200000), Random(1, 1)};
    for (size_t i = 0; i < prefixes.size(); ++i) {
        WriteFile("file.bin", Concat({prefixes[i], zip}));
        fs::remove_all("out");
        const Outcome r = ReadAndExtract("file.bin");
        EXPECT_EQ(r.read, 2) << i << U8(r.readText);
        EXPECT_EQ(r.result, 2) << i << U8(r.text);
        EXPECT_EQ(ReadText("out/a.txt"), "alpha") << i;
        EXPECT_EQ(ReadFile("out/b/c.txt"), Pattern(9000, 1)) << i;
    }
}

TEST(ALPkArchive, DamagedDirectories) {
    ScratchFolder scratch;
    std::vector<ZipMember> eleven;
    for (int i = 0; i < 11; ++i) eleven.push_back(Member(std::string(1, 'm') + std::to_string(i), Pattern(100, i)));
    const Bytes good = BuildZip(eleven);
    const uint32_t directory = DirectoryOffset(good);

    // The 11th central record's signature broken: 10 entries stay.
    Bytes badEleventh = good;
    {
        uint32_t p = directory;
        for (int i = 0; i < 10; ++i) {
            const uint32_t nameLength = badEleventh[p + 28] | (badEleventh[p + 29] << 8);
            p += 46 + nameLength;
        }
        badEleventh[p + 2] = 9;
    }
    // A signature table that happens to hold "PK" 5 6, followed by a directory size of 10.
    Bytes signatureInTrailer = Concat({good, Text("xxPK\x05\x06"), Bytes(8, 1), Bytes{10, 0, 0, 0}, Random(40, 2)});
    Bytes longTrailer = Concat({good, Bytes(66001, 0)});

    struct Case {
        const char* what;
        Bytes file;
        int32_t read;
        const wchar_t* readText;
        size_t entries;
    } cases[] = {
        {"empty file", Bytes(), -1980, L"Can't locate end of central directory in ZIP file ", 0},
        {"no end record in range", longTrailer, -1980, L"Can't locate end of central directory in ZIP file ", 0},
        {"end signature inside the trailer", signatureInTrailer, -1980, L"Bad record in central directory of ZIP file ", 0},
        {"bad record after 10 good ones", badEleventh, -1980, L"Bad record in central directory of ZIP file ", 10},
        {"no archive at all", Random(5000, 5), -1980, L"Can't locate end of central directory in ZIP file ", 0},
    };
    for (const Case& c : cases) {
        WriteFile("case.zip", c.file);
        const Outcome r = ReadAndExtract("case.zip", false);
        EXPECT_EQ(r.read, c.read) << c.what << ": " << U8(r.readText);
        EXPECT_EQ(U8(r.readText).rfind(U8(c.readText), 0), 0u) << c.what << ": " << U8(r.readText);
        EXPECT_NE(r.readText.find(fs::absolute("case.zip").wstring()), std::wstring::npos) << c.what;
        EXPECT_EQ(r.names.size(), c.entries) << c.what;
    }
}

TEST(ALPkArchive, FileEndingInsideTheDirectoryKeepsTheEntriesRead) {
    ScratchFolder scratch;
    std::vector<ZipMember> members;
    for (int i = 0; i < 5; ++i) members.push_back(Member(std::string(1, 'm') + std::to_string(i), Pattern(100, i)));
    const Bytes zip = BuildZip(members);
    const uint32_t directory = DirectoryOffset(zip);
    // [local records][end record][three central records] and then the end of the file: the end
    // record's directory size of -22 puts the directory right behind it.
    Bytes threeRecords;
    uint32_t p = directory;
    for (int i = 0; i < 3; ++i) {
        const uint32_t nameLength = zip[p + 28] | (zip[p + 29] << 8);
        threeRecords.insert(threeRecords.end(), zip.begin() + p, zip.begin() + p + 46 + nameLength);
        p += 46 + nameLength;
    }
    Bytes end(zip.end() - 22, zip.end());
    const uint32_t minus22 = static_cast<uint32_t>(-22);
    for (int i = 0; i < 4; ++i) end[12 + i] = static_cast<uint8_t>(minus22 >> (8 * i));
    WriteFile("cut.zip", Concat({Bytes(zip.begin(), zip.begin() + directory), end, threeRecords}));
    const Outcome r = ReadAndExtract("cut.zip", false);
    EXPECT_EQ(r.read, 3) << U8(r.readText);
}

TEST(ALPkArchive, BadRecordAfterTenGoodOnesExtractsTheFirstThenFails) {
    ScratchFolder scratch;
    std::vector<ZipMember> members;
    for (int i = 0; i < 11; ++i) members.push_back(Member(std::string(1, 'm') + std::to_string(i), Pattern(100, i)));
    Bytes zip = BuildZip(members);
    uint32_t p = DirectoryOffset(zip);
    for (int i = 0; i < 10; ++i) p += 46 + (zip[p + 28] | (zip[p + 29] << 8));
    zip[p + 3] = 7;
    WriteFile("bad.zip", zip);
    const Outcome r = ReadAndExtract("bad.zip");
    EXPECT_EQ(r.read, -1980);
    EXPECT_EQ(r.names.size(), 10u);
    EXPECT_EQ(r.result, -1980) << U8(r.text);
    EXPECT_TRUE(fs::exists("out/m0"));
    EXPECT_FALSE(fs::exists("out/m1"));
}

TEST(ALPkArchive, MethodsFlagsAndDamagedMembers) {
    struct Case {
        const char* what;
        ZipMember odd;  // extracted between two good members
        int32_t result;
        const wchar_t* textStart;
        bool laterExtracted;
        bool oddWritten;
    };
    ZipMember stored = Member("odd.bin", Random(10000, 4));
    stored.method = 0;
    ZipMember unknown = Member("odd.bin", Text("imploded"));
    unknown.method = 12;
    ZipMember encrypted = Member("odd.bin", Text("secret"));
    encrypted.flags = 0x0809;
    ZipMember corrupt = Member("odd.bin", Pattern(20000, 8));
    corrupt.badCrc = true;
    ZipMember noFlags = Member("odd.bin", Pattern(3000, 2));
    noFlags.flags = 0;
    ZipMember utf8 = Member("Caf\xC3\xA9.txt", Text("coffee"));
    ZipMember levelBitsOnly = Member("odd.bin", Pattern(3000, 3));
    levelBitsOnly.flags = 0x0002;  // maximum compression, no descriptor
    const Case cases[] = {
        {"stored", stored, 3, L"No errors", true, true},
        {"flag word 0, no descriptor", noFlags, 3, L"No errors", true, true},
        {"UTF-8 name", utf8, 3, L"No errors", true, true},
        {"deflate level bits only", levelBitsOnly, 3, L"No errors", true, true},
        {"unknown method", unknown, -1998, L"Attempt to decompress without a decompressor", false, false},
        {"encrypted", encrypted, -1974, L"Attempt to extract an object without decryption engine", false, false},
        {"CRC mismatch", corrupt, -1984, L"odd.bin: CRC32 was supposed to be ", true, true},
    };
    for (const Case& c : cases) {
        ScratchFolder scratch;
        WriteFile("case.zip", BuildZip({Member("first.txt", Text("one")), c.odd, Member("last.txt", Text("three"))}));
        const Outcome r = ReadAndExtract("case.zip");
        ASSERT_EQ(r.read, 3) << c.what << ": " << U8(r.readText);
        EXPECT_EQ(r.result, c.result) << c.what << ": " << U8(r.text);
        EXPECT_EQ(r.text.rfind(c.textStart, 0), 0u) << c.what << ": " << U8(r.text);
        EXPECT_EQ(ReadText("out/first.txt"), "one") << c.what;
        EXPECT_EQ(fs::exists("out/last.txt"), c.laterExtracted) << c.what;
        const fs::path odd = fs::path("out") / fs::u8path(c.odd.name);
        EXPECT_EQ(fs::exists(odd), c.oddWritten) << c.what;
        if (c.result > 0) {
            EXPECT_EQ(ReadFile(odd), c.odd.data) << c.what;
        }
    }
}

namespace {

// A decryption engine for the tests: a 4-byte header, then every byte XORed with the key.
class XorEngine : public ALCryptoEngine {
public:
    explicit XorEngine(uint8_t key) : ALCryptoEngine(-1, "XOR test"), key_(key) {}
    std::unique_ptr<ALCryptoEngine> Clone(int32_t type) const override {
        return type == -1 ? std::make_unique<XorEngine>(key_) : nullptr;
    }
    int32_t Start(ALStorage& archive, ALStorage&) override {
        uint8_t header[4];
        return archive.ReadBuffer(header, 4) == 4 ? 0 : mStatus.SetError(AL_READ_ERROR, L"no header");
    }
    int32_t Finish(ALStorage&, ALStorage&) override { return 0; }
    void Transform(uint8_t* data, int32_t count, Direction) override {
        for (int32_t i = 0; i < count; ++i) data[i] ^= key_;
    }

private:
    uint8_t key_;
};

ZipMember Encrypted(const std::string& name, const Bytes& data, uint8_t key) {
    ZipMember m = Member(name, data);
    m.flags = 0x0809;
    m.storedOverride = Bytes{1, 2, 3, 4};
    for (uint8_t b : RawDeflate(data)) m.storedOverride.push_back(b ^ key);
    return m;
}

}  // namespace

TEST(ALPkArchive, EncryptedMembersThroughACryptoEngine) {
    ScratchFolder scratch;
    const Bytes secret = Pattern(30000, 11);
    WriteFile("case.zip", BuildZip({Encrypted("secret.txt", secret, 0x5A), Encrypted("wrong.txt", Pattern(500, 1), 0x33),
                                    Member("plain.txt", Text("plain"))}));
    ALEngineKit kit = ExtractionKit();
    kit.Add(XorEngine(0x5A));
    ALEntryGroup group(nullptr, kit);
    ALPkArchive archive(fs::absolute("case.zip").wstring());
    ASSERT_EQ(archive.ReadDirectory(group), 3) << U8(archive.mStatus.StatusText());
    EXPECT_TRUE(group.GetFirstEntry()->IsEncrypted());
    fs::create_directories("out");
    fs::current_path("out");
    // The member of another key fails its check, is deleted, and the next member still comes out.
    EXPECT_EQ(archive.Extract(group), AL_INVALID_KEY);
    EXPECT_EQ(U8(archive.mStatus.StatusText()), "wrong.txt: Invalid key specified.");
    EXPECT_EQ(ReadFile("secret.txt"), secret);
    EXPECT_FALSE(fs::exists("wrong.txt"));
    EXPECT_EQ(ReadText("plain.txt"), "plain");
    fs::current_path("..");
}

TEST(ALPkArchive, NamesAreDecodedByTheUtf8Flag) {
    ScratchFolder scratch;
    ZipMember flagged = Member("Caf\xC3\xA9.txt", Text("utf-8"));
    ZipMember plain = Member("plain.txt", Text("ascii"));
    plain.flags = 0;
    WriteFile("names.zip", BuildZip({flagged, plain}));
    const Outcome r = ReadAndExtract("names.zip", false);
    ASSERT_EQ(r.read, 2) << U8(r.readText);
    EXPECT_EQ(r.names[0], L"Caf\u00e9.txt");
    EXPECT_EQ(r.names[1], L"plain.txt");
}

TEST(ALPkArchive, UnsafeNamesAreRefusedAndTheOthersExtracted) {
    const char* unsafe[] = {"../escape.txt", "a/../../escape.txt", "..\\escape.txt", "/tmp/escape.txt",
                            "\\escape.txt", "C:/escape.txt", "c:escape.txt", "dir/.."};
    for (const char* name : unsafe) {
        ScratchFolder scratch;
        WriteFile("evil.zip", BuildZip({Member("good1.txt", Text("1")), Member(name, Text("bad")),
                                        Member("good2.txt", Text("2"))}));
        const Outcome r = ReadAndExtract("evil.zip");
        EXPECT_EQ(r.result, AL_CANT_OPEN_FILE) << name << ": " << U8(r.text);
        EXPECT_NE(r.text.find(L"leads outside the target folder"), std::wstring::npos) << U8(r.text);
        EXPECT_EQ(ReadText("out/good1.txt"), "1") << name;
        EXPECT_EQ(ReadText("out/good2.txt"), "2") << name;
        EXPECT_FALSE(fs::exists("escape.txt")) << name;
        EXPECT_FALSE(fs::exists(fs::temp_directory_path() / "escape.txt")) << name;
    }
    for (const char* name : {"a..b.txt", "..hidden", "x/...", "dir/sub/./f"}) {
        EXPECT_FALSE(ALIsUnsafeMemberName(ALUtf8ToWide(name))) << name;
    }
}

TEST(ALPkArchive, MemberThatCannotBeCreatedFailsAlone) {
    ScratchFolder scratch;
    WriteFile("c.zip", BuildZip({Member("blocked", Text("x")), Member("fine.txt", Text("fine"))}));
    fs::create_directories("out/blocked");  // a folder stands where the file should go
    const Outcome r = ReadAndExtract("c.zip");
    EXPECT_EQ(r.result, AL_CANT_OPEN_FILE) << U8(r.text);
    EXPECT_EQ(r.text.rfind(L"blocked: File creation failure.  Open of blocked returned errno = ", 0), 0u)
        << U8(r.text);
    EXPECT_EQ(ReadText("out/fine.txt"), "fine");
}

TEST(ALPkArchive, PathStripFolderMembersAndReadOnlyTargets) {
    ScratchFolder scratch;
    ZipMember folder = Member("a/b/", Bytes());
    folder.method = 0;
    folder.external = 0x10;
    ZipMember readOnly = Member("ro.txt", Text("new"));
    readOnly.external = 0x21;
    WriteFile("p.zip", BuildZip({Member("Windows/resource/jre/release", Text("JAVA_VERSION=17")), folder, readOnly}));
    WriteFile("out/ro.txt", Text("old"));
    fs::permissions("out/ro.txt", fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);

    Outcome r = ReadAndExtract("p.zip");
    EXPECT_EQ(r.result, 3) << U8(r.text);
    EXPECT_TRUE(fs::is_directory("out/a/b"));
    EXPECT_EQ(ReadText("out/ro.txt"), "new");
    EXPECT_EQ(alsys::GetAttributes(L"out/ro.txt") & alsys::kReadOnly, alsys::kReadOnly);
    EXPECT_EQ(ReadText("out/Windows/resource/jre/release"), "JAVA_VERSION=17");

    fs::permissions("out/ro.txt", fs::perms::owner_write, fs::perm_options::add);
    fs::remove_all("out");
    r = ReadAndExtract("p.zip", true, nullptr, AL_STRIP_PATH_ON_EXTRACT);
    EXPECT_EQ(r.result, 3) << U8(r.text);
    EXPECT_EQ(ReadText("out/release"), "JAVA_VERSION=17");
    EXPECT_FALSE(fs::exists("out/Windows"));
}

TEST(ALPkArchive, TimeStampsAreAppliedInLocalTime) {
    ScratchFolder scratch;
    WriteFile("t.zip", BuildZip({Member("stamped.txt", Text("t"))}));  // 2025-09-15 11:16:22
    const Outcome r = ReadAndExtract("t.zip");
    ASSERT_EQ(r.result, 1) << U8(r.text);
    ALFile file(L"out/stamped.txt");
    ASSERT_EQ(file.Open(), 0) << U8(file.mStatus.StatusText());
    EXPECT_EQ(file.mTimeDate, (ALTimeStamp{2025, 9, 15, 11, 16, 22}));
    file.Close();
}

namespace {

class RecordingMonitor : public ALSimpleMonitor {
public:
    RecordingMonitor()
        : ALSimpleMonitor([this](const wchar_t* text, int32_t, int32_t percent) {
              if (text) texts.push_back(text);
              if (percent >= 0) percents.push_back(percent);
              return 0;
          }) {}
    void ArchiveOperation(int32_t operation, ALArchive* archive, ALEntry* entry) override {
        operations.push_back(operation);
        ALSimpleMonitor::ArchiveOperation(operation, archive, entry);
    }
    std::vector<std::wstring> texts;
    std::vector<int32_t> percents;
    std::vector<int32_t> operations;
};

}  // namespace

TEST(ALPkArchive, ProgressOverTheWholeJob) {
    ScratchFolder scratch;
    WriteFile("j.zip", BuildZip({Member("big.bin", Random(50000, 1)), Member("small.txt", Text("s"))}));
    RecordingMonitor monitor;
    const Outcome r = ReadAndExtract("j.zip", true, &monitor);
    ASSERT_EQ(r.result, 2) << U8(r.text);
    ASSERT_FALSE(monitor.percents.empty());
    EXPECT_TRUE(std::is_sorted(monitor.percents.begin(), monitor.percents.end()));
    EXPECT_EQ(monitor.percents.back(), 100);
    const std::vector<int32_t> expected = {10, 11, 0, 2, 3, 2, 3, 1};
    EXPECT_EQ(monitor.operations, expected);
    EXPECT_EQ(monitor.texts, (std::vector<std::wstring>{L"big.bin", L"small.txt"}));
}

TEST(ALPkArchive, WrittenArchiveRoundTrips) {
    ScratchFolder scratch;
    WriteFile("src/a.txt", Pattern(100000, 1));
    WriteFile("src/dir/b.bin", Random(30000, 2));
    WriteFile("src/empty", Bytes());
    WriteFile(fs::path("src") / fs::u8path("Caf\xC3\xA9.txt"), Text("utf"));
    const std::vector<std::pair<std::string, std::wstring>> files = {
        {"a.txt", L"a.txt"}, {"dir/b.bin", L"dir/b.bin"}, {"empty", L"empty"}, {"Caf\xC3\xA9.txt", L"Caf\u00e9.txt"}};
    for (uint16_t flags : {uint16_t(0), uint16_t(0x0808)}) {
        fs::remove_all("out");
        {
            ALFile out(L"w.zip");
            ASSERT_EQ(out.Create(), 0);
            out.WriteBuffer(reinterpret_cast<const uint8_t*>("prefix"), 6);
            ALPkArchive archive(out);
            archive.SetArchiveStart(6);
            archive.SetEntryFlags(flags);
            ALEntryGroup group;
            fs::current_path("src");
            for (const auto& f : files) new ALEntry(group, std::make_unique<ALFile>(f.second), std::make_unique<ALPkCompressor>());
            const int32_t written = archive.Create(group);
            fs::current_path("..");
            ASSERT_EQ(written, 4) << U8(archive.mStatus.StatusText());
            ASSERT_EQ(out.Close(), 0) << U8(out.mStatus.StatusText());
        }
        const Outcome r = ReadAndExtract("w.zip");
        ASSERT_EQ(r.read, 4) << U8(r.readText);
        ASSERT_EQ(r.result, 4) << U8(r.text);
        for (const auto& f : files) {
            EXPECT_EQ(ReadFile(fs::path("out") / fs::u8path(f.first)), ReadFile(fs::path("src") / fs::u8path(f.first)))
                << f.first;
        }
    }
}
