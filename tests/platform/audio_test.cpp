#include "platform/Audio.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/headless/HeadlessAudio.h"
#include "platform/sdl/SdlAudio.h"
#include "tests/support/HeadlessApp.h"

namespace {

void Put32(std::vector<std::uint8_t>& v, std::uint32_t x) {
    for (int i = 0; i < 4; ++i) v.push_back(static_cast<std::uint8_t>(x >> (8 * i)));
}
void Put16(std::vector<std::uint8_t>& v, std::uint32_t x) {
    v.push_back(static_cast<std::uint8_t>(x));
    v.push_back(static_cast<std::uint8_t>(x >> 8));
}

// A RIFF WAVE image: 8-bit mono PCM at 8000 Hz, so `ms` milliseconds are 8 * ms bytes.
// A "LIST" chunk before the data checks that chunks are walked.
std::vector<std::uint8_t> Wave(std::uint32_t ms, std::uint8_t fill = 0x80, bool withList = true) {
    const std::uint32_t data = ms * 8;
    std::vector<std::uint8_t> v;
    v.insert(v.end(), {'R', 'I', 'F', 'F'});
    Put32(v, 4 + 24 + (withList ? 14 : 0) + 8 + data);
    v.insert(v.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    Put32(v, 16);
    Put16(v, 1);     // PCM
    Put16(v, 1);     // mono
    Put32(v, 8000);  // samples per second
    Put32(v, 8000);  // bytes per second
    Put16(v, 1);
    Put16(v, 8);
    if (withList) {
        v.insert(v.end(), {'L', 'I', 'S', 'T'});
        Put32(v, 5);  // odd: padded to 6
        v.insert(v.end(), {'I', 'N', 'F', 'O', 'x', 0});
    }
    v.insert(v.end(), {'d', 'a', 't', 'a'});
    Put32(v, data);
    v.insert(v.end(), data, fill);
    return v;
}

class AudioTest : public ::testing::Test {
protected:
    void SetUp() override {
        ui::SetClock(&clock_);
        ui::SetAudio(std::make_unique<ui::RecordingAudio>());
        sink_ = ui::RecordingAudio::Current();
        ASSERT_NE(sink_, nullptr);
    }
    void TearDown() override {
        ui::SetAudio(nullptr);
        ui::SetClock(nullptr);
    }
    ui::VirtualClock clock_{0};
    ui::RecordingAudio* sink_ = nullptr;
};

TEST(AudioLength, FromHeaders) {
    EXPECT_EQ(ui::WaveLengthMs(Wave(250)), 250);
    EXPECT_EQ(ui::WaveLengthMs(Wave(0)), 0);
    std::vector<std::uint8_t> cut = Wave(250);
    cut.resize(cut.size() - 800);  // a cut-off file lasts as long as the bytes it has
    EXPECT_EQ(ui::WaveLengthMs(cut), 150);
    std::vector<std::uint8_t> noRate = Wave(10);
    noRate[28] = noRate[29] = noRate[30] = noRate[31] = 0;
    EXPECT_EQ(ui::WaveLengthMs(noRate), -1);
    const std::vector<std::uint8_t> ten = Wave(10);
    EXPECT_EQ(ui::WaveLengthMs(std::vector<std::uint8_t>(ten.begin(), ten.begin() + 30)), -1);
    const std::vector<std::uint8_t> notWave = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'A', 'V', 'I', ' '};
    EXPECT_EQ(ui::WaveLengthMs(notWave), -1);
    // A chunk size running past the end stops the walk cleanly.
    std::vector<std::uint8_t> huge = Wave(10);
    huge[40] = huge[41] = huge[42] = huge[43] = 0xFF;  // the LIST chunk's size
    EXPECT_EQ(ui::WaveLengthMs(huge), -1);

    // Files: wav, FLAC (STREAMINFO) and Ogg Vorbis (last granule position).
    const std::string dir = test::ScratchDir("audio-length");
    const std::vector<std::uint8_t> wav = Wave(1234);
    std::ofstream(dir + "/a.wav", std::ios::binary)
        .write(reinterpret_cast<const char*>(wav.data()), wav.size());
    EXPECT_EQ(ui::SoundFileLengthMs(dir + "/a.wav"), 1234);

    std::vector<std::uint8_t> flac = {'f', 'L', 'a', 'C', 0x80, 0, 0, 34};
    flac.insert(flac.end(), 10, 0);
    // 44100 Hz (0x0AC44), 2 channels, 16 bits, 88200 samples.
    flac.insert(flac.end(), {0x0A, 0xC4, 0x42, 0xF0, 0x00, 0x01, 0x58, 0x88});
    flac.insert(flac.end(), 16, 0);
    std::ofstream(dir + "/a.flac", std::ios::binary)
        .write(reinterpret_cast<const char*>(flac.data()), flac.size());
    EXPECT_EQ(ui::SoundFileLengthMs(dir + "/a.flac"), 2000);

    auto page = [](std::vector<std::uint8_t>& v, std::uint64_t granule,
                   const std::vector<std::uint8_t>& packet) {
        v.insert(v.end(), {'O', 'g', 'g', 'S', 0, 2});
        for (int i = 0; i < 8; ++i) v.push_back(static_cast<std::uint8_t>(granule >> (8 * i)));
        v.insert(v.end(), 12, 0);  // serial, sequence, checksum
        v.push_back(1);
        v.push_back(static_cast<std::uint8_t>(packet.size()));
        v.insert(v.end(), packet.begin(), packet.end());
    };
    std::vector<std::uint8_t> id = {1, 'v', 'o', 'r', 'b', 'i', 's', 0, 0, 0, 0, 2};
    Put32(id, 22050);
    id.resize(30, 0);
    std::vector<std::uint8_t> ogg;
    page(ogg, 0, id);
    page(ogg, 11025, std::vector<std::uint8_t>(40, 7));
    page(ogg, 66150, std::vector<std::uint8_t>(40, 7));
    std::ofstream(dir + "/a.ogg", std::ios::binary)
        .write(reinterpret_cast<const char*>(ogg.data()), ogg.size());
    EXPECT_EQ(ui::SoundFileLengthMs(dir + "/a.ogg"), 3000);
    EXPECT_EQ(ui::SoundFileLengthMs(dir + "/none.ogg"), -1);
}

TEST_F(AudioTest, SynchronousPlayReturnsAfterTheSoundsLength) {
    ui::WaveVoice voice;
    clock_.Set(1000);
    EXPECT_TRUE(voice.Play(Wave(250), true));
    EXPECT_EQ(clock_.Now(), 1250u);
    EXPECT_FALSE(voice.HoldsBuffer());
    EXPECT_FALSE(ui::IsWavePlaying());
    EXPECT_EQ(sink_->Lines(),
              (std::vector<std::string>{"1000 wave.play sync 250ms", "1250 wave.end"}));
}

TEST_F(AudioTest, SecondAsyncPlayStopsTheFirstBeforeItsBufferIsFreed) {
    // The sink reads the held image whenever it looks at the voice and once more when
    // the sound is stopped; a buffer freed before that is a sanitizer error, and a
    // buffer changed under it is logged.
    ui::WaveVoice voice;
    EXPECT_TRUE(voice.Play(Wave(250, 0x11), false));
    EXPECT_TRUE(voice.HoldsBuffer());
    clock_.Advance(100);
    EXPECT_TRUE(ui::IsWavePlaying());
    EXPECT_TRUE(voice.Play(Wave(500, 0x22), false));
    clock_.Advance(499);
    EXPECT_TRUE(ui::IsWavePlaying());
    clock_.Advance(1);
    EXPECT_FALSE(ui::IsWavePlaying());
    EXPECT_TRUE(voice.HoldsBuffer());  // kept until Stop or the next play
    voice.Stop();
    voice.Stop();  // harmless when idle
    EXPECT_FALSE(voice.HoldsBuffer());
    EXPECT_EQ(sink_->Lines(),
              (std::vector<std::string>{"0 wave.play async 250ms", "100 wave.stop",
                                        "100 wave.play async 500ms", "600 wave.end"}));
}

TEST_F(AudioTest, OneVoiceForEveryPlayerAndBadImages) {
    // Two holders share the one voice: the second sound stops the first, whose
    // holder still owns its buffer.
    ui::WaveVoice a, b;
    a.Play(Wave(300), false);
    clock_.Advance(50);
    b.Play(Wave(300), false);
    EXPECT_TRUE(a.HoldsBuffer());
    a.Stop();  // stops whatever plays, as the system's player does
    EXPECT_FALSE(ui::IsWavePlaying());
    EXPECT_FALSE(b.Play(std::vector<std::uint8_t>{1, 2, 3}, false));  // not a wave
    EXPECT_FALSE(b.HoldsBuffer());
    EXPECT_FALSE(b.Play({}, false));
    const auto lines = sink_->Lines();
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[1], "50 wave.stop");
    EXPECT_EQ(lines[3], "50 wave.stop");
    EXPECT_EQ(lines[4], "50 wave.bad 3 bytes");

