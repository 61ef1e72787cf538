#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "media/Qvpack.h"
#include "tools/mkgamedata/PackWriter.h"

namespace fs = std::filesystem;

namespace {

TEST(MkGameData, LaysOutTheGameFolder) {
    const fs::path root = LUMIA_TEST_GAMEDATA;
    for (const char* folder : {"Data", "SPMan/8Bit", "SPMan/24Bit", "col24b/evpack",
                               "col24b/palFace", "col24b/mapPack", "wave/se", "wave/Intm", "music"})
        EXPECT_TRUE(fs::is_directory(root / folder)) << folder;
}

class WritePackTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("writepack_" + std::to_string(getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    fs::path dir_;
};

TEST_F(WritePackTest, MembersReadBackStoredAndCompressed) {
    std::vector<std::uint8_t> big(50000);
    for (std::size_t i = 0; i < big.size(); ++i) big[i] = std::uint8_t(i / 300);
    const fs::path p = dir_ / "sub" / "x.pak";
    ASSERT_TRUE(mkgamedata::WritePack(
        p, {{"BIG.BMP", big, true}, {"small.txt", {'h', 'i'}, false}, {"empty", {}, true}}));
    TQvPack pack;
    ASSERT_TRUE(pack.LoadPack(p.c_str()));
    ASSERT_EQ(pack.GetFileNum(), 3);
    EXPECT_EQ(pack.Record(0)->compressed, 1);
    EXPECT_LT(pack.Record(0)->storedSize, big.size());
    EXPECT_EQ(pack.Record(1)->compressed, 0);
    ASSERT_TRUE(pack.OpenFile("big.bmp"));
    EXPECT_EQ(pack.Stream->Bytes(), big);
    ASSERT_TRUE(pack.OpenFile("SMALL.TXT"));
    EXPECT_EQ(pack.Stream->Bytes(), std::vector<std::uint8_t>({'h', 'i'}));
    ASSERT_TRUE(pack.OpenFile("empty"));
    EXPECT_EQ(pack.Stream->Size(), 0);
}

TEST_F(WritePackTest, BadMemberWritesNothing) {
    const fs::path p = dir_ / "bad.pak";
    EXPECT_FALSE(mkgamedata::WritePack(
        p, {{"ok.txt", {'1'}, false}, {"a-name-much-too-long-for-it.txt", {'2'}, false}}));
    EXPECT_FALSE(mkgamedata::WritePack(p, {{"twice", {'1'}, false}, {"TWICE", {'2'}, false}}));
    EXPECT_FALSE(fs::exists(p));
    EXPECT_TRUE(fs::is_empty(dir_));
}

}  // namespace
