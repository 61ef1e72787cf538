#include "tests/support/StoryFixture.h"

#include <algorithm>
#include <iterator>
#include <sstream>

#include "platform/Files.h"
#include "platform/Random.h"
#include "shop/GameState.h"
#include "story/Dialogue.h"
#include "tests/support/RuntimeDraws.h"
#include "town/EvControler.h"
#include "town/Mdpform.h"
#include "town/SoundTables.h"
#include "town/Srcdbtxtform21.h"
#include "town/Whereabouts.h"

namespace test {

std::vector<int> Span(int first, int last) {
    std::vector<int> out;
    for (int v = first; v <= last; ++v) out.push_back(v);
    return out;
}

std::vector<int> Join(std::initializer_list<std::vector<int>> parts) {
    std::vector<int> out;
    for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

namespace {

// The lines per speaker as `want` groups them: a speaker named in a key "A+B" counts
// under that key.
Counts Grouped(const Counts& got, const Counts& want) {
    Counts out;
    for (const auto& [who, n] : got) {
        std::string group = who;
        for (const auto& [key, m] : want) {
            if (key.find('+') == std::string::npos) continue;
            std::stringstream names(key);
            for (std::string name; std::getline(names, name, '+');)
                if (name == who) group = key;
        }
        out[group] += n;
    }
    return out;
}

// `before` with `changes` applied.
template <typename Array>
Array Applied(Array before, const Values& changes) {
    for (auto [k, v] : changes) before[static_cast<std::size_t>(k)] = v;
    return before;
}

std::vector<int> Stock() {
    std::vector<int> out;
    for (int i = 0; i < kItemCount; ++i) out.push_back(ItemStock(i));
    return out;
}

}  // namespace

void StoryTest::Stage(const EventCase& c) {
    NewGame(c.day, c.hour, c.place);
    ClearNpcMet();
    ui::Srand(SeedFor(c.draws));
    Arrange(c);
    if (c.level) SetGameLevel(c.level);
    for (int f : c.flags) ev->SetFlg(f, true);
    for (auto [k, v] : c.vars) ev->EventVariable[static_cast<std::size_t>(k)] = v;
    for (auto [k, day] : c.marks) DayMarks[static_cast<std::size_t>(k)] = day;
    for (auto [item, n] : c.items) SetItemStock(item, n);
    if (c.prepare) c.prepare();
    transcript->Clear();
}

void StoryTest::Start(int day, int hour, int place, const std::vector<int>& flags) {
    Stage(EventCase{.day = day, .hour = hour, .place = place, .flags = flags});
}

void StoryTest::Play(const EventCase& c) {
    SCOPED_TRACE(c.name);
    Stage(c);

    const std::vector<int> flags = FlagsNow();
    const auto vars = ev->EventVariable;
    const auto marks = DayMarks;
    const std::vector<int> stock = Stock();
    const int money = GameMoney(), reputation = GameReputation();
    const int start = GameDay() * 24 + GameHour();
    const std::uint32_t seeded = ui::RandState();
    for (int recipe : c.learns) EXPECT_FALSE(IsItemUnlocked(recipe)) << "recipe " << recipe;

    EventResponders player(headless.Backend());
    player.answers = c.answers;
    ASSERT_TRUE(c.forced ? Forced(c.event) : c.event());

    // Only the conditions draw, but the hours an event passes may draw too.
    if (!c.draws.empty() && c.hours == 0) {
        EXPECT_EQ(DrawsSince(seeded), static_cast<int>(c.draws.size()));
    }
    EXPECT_EQ(Grouped(Speakers(), c.speakers), c.speakers);
    int lines = 0;
    for (const auto& [who, n] : c.speakers) lines += n;
    EXPECT_EQ(Lines(), lines);
    EXPECT_EQ(player.linesAcknowledged, lines);
    EXPECT_EQ(player.choicesAnswered, static_cast<int>(c.answers.size()));
    if (c.voiceRecords >= 0) {
        EXPECT_EQ(static_cast<int>(transcript->Texts("voice").size()), c.voiceRecords);
    } else {
        EXPECT_EQ(Voices(), c.voices);
        EXPECT_EQ(transcript->Texts("voice").size(), c.voices.size());
    }
    EXPECT_EQ(FlagsChanged(flags, FlagsNow()), c.changed);
    EXPECT_EQ(ev->EventVariable, Applied(vars, c.varsAfter));
    EXPECT_EQ(DayMarks, Applied(marks, c.marksAfter));
    const std::vector<int> stockNow = Stock(), stockWanted = Applied(stock, c.itemsAfter);
    for (int i = 0; i < kItemCount; ++i)
        EXPECT_EQ(stockNow[static_cast<std::size_t>(i)], stockWanted[static_cast<std::size_t>(i)])
            << "item " << i;
    for (int recipe : c.learns) EXPECT_TRUE(IsItemUnlocked(recipe)) << "recipe " << recipe;
    if (c.money) {
        EXPECT_EQ(GameMoney() - money, *c.money);
    }
    if (c.reputation) {
        EXPECT_EQ(GameReputation() - reputation, *c.reputation);
    }
    EXPECT_EQ(GameDay() * 24 + GameHour() - start, c.hours);
    EXPECT_EQ(GameFlow->Place, c.placeAfter < 0 ? c.place : c.placeAfter);
    // The event is over: the override is cleared and the controller takes commands.
    EXPECT_EQ(ev->ConditionOverride, 0);
    EXPECT_EQ(ev->m_InEvent, 0);
    EXPECT_TRUE(GameFlow->IsReady());
}

std::vector<int> StoryTest::FlagsNow() const {
    std::vector<int> on;
    for (int f = 1; f < kEventFlagCount; ++f) {
        if (f >= kFirstPersistentFlag && f < kFirstPlaceOpenFlag) continue;
        if (ev->TestFlg(f)) on.push_back(f);
    }
    return on;
}

std::vector<int> StoryTest::FlagsChanged(const std::vector<int>& before,
                                         const std::vector<int>& after) {
    std::vector<int> out;
    std::set_symmetric_difference(before.begin(), before.end(), after.begin(), after.end(),
                                  std::back_inserter(out));
    return out;
}

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