    // A caller-owned image changed while it plays is caught at the stop.
    std::vector<std::uint8_t> image = Wave(100);
    ui::PlayWaveMemory(image.data(), image.size(), false);
    image[50] ^= 0xFF;
    ui::StopWave();
    EXPECT_EQ(sink_->Lines().back(), "50 wave.stop buffer changed");
}

class MusicTest : public AudioTest {
protected:
    void SetUp() override {
        AudioTest::SetUp();
        saved_ = ui::ProgramFolder();
        dir_ = test::ScratchDir("audio-game") + "/";
        std::filesystem::create_directories(dir_ + "Music");
        Write(dir_ + "Music/Track10.WAV", Wave(1000));  // names match without regard to case
        Write(dir_ + "Music/track4.wav", Wave(300));    // the short form
        Write(dir_ + "song.wav", Wave(5000));
        ui::SetProgramFolder(dir_);
    }
    void TearDown() override {
        ui::SetProgramFolder(saved_);
        AudioTest::TearDown();
    }
    static void Write(const std::string& path, const std::vector<std::uint8_t>& bytes) {
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    }
    std::string saved_, dir_;
};

TEST_F(MusicTest, LoopedMusicRestartsAtItsEnd) {
    ASSERT_TRUE(ui::music::PlayTrack(10, true));
    EXPECT_EQ(ui::music::Track(), 10);
    clock_.Advance(2500);
    EXPECT_TRUE(ui::music::IsPlaying());
    EXPECT_EQ(ui::music::PositionMs(), 500u);
    EXPECT_FALSE(ui::music::TakeEnded());
    ui::music::Stop();
    EXPECT_EQ(ui::music::Track(), -1);
    EXPECT_EQ(sink_->Lines(),
              (std::vector<std::string>{
                  "0 music.play Track10.WAV loop 1000ms", "1000 music.restart Track10.WAV",
                  "2000 music.restart Track10.WAV", "2500 music.stop Track10.WAV"}));
}

