#include "town/SoundTables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "media/Qvpack.h"
#include "platform/Audio.h"
#include "platform/Files.h"

namespace {

// The voice packs and their first numbers, in the order the game keeps them.
struct PackStart {
    const char* name;
    int first;
};
const std::vector<PackStart> kPacks = {
    {"evpm01", 100},  {"evfm02", 113},  {"evfm03", 133},   {"evfm04", 151},  {"evfm05", 159},
    {"evfm06", 173},  {"evfm07", 194},  {"evfm08", 201},   {"evfm09", 215},  {"evfm11", 234},
    {"evfm12", 248},  {"evfm13", 287},  {"evend03", 314},  {"evpm01", 326},  {"evpm02", 340},
    {"evpm04", 346},  {"evpm07", 358},  {"evpm08", 360},   {"evend01", 424}, {"evend02", 436},
    {"evend04", 448}, {"evom01", 459},  {"evom03", 485},   {"evom04", 502},  {"evom05", 537},
    {"evom06", 569},  {"evom07", 572},  {"evom08", 590},   {"evom10", 680},  {"evom11", 701},
    {"evom12", 757},  {"evom14", 881},  {"evend05", 898},  {"evrm01", 910},  {"evrm02", 920},
    {"evrm03", 942},  {"evrm04", 962},  {"evrm07", 998},   {"evrm08", 1009}, {"evrm09", 1028},
    {"evcm01", 1086}, {"evcm02", 1101}, {"evend06", 1132}, {"evcm03", 1146}, {"evcm04", 1168},
    {"evrm05", 1215},
};

// The pack of voice v by the list above, scanning from the first pack.
int PackOf(int v) {
    for (std::size_t p = 0; p < kPacks.size(); ++p) {
        const int end = p + 1 < kPacks.size() ? kPacks[p + 1].first : 1262;
        if (kPacks[p].first <= v && v < end) return static_cast<int>(p);
    }
    return -1;
}

TEST(SoundTables, PackStartsAreTheGamesList) {
    ASSERT_EQ(kPacks.size(), 46u);
    for (std::size_t p = 0; p < kPacks.size(); ++p) {
        EXPECT_STREQ(VoicePackNames[p], kPacks[p].name) << p;
        EXPECT_EQ(VoicePackStarts[p], kPacks[p].first) << p;
        EXPECT_LE(std::strlen(VoicePackNames[p]), 12u);
    }
    EXPECT_EQ(VoicePackStarts[46], 100000);
}

TEST(SoundTables, EffectNamesTheGameUses) {
    const std::vector<std::pair<int, const char*>> known = {
        {0, "seBell.wav"},    {1, "seRun.wav"},     {2, "seDoor.wav"},    {3, "seDrNck.wav"},
        {4, "seOwl.wav"},     {7, "seBgFll.wav"},   {10, "seWind.wav"},   {11, "seShock.wav"},
        {13, "seMsnFl.wav"},  {14, "seCheer0.wav"}, {15, "seCheer1.wav"}, {16, "seSomMv.wav"},
        {17, "seTumbl.wav"},  {18, "seCheer2.wav"}, {22, "seString.wav"}, {23, "seFestiv.wav"},
        {24, "seRun.wav"},    {25, "seJewel.wav"},  {26, "seWind2.wav"},  {27, "seExpl0.wav"},
        {30, "seWater.wav"},  {31, "seSuzumu.wav"}, {32, "seLetter.wav"}, {33, "seminWav.wav"},
        {34, "seDayEnd.wav"}, {35, "seGetItm.wav"}, {38, "seWelcom.wav"}, {39, "seThanks.wav"},
        {41, "Syspar01.wav"}, {53, "Syspar13.wav"}, {65, "Syspar25.wav"}, {66, "Syssak01.wav"},
        {71, "Syssak06.wav"}, {73, "seFun.wav"},    {74, "seRiver.wav"},  {75, "seMount.wav"},
        {76, "seWtStn.wav"},
    };
    for (const auto& [n, name] : known) EXPECT_STREQ(SoundNames[n], name) << n;
    // Files that stand under two numbers.
    EXPECT_STREQ(SoundNames[1], SoundNames[24]);
    EXPECT_STREQ(SoundNames[8], SoundNames[16]);
    EXPECT_STREQ(SoundNames[19], SoundNames[20]);
    for (const char* name : SoundNames) EXPECT_LE(std::strlen(name), 20u);
}

TEST(SoundTables, NumbersOutsideTheTablesNameNothing) {
    SoundLocation where;
    for (const int n : {-1, 85, 90, 99, 1262, 5000, 100000})
        EXPECT_FALSE(LocateSound(n, where)) << n;
    EXPECT_EQ(VoicePackOf(99), -1);
    EXPECT_EQ(VoicePackOf(1262), -1);
    EXPECT_EQ(VoicePackStartingAt(326), 13);
    EXPECT_EQ(VoicePackStartingAt(327), -1);
}

TEST(SoundTables, TheTwoRangesOfOnePack) {
    SoundLocation a, b;
    ASSERT_TRUE(LocateSound(100, a));
    ASSERT_TRUE(LocateSound(326, b));
    EXPECT_EQ(a.pack, "wave\\Intm\\evpm01.pak");
    EXPECT_EQ(b.pack, "wave\\Intm\\evpm01.pak");
    EXPECT_EQ(a.member, "evfm01001.wav");
    EXPECT_NE(a.member, b.member);
    SoundLocation last;
    ASSERT_TRUE(LocateSound(1261, last));
    EXPECT_EQ(last.pack, "wave\\Intm\\evrm05.pak");
    SoundLocation effect;
    ASSERT_TRUE(LocateSound(84, effect));
    EXPECT_EQ(effect.pack, "wave\\se\\sepack.pak");
}

// Every sound number of the game, walked to its pack and member in the generated
// game folder: each member opens and is a wave.
TEST(SoundTables, EverySoundOpensInTheGeneratedFolder) {
    const std::string saved = ui::ProgramFolder();
    ui::SetProgramFolder(LUMIA_TEST_GAMEDATA);
    TQvPack pack;
    std::vector<std::string> members;
    auto opens = [&](int n, const std::string& packPath) {
        SoundLocation where;
        if (!LocateSound(n, where)) return ::testing::AssertionFailure() << "no location";
        if (where.pack != packPath) return ::testing::AssertionFailure() << where.pack;
        if (!pack.OpenPack(where.pack))
            return ::testing::AssertionFailure() << "pack does not open";
        if (!pack.OpenFile(where.member) || !pack.Stream)
            return ::testing::AssertionFailure() << where.member << " does not open";
        const auto& bytes = pack.Stream->Bytes();
        if (ui::WaveLengthMs(bytes) <= 0) return ::testing::AssertionFailure() << "not a wave";
        members.push_back(where.pack + "/" + where.member);
        return ::testing::AssertionSuccess();
    };
    for (int n = 0; n < 85; ++n) EXPECT_TRUE(opens(n, "wave\\se\\sepack.pak")) << n;
    for (int v = 100; v <= 1261; ++v) {
        const int p = PackOf(v);
        ASSERT_GE(p, 0) << v;
        ASSERT_EQ(VoicePackOf(v), p) << v;
        EXPECT_TRUE(opens(v, std::string("wave\\Intm\\") + kPacks[p].name + ".pak")) << v;
    }
    pack.ClosePack();
    // Every voice is a member of its own.
    std::sort(members.begin() + 85, members.end());
    EXPECT_EQ(std::adjacent_find(members.begin() + 85, members.end()), members.end());
    ui::SetProgramFolder(saved);
}

}  // namespace
