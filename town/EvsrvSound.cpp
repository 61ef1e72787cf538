// The event server's sound and music primitives: sound numbers become pack members
// played by the music form's wave player, track numbers go to its CD device.
#include "media/FileFaults.h"
#include "media/Qvpack.h"
#include "platform/Transcript.h"
#include "story/Register.h"
#include "town/EvControler.h"
#include "town/Evsrvfm.h"
#include "town/Mdpform.h"
#include "town/SoundTables.h"

namespace {

// Track numbers of the engine's own music.
constexpr int kSeasonTracks[4] = {track::ShopWinter, track::ShopSpring, track::ShopSummer,
                                  track::ShopAutumn};  // by season, winter first

// The reader the sound packs are opened with; the music form closes each pack once
// its member has been read.
TQvPack& SoundPackReader() {
    static TQvPack pack;
    return pack;
}

bool IsShopRoom(int place) {
    return place == place::ShopInside || place == place::MixingRoom || place == place::HomeRooms;
}

void PlaySoundNumber(int n, bool sync) {
    SoundLocation where;
    if (!LocateSound(n, where)) return;
    // A voice pack is opened where it lies: the game folder, else the disc folder.
    if (n >= kFirstVoice) {
        const std::string found = TEventServerDbg::FindVoicePack(VoicePackNames[VoicePackOf(n)]);
        if (!found.empty()) where.pack = found;
    }
    TQvPack& pack = SoundPackReader();
    // A pack or sound that is not there plays nothing and the player is not told; a pack
    // that is there but does not open is named.
    if (!pack.OpenPack(where.pack)) {
        NoteFileFault(where.pack);
        return;
    }
    if (TEventServerDbg::Hooks.CheckMemo) TEventServerDbg::Hooks.CheckMemo(where.member);
    if (pack.CheckFileName(where.member.c_str()) >= 0)
        ui::Record(n < kFirstVoice ? "sound" : "voice", where.member);
    else
        NoteFileFault(where.pack, where.member, false);
    if (!MdpFm) {
        pack.ClosePack();
        return;
    }
    if (sync)
        MdpFm->PlayWaveSync(where.member, &pack);
    else
        MdpFm->PlayWaveAsync(where.member, &pack);
}

}  // namespace

void TEventServerDbg::PlaySound(int n) { PlaySoundNumber(n, false); }

void TEventServerDbg::PlaySoundSync(int n) { PlaySoundNumber(n, true); }

void TEventServerDbg::PlayMusic(int track, bool loop) {
    if (!MdpFm) return;
    if (loop)
        MdpFm->PlayTrackLoop(track);
    else
        MdpFm->PlayTrackOnce(track);
}

void TEventServerDbg::StopMusic() {
    if (MdpFm) MdpFm->StopTrack();
}

void TEventServerDbg::PlayPlaceMusic() {
    const int place = GameFlow ? GameFlow->Place : place::ShopInside;
    if (IsShopRoom(place))
        PlaySeasonMusic();
    else if (place >= place::LandTown)
        PlayMusic(track::LandMusic, true);
    else
        PlayMusic(track::TownMusic, true);
}

void TEventServerDbg::PlaySeasonMusic() {
    int season = 0;
    int month = 0;
    GetSeason(season, month);
    PlayMusic(kSeasonTracks[season], true);
}