TEST_F(MusicTest, OnceEndsAndReportsItMissingTrackIsSilence) {
    ASSERT_TRUE(ui::music::PlayTrack(4, false));
    EXPECT_NE(ui::music::TrackFile(4).find("track4.wav"), std::string::npos);
    clock_.Advance(299);
    EXPECT_TRUE(ui::music::IsPlaying());
    clock_.Advance(1);
    EXPECT_FALSE(ui::music::IsPlaying());
    EXPECT_TRUE(ui::music::TakeEnded());
    EXPECT_FALSE(ui::music::TakeEnded());  // reported once
    EXPECT_EQ(ui::music::Track(), 4);      // the track that ended, so it can be restarted

    EXPECT_EQ(ui::music::TrackFile(7), "");
    EXPECT_FALSE(ui::music::PlayTrack(7, true));
    EXPECT_FALSE(ui::music::IsPlaying());
    EXPECT_EQ(ui::music::Track(), -1);
    EXPECT_EQ(ui::music::PositionMs(), 0u);

    // A song: a WAV file through the same stream, with its position.
    ASSERT_TRUE(ui::music::PlayFile("SONG.wav"));
    clock_.Advance(1200);
    EXPECT_EQ(ui::music::PositionMs(), 1200u);
    EXPECT_FALSE(ui::music::PlayFile("missing.wav"));
    EXPECT_FALSE(ui::music::IsPlaying());
}

TEST(SdlAudio, PlaysAndStopsOnTheDummyDevice) {
    // The real back end on SDL's dummy driver: no waits, only starts and stops.
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    ui::SdlAudio audio;
    std::vector<std::uint8_t> image = Wave(2000, 0x80, false);
    const bool played = audio.PlayWave(image.data(), image.size(), false);
    if (!played) GTEST_SKIP() << "no audio device";
    audio.StopWave();
    EXPECT_FALSE(audio.WavePlaying());
    EXPECT_FALSE(audio.PlayWave(image.data(), 10, false));  // a damaged image does not play
    EXPECT_FALSE(audio.PlayMusic("/nonexistent/track01.ogg", false));
    const std::string path = test::ScratchDir("audio-sdl") + "/audio-sdl.wav";
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(image.data()), image.size());
    ASSERT_TRUE(audio.PlayMusic(path, true));
    EXPECT_TRUE(audio.MusicPlaying());
    audio.StopMusic();
    EXPECT_FALSE(audio.MusicPlaying());
    EXPECT_FALSE(audio.TakeMusicEnded());
}

}  // namespace
