#include "media/Qvpack.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<std::uint8_t>;

void WriteFile(const fs::path& p, const Bytes& b) {
    fs::create_directories(p.parent_path());
    std::ofstream f(p, std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char*>(b.data()), std::streamsize(b.size()));
}

Bytes ReadFile(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(f), {});
}

std::string ReadText(const fs::path& p) {
    const Bytes b = ReadFile(p);
    return std::string(b.begin(), b.end());
}

class QvpackTool : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("qvpack_tool_" + std::to_string(getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        ASSERT_TRUE(fs::exists(Tool())) << "build the qvpack target first";
    }
    void TearDown() override { fs::remove_all(dir_); }

    static fs::path Tool() { return fs::path(LUMIA_BINARY_DIR) / "tools" / "qvpack"; }

    // Runs qvpack with the arguments in the test folder; keeps stdout and stderr.
    int Run(const std::string& args) {
        const std::string cmd = "cd '" + dir_.string() + "' && '" + Tool().string() + "' " + args +
                                " > out.txt 2> err.txt";
        const int status = std::system(cmd.c_str());
        out_ = ReadText(dir_ / "out.txt");
        err_ = ReadText(dir_ / "err.txt");
        fs::remove(dir_ / "out.txt");
        fs::remove(dir_ / "err.txt");
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    // Files in the folder other than the named ones (temporary files left behind).
    std::vector<std::string> Leftovers(const std::vector<std::string>& expected) {
        std::vector<std::string> extra;
        for (const auto& e : fs::directory_iterator(dir_)) {
            const std::string name = e.path().filename().string();
            if (std::find(expected.begin(), expected.end(), name) == expected.end())
                extra.push_back(name);
        }
        return extra;
    }

    fs::path dir_;
    std::string out_, err_;
};

std::map<std::string, Bytes> SampleFiles() {
    std::mt19937 g(5);
    Bytes picture(64000), noise(5000), text;
    for (std::size_t i = 0; i < picture.size(); ++i)
        picture[i] = std::uint8_t((i % 320) / 40 + (i / 6400));
    for (auto& c : noise) c = std::uint8_t(g());
    for (int i = 0; i < 400; ++i) {
        const std::string line = "line " + std::to_string(i) + " of the shop's ledger\n";
        text.insert(text.end(), line.begin(), line.end());
    }
    return {{"picture.bmp", picture},
            {"noise.bin", noise},
            {"ledger.txt", text},
            {"empty.dat", {}},
            {"seventeen", Bytes(17, 'q')}};
}

TEST_F(QvpackTool, RoundTripsAFolderStoredAndCompressed) {
    const auto files = SampleFiles();
    std::string stored, compressed;
    int k = 0;
    for (const auto& [name, bytes] : files) {
        WriteFile(dir_ / "in" / name, bytes);
        (k++ % 2 ? compressed : stored) += " in/" + name;
    }
    ASSERT_EQ(Run("create game.pak" + stored), 0) << err_;
    ASSERT_EQ(Run("add game.pak -z" + compressed), 0) << err_;

    ASSERT_EQ(Run("list game.pak"), 0) << err_;
    std::istringstream lines(out_);
    std::string line;
    int count = 0;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string name, z;
        std::uint64_t size = 0, storedSize = 0;
        fields >> name >> size >> storedSize >> z;
        ASSERT_TRUE(files.count(name)) << line;
        EXPECT_EQ(size, files.at(name).size()) << line;
        const bool wantZ = compressed.find("/" + name) != std::string::npos && size > 0;
        EXPECT_EQ(z == "z", wantZ) << line;
        if (!wantZ) {
            EXPECT_EQ(storedSize, size) << line;
        }
        ++count;
    }
    EXPECT_EQ(count, int(files.size()));

    ASSERT_EQ(Run("extract game.pak -o out"), 0) << err_;
    for (const auto& [name, bytes] : files) EXPECT_EQ(ReadFile(dir_ / "out" / name), bytes) << name;

    // Named members, in any case, into another folder.
    ASSERT_EQ(Run("extract game.pak LEDGER.TXT picture.BMP -o two"), 0) << err_;
    EXPECT_EQ(ReadFile(dir_ / "two" / "ledger.txt"), files.at("ledger.txt"));
    EXPECT_EQ(ReadFile(dir_ / "two" / "picture.bmp"), files.at("picture.bmp"));
    EXPECT_FALSE(fs::exists(dir_ / "two" / "noise.bin"));

    // Delete, and the rest stays readable.
    ASSERT_EQ(Run("delete game.pak noise.bin ledger.txt"), 0) << err_;
    ASSERT_EQ(Run("list game.pak"), 0);
    EXPECT_EQ(out_.find("noise.bin"), std::string::npos);
    EXPECT_EQ(out_.find("ledger.txt"), std::string::npos);
    ASSERT_EQ(Run("extract game.pak -o three"), 0) << err_;
    EXPECT_EQ(ReadFile(dir_ / "three" / "picture.bmp"), files.at("picture.bmp"));
    EXPECT_FALSE(fs::exists(dir_ / "three" / "noise.bin"));
    EXPECT_TRUE(Leftovers({"in", "game.pak", "out", "two", "three"}).empty());
}

