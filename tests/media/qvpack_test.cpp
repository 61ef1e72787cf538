#include "media/Qvpack.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "platform/Files.h"

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Str(const std::string& s) { return Bytes(s.begin(), s.end()); }

void WriteFile(const fs::path& p, const Bytes& b) {
    std::ofstream f(p, std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char*>(b.data()), std::streamsize(b.size()));
}

Bytes ReadFile(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(f), {});
}

void PutU32(Bytes& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = std::uint8_t(v >> (8 * i));
}

// The member's bytes through a handle, or nullopt-like empty + false.
bool ReadMember(TQvPack& pack, const char* name, Bytes& out) {
    QvFILE* h = pack.Qvfopen(name);
    if (!h) return false;
    out.assign(pack.Qvfsize(h), 0);
    const bool ok =
        out.empty() || pack.Qvfread(out.data(), 1, std::uint32_t(out.size()), h) == out.size();
    pack.Qvfclose(h);
    return ok;
}

class QvPackTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("qvpack_test_" + std::to_string(getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    fs::path Source(const std::string& name, const Bytes& bytes) {
        const fs::path p = dir_ / "src" / name;
        fs::create_directories(p.parent_path());
        WriteFile(p, bytes);
        return p;
    }

    // A new pack holding the members (name, bytes, compressed) in order.
    fs::path MakePack(const std::string& file,
                      const std::vector<std::tuple<std::string, Bytes, bool>>& members) {
        const fs::path p = dir_ / file;
        TQvPack pack;
        pack.SetReadOnly(false);
        EXPECT_TRUE(pack.NewPack(p.c_str()));
        for (const auto& [name, bytes, z] : members)
            EXPECT_TRUE(pack.AddFile(name.c_str(), Source("m", bytes).c_str(), z)) << name;
        EXPECT_TRUE(pack.EndPack());
        return p;
    }

    fs::path dir_;
};

const Bytes kSeventeen = Str("Seventeen bytes!!");
const Bytes kAbc = Str("abcabcabc");

Bytes GoldenPack() {
    Bytes g = Str("QvPack");
    const std::uint8_t header[] = {0x00, 0x02, 0x30, 0, 0, 0, 0x02, 0, 0, 0};
    g.insert(g.end(), header, header + sizeof header);
    g.insert(g.end(), kSeventeen.begin(), kSeventeen.end());
    g.insert(g.end(), 15, 0);
    const std::uint8_t stream[] = {0x00, 0x00, 0x00, 0x10, 'a', 'b', 'c', 0x52};
    g.insert(g.end(), stream, stream + sizeof stream);
    g.insert(g.end(), 8, 0);
    auto record = [&](char n, const char* ext, std::uint32_t off, std::uint32_t size,
                      std::uint32_t stored, std::uint8_t z) {
        Bytes r(40, 0);
        r[0] = std::uint8_t(n);
        std::memcpy(&r[21], ext, 3);
        PutU32(r, 24, off);
        PutU32(r, 28, size);
        PutU32(r, 32, stored);
        r[36] = z;
        g.insert(g.end(), r.begin(), r.end());
    };
    record('A', "TXT", 0, 17, 17, 0);
    record('B', "DAT", 32, 9, 8, 1);
    return g;
}

TEST_F(QvPackTest, GoldenPackByteForByte) {
    const fs::path p =
        MakePack("golden.pak", {{"A.TXT", kSeventeen, false}, {"B.DAT", kAbc, true}});
    EXPECT_EQ(ReadFile(p), GoldenPack());

    TQvPack pack;
    ASSERT_TRUE(pack.LoadPack(p.c_str()));
    EXPECT_EQ(pack.PackName(), p.string());
    EXPECT_EQ(pack.GetFileNum(), 2);
    EXPECT_EQ(pack.GetFileName(0), "A.TXT");
    EXPECT_EQ(pack.GetFileName(1), "B.DAT");
    Bytes a, b;
    ASSERT_TRUE(ReadMember(pack, "a.txt", a));
    ASSERT_TRUE(ReadMember(pack, "b.dat", b));
    EXPECT_EQ(a, kSeventeen);
    EXPECT_EQ(b, kAbc);

    // Raw: the stored Orvane stream, ending at the stored size.
    QvFILE* h = pack.QvfopenComp("B.DAT", false);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(pack.Qvfsize(h), 9u);
    EXPECT_EQ(pack.Qvdsize(h), 8u);
    EXPECT_TRUE(pack.QvIsComp(h));
    std::uint8_t raw[20] = {};
    EXPECT_EQ(pack.Qvfread(raw, 1, 20, h), 8u);
    const Bytes golden = GoldenPack();
    EXPECT_EQ(Bytes(raw, raw + 8), Bytes(golden.begin() + 48, golden.begin() + 56));
    EXPECT_TRUE(pack.Qvfclose(h));
    EXPECT_FALSE(pack.Qvfclose(nullptr));
}

TEST_F(QvPackTest, OlderTableReadsAsStoredMembers) {
    Bytes old = Str("QvPack");
    const std::uint8_t header[] = {0x00, 0x01, 16, 0, 0, 0, 1, 0, 0, 0};
    old.insert(old.end(), header, header + sizeof header);
    const Bytes data = Str("hello");
    old.insert(old.end(), data.begin(), data.end());
    old.insert(old.end(), 11, 0);
    Bytes rec(32, 0);
    std::memcpy(&rec[0], "OLD", 3);
    std::memcpy(&rec[21], "BIN", 3);
    PutU32(rec, 24, 0);
    PutU32(rec, 28, 5);
    old.insert(old.end(), rec.begin(), rec.end());
    const fs::path p = dir_ / "old.pak";
    WriteFile(p, old);

    {
        TQvPack pack;
        ASSERT_TRUE(pack.LoadPack(p.c_str()));
        EXPECT_EQ(pack.Header().version, kQvPackVersion);
        QvFILE* h = pack.Qvfopen("old.bin");
        ASSERT_NE(h, nullptr);
        EXPECT_FALSE(pack.QvIsComp(h));
        EXPECT_EQ(pack.Qvfsize(h), 5u);
        EXPECT_EQ(pack.Qvdsize(h), 5u);
        pack.Qvfclose(h);
    }
    EXPECT_EQ(ReadFile(p), old);  // reading never writes

    // Opened writable and changed, it is written back with the current table.
    {
        TQvPack pack;
        pack.SetReadOnly(false);
        ASSERT_TRUE(pack.LoadPack(p.c_str()));
        ASSERT_TRUE(pack.AddFile("NEW.BIN", Source("n", Str("xyz")).c_str(), false));
        ASSERT_TRUE(pack.EndPack());
    }
    const Bytes now = ReadFile(p);
    ASSERT_EQ(now.size(), 16u + 32 + 2 * 40);
    EXPECT_EQ(now[6], 0x00);
    EXPECT_EQ(now[7], 0x02);
    TQvPack pack;
    ASSERT_TRUE(pack.LoadPack(p.c_str()));
    Bytes a, b;
    EXPECT_TRUE(ReadMember(pack, "OLD.BIN", a));
    EXPECT_TRUE(ReadMember(pack, "NEW.BIN", b));
    EXPECT_EQ(a, data);
    EXPECT_EQ(b, Str("xyz"));
}

TEST_F(QvPackTest, ReadAndSeekClamp) {
    Bytes twenty(20);
    for (int i = 0; i < 20; ++i) twenty[i] = std::uint8_t(i);
    const fs::path p = MakePack("c.pak", {{"S.BIN", twenty, false}, {"Z.BIN", twenty, true}});
    TQvPack pack;
    ASSERT_TRUE(pack.LoadPack(p.c_str()));
    for (const char* name : {"S.BIN", "Z.BIN"}) {
        SCOPED_TRACE(name);
        QvFILE* h = pack.Qvfopen(name);
        ASSERT_NE(h, nullptr);
        int pos = 0;
        // 10 items of 4 at size - 6: one whole item.
        ASSERT_TRUE(pack.Qvfseek(h, 14, 0));
        std::uint8_t buf[64] = {};
        EXPECT_EQ(pack.Qvfread(buf, 4, 10, h), 1u);
        EXPECT_EQ(Bytes(buf, buf + 4), Bytes({14, 15, 16, 17}));
        pack.Qvfgetpos(h, &pos);
        EXPECT_EQ(pos, 18);

        struct Seek {
            int start, offset, origin, expect;
        };
        const Seek seeks[] = {{5, 0, 2, 20},    {5, -3, 2, 17}, {5, -100, 1, 0}, {5, 3, 1, 8},
                              {5, 1000, 0, 20}, {5, -1, 0, 0},  {5, 7, 9, 5},    {5, 10, 2, 20}};
        for (const Seek& s : seeks) {
            pack.Qvfseek(h, s.start, 0);
            EXPECT_TRUE(pack.Qvfseek(h, s.offset, s.origin));
            pack.Qvfgetpos(h, &pos);
            EXPECT_EQ(pos, s.expect) << s.offset << " from " << s.origin;
        }
        for (int want : {-5, 7, 99}) {
            EXPECT_TRUE(pack.Qvfsetpos(h, &want));
            pack.Qvfgetpos(h, &pos);
            EXPECT_EQ(pos, std::clamp(want, 0, 20));
        }
        // Item size 0, and a size x count that does not fit 32 bits.
        pack.Qvfseek(h, 0, 0);
        EXPECT_EQ(pack.Qvfread(buf, 0, 10, h), 0u);
        EXPECT_EQ(pack.Qvfread(buf, 0x10000, 0x10001, h), 0u);
        EXPECT_EQ(pack.Qvfread(buf, 7, 3, h), 2u);  // 14 of 20 bytes
        EXPECT_EQ(pack.Qvfread(buf, 7, 3, h), 0u);  // 6 left: no whole item
        pack.Qvfclose(h);
    }
    EXPECT_FALSE(pack.Qvfseek(nullptr, 0, 0));
    EXPECT_EQ(pack.Qvfsize(nullptr), 0u);
    EXPECT_EQ(pack.Qvfread(nullptr, 1, 1, nullptr), 0u);
}

TEST_F(QvPackTest, NameLookup) {
    const std::string big5Upper = "\xA4\x41.bmp", big5Lower = "\xA4\x61.bmp";
    const std::string longest = "abcdefghijklmnopqrstu.txt";  // 21 + 1 + 3
    const fs::path p = MakePack("n.pak", {{"Pic01.BMP", Str("1"), false},
                                          {"noext", Str("2"), false},
                                          {"a.b.c", Str("3"), false},
                                          {big5Upper, Str("4"), false},
                                          {big5Lower, Str("5"), false},
                                          {longest, Str("6"), true}});
    TQvPack pack;
    ASSERT_TRUE(pack.LoadPack(p.c_str()));
    struct Case {
        std::string name;
        int index;
    };
    const Case cases[] = {
        {"pic01.bmp", 0},
        {"PIC01.BMP", 0},
        {"Pic01.Bmp", 0},
        {"Pic01", -1},
        {"noext", 1},
        {"NOEXT", 1},
        {"noext.", -1},
        {"a.b.c", 2},
        {"A.B.C", 2},
        {"a.b", -1},
        // The trail byte of a Big5 character is not a letter to fold.
        {big5Upper, 3},
        {"\xA4\x41.BMP", 3},
        {big5Lower, 4},
        {"\xA4\x61.BMP", 4},
        {longest, 5},
        {"ABCDEFGHIJKLMNOPQRSTU.TXT", 5},
        {"abcdefghijklmnopqrstuv.txt", -1},  // 26 characters: never found
        {"", -1},
    };
    for (const Case& c : cases) EXPECT_EQ(pack.CheckFileName(c.name.c_str()), c.index) << c.name;
    EXPECT_EQ(pack.GetFileName(2), "a.b.c");
    EXPECT_EQ(pack.GetFileName(5), longest);
    char out[32];
    EXPECT_FALSE(pack.GetFileName(6, out));
    EXPECT_FALSE(pack.GetFileName(-1, out));

    QvFileTable2 r;
    TQvPack::MakeFTName(r, "abcdefghijklmnopqrstuvwxyz.text");
    EXPECT_EQ(std::string(r.name, 21), "abcdefghijklmnopqrstu");
    EXPECT_EQ(std::string(r.ext, 3), "tex");
}

TEST_F(QvPackTest, EmptyNameNeverMatchesADeletedRecord) {
    const fs::path p =
        MakePack("d.pak", {{"GONE.BIN", Str("gone"), false}, {"KEEP", Str("k"), false}});
    {
        TQvPack pack;
        pack.SetReadOnly(false);
        ASSERT_TRUE(pack.LoadPack(p.c_str()));
        EXPECT_FALSE(pack.DelFile("missing"));
        EXPECT_TRUE(pack.DelFile("gone.bin"));
        EXPECT_TRUE(pack.Modified());
        ASSERT_TRUE(pack.EndPack());
    }
    TQvPack pack;
    ASSERT_TRUE(pack.LoadPack(p.c_str()));
    EXPECT_EQ(pack.GetFileNum(), 2);  // the record stays
    EXPECT_EQ(pack.GetFileName(0), "");
    EXPECT_EQ(pack.Record(0)->size, 4u);  // and its data
    EXPECT_EQ(pack.CheckFileName("GONE.BIN"), -1);
    EXPECT_EQ(pack.CheckFileName(""), -1);
    EXPECT_EQ(pack.Qvfopen(""), nullptr);
    EXPECT_EQ(pack.CheckFileName("keep"), 1);
    EXPECT_FALSE(pack.DelFile("keep"));  // read-only
}

TEST_F(QvPackTest, WritingLayout) {
    const fs::path empty = dir_ / "empty.pak";
    {
        TQvPack pack;
        EXPECT_FALSE(pack.NewPack(empty.c_str()));  // read-only by default
        pack.SetReadOnly(false);
        ASSERT_TRUE(pack.NewPack(empty.c_str()));
        pack.SetReadOnly(true);  // no effect while open
        EXPECT_FALSE(pack.ReadOnly());
        EXPECT_TRUE(pack.EndPack());
    }
    EXPECT_EQ(fs::file_size(empty), 16u);
    TQvPack e;
    ASSERT_TRUE(e.LoadPack(empty.c_str()));
    EXPECT_EQ(e.GetFileNum(), 0);

    const fs::path p = MakePack(
        "w.pak", {{"ONE", kSeventeen, false}, {"TWO", Str("2"), false}, {"EMPTY", {}, true}});
    TQvPack pack;
    ASSERT_TRUE(pack.LoadPack(p.c_str()));
    EXPECT_EQ(pack.Record(1)->offset - pack.Record(0)->offset, 32u);
    EXPECT_EQ(pack.Record(2)->compressed, 0);  // an empty member is stored as is
    EXPECT_EQ(pack.Header().dataSize, 48u);
    const Bytes file = ReadFile(p);
    EXPECT_EQ(Bytes(file.begin() + 16, file.begin() + 33), kSeventeen);
    EXPECT_EQ(Bytes(file.begin() + 33, file.begin() + 48), Bytes(15, 0));
    EXPECT_EQ(file.size(), 16u + 48 + 3 * 40);
    Bytes got;
    EXPECT_TRUE(ReadMember(pack, "EMPTY", got));
    EXPECT_TRUE(got.empty());
}

TEST_F(QvPackTest, AddFileRefusals) {
    const fs::path p = MakePack("r.pak", {{"HERE.BIN", Str("x"), false}});
    const Bytes before = ReadFile(p);
    const fs::path src = Source("s", Str("data"));
    {
        TQvPack pack;
        ASSERT_TRUE(pack.LoadPack(p.c_str()));
        EXPECT_FALSE(pack.AddFile("NEW.BIN", src.c_str(), false));  // read-only
    }
    TQvPack pack;
    EXPECT_FALSE(pack.AddFile("NEW.BIN", src.c_str(), false));  // no pack
    pack.SetReadOnly(false);
    ASSERT_TRUE(pack.LoadPack(p.c_str()));
    const char* refused[] = {"here.bin",  "",      "abcdefghijklmnopqrstuv.b",
                             "name.text", "name.", "abcdefghijklmnopqrstuvwxyz"};
    for (const char* name : refused) EXPECT_FALSE(pack.AddFile(name, src.c_str(), false)) << name;
    EXPECT_FALSE(pack.AddFile("OK.BIN", (dir_ / "nothing").c_str(), false));
    EXPECT_FALSE(pack.Modified());
    ASSERT_TRUE(pack.EndPack());
    EXPECT_EQ(ReadFile(p), before);
}

TEST_F(QvPackTest, AddPackCopiesStoredBytes) {
    std::mt19937 g(4);
    Bytes big(100000);
    for (std::size_t i = 0; i < big.size(); ++i)
        big[i] = std::uint8_t(i % 300 < 200 ? i / 50 : g());
    const fs::path from =
        MakePack("from.pak", {{"BIG.BIN", big, true}, {"TXT", kSeventeen, false}});
    const fs::path to = dir_ / "to.pak";
    {
        TQvPack source, dest;
        ASSERT_TRUE(source.LoadPack(from.c_str()));
        dest.SetReadOnly(false);
        ASSERT_TRUE(dest.NewPack(to.c_str()));
        EXPECT_FALSE(dest.AddPack("X", &source, "missing"));
        ASSERT_TRUE(dest.AddPack("COPY.BIN", &source, "big.bin"));
        ASSERT_TRUE(dest.AddPack("T2", &source, "TXT"));
        // Read back while still writing.
        Bytes got;
        ASSERT_TRUE(ReadMember(dest, "COPY.BIN", got));
        EXPECT_EQ(got, big);
        // From the pack itself.
        ASSERT_TRUE(dest.AddPack("T3", &dest, "T2"));
        ASSERT_TRUE(dest.EndPack());
    }
    TQvPack a, b;
    ASSERT_TRUE(a.LoadPack(from.c_str()));
    ASSERT_TRUE(b.LoadPack(to.c_str()));
    const QvFileTable2& ra = *a.Record(0);
    const QvFileTable2& rb = *b.Record(0);
    EXPECT_EQ(rb.size, ra.size);
    EXPECT_EQ(rb.storedSize, ra.storedSize);
    EXPECT_EQ(rb.compressed, 1);
    const Bytes fa = ReadFile(from), fb = ReadFile(to);
    EXPECT_TRUE(std::equal(fa.begin() + 16 + ra.offset, fa.begin() + 16 + ra.offset + ra.storedSize,
                           fb.begin() + 16 + rb.offset));
    Bytes t2, t3;
    EXPECT_TRUE(ReadMember(b, "T2", t2));
    EXPECT_TRUE(ReadMember(b, "T3", t3));
    EXPECT_EQ(t2, kSeventeen);
    EXPECT_EQ(t3, kSeventeen);
}

TEST_F(QvPackTest, WholeMemberStreams) {
    const fs::path p = MakePack("s.pak", {{"A.TXT", kSeventeen, true}});
    TQvPack pack;
    ASSERT_TRUE(pack.OpenPack(p.string()));
    ASSERT_TRUE(pack.OpenFile("a.txt"));
    ASSERT_NE(pack.Stream, nullptr);
    EXPECT_EQ(pack.FileName(), "a.txt");
    EXPECT_EQ(pack.Stream->Position(), 0);
    EXPECT_EQ(pack.Stream->Bytes(), kSeventeen);

    EXPECT_FALSE(pack.OpenFile("missing"));
    EXPECT_EQ(pack.Stream, nullptr);
    EXPECT_EQ(pack.FileName(), "");
    EXPECT_TRUE(pack.OpenFile(""));
    EXPECT_EQ(pack.Stream, nullptr);

    ASSERT_TRUE(pack.SetFileName("A.TXT"));
    pack.CloseFile();
    EXPECT_EQ(pack.Stream, nullptr);
    EXPECT_EQ(pack.FileName(), "");

    auto s = pack.QvMakeStream("A.TXT");
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->Size(), 17);

    ASSERT_TRUE(pack.OpenFile("A.TXT"));
    EXPECT_TRUE(pack.OpenPack(""));  // closes, dropping the stream
    EXPECT_FALSE(pack.IsOpen());
    EXPECT_EQ(pack.Stream, nullptr);
    EXPECT_EQ(pack.PackName(), "");
    EXPECT_EQ(pack.GetFileNum(), 0);
    EXPECT_EQ(pack.QvMakeStream("A.TXT"), nullptr);
}

