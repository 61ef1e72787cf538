#include "town/Mdpform.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "media/Qvpack.h"
#include "platform/Audio.h"
#include "platform/Files.h"
#include "platform/Transcript.h"
#include "platform/headless/HeadlessAudio.h"
#include "tests/support/HeadlessApp.h"

namespace {

class MdpFmTest : public test::HeadlessTest {
protected:
    void SetUp() override {
        saved_ = ui::ProgramFolder();
        ui::SetProgramFolder(LUMIA_TEST_GAMEDATA);
        auto sink = std::make_unique<ui::RecordingAudio>();
        sink_ = sink.get();
        ui::SetAudio(std::move(sink));
        form_ = new TMdpFm();
        MdpFm = form_;
        ASSERT_TRUE(form_->OpenCdAudio());
    }
    void TearDown() override {
        delete form_;
        ui::SetAudio(nullptr);
        ui::SetProgramFolder(saved_);
    }
    // What the recorder logged, without the times.
    std::vector<std::string> Log() {
        std::vector<std::string> out;
        for (const ui::AudioRecord& r : sink_->Records()) out.push_back(r.what + " " + r.detail);
        return out;
    }
    int Count(const std::string& what) {
        int n = 0;
        for (const ui::AudioRecord& r : sink_->Records()) n += r.what == what;
        return n;
    }
    static std::uint32_t TrackLength(int n) {
        return static_cast<std::uint32_t>(ui::SoundFileLengthMs(ui::music::TrackFile(n)));
    }

