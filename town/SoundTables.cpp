#include "town/SoundTables.h"

const std::array<const char*, kSoundEffectCount> SoundNames = {
    "seBell.wav",   "seRun.wav",    "seDoor.wav",   "seDrNck.wav",  "seOwl.wav",     // 0
    "seMagic.wav",  "seFlash.wav",  "seBgFll.wav",  "seSomMv.wav",  "seBird.wav",    // 5
    "seWind.wav",   "seShock.wav",  "seSuzume.wav", "seMsnFl.wav",  "seCheer0.wav",  // 10
    "seCheer1.wav", "seSomMv.wav",  "seTumbl.wav",  "seCheer2.wav", "seChurch.wav",  // 15
    "seChurch.wav", "seFire.wav",   "seString.wav", "seFestiv.wav", "seRun.wav",     // 20
    "seJewel.wav",  "seWind2.wav",  "seExpl0.wav",  "seExpl1.wav",  "seThundr.wav",  // 25
    "seWater.wav",  "seSuzumu.wav", "seLetter.wav", "seminWav.wav", "seDayEnd.wav",  // 30
    "seGetItm.wav", "seMixSt.wav",  "seMixEd.wav",  "seWelcom.wav", "seThanks.wav",  // 35
    "Sysvoc00.wav", "Syspar01.wav", "Syspar02.wav", "Syspar03.wav", "Syspar04.wav",  // 40
    "Syspar05.wav", "Syspar06.wav", "Syspar07.wav", "Syspar08.wav", "Syspar09.wav",  // 45
    "Syspar10.wav", "Syspar11.wav", "Syspar12.wav", "Syspar13.wav", "Syspar14.wav",  // 50
    "Syspar15.wav", "Syspar16.wav", "Syspar17.wav", "Syspar18.wav", "Syspar19.wav",  // 55
    "Syspar20.wav", "Syspar21.wav", "Syspar22.wav", "Syspar23.wav", "Syspar24.wav",  // 60
    "Syspar25.wav", "Syssak01.wav", "Syssak02.wav", "Syssak03.wav", "Syssak04.wav",  // 65
    "Syssak05.wav", "Syssak06.wav", "seCoin.wav",   "seFun.wav",    "seRiver.wav",   // 70
    "seMount.wav",  "seWtStn.wav",  "seCrash.wav",  "seSparkl.wav", "Sysvoc01.wav",  // 75
    "Sysvoc02.wav", "Sysvoc03.wav", "Sysvoc04.wav", "Sysvoc05.wav", "Sysvoc06.wav",  // 80
};

const std::array<const char*, kVoicePackCount> VoicePackNames = {
    "evpm01",  "evfm02", "evfm03",  "evfm04",  "evfm05",  "evfm06", "evfm07", "evfm08",
    "evfm09",  "evfm11", "evfm12",  "evfm13",  "evend03", "evpm01", "evpm02", "evpm04",
    "evpm07",  "evpm08", "evend01", "evend02", "evend04", "evom01", "evom03", "evom04",
    "evom05",  "evom06", "evom07",  "evom08",  "evom10",  "evom11", "evom12", "evom14",
    "evend05", "evrm01", "evrm02",  "evrm03",  "evrm04",  "evrm07", "evrm08", "evrm09",
    "evcm01",  "evcm02", "evend06", "evcm03",  "evcm04",  "evrm05",
};

const std::array<std::int32_t, kVoicePackCount + 1> VoicePackStarts = {
    100, 113, 133,  151,  159,  173,  194,  201,  215,  234,  248,           287,
    314, 326, 340,  346,  358,  360,  424,  436,  448,  459,  485,           502,
    537, 569, 572,  590,  680,  701,  757,  881,  898,  910,  920,           942,
    962, 998, 1009, 1028, 1086, 1101, 1132, 1146, 1168, 1215, kVoicePackEnd,
};

namespace {

// Every voice file is named after its pack and its place in the pack's range
// ("evrm05047.wav"); the first range of evpm01 holds the evfm01 lines.
constexpr std::array<std::array<char, kVoiceNameLen>, kVoiceCount> MakeVoiceNames(
    const std::array<const char*, kVoicePackCount>& packs,
    const std::array<std::int32_t, kVoicePackCount + 1>& starts) {
    std::array<std::array<char, kVoiceNameLen>, kVoiceCount> names{};
    int p = 0;
    for (int v = kFirstVoice; v <= kLastVoice; ++v) {
        while (v >= starts[p + 1]) ++p;
        const char* prefix = p == 0 ? "evfm01" : packs[p];
        std::array<char, kVoiceNameLen>& name = names[v - kFirstVoice];
        int k = 0;
        for (; prefix[k] != '\0'; ++k) name[k] = prefix[k];
        const int index = v - starts[p] + 1;
        name[k++] = static_cast<char>('0' + index / 100 % 10);
        name[k++] = static_cast<char>('0' + index / 10 % 10);
        name[k++] = static_cast<char>('0' + index % 10);
        for (const char c : {'.', 'w', 'a', 'v'}) name[k++] = c;
    }
    return names;
}

}  // namespace

const std::array<std::array<char, kVoiceNameLen>, kVoiceCount> VoiceNames =
    MakeVoiceNames(VoicePackNames, VoicePackStarts);

int VoicePackOf(int n) {
    if (n < kFirstVoice || n > kLastVoice) return -1;
    for (int p = 0; p < kVoicePackCount; ++p)
        if (VoicePackStarts[p] <= n && n < VoicePackStarts[p + 1]) return p;
    return -1;
}

int VoicePackStartingAt(int n) {
    for (int p = 0; p < kVoicePackCount; ++p)
        if (VoicePackStarts[p] == n) return p;
    return -1;
}

bool LocateSound(int n, SoundLocation& out) {
    if (n >= 0 && n < kSoundEffectCount) {
        out.pack = "wave\\se\\sepack.pak";
        out.member = SoundNames[n];
        return true;
    }
    const int p = VoicePackOf(n);
    if (p < 0) return false;
    out.pack = std::string("wave\\Intm\\") + VoicePackNames[p] + ".pak";
    out.member = VoiceNames[n - kFirstVoice].data();
    return true;
}
