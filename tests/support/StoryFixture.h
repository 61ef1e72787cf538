#pragma once
// The fixture the story's tests share: the real event server on the headless
// application with the game folder's faces, pictures and music, a transcript of what
// a player saw and heard, and what an event's expectations read from it.
#include <gtest/gtest.h>

#include <deque>
#include <initializer_list>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/Transcript.h"
#include "story/Register.h"
#include "tests/support/EventResponders.h"
#include "tests/support/HeadlessApp.h"
#include "town/Evsrvfm.h"

namespace test {

// Lines per speaker ("" for a line without a tag). A key "A+B" counts the lines of A
// and B together, where what is known of a scene does not split them.
using Counts = std::map<std::string, int>;
// Numbers by index: an event variable, a day mark or an item, and its value.
using Values = std::vector<std::pair<int, int>>;

// Voice numbers first..last, in order.
std::vector<int> Span(int first, int last);
// Voice ranges one after the other.
std::vector<int> Join(std::initializer_list<std::vector<int>> parts);

// One event played from a state, and what it must leave. Rows name their fields
// ({.name = "...", .event = EvMove009, .day = 145, ...}); what a row leaves out is
// the default, and an expectation left out is "nothing changed" unless it says
// "checked only where given".
struct EventCase {
    const char* name = "";
    bool (*event)() = nullptr;

    // The state before: a new game on `day` at `hour` at `place`, nobody met.
    int day = 0, hour = 10, place = place::ShopInside;
    int level = 0;                // the shop's level; 0 leaves the new game's
    std::vector<int> flags = {};  // set
    Values vars = {};             // event variable := value
    Values marks = {};            // day mark := day
    Values items = {};            // item := stock
    // The generator's draws, as SeedFor takes them; when the event passes no hour it
    // must take exactly these.
    std::vector<int> draws = {};
    std::deque<int> answers = {};
    bool forced = false;          // every condition held (the debug window's override)
    void (*prepare)() = nullptr;  // whatever else the state needs, last

    // What it leaves.
    Counts speakers = {};
    std::vector<int> voices = {};   // in order
    int voiceRecords = -1;          // the voices played where only their number is known
    std::vector<int> changed = {};  // flags changed, ascending, the persistent ones aside
    Values varsAfter = {};          // variables changed, with their values
    Values marksAfter = {};         // day marks changed, with their values
    Values itemsAfter = {};         // items whose stock is this (any other keeps its own)
    std::vector<int> learns = {};   // recipes not known before and known after
    std::optional<int> money = {}, reputation = {};  // changes, checked only where given
    int hours = 0;                                   // the hours passed
    int placeAfter = -1;                             // -1: where it started
};

class StoryTest : public HeadlessTest {
public:
    using Counts = test::Counts;

protected:
    void SetUp() override;
    void TearDown() override;

    // A new game at `place` on `day` at `hour`, with the accounting and the transcript
    // emptied.
    void Fresh(int day, int hour, int place);
    // The same without emptying the accounting, so one test can account for the
    // records of many events.
    void NewGame(int day, int hour, int place);
    // Runs an event with every condition held (the debug window's override; the event's
    // frame clears it again).
    bool Forced(bool (*event)());

    // Plays `c` from its state (the accounting of plays kept) and checks every
    // expectation it gives: the lines shown and read on, every answer taken, and the
    // event over (the override cleared, the controller taking commands).
    void Play(const EventCase& c);
    // The set-up of every story test: the state before of `c` without playing it. A new
    // game (the condition override off) on its day at its hour and place, nobody met
    // there yet (the whereabouts reset), the generator seeded for its draws, the test's
    // Arrange, then its level, flags, variables, day marks, stock and `prepare`; the
    // transcript is emptied and the accounting of plays kept.
    void Stage(const EventCase& c);
    // The same for a new game on `day` at `hour` at `place` with `flags` set.
    void Start(int day, int hour, int place, const std::vector<int>& flags = {});
    // What a test's cases share before their own state is set (the new game is made and
    // the generator seeded for the case's draws).
    virtual void Arrange(const EventCase& c) { (void)c; }

    // The flags set now, the persistent ones (pictures and endings seen) aside.
    std::vector<int> FlagsNow() const;
    // The flags in one of two such lists and not in the other, ascending.
    static std::vector<int> FlagsChanged(const std::vector<int>& before,
                                         const std::vector<int>& after);

    // Lines shown per speaker ("" for a line without a tag).
    Counts Speakers();
    int Lines();
    // The numbers of the transcript records of `kind` ("voice", "face" ...), in order.
    std::vector<int> Numbers(const char* kind);
    // The voice numbers played, in order (read from their pack members' names).
    std::vector<int> Voices();
    // The music tracks started, in order.
    std::vector<int> Music();
    // The events whose scenes played since the last reset, in the order the data holds
    // them ("Ev..." names only: shared scenes are left out).
    std::vector<std::string> Played();
    // Every record of `file` an event has not played, and every scene asked for in vain.
    void ExpectAllPlayed(const std::string& file);

    TEventServerDbg* ev = nullptr;
    ui::ScopedTranscript transcript;
};

}  // namespace test
