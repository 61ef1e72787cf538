#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "media/Qvpack.h"
#include "platform/Audio.h"
#include "platform/Big5.h"
#include "platform/Files.h"
#include "platform/Timer.h"
#include "platform/Transcript.h"
#include "platform/headless/HeadlessAudio.h"
#include "shop/Shop.h"
#include "tests/support/HeadlessApp.h"
#include "town/Eventf.h"
#include "town/Logoavi.h"

namespace {

class OpeningEndingTest : public test::HeadlessTest {
protected:
    void SetUp() override {
        saved_ = ui::ProgramFolder();
        ui::SetProgramFolder(LUMIA_TEST_GAMEDATA);
        ui::SetAudio(std::make_unique<ui::RecordingAudio>());
        ui::InstallTranscript(&transcript_);
        shop_ = std::make_unique<TShopForm>();
        transcript_.Clear();  // what the shop window records of itself
    }
    void TearDown() override {
        shop_.reset();
        delete EventForm;
        delete aviForm1;
        ui::InstallTranscript(nullptr);
        ui::SetAudio(nullptr);
        ui::SetProgramFolder(saved_);
        LyricEndingFlag = 0;
    }
    std::vector<std::string> Kinds() {
        std::vector<std::string> out;
        for (const ui::TranscriptEntry& e : transcript_.Entries())
            if ((e.kind == "movie" || e.kind == "sequence") &&
                (out.empty() || out.back() != e.kind))
                out.push_back(e.kind);
        return out;
    }

    // A click on the player at `ms` of virtual time: the scripts arm SKIP, so it ends
    // the sequence there (the tests need not sit through every picture).
    void ClickAt(std::uint32_t ms) {
        click_.SetInterval(ms);
        click_.OnTimer = [this] {
            click_.SetEnabled(false);
            ui::InputEvent down;
            down.type = ui::InputType::MouseDown;
            down.x = 320;
            down.y = 240;
            headless.App().QueueInput(down);
            ui::InputEvent up = down;
            up.type = ui::InputType::MouseUp;
            headless.App().QueueInput(up);
        };
    }