TEST_F(QvPackTest, GamePathsFromTheProgramFolder) {
    fs::create_directories(dir_ / "Data");
    const fs::path made = MakePack("Data/WpData0.Pak", {{"A.TXT", kSeventeen, false}});
    const std::string saved = ui::ProgramFolder();
    ui::SetProgramFolder(dir_.string());
    TQvPack pack;
    EXPECT_TRUE(pack.LoadPack("data\\WPDATA0.PAK"));
    EXPECT_EQ(pack.CheckFileName("a.txt"), 0);
    pack.EndPack();
    ui::SetProgramFolder(saved);
}

TEST_F(QvPackTest, Progress) {
    Bytes big(70000, 1);
    const fs::path src = Source("big", big);
    TQvPack pack;
    pack.SetReadOnly(false);
    ASSERT_TRUE(pack.NewPack((dir_ / "p.pak").c_str()));
    std::vector<int> seen;
    pack.OnProgress = [&](TQvPack* sender) { seen.push_back(sender->ProgPercent()); };
    ASSERT_TRUE(pack.AddFile("COPY", src.c_str(), false));
    EXPECT_EQ(seen, std::vector<int>({0, 46, 93, 100}));
    seen.clear();
    ASSERT_TRUE(pack.AddFile("ZIP", Source("z", Bytes(40000, 2)).c_str(), true));
    EXPECT_EQ(seen, std::vector<int>({0, 40, 81, 100}));
    seen.clear();
    Bytes got;
    ASSERT_TRUE(ReadMember(pack, "ZIP", got));  // a small stream: one read
    EXPECT_EQ(seen, std::vector<int>({0, 100}));
    ASSERT_TRUE(pack.EndPack());
}

