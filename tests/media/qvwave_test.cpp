#include "media/Qvwave.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "media/Qvpack.h"
#include "platform/Audio.h"
#include "platform/headless/HeadlessAudio.h"
#include "tests/support/HeadlessApp.h"
#include "tests/support/PictureFixtures.h"

namespace {

// A RIFF WAVE image of 8-bit mono at 1000 Hz: `ms` samples last `ms` milliseconds.
std::vector<std::uint8_t> Wave(std::uint32_t ms, std::uint8_t fill) {
    std::vector<std::uint8_t> w;
    auto u32 = [&](std::uint32_t v) {
        for (int i = 0; i < 4; ++i) w.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    };
    auto u16 = [&](std::uint16_t v) {
        w.push_back(static_cast<std::uint8_t>(v));
        w.push_back(static_cast<std::uint8_t>(v >> 8));
    };
    auto tag = [&](const char* t) { w.insert(w.end(), t, t + 4); };
    tag("RIFF");
    u32(36 + ms);
    tag("WAVE");
    tag("fmt ");
    u32(16);
    u16(1);     // PCM
    u16(1);     // mono
    u32(1000);  // samples a second
    u32(1000);  // bytes a second
    u16(1);
    u16(8);
    tag("data");
    u32(ms);
    w.insert(w.end(), ms, fill);
    return w;
}

class QvWaveTest : public test::HeadlessTest {
protected:
    void SetUp() override {
        auto sink = std::make_unique<ui::RecordingAudio>();
        audio = sink.get();
        ui::SetAudio(std::move(sink));
        dir = test::ScratchDir("qvwave");
        // Compressed members: the pack decodes them while opening, which is when the
        // test looks at what the player still holds.
        std::vector<std::pair<std::string, std::vector<std::uint8_t>>> members = {
            {"first.wav", Wave(300, 0x11)}, {"second.wav", Wave(200, 0x22)}, {"empty.wav", {}}};
        const std::string packPath = (dir / "sounds.pak").string();
        TQvPack writer;
        writer.SetReadOnly(false);
        ASSERT_TRUE(writer.NewPack(packPath.c_str()));
        for (const auto& [name, bytes] : members) {
            const std::string src = test::WriteTemp(dir, name, bytes);
            ASSERT_TRUE(writer.AddFile(name.c_str(), src.c_str(), !bytes.empty())) << name;
        }
        ASSERT_TRUE(writer.EndPack());
        ASSERT_TRUE(pack.OpenPack(packPath));
    }
    void TearDown() override { ui::SetAudio(nullptr); }

    std::vector<std::string> What() {
        std::vector<std::string> out;
        for (const ui::AudioRecord& r : audio->Records())
            out.push_back(r.what + (r.detail.empty() ? "" : " " + r.detail));
        return out;
    }

