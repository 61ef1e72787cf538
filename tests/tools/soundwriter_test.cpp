// The sounds mkgamedata writes: music tracks that SDL2_mixer decodes whole, a distinct
// sound per effect and a voice pitch that follows the voice number.
#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "media/Qvpack.h"
#include "platform/Audio.h"
#include "platform/Files.h"

namespace fs = std::filesystem;

namespace {

const fs::path kRoot = LUMIA_TEST_GAMEDATA;

std::vector<std::uint8_t> Bytes(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(SoundWriter, TheEnginesTracksAreThereAndDiffer) {
    std::set<std::vector<std::uint8_t>> seen;
    for (int track = 10; track <= 15; ++track) {
        const fs::path p = kRoot / "music" / ("track" + std::to_string(track) + ".flac");
        ASSERT_TRUE(fs::is_regular_file(p)) << p;
        const std::int64_t ms = ui::SoundFileLengthMs(p.string());
        EXPECT_GE(ms, 3000) << track;  // a short loop, but a tune
        EXPECT_LE(ms, 10000) << track;
        EXPECT_TRUE(seen.insert(Bytes(p)).second) << track;
    }
}

// Every track the game plays is in the folder, each a tune of its own: the engine's
// (2 the album, 10 the town, 11 the land, 12..15 the shop by season, 18 the title) and
// the story's (3 to 9, 16 the ball, 17 the good endings, 19 to 23), so no scene that
// starts music plays in silence.
TEST(SoundWriter, EveryTrackTheGamePlaysIsThere) {
    std::set<std::vector<std::uint8_t>> seen;
    for (int track = 2; track <= 23; ++track) {
        char name[32];
        std::snprintf(name, sizeof name, "track%02d.flac", track);
        const fs::path p = kRoot / "music" / name;
        ASSERT_TRUE(fs::is_regular_file(p)) << p;
        EXPECT_GE(ui::SoundFileLengthMs(p.string()), 3000) << track;
        EXPECT_TRUE(seen.insert(Bytes(p)).second) << track;
    }
}

// SDL2_mixer, on the dummy driver, decodes every track to its end.
TEST(SoundWriter, EveryTrackDecodesWhole) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    ASSERT_EQ(SDL_Init(SDL_INIT_AUDIO), 0) << SDL_GetError();
    Mix_Init(MIX_INIT_FLAC);
    if (Mix_OpenAudio(22050, AUDIO_S16SYS, 1, 1024) != 0) {
        SDL_Quit();
        GTEST_SKIP() << "no audio device: " << Mix_GetError();
    }
    int tracks = 0;
    for (const auto& entry : fs::directory_iterator(kRoot / "music")) {
        const std::string path = entry.path().string();
        Mix_Chunk* chunk = Mix_LoadWAV(path.c_str());
        ASSERT_NE(chunk, nullptr) << path << ": " << Mix_GetError();
        const std::int64_t samples = chunk->alen / 2;
        const std::int64_t expected = ui::SoundFileLengthMs(path) * 22050 / 1000;
        EXPECT_NEAR(static_cast<double>(samples), static_cast<double>(expected), 22050 / 100.0)
            << path;
        const auto* pcm = reinterpret_cast<const std::int16_t*>(chunk->abuf);
        std::int64_t loud = 0;
        for (std::int64_t i = 0; i < samples; ++i) loud += pcm[i] > 3000 || pcm[i] < -3000;
        EXPECT_GT(loud, samples / 10) << path << " is all but silent";
        Mix_FreeChunk(chunk);
        ++tracks;
    }
    EXPECT_GE(tracks, 6);
    Mix_CloseAudio();
    Mix_Quit();
    SDL_Quit();
}

TEST(SoundWriter, EachEffectFileSoundsItsOwn) {
    TQvPack pack;
    ASSERT_TRUE(pack.OpenPack((kRoot / "wave" / "se" / "sepack.pak").string()));
    std::set<std::vector<std::uint8_t>> sounds;
    const int members = pack.GetFileNum();
    EXPECT_EQ(members, 82);  // 85 numbers; 24, 16 and 20 share the file of 1, 8 and 19
    for (int i = 0; i < members; ++i) {
        ASSERT_TRUE(pack.OpenFile(pack.GetFileName(i)));
        const std::vector<std::uint8_t> bytes = pack.Stream->Bytes();
        EXPECT_GT(ui::WaveLengthMs(bytes), 50) << pack.GetFileName(i);
        sounds.insert(bytes);
    }
    EXPECT_EQ(static_cast<int>(sounds.size()), members);
}

// Zero crossings of a 16-bit mono wave's samples (after its 44-byte header).
int Crossings(const std::vector<std::uint8_t>& wave) {
    int n = 0;
    std::int16_t last = 0;
    for (std::size_t i = 44; i + 1 < wave.size(); i += 2) {
        const auto s = static_cast<std::int16_t>(wave[i] | wave[i + 1] << 8);
        n += (last < 0 && s >= 0) || (last >= 0 && s < 0);
        last = s;
    }
    return n;
}

TEST(SoundWriter, AVoiceSoundsHigherTheHigherItsNumber) {
    TQvPack pack;
    std::vector<int> crossings;
    for (const auto& [file, member] :
         {std::pair{"evpm01.pak", "evfm01001.wav"}, std::pair{"evom06.pak", "evom06001.wav"},
          std::pair{"evrm05.pak", "evrm05047.wav"}}) {
        ASSERT_TRUE(pack.OpenPack((kRoot / "wave" / "Intm" / file).string())) << file;
        ASSERT_TRUE(pack.OpenFile(member)) << member;
        crossings.push_back(Crossings(pack.Stream->Bytes()));
    }
    EXPECT_LT(crossings[0], crossings[1]);
    EXPECT_LT(crossings[1], crossings[2]);
}

}  // namespace