// Percentages of a copy past 2^32 / 100 bytes are worked out without overflowing,
// and above 64 MB from 32 KB units.
TEST_F(QvPackTest, ProgressOfLargeCopies) {
    for (const std::uint64_t total : {50000000ull, 70000000ull}) {
        SCOPED_TRACE(total);
        const fs::path src = dir_ / "large.bin";
        {
            std::FILE* f = std::fopen(src.c_str(), "wb");
            ASSERT_NE(f, nullptr);
            ASSERT_EQ(ftruncate(fileno(f), off_t(total)), 0);  // sparse: reads as zeros
            std::fclose(f);
        }
        const fs::path p = dir_ / "large.pak";
        TQvPack pack;
        pack.SetReadOnly(false);
        ASSERT_TRUE(pack.NewPack(p.c_str()));
        std::vector<int> seen;
        pack.OnProgress = [&](TQvPack* sender) { seen.push_back(sender->ProgPercent()); };
        ASSERT_TRUE(pack.AddFile("LARGE.BIN", src.c_str(), false));
        ASSERT_TRUE(pack.EndPack());
        ASSERT_GT(seen.size(), 2u);
        EXPECT_EQ(seen.front(), 0);
        EXPECT_EQ(seen.back(), 100);
        EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
        // The chunk ending at 43.75 MB (past 2^32 / 100).
        const std::uint64_t done = 1400ull * 32768;
        const int expect =
            total <= 67108864 ? int(done * 100 / total) : int((done >> 15) * 100 / (total >> 15));
        ASSERT_GT(seen.size(), 1400u);
        EXPECT_EQ(seen[1400], expect);
        fs::remove(p);
        fs::remove(src);
    }
}

