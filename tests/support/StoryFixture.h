#pragma once
// The fixture the story's tests share: the real event server on the headless
// application with the game folder's faces, pictures and music, a transcript of what
// a player saw and heard, and what an event's expectations read from it.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "platform/Transcript.h"
#include "tests/support/EventResponders.h"
#include "tests/support/HeadlessApp.h"
#include "town/Evsrvfm.h"

namespace test {

class StoryTest : public HeadlessTest {
public:
    using Counts = std::map<std::string, int>;

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
