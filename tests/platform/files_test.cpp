#include "platform/Files.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "tests/support/HeadlessApp.h"

namespace fs = std::filesystem;

namespace {

void Put(const fs::path& p, const std::string& bytes) {
    fs::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << bytes;
}

std::string Get(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class Files : public ::testing::Test {
protected:
    void SetUp() override {
        dir = test::ScratchDir(std::string("files_") +
                               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        saved = ui::ProgramFolder();
        ui::SetProgramFolder(dir);
    }
    void TearDown() override { ui::SetProgramFolder(saved); }
    // No temporary file may be left beside the target.
    int Leftovers(const fs::path& folder) {
        int n = 0;
        for (const auto& e : fs::directory_iterator(folder))
            n += e.path().filename().string().rfind(".", 0) == 0;
        return n;
    }
    std::string dir;
    std::string saved;
};

TEST_F(Files, BackslashPathIsFoundWithoutRegardToCase) {
    Put(fs::path(dir) / "Data" / "WpData0.Pak", "pack");
    Put(fs::path(dir) / "col24b" / "evpack" / "evGraph.pak", "ev");
    const std::string want = dir + "/Data/WpData0.Pak";
    EXPECT_EQ(ui::FindPath("DATA\\wpdata0.pak"), want);
    EXPECT_EQ(ui::FindPath("Data\\WpData0.Pak"), want);
    EXPECT_EQ(ui::FindPath(ui::ProgramFolder() + "\\data\\\\WPDATA0.PAK"), want);
    EXPECT_EQ(ui::FindPath("\\COL24B\\EvPack\\EVGRAPH.PAK").substr(0, 1), "/");  // absolute
    EXPECT_EQ(ui::FindPath(ui::ProgramFolder() + "\\COL24B\\EvPack\\EVGRAPH.PAK"),
              dir + "/col24b/evpack/evGraph.pak");
    EXPECT_TRUE(ui::FileExists("data\\wpdata0.pak"));
    EXPECT_EQ(ui::FileSize("DATA/WPDATA0.PAK"), 4);
    EXPECT_TRUE(ui::DirectoryExists("COL24B\\EVPACK"));

    // A name that does not exist yet keeps its case, under folders that do.
    EXPECT_EQ(ui::FindPath("data\\New\\QDV1.QDV"), dir + "/Data/New/QDV1.QDV");
    EXPECT_FALSE(ui::FileExists("data\\missing.pak"));
    EXPECT_EQ(ui::FileSize("data\\missing.pak"), -1);
}

TEST_F(Files, ExactCaseWinsOverAnotherMatch) {
    Put(fs::path(dir) / "qdv1.qdv", "lower");
    Put(fs::path(dir) / "QDV1.QDV", "upper");
    EXPECT_EQ(ui::FindPath("qdv1.qdv"), dir + "/qdv1.qdv");
    EXPECT_EQ(ui::FindPath("QDV1.QDV"), dir + "/QDV1.QDV");
    EXPECT_EQ(ui::FindPath("Qdv1.Qdv"), dir + "/QDV1.QDV");  // first in byte order
}

TEST_F(Files, ReadAndAtomicWriteRoundTrip) {
    const std::vector<std::uint8_t> bytes = {1, 2, 3, 0, 255};
    ASSERT_TRUE(ui::WriteFileAtomic("QDV1.QDV", bytes.data(), bytes.size()));
    std::vector<std::uint8_t> back;
    ASSERT_TRUE(ui::ReadFile("qdv1.qdv", back));
    EXPECT_EQ(back, bytes);
    // Rewriting through another case replaces the same file.
    ASSERT_TRUE(ui::WriteFileAtomic("qdv1.QDV", "x", 1));
    EXPECT_EQ(Get(fs::path(dir) / "QDV1.QDV"), "x");
    EXPECT_FALSE(fs::exists(fs::path(dir) / "qdv1.QDV"));
    EXPECT_EQ(Leftovers(dir), 0);
    EXPECT_FALSE(ui::ReadFile("nothing.bin", back));
}

TEST_F(Files, FailedAtomicWriteLeavesTheOldFileWhole) {
    const fs::path target = fs::path(dir) / "QDV0.QDV";
    Put(target, "old contents");

    // The writer gives up half way.
    EXPECT_FALSE(ui::WriteFileAtomic("qdv0.qdv", [](std::FILE* f) {
        std::fputs("half of the new", f);
        return false;
    }));
    EXPECT_EQ(Get(target), "old contents");
    EXPECT_EQ(Leftovers(dir), 0);

    // The disk refuses: the file size limit stands in for a full disk.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const std::vector<std::uint8_t> big(100000, 7);
    const bool wrote = ui::WriteFileAtomic("qdv0.qdv", big.data(), big.size());
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, SIG_DFL);
    EXPECT_FALSE(wrote);
    EXPECT_EQ(Get(target), "old contents");
    EXPECT_EQ(Leftovers(dir), 0);

    // A folder that does not exist.
    EXPECT_FALSE(ui::WriteFileAtomic("nowhere\\qdv0.qdv", "x", 1));
}

TEST_F(Files, CopyFileMakesAWritableCopyAndCanRefuseToReplace) {
    Put(fs::path(dir) / "wave" / "Intm" / "v01.pak", "voice");
    fs::permissions(fs::path(dir) / "wave" / "Intm" / "v01.pak", fs::perms::owner_read);
    ASSERT_TRUE(ui::CopyFile("WAVE\\INTM\\V01.PAK", "v01.pak", true));
    EXPECT_EQ(Get(fs::path(dir) / "v01.pak"), "voice");
    EXPECT_TRUE((fs::status(fs::path(dir) / "v01.pak").permissions() & fs::perms::owner_write) !=
                fs::perms::none);
    EXPECT_FALSE(ui::CopyFile("wave\\intm\\v01.pak", "V01.PAK", true));
    EXPECT_FALSE(ui::CopyFile("wave\\intm\\missing.pak", "x.pak", false));
    EXPECT_TRUE(ui::DeleteFile("V01.pak"));
    EXPECT_FALSE(ui::FileExists("v01.pak"));
}

TEST_F(Files, GameFolderIsGivenElseCurrentWhenItHoldsDataElseGenerated) {
    EXPECT_EQ(ui::ChooseGameFolder(std::string("/some/where/../game")), "/some/game");

    const fs::path empty = fs::path(dir) / "empty", withData = fs::path(dir) / "withdata",
                   withPak = fs::path(dir) / "withpak", dataFile = fs::path(dir) / "datafile";
    fs::create_directories(empty);
    fs::create_directories(withData / "DATA");
    Put(withPak / "OpEd.PAK", "p");
    Put(dataFile / "data", "not a folder");
    EXPECT_FALSE(ui::HoldsGameData(empty.string()));
    EXPECT_TRUE(ui::HoldsGameData(withData.string()));
    EXPECT_TRUE(ui::HoldsGameData(withPak.string()));
    EXPECT_FALSE(ui::HoldsGameData(dataFile.string()));

    const fs::path cwd = fs::current_path();
    fs::current_path(withPak);
    EXPECT_EQ(ui::ChooseGameFolder(std::nullopt), withPak.string());
    fs::current_path(empty);
    EXPECT_EQ(ui::ChooseGameFolder(std::nullopt), ui::DefaultGameFolder());
    fs::current_path(cwd);
    EXPECT_EQ(ui::DefaultGameFolder(), std::string(LUMIA_TEST_GAMEDATA));
}

// An environment variable set for one scope and put back after it.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* v = std::getenv(name)) old_ = v;
        if (value)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
    }
    ~ScopedEnv() {
        if (old_)
            ::setenv(name_, old_->c_str(), 1);
        else
            ::unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

// The desktop's rules for the user's data folder: an absolute XDG_DATA_HOME, else
// ~/.local/share.
TEST_F(Files, UserDataFolderFollowsTheDesktopsConventions) {
    struct Case {
        const char* xdg;
        const char* home;
        std::string want;
    };
    const Case cases[] = {
        {"/x/data", "/home/a", "/x/data/lumia"},
        {"/x/data/", "/home/a", "/x/data/lumia"},
        {nullptr, "/home/a", "/home/a/.local/share/lumia"},
        {"", "/home/a", "/home/a/.local/share/lumia"},
        {"relative/data", "/home/a", "/home/a/.local/share/lumia"},  // invalid: ignored
        {nullptr, nullptr, ""},
    };
    for (const Case& c : cases) {
        ScopedEnv xdg("XDG_DATA_HOME", c.xdg);
        ScopedEnv home("HOME", c.home);
        EXPECT_EQ(ui::UserDataFolder("lumia"), c.want) << (c.xdg ? c.xdg : "(unset)");
    }
}

// Saves stay in a game folder of the player's; the generated one, which a rebuild
// deletes, has them in the user's data folder, made only when a save needs it. Without
// one they stay where they were.
TEST_F(Files, SavesOfTheGeneratedFolderGoToTheUsersDataFolder) {
    const std::string data = dir + "/data";
    ScopedEnv xdg("XDG_DATA_HOME", data.c_str());
    EXPECT_EQ(ui::ChooseSaveFolder(dir, "lumia"), dir);
    EXPECT_EQ(ui::ChooseSaveFolder(ui::DefaultGameFolder(), "lumia"), data + "/lumia");
    EXPECT_EQ(ui::ChooseSaveFolder(ui::DefaultGameFolder() + "/", "lumia"), data + "/lumia");
    EXPECT_FALSE(fs::exists(data));
    {
        ScopedEnv noXdg("XDG_DATA_HOME", nullptr);
        ScopedEnv noHome("HOME", nullptr);
        EXPECT_EQ(ui::ChooseSaveFolder(ui::DefaultGameFolder(), "lumia"), ui::DefaultGameFolder());
    }

    // A save path lies in the save folder, which is the program's folder until set.
    EXPECT_EQ(ui::SavePath("QDV1.QDV"), ui::ProgramFolder() + "QDV1.QDV");
    ui::SetSaveFolder(data + "/lumia");
    EXPECT_EQ(ui::SavePath("QDV1.QDV"), data + "/lumia/QDV1.QDV");
    EXPECT_TRUE(ui::MakeSaveFolder());
    EXPECT_TRUE(fs::is_directory(data + "/lumia"));
    Put(dir + "/file", "x");
    ui::SetSaveFolder(dir + "/file/lumia");  // under a file: cannot be made
    EXPECT_FALSE(ui::MakeSaveFolder());
    ui::SetSaveFolder("");
    EXPECT_EQ(ui::SaveFolder(), ui::ProgramFolder());
}

TEST(Bytes, LittleEndianFieldsAndCheckedReads) {
    std::vector<std::uint8_t> buf;
    ui::ByteWriter w(buf);
    w.U8(0x01);
    w.U16(0x0302);
    w.U32(0x07060504);
    w.I32(-2);
    ASSERT_EQ(buf.size(), 11u);
    EXPECT_EQ(ui::LoadU32(buf.data() + 3), 0x07060504u);
    EXPECT_EQ(ui::LoadI32(buf.data() + 7), -2);

    ui::ByteReader r(buf);
    EXPECT_EQ(r.U8(), 0x01);
    EXPECT_EQ(r.U16(), 0x0302);
    EXPECT_EQ(r.U32(), 0x07060504u);
    EXPECT_EQ(r.I32(), -2);
    EXPECT_TRUE(r.Ok());
    EXPECT_EQ(r.U8(), 0);  // past the end
    EXPECT_FALSE(r.Ok());
    EXPECT_EQ(r.U16(), 0);  // and stays failed

    ui::ByteReader s(buf.data(), 2);
    EXPECT_EQ(s.U32(), 0u);
    EXPECT_FALSE(s.Ok());
    ui::ByteReader t(buf);
    EXPECT_FALSE(t.Seek(12));
    EXPECT_FALSE(t.Ok());
}

}  // namespace