TEST_F(QvpackTool, ErrorsLeaveThePackWhole) {
    WriteFile(dir_ / "a.txt", Bytes(100, 'a'));
    WriteFile(dir_ / "b.txt", Bytes(50, 'b'));
    WriteFile(dir_ / "abcdefghijklmnopqrstuv.txt", Bytes(3, 'l'));
    WriteFile(dir_ / "long.text", Bytes(3, 'e'));
    WriteFile(dir_ / "notapack.pak", Bytes(40, 'x'));
    ASSERT_EQ(Run("create p.pak -z a.txt"), 0) << err_;
    const Bytes before = ReadFile(dir_ / "p.pak");

    struct Case {
        std::string args;
        std::string message;
    };
    const Case cases[] = {
        {"add p.pak b.txt missing.txt", "missing.txt: no such file"},
        {"add p.pak a.txt", "already in the pack"},
        {"add p.pak abcdefghijklmnopqrstuv.txt", "does not fit a pack record"},
        {"add p.pak long.text", "does not fit a pack record"},
        {"delete p.pak b.txt", "no such member"},
        {"extract p.pak nothing.bin -o x", "no such member"},
        {"list missing.pak", "no such file"},
        {"list notapack.pak", "not a pack"},
        {"add notapack.pak b.txt", "not a pack"},
        {"frobnicate p.pak", "usage"},
        {"create p.pak", "usage"},
        {"create p.pak b.txt missing.txt", "no such file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args);
        EXPECT_EQ(Run(c.args), 1);
        EXPECT_NE(err_.find(c.message), std::string::npos) << err_;
        EXPECT_EQ(ReadFile(dir_ / "p.pak"), before);
    }
    EXPECT_TRUE(Leftovers({"p.pak", "a.txt", "b.txt", "abcdefghijklmnopqrstuv.txt", "long.text",
                           "notapack.pak", "x"})
                    .empty());
}

TEST_F(QvpackTool, DamagedMemberIsReportedAndTheRestExtracted) {
    WriteFile(dir_ / "good.txt", Bytes(300, 'g'));
    WriteFile(dir_ / "bad.txt", Bytes(300, 'b'));
    ASSERT_EQ(Run("create p.pak -z good.txt bad.txt"), 0) << err_;
    // Break the second member's stream: its first token becomes a match reaching
    // behind the start.
    TQvPack pack;
    ASSERT_TRUE(pack.LoadPack((dir_ / "p.pak").c_str()));
    const std::uint32_t at = 16 + pack.Record(1)->offset;
    pack.EndPack();
    Bytes b = ReadFile(dir_ / "p.pak");
    b[at + 3] |= 0x80;
    b[at + 4] = 0x05;
    WriteFile(dir_ / "p.pak", b);

    EXPECT_EQ(Run("extract p.pak -o out"), 1);
    EXPECT_NE(err_.find("bad.txt': damaged member"), std::string::npos) << err_;
    EXPECT_EQ(ReadFile(dir_ / "out" / "good.txt"), Bytes(300, 'g'));
    EXPECT_FALSE(fs::exists(dir_ / "out" / "bad.txt"));
}

}  // namespace
