#include "tests/support/StoryFixture.h"

#include "platform/Files.h"
#include "shop/GameState.h"
#include "story/Dialogue.h"
#include "town/EvControler.h"
#include "town/Mdpform.h"
#include "town/SoundTables.h"
#include "town/Srcdbtxtform21.h"

namespace test {

void StoryTest::SetUp() {
    ui::SetProgramFolder(LUMIA_TEST_GAMEDATA);
    InitGameState();
    GameFlow = new TEvControler();
    ev = EventServerDbg;
    DbTxtForm2->m_FaceFolder = "\\col24b\\palFace";
    DbTxtForm2->LoadFaces();
    MdpFm->OpenCdAudio();
    Fresh(0, 10, 10);
}

void StoryTest::TearDown() {
    delete GameFlow;
    GameFlow = nullptr;
}

void StoryTest::Fresh(int day, int hour, int place) {
    NewGame(day, hour, place);
    story::ResetPlays();
}

void StoryTest::NewGame(int day, int hour, int place) {
    ev->NewGameReset();
    ev->ConditionOverride = 0;
    SetGameDay(day);
    SetGameHour(hour);
    GameFlow->Place = place;
    transcript->Clear();
}

bool StoryTest::Forced(bool (*event)()) {
    ev->ConditionOverride = 1;
    const bool ran = event();
    ev->ConditionOverride = 0;
    return ran;
}

StoryTest::Counts StoryTest::Speakers() {
    Counts out;
    for (const std::string& s : transcript->Texts("speaker")) ++out[s.substr(0, s.rfind(" face "))];
    return out;
}

int StoryTest::Lines() { return static_cast<int>(transcript->Texts("line").size()); }

std::vector<int> StoryTest::Numbers(const char* kind) {
    std::vector<int> out;
    for (const std::string& s : transcript->Texts(kind)) out.push_back(std::atoi(s.c_str()));
    return out;
}

std::vector<int> StoryTest::Voices() {
    std::vector<int> out;
    for (const std::string& member : transcript->Texts("voice"))
        for (int v = kFirstVoice; v <= kLastVoice; ++v)
            if (member == VoiceNames[v - kFirstVoice].data()) out.push_back(v);
    return out;
}

std::vector<int> StoryTest::Music() {
    std::vector<int> out;
    for (const std::string& s : transcript->Texts("music"))
        if (s.rfind("track ", 0) == 0) out.push_back(std::atoi(s.c_str() + 6));
    return out;
}

std::vector<std::string> StoryTest::Played() {
    std::vector<std::string> out;
    for (const story::Scene& s : story::Scenes()) {
        if (s.plays == 0) continue;
        const std::string name = s.key.substr(0, s.key.find(':'));
        if (name.rfind("Ev", 0) != 0) continue;
        if (out.empty() || out.back() != name) out.push_back(name);
    }
    return out;
}

void StoryTest::ExpectAllPlayed(const std::string& file) {
    for (const std::string& fault : story::Unaccounted(file)) ADD_FAILURE() << fault;
}

}  // namespace test
