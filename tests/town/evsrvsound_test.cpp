// The event server's sound and music primitives on the generated game folder, heard
// through the recording audio sink and the transcript.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "platform/Audio.h"
#include "platform/Big5.h"
#include "platform/Files.h"
#include "platform/Transcript.h"
#include "platform/headless/HeadlessAudio.h"
#include "shop/GameState.h"
#include "story/Register.h"
#include "tests/support/HeadlessApp.h"
#include "town/EvControler.h"
#include "town/Evsrvfm.h"
#include "town/Mdpform.h"

namespace {

std::vector<std::string> g_memo;

class SoundPrimitivesTest : public test::HeadlessTest {
protected:
    void SetUp() override {
        saved_ = ui::ProgramFolder();
        ui::SetProgramFolder(LUMIA_TEST_GAMEDATA);
        auto sink = std::make_unique<ui::RecordingAudio>();
        sink_ = sink.get();
        ui::SetAudio(std::move(sink));
        InitGameState();
        GameFlow = new TEvControler();  // makes the music form
        ev = EventServerDbg;
        MdpFm->OpenCdAudio();
        g_memo.clear();
        TEventServerDbg::Hooks.CheckMemo = [](const std::string& line) { g_memo.push_back(line); };
    }
    void TearDown() override {
        TEventServerDbg::Hooks = {};
        delete GameFlow;
        GameFlow = nullptr;
        ui::SetAudio(nullptr);
        ui::SetProgramFolder(saved_);
    }
    int Count(const std::string& what) {
        int n = 0;
        for (const ui::AudioRecord& r : sink_->Records()) n += r.what == what;
        return n;
    }
    std::vector<std::string> Whats() {
        std::vector<std::string> out;
        for (const ui::AudioRecord& r : sink_->Records()) out.push_back(r.what);
        return out;
    }

    std::string saved_;
    ui::RecordingAudio* sink_ = nullptr;
    TEventServerDbg* ev = nullptr;
};

TEST_F(SoundPrimitivesTest, VoicesOfTheTwoRangesOfOnePack) {
    ui::ScopedTranscript transcript;
    ev->PlaySound(100);
    ev->PlaySound(326);
    EXPECT_EQ(transcript->Texts("voice"),
              (std::vector<std::string>{"evfm01001.wav", "evpm01001.wav"}));
    EXPECT_EQ(g_memo, (std::vector<std::string>{"evfm01001.wav", "evpm01001.wav"}));
    EXPECT_EQ(Count("wave.play"), 2);
}

TEST_F(SoundPrimitivesTest, EffectsByNumber) {
    ui::ScopedTranscript transcript;
    for (const int n : {0, 24, 41, 84}) ev->PlaySound(n);
    EXPECT_EQ(
        transcript->Texts("sound"),
        (std::vector<std::string>{"seBell.wav", "seRun.wav", "Syspar01.wav", "Sysvoc06.wav"}));
    EXPECT_EQ(Count("wave.play"), 4);
}

TEST_F(SoundPrimitivesTest, NumbersPastTheTablesPlayNothing) {
    ui::ScopedTranscript transcript;
    for (const int n : {-1, 85, 92, 99, 1262, 2000}) ev->PlaySound(n);
    EXPECT_TRUE(transcript->Entries().empty());
    EXPECT_TRUE(g_memo.empty());
    EXPECT_EQ(Count("wave.play"), 0);
}

TEST_F(SoundPrimitivesTest, ASecondSoundCutsTheFirst) {
    ev->PlaySound(0);
    headless.Clock().Advance(10);
    ev->PlaySound(2);
    EXPECT_EQ(Whats(), (std::vector<std::string>{"wave.play", "wave.stop", "wave.play"}));
}

TEST_F(SoundPrimitivesTest, ASynchronousSoundReturnsWhenItHasEnded) {
    const std::uint32_t before = headless.Now();
    ev->PlaySoundSync(35);
    EXPECT_GT(headless.Now(), before);
    EXPECT_FALSE(ui::IsWavePlaying());
    EXPECT_EQ(Whats(), (std::vector<std::string>{"wave.play", "wave.end"}));
}

// A sound pack that is not there plays nothing and tells nothing, a voice pack (which
// may lie on the disc alone) and the effects pack alike.
TEST_F(SoundPrimitivesTest, AMissingSoundPackIsSilent) {
    const std::string dir = test::ScratchDir("sound-missing-pack");
    ui::SetProgramFolder(dir);
    std::vector<std::string> boxes;
    headless.Backend().SetMessageBoxResponder([&](const ui::MessageBoxRequest& r) {
        boxes.push_back(ui::Big5ToUtf8(r.text));
        return ui::IDOK;
    });
    ev->PlaySound(1261);
    EXPECT_TRUE(boxes.empty());
    ev->PlaySound(0);
    ev->PlaySound(1);
    EXPECT_EQ(Count("wave.play"), 0);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(SoundPrimitivesTest, LoopedMusicIsNotRestartedOnceMusicIs) {
    ev->PlayMusic(10, true);
    ev->PlayMusic(10, true);
    EXPECT_EQ(Count("music.play"), 1);
    ev->PlayMusic(10, false);
    EXPECT_EQ(Count("music.play"), 2);
    ev->StopMusic();
    EXPECT_FALSE(ui::music::IsPlaying());
    EXPECT_EQ(MdpFm->CurrentTrack(), -1);
}

TEST_F(SoundPrimitivesTest, PlaceMusicByPlaceAndSeason) {
    // The shop's rooms by the month's season, town 10, land 11.
    const struct {
        int place, day, track;
    } table[] = {
        {20, 6 * 24, 13},
        {10, 0, 15},
        {11, 2 * 24, 12},
        {10, 4 * 24 + 23, 12},
        {10, 5 * 24, 13},
        {20, 8 * 24, 14},
        {10, 10 * 24 + 23, 14},
        {11, 11 * 24, 15},
        {3, 6 * 24, 10},
        {31, 0, 10},
        {32, 0, 11},
        {43, 100, 11},
    };
    for (const auto& c : table) {
        GameFlow->Place = c.place;
        SetGameDay(c.day);
        ev->StopMusic();
        ev->PlayPlaceMusic();
        EXPECT_EQ(MdpFm->CurrentTrack(), c.track) << c.place << " " << c.day;
        EXPECT_TRUE(MdpFm->Loop());
    }
}

TEST_F(SoundPrimitivesTest, TheMusicOfADay) {
    ui::ScopedTranscript transcript;
    SetGameDay(3 * 24);  // month 4, spring
    ev->SetPlace(place::ShopInside, false);
    ev->PlayPlaceMusic();
    ev->PlayPlaceMusic();  // the shop's music goes on
    ev->SetPlace(place::Square, false);
    ev->PlayPlaceMusic();
    ev->SetPlace(place::Bakery, false);
    ev->PlayPlaceMusic();  // town to town: the town's music goes on
    ev->SetPlace(place::Waterfall, false);
    ev->PlayPlaceMusic();
    ev->SetPlace(place::ShopInside, false);
    ev->PlayPlaceMusic();
    EXPECT_EQ(transcript->Texts("music"),
              (std::vector<std::string>{"track 12 loop", "stop", "track 10 loop", "stop",
                                        "track 11 loop", "stop", "track 12 loop"}));
}

}  // namespace