    ui::Timer click_;
    std::string saved_;
    ui::Transcript transcript_;
    std::unique_ptr<TShopForm> shop_;
};

TEST_F(OpeningEndingTest, NumbersOutOfRangeDoNothingAtAll) {
    const std::uint32_t start = headless.Now();
    for (int n : {7, 0, -1}) shop_->PlayOpening(n);
    for (int n : {6, 0, -3}) shop_->PlayEnding(n);
    EXPECT_TRUE(transcript_.Entries().empty());
    EXPECT_EQ(EventForm, nullptr);
    EXPECT_EQ(aviForm1, nullptr);
    EXPECT_EQ(LyricEndingFlag, 0);
    EXPECT_EQ(headless.Now(), start);
}

TEST_F(OpeningEndingTest, AMissingPackSkipsTheSequenceAfterTheLogoMovie) {
    ui::SetProgramFolder(test::ScratchDir("opedselect"));
    std::vector<std::string> boxes;
    headless.Backend().SetMessageBoxResponder([&](const ui::MessageBoxRequest& r) {
        boxes.push_back(ui::Big5ToUtf8(r.text));
        return ui::IDOK;
    });
    shop_->PlayOpening(1);
    EXPECT_TRUE(boxes.empty());  // skipped without a word
    EXPECT_EQ(transcript_.Texts("movie"), (std::vector<std::string>{"missing \\mivuto_s.avi"}));
    EXPECT_EQ(transcript_.Texts("sequence"), (std::vector<std::string>{"no OpEd.Pak"}));
    EXPECT_TRUE(transcript_.Texts("picture").empty());
    shop_->PlayEnding(2);
    EXPECT_EQ(transcript_.Texts("movie").size(), 1u);
    EXPECT_EQ(LyricEndingFlag, 1);
}

TEST_F(OpeningEndingTest, OpeningPlaysTheLogoMovieThenItsScriptWithTheSong) {
    ClickAt(6000);  // the movie takes 3 s, the script is under way by then
    const std::uint32_t start = headless.Now();
    shop_->PlayOpening(3);
    EXPECT_LT(headless.Now() - start, 6100u);
    const std::vector<std::string> seq = transcript_.Texts("sequence");
    ASSERT_EQ(seq, (std::vector<std::string>{"Op3.scr"}));
    const std::vector<std::string> kinds = Kinds();
    ASSERT_EQ(kinds.size(), 2u);
    EXPECT_EQ(kinds[0], "movie");
    EXPECT_EQ(kinds[1], "sequence");
    EXPECT_EQ(transcript_.Texts("music"), (std::vector<std::string>{"QDVOP_S.wav"}));
    const std::vector<std::string> pictures = transcript_.Texts("picture");
    ASSERT_FALSE(pictures.empty());
    EXPECT_EQ(pictures.front().rfind("OpTitle", 0), 0u);
    EXPECT_FALSE(EventForm->IsOpen());
    EXPECT_FALSE(EventForm->Visible());
    EXPECT_FALSE(ui::music::IsPlaying());
}

TEST_F(OpeningEndingTest, EveryScriptOfTheGeneratedPackRunsToItsEnd) {
    // Tick by tick, without the screen: every tag is one the player knows, every
    // picture and sub-script is in the pack, and each script ends by itself.
    TQvPack pack;
    ASSERT_TRUE(pack.OpenPack("OpEd.Pak"));
    TEventForm player;
    player.TraceOn = true;
    std::vector<std::string> scripts;
    for (int n = 1; n <= 6; ++n) scripts.push_back("Op" + std::to_string(n) + ".scr");
    for (int n = 1; n <= 5; ++n) scripts.push_back("Ed" + std::to_string(n) + ".scr");
    for (const std::string& script : scripts) {
        transcript_.Clear();
        player.Open(&pack);
        ASSERT_TRUE(player.RunFile(script)) << script;
        int ticks = 1;
        while (player.State() != 0 && ticks < 20000) {
            player.Tick();
            ++ticks;
            EXPECT_EQ(player.Caption().find("TagErr"), std::string::npos) << script;
        }
        EXPECT_EQ(player.State(), 0) << script;
        // Between 10 s and 2 min of ticks.
        EXPECT_GT(ticks, 500) << script;
        EXPECT_LT(ticks, 6000) << script;
        EXPECT_GE(transcript_.Texts("picture").size(), 6u) << script;
        EXPECT_GE(transcript_.Texts("sound").size(), 5u) << script;
        EXPECT_EQ(transcript_.Texts("music").size(), 1u) << script;
        player.Close();
    }
}

TEST_F(OpeningEndingTest, TheLastCardOfAnEndingHoldsUntilReadOrClicked) {
    // Once its transition is done, the credits card with "完" stays four seconds at
    // least (200 ticks of 20 ms) before the script ends; a click ends it at once.
    TQvPack pack;
    ASSERT_TRUE(pack.OpenPack("OpEd.Pak"));
    TEventForm player;
    for (int n = 1; n <= 5; ++n) {
        const std::string script = "Ed" + std::to_string(n) + ".scr";
        for (const bool click :
             n == 5 ? std::vector<bool>{false, true} : std::vector<bool>{false}) {
            transcript_.Clear();
            player.Open(&pack);
            ASSERT_TRUE(player.RunFile(script)) << script;
            int held = -1;  // ticks with the last card fully shown
            for (int ticks = 0; player.State() != 0 && ticks < 20000; ++ticks) {
                const std::vector<std::string> pictures = transcript_.Texts("picture");
                const bool last = !pictures.empty() && pictures.back().rfind("Credits", 0) == 0;
                if (last && player.State() == 1) {
                    ++held;
                    if (click && held == 10) player.EventImageMouseDown(ui::MouseButton::mbLeft, 0);
                }
                player.Tick();
            }
            EXPECT_EQ(player.State(), 0) << script;
            if (click)
                EXPECT_EQ(held, 10) << script;
            else
                EXPECT_GE(held, 200) << script;
            player.Close();
        }
    }
}

TEST_F(OpeningEndingTest, EndingPlaysItsScriptWithTheEndingSongAndNoMovie) {
    ClickAt(2500);
    shop_->PlayEnding(4);
    EXPECT_TRUE(transcript_.Texts("movie").empty());
    EXPECT_EQ(transcript_.Texts("sequence"), (std::vector<std::string>{"Ed4.scr"}));
    EXPECT_EQ(transcript_.Texts("music"), (std::vector<std::string>{"QDVOP_L.wav"}));
    EXPECT_EQ(LyricEndingFlag, 1);
}

}  // namespace