TEST_F(QvPackTest, DamagedPacksFailCleanly) {
    const Bytes golden = GoldenPack();
    // Every cut of the file: the table no longer fits, so the pack does not open.
    for (std::size_t n = 0; n < golden.size(); ++n) {
        WriteFile(dir_ / "cut.pak", Bytes(golden.begin(), golden.begin() + n));
        TQvPack pack;
        EXPECT_FALSE(pack.LoadPack((dir_ / "cut.pak").c_str())) << n;
        EXPECT_FALSE(pack.IsOpen());
    }

    struct Case {
        const char* what;
        std::size_t at;
        std::uint32_t value;
        bool opens;
        bool aReadable, bReadable;
    };
    const Case cases[] = {
        {"record count 0xFFFFFFFF", 12, 0xFFFFFFFFu, false, false, false},
        {"record count one more", 12, 3, false, false, false},
        {"data area past the file", 8, 0x7FFFFFF0u, false, false, false},
        {"offset past the data area", 64 + 40 + 24, 0x1000, true, true, false},
        {"offset wraps", 64 + 40 + 24, 0xFFFFFFF8u, true, true, false},
        {"stored size past the data area", 64 + 40 + 32, 17, true, true, false},
        {"stored member size past the data area", 64 + 28, 49, true, false, true},
        {"decoded size larger than the stream gives", 64 + 40 + 28, 10, true, true, false},
        {"decoded size 0 of a compressed member", 64 + 40 + 28, 0, true, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Bytes bad = golden;
        PutU32(bad, c.at, c.value);
        WriteFile(dir_ / "bad.pak", bad);
        TQvPack pack;
        ASSERT_EQ(pack.LoadPack((dir_ / "bad.pak").c_str()), c.opens);
        if (!c.opens) continue;
        Bytes got;
        EXPECT_EQ(ReadMember(pack, "A.TXT", got), c.aReadable);
        EXPECT_EQ(ReadMember(pack, "B.DAT", got), c.bReadable);
        EXPECT_EQ(pack.OpenFile("B.DAT"), c.bReadable);
    }

    // A damaged stream (its first token a match, reaching behind the start) does not open.
    Bytes bad = golden;
    bad[48 + 3] = 0x90;
    WriteFile(dir_ / "stream.pak", bad);
    {
        TQvPack pack;
        ASSERT_TRUE(pack.LoadPack((dir_ / "stream.pak").c_str()));
        EXPECT_EQ(pack.Qvfopen("B.DAT"), nullptr);
    }
    // Unknown version.
    bad = golden;
    bad[7] = 3;
    WriteFile(dir_ / "v.pak", bad);
    TQvPack pack;
    EXPECT_FALSE(pack.LoadPack((dir_ / "v.pak").c_str()));
    EXPECT_FALSE(pack.LoadPack((dir_ / "absent.pak").c_str()));
    EXPECT_FALSE(pack.OpenPack((dir_ / "absent.pak").string()));
}

TEST_F(QvPackTest, RandomBytesFailCleanly) {
    std::mt19937 g(12);
    const Bytes golden = GoldenPack();
    for (int i = 0; i < 400; ++i) {
        Bytes b;
        if (i % 2) {
            b = golden;  // a valid pack with a few random bytes changed
            for (int k = 0; k < 3; ++k) b[g() % b.size()] = std::uint8_t(g());
        } else {
            b.resize(g() % 300);
            for (auto& c : b) c = std::uint8_t(g());
            if (b.size() >= 8 && i % 4 == 0) {
                b[6] = 0;
                b[7] = 2;
            }
        }
        WriteFile(dir_ / "r.pak", b);
        TQvPack pack;
        if (!pack.LoadPack((dir_ / "r.pak").c_str())) continue;
        for (int k = 0; k < pack.GetFileNum(); ++k) {
            Bytes got;
            const std::string name = pack.GetFileName(k);
            if (ReadMember(pack, name.c_str(), got)) {
                EXPECT_EQ(got.size(), pack.Record(pack.CheckFileName(name.c_str()))->size);
            }
        }
    }
}

TEST_F(QvPackTest, LargeCompressedMemberRoundTrips) {
    std::mt19937 g(8);
    Bytes big(300000);
    for (std::size_t i = 0; i < big.size(); ++i)
        big[i] = std::uint8_t((i / 97) % 5 == 0 ? g() : i / 1000);
    const fs::path p = MakePack("l.pak", {{"BIG", big, true}});
    TQvPack pack;
    ASSERT_TRUE(pack.LoadPack(p.c_str()));
    EXPECT_LT(pack.Record(0)->storedSize, big.size());
    Bytes got;
    ASSERT_TRUE(ReadMember(pack, "BIG", got));
    EXPECT_EQ(got, big);
}

// An Orvane stream of one literal 'A' followed by `matches` matches that each
// repeat the last byte 65,535 times: three stored bytes per 65,535 decoded ones.
Bytes ExpandingStream(std::uint32_t matches) {
    Bytes s;
    std::uint32_t token = 0, total = matches + 1;
    while (token < total) {
        const std::size_t flagAt = s.size();
        s.insert(s.end(), 4, 0);
        std::uint32_t flags = 0;
        for (int i = 0; i < 32 && token < total; ++i, ++token) {
            if (token == 0) {
                s.push_back('A');
                continue;
            }
            flags |= 0x80000000u >> i;
            s.push_back(0xF0);  // length in a u16, distance 1
            s.push_back(0xFF);
            s.push_back(0xFF);
        }
        PutU32(s, flagAt, flags);
    }
    return s;
}

// A pack of one compressed member: the stream, its record declaring `size`.
Bytes PackOfStream(const Bytes& stream, std::uint32_t size) {
    const std::uint32_t padded = (std::uint32_t(stream.size()) + 15) & ~15u;
    Bytes g = Str("QvPack");
    g.insert(g.end(), {0x00, 0x02});
    g.resize(16);
    PutU32(g, 8, padded);
    PutU32(g, 12, 1);
    g.insert(g.end(), stream.begin(), stream.end());
    g.resize(16 + padded);
    Bytes r(40, 0);
    std::memcpy(r.data(), "WAVE", 4);
    PutU32(r, 28, size);
    PutU32(r, 32, std::uint32_t(stream.size()));
    r[36] = 1;
    g.insert(g.end(), r.begin(), r.end());
    return g;
}

long PeakKilobytes() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

// A 150 KB pack whose member really expands to the 3 GiB it declares: refused before
// anything is decoded or allocated for it, by every way of reading it.
TEST_F(QvPackTest, ExpandingMemberIsRefusedWithoutALargeAllocation) {
    const std::uint32_t threeGiB = 3u << 30;
    const Bytes stream = ExpandingStream(threeGiB / 65535);
    ASSERT_LT(stream.size(), 160000u);
    WriteFile(dir_ / "x.pak", PackOfStream(stream, threeGiB));
    const long before = PeakKilobytes();
    TQvPack pack;
    ASSERT_TRUE(pack.LoadPack((dir_ / "x.pak").c_str()));
    EXPECT_EQ(pack.Qvfopen("WAVE"), nullptr);
    EXPECT_EQ(pack.QvMakeStream("WAVE"), nullptr);
    EXPECT_FALSE(pack.OpenFile("WAVE"));
    // Read raw, the stored stream is still there to copy.
    QvFILE* raw = pack.QvfopenComp("WAVE", false);
    ASSERT_NE(raw, nullptr);
    EXPECT_EQ(pack.Qvdsize(raw), stream.size());
    pack.Qvfclose(raw);
    const long grown = PeakKilobytes() - before;
    RecordProperty("peak_growth_kb", std::to_string(grown));
    std::printf("peak memory grew by %ld KB\n", grown);
    EXPECT_LT(grown, 16 * 1024);
}

// The declared size bounds the decoding from both sides.
TEST_F(QvPackTest, DeclaredSizeAgainstWhatTheStreamCanExpandTo) {
    const Bytes stream = ExpandingStream(200);  // 13,107,001 bytes of 'A'
    const std::uint32_t real = 1 + 200 * 65535;
    const struct {
        const char* what;
        std::uint32_t size;
        bool opens;
    } cases[] = {
        {"the size the stream makes", real, true},
        {"less: decoding stops there", 1000, true},
        {"more than the stream makes", real + 1, false},
        {"more than its bytes can expand to", std::uint32_t(stream.size()) * 21845u + 1, false},
        {"above the ceiling", kQvMaxMemberSize + 1, false},
    };
    for (const auto& c : cases) {
        WriteFile(dir_ / "x.pak", PackOfStream(stream, c.size));
        TQvPack pack;
        ASSERT_TRUE(pack.LoadPack((dir_ / "x.pak").c_str())) << c.what;
        Bytes got;
        EXPECT_EQ(ReadMember(pack, "WAVE", got), c.opens) << c.what;
        if (!c.opens) continue;
        ASSERT_EQ(got.size(), c.size) << c.what;
        EXPECT_EQ(std::count(got.begin(), got.end(), 'A'), std::ptrdiff_t(c.size)) << c.what;
    }
}

}  // namespace