    ui::RecordingAudio* audio = nullptr;
    std::filesystem::path dir;
    TQvPack pack;
};

TEST_F(QvWaveTest, SecondAsyncPlayStopsAndFreesTheFirstBeforeReading) {
    TQvWave wave;
    wave.SetSyncMode(smASync);
    wave.Play(&pack, "first.wav");
    EXPECT_TRUE(wave.HoldsBuffer());
    EXPECT_TRUE(ui::IsWavePlaying());

    int looks = 0;
    pack.OnProgress = [&](TQvPack*) {
        // While the second member is being read, the first is silent and gone.
        ++looks;
        EXPECT_FALSE(wave.HoldsBuffer());
        EXPECT_FALSE(audio->WavePlaying());
    };
    wave.Play(&pack, "second.wav");
    EXPECT_GT(looks, 0);
    EXPECT_TRUE(wave.HoldsBuffer());
    EXPECT_EQ(What(), (std::vector<std::string>{"wave.play async 300ms", "wave.stop",
                                                "wave.play async 200ms"}));

    wave.Stop();
    EXPECT_FALSE(wave.HoldsBuffer());
    EXPECT_FALSE(ui::IsWavePlaying());
}

TEST_F(QvWaveTest, SyncPlayReturnsAtTheEndAndKeepsNoBuffer) {
    TQvWave wave;
    EXPECT_EQ(wave.SyncMode(), smSync);
    const std::uint32_t before = headless.Now();
    wave.Play(&pack, "first.wav");
    EXPECT_EQ(headless.Now() - before, 300u);
    EXPECT_FALSE(wave.HoldsBuffer());
    EXPECT_EQ(What(), (std::vector<std::string>{"wave.play sync 300ms", "wave.end"}));
}

TEST_F(QvWaveTest, StopWhenIdleIsHarmless) {
    TQvWave wave;
    wave.Stop();
    wave.Stop();
    EXPECT_FALSE(wave.HoldsBuffer());
    EXPECT_TRUE(What().empty());
}

TEST_F(QvWaveTest, WhatCannotBeReadPlaysNothing) {
    TQvWave wave;
    wave.SetSyncMode(smASync);
    wave.Play(&pack, "missing.wav");
    wave.Play(&pack, "empty.wav");
    wave.Play(nullptr, "first.wav");
    TQvPack closed;
    wave.Play(&closed, "first.wav");
    wave.Play((dir / "missing.wav").string());
    // A folder opens as a file does; it is no sound, whatever its "length".
    wave.Play(dir.string());
    wave.Play(".");
    EXPECT_FALSE(wave.HoldsBuffer());
    EXPECT_TRUE(What().empty());

    // A play that finds nothing still stops the sound before it.
    wave.Play(&pack, "first.wav");
    wave.Play(&pack, "missing.wav");
    EXPECT_FALSE(wave.HoldsBuffer());
    EXPECT_EQ(What(), (std::vector<std::string>{"wave.play async 300ms", "wave.stop"}));
}

TEST_F(QvWaveTest, FilesPlayLikeMembers) {
    const std::string path = test::WriteTemp(dir, "loose.wav", Wave(120, 0x33));
    TQvWave wave;
    wave.SetSyncMode(smASync);
    wave.Play(path);
    EXPECT_TRUE(wave.HoldsBuffer());
    wave.SetSyncMode(smSync);
    wave.Play(path);
    EXPECT_FALSE(wave.HoldsBuffer());
    // A file that is no wave is refused by the voice and not kept.
    const std::string junk = test::WriteTemp(dir, "junk.wav", {1, 2, 3, 4, 5});
    wave.SetSyncMode(smASync);
    wave.Play(junk);
    EXPECT_FALSE(wave.HoldsBuffer());
    EXPECT_EQ(What(),
              (std::vector<std::string>{"wave.play async 120ms", "wave.stop",
                                        "wave.play sync 120ms", "wave.end", "wave.bad 5 bytes"}));
}

TEST_F(QvWaveTest, SyncModeTakesOnlyItsTwoValuesAndAliasesAreAccepted) {
    TQvWave wave;
    wave.SetSyncMode(smASync);
    wave.SetSyncMode(2);
    EXPECT_EQ(wave.SyncMode(), smASync);
    wave.SetSyncMode(-1);
    EXPECT_EQ(wave.SyncMode(), smASync);
    wave.SetSyncMode(smSync);
    EXPECT_EQ(wave.SyncMode(), smSync);

    // No system sounds here: accepted, silent, and the held sound is stopped first.
    wave.SetSyncMode(smASync);
    wave.Play(&pack, "second.wav");
    EXPECT_TRUE(wave.PlayAsterisk());
    EXPECT_FALSE(wave.HoldsBuffer());
    EXPECT_TRUE(wave.PlayExclamation());
    EXPECT_TRUE(wave.PlayHand());
    EXPECT_TRUE(wave.PlayQuestion());
    EXPECT_TRUE(wave.PlayDef("SystemStart"));
    EXPECT_EQ(What(), (std::vector<std::string>{"wave.play async 200ms", "wave.stop"}));
}

TEST_F(QvWaveTest, DestructorStopsTheSound) {
    {
        TQvWave wave;
        wave.SetSyncMode(smASync);
        wave.Play(&pack, "first.wav");
    }
    EXPECT_FALSE(ui::IsWavePlaying());
    EXPECT_EQ(What(), (std::vector<std::string>{"wave.play async 300ms", "wave.stop"}));
}

}  // namespace
