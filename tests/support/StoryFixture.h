#pragma once
#include <map>
#include <string>

#include "platform/Files.h"
#include "platform/Transcript.h"
#include "tests/support/HeadlessApp.h"
#include "town/EvControler.h"
#include "town/Evsrvfm.h"
#include "town/Mdpform.h"
#include "town/Srcdbtxtform21.h"

namespace test {

// A test of story events: a fresh headless application with the game-flow controller
// (and so the event server and the message window with its faces), the music form and
// the transcript of what the player saw.
class StoryFixture : public HeadlessTest {
protected:
    void SetUp() override {
        ui::SetProgramFolder(LUMIA_TEST_GAMEDATA);
        GameFlow = new TEvControler();
        ev = EventServerDbg;
        DbTxtForm2->m_FaceFolder = "\\col24b\\palFace";
        DbTxtForm2->LoadFaces();
        MdpFm->OpenCdAudio();
    }
    void TearDown() override {
        delete GameFlow;
        GameFlow = nullptr;
    }
    // Lines shown per speaker ("" for a line without a tag).
    std::map<std::string, int> Speakers() {
        std::map<std::string, int> out;
        for (const std::string& s : transcript->Texts("speaker"))
            ++out[s.substr(0, s.rfind(" face "))];
        return out;
    }
    int Lines() { return static_cast<int>(transcript->Texts("line").size()); }

    TEventServerDbg* ev = nullptr;
    ui::ScopedTranscript transcript;
};

}  // namespace test