    std::string saved_;
    ui::RecordingAudio* sink_ = nullptr;
    TMdpFm* form_ = nullptr;
};

TEST_F(MdpFmTest, StartsHiddenWithNoTrackAndRefusesToClose) {
    TMdpFm fresh;
    EXPECT_FALSE(fresh.Visible());
    EXPECT_EQ(fresh.CurrentTrack(), -1);
    EXPECT_FALSE(fresh.Loop());
    EXPECT_FALSE(fresh.Playing());
    EXPECT_TRUE(fresh.DeviceOpen());  // the music player needs no opening
    EXPECT_FALSE(fresh.CloseQuery());
    fresh.PlayTrackLoop(10);
    EXPECT_EQ(fresh.CurrentTrack(), 10);
    fresh.StopTrack();
}

TEST_F(MdpFmTest, LoopIsNotRestartedOnceAlwaysIs) {
    form_->PlayTrackLoop(10);
    headless.Clock().Advance(500);
    form_->PlayTrackLoop(10);
    EXPECT_EQ(Count("music.play"), 1);
    EXPECT_EQ(form_->CurrentTrack(), 10);
    form_->PlayTrackOnce(10);
    EXPECT_EQ(Count("music.play"), 2);
    form_->PlayTrackOnce(10);
    EXPECT_EQ(Count("music.play"), 3);
    EXPECT_FALSE(form_->Loop());
}

TEST_F(MdpFmTest, AnEndedLoopIsStartedAgainByThePollAPlayOnceTrackStops) {
    const std::uint32_t length = TrackLength(12);
    ASSERT_GT(length, 1000u);
    form_->PlayTrackLoop(12);
    headless.Clock().Advance(length + 100);
    form_->PollTrack();  // as the controller's refresh does every 200 ms
    EXPECT_EQ(Count("music.play"), 2);
    EXPECT_EQ(form_->CurrentTrack(), 12);
    EXPECT_TRUE(ui::music::IsPlaying());

    form_->PlayTrackOnce(13);
    headless.Clock().Advance(TrackLength(13) + 100);
    form_->PollTrack();
    EXPECT_FALSE(ui::music::IsPlaying());
    EXPECT_EQ(form_->CurrentTrack(), -1);
    EXPECT_FALSE(form_->Playing());
    // Nothing current: a looped start of the same track plays it again.
    form_->PlayTrackLoop(13);
    EXPECT_TRUE(ui::music::IsPlaying());
    EXPECT_EQ(form_->CurrentTrack(), 13);
}

TEST_F(MdpFmTest, AnEndedTrackIsNotCurrentEvenBeforeThePoll) {
    form_->PlayTrackOnce(14);
    headless.Clock().Advance(TrackLength(14) + 10);
    EXPECT_EQ(form_->CurrentTrack(), -1);
    form_->PlayTrackLoop(14);
    EXPECT_EQ(Count("music.play"), 2);
}

TEST_F(MdpFmTest, AMissingTrackIsSilence) {
    form_->PlayTrackLoop(10);
    form_->PlayTrackLoop(99);  // no file for track 99
    EXPECT_FALSE(ui::music::IsPlaying());
    EXPECT_EQ(form_->CurrentTrack(), -1);
    EXPECT_FALSE(form_->Playing());
    form_->PollTrack();
    EXPECT_EQ(Count("music.play"), 1);
}

TEST_F(MdpFmTest, StopAndTheClosedDevice) {
    form_->PlayTrackLoop(11);
    form_->StopTrack();
    EXPECT_FALSE(ui::music::IsPlaying());
    EXPECT_EQ(form_->CurrentTrack(), -1);

    form_->PlayTrackLoop(11);
    form_->CloseCdAudio();
    EXPECT_FALSE(ui::music::IsPlaying());
    form_->PlayTrackLoop(11);  // the device is closed: nothing plays
    EXPECT_FALSE(ui::music::IsPlaying());
    form_->ReopenCdAudio();  // nothing current: nothing started
    EXPECT_FALSE(ui::music::IsPlaying());
    EXPECT_EQ(Count("music.play"), 2);
    form_->PlayTrackLoop(11);
    EXPECT_TRUE(ui::music::IsPlaying());
}

TEST_F(MdpFmTest, MusicGoesIntoTheTranscript) {
    ui::ScopedTranscript transcript;
    form_->PlayTrackLoop(10);
    form_->PlayTrackOnce(3);
    form_->StopTrack();
    form_->PlayTrackLoop(99);
    EXPECT_EQ(transcript->Texts("music"),
              (std::vector<std::string>{"track 10 loop", "stop", "track 3 once", "stop",
                                        "track 99 missing"}));
}

TEST_F(MdpFmTest, ASecondWaveCutsTheFirstAndThePackIsClosed) {
    TQvPack pack;
    ASSERT_TRUE(pack.OpenPack("wave\\se\\sepack.pak"));
    form_->PlayWaveAsync("seBell.wav", &pack);
    EXPECT_FALSE(pack.IsOpen());
    ASSERT_TRUE(pack.OpenPack("wave\\se\\sepack.pak"));
    form_->PlayWaveAsync("seDoor.wav", &pack);
    EXPECT_EQ(Count("wave.play"), 2);
    EXPECT_EQ(Count("wave.stop"), 1);
    form_->StopWave();
    EXPECT_EQ(Count("wave.stop"), 2);
}

TEST_F(MdpFmTest, ASynchronousWaveReturnsWhenItHasEnded) {
    TQvPack pack;
    ASSERT_TRUE(pack.OpenPack("wave\\se\\sepack.pak"));
    const std::uint32_t before = headless.Now();
    form_->PlayWaveSync("seBell.wav", &pack);
    EXPECT_GT(headless.Now(), before);
    EXPECT_FALSE(ui::IsWavePlaying());
    EXPECT_FALSE(form_->m_Qvwv.HoldsBuffer());
    EXPECT_EQ(form_->m_Qvwv.SyncMode(), smASync);  // back to asynchronous
    EXPECT_FALSE(pack.IsOpen());
    // A member that is not there plays nothing.
    ASSERT_TRUE(pack.OpenPack("wave\\se\\sepack.pak"));
    form_->PlayWaveAsync("nothing.wav", &pack);
    EXPECT_EQ(Count("wave.play"), 1);
}

}  // namespace
