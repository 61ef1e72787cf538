// The dialogue primitives on the real message and choice windows, and a whole event
// body played headless with its transcript.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "platform/Application.h"
#include "platform/Big5.h"
#include "platform/Files.h"
#include "platform/Transcript.h"
#include "platform/headless/HeadlessAudio.h"
#include "shop/GameState.h"
#include "story/Register.h"
#include "tests/support/EventResponders.h"
#include "tests/support/HeadlessApp.h"
#include "town/EvControler.h"
#include "town/Evsrvfm.h"
#include "town/Mdpform.h"
#include "town/Spbtnfm.h"
#include "town/Srcdbtxtform21.h"

namespace {

using Strings = std::vector<std::string>;

class DialogueTest : public test::HeadlessTest {
protected:
    void SetUp() override {
        ui::SetProgramFolder(LUMIA_TEST_GAMEDATA);
        GameFlow = new TEvControler();
        ev = EventServerDbg;
        EventServerHooks = TEventServerHooks{};
        // The controller made the message window and the music form.
        DbTxtForm2->m_FaceFolder = "\\col24b\\palFace";
        DbTxtForm2->LoadFaces();
        DbTxtForm2->SetBounds(0, 480 - DbTxtForm2->Height(), DbTxtForm2->Width(),
                              DbTxtForm2->Height());
        MdpFm->OpenCdAudio();
        SetGameDay(20);
        SetGameHour(10);
        GameFlow->Place = place::Square;
        transcript->Clear();
    }
    void TearDown() override {
        delete GameFlow;
        GameFlow = nullptr;
    }
    // The transcript's lines without their times.
    Strings Log() {
        Strings out;
        for (const ui::TranscriptEntry& e : transcript->Entries())
            out.push_back(e.kind + " " + e.text);
        return out;
    }

    TEventServerDbg* ev = nullptr;
    ui::ScopedTranscript transcript;
};

TEST_F(DialogueTest, ALineWaitsForTheClickAndCutsTheVoiceOff) {
    test::EventResponders player(headless.Backend(), 30);
    ev->EventBegin();
    ev->PlaySound(100);
    ASSERT_TRUE(ui::IsWavePlaying());
    const std::uint32_t t0 = headless.Now();
    ev->DspMsg(B5("緹菈「你好。"));
    EXPECT_GE(headless.Now() - t0, 30u);
    EXPECT_EQ(player.linesAcknowledged, 1);
    EXPECT_TRUE(DbTxtForm2->TestState(kMsgAcknowledged));
    EXPECT_FALSE(ui::IsWavePlaying());
    Strings audio;
    for (const ui::AudioRecord& r : ui::RecordingAudio::Current()->Records())
        audio.push_back(r.what);
    EXPECT_NE(std::find(audio.begin(), audio.end(), "wave.stop"), audio.end());
    EXPECT_EQ(std::find(audio.begin(), audio.end(), "wave.end"), audio.end());
    ev->EventEnd();
}

TEST_F(DialogueTest, WithoutAMessageWindowALineDoesNotWait) {
    delete DbTxtForm2;
    DbTxtForm2 = nullptr;
    const std::uint32_t t0 = headless.Now();
    ev->DspMsg(B5("緹菈「你好。"));
    EXPECT_EQ(headless.Now(), t0);
    EXPECT_EQ(ev->SelWin2(B5("是"), B5("否")), -1);
}

TEST_F(DialogueTest, ChoicesShowTheirCaptionsAndReturnTheIndexClicked) {
    test::EventResponders player(headless.Backend());
    Strings captions;
    headless.Backend().AddResponder([&] {
        if (!BtnForm || !BtnForm->Visible() || !captions.empty()) return false;
        for (int i = 0; i < BtnForm->Count(); ++i) captions.push_back(BtnForm->CaptionText(i));
        return false;
    });
    DbTxtForm2->Show();
    player.answers = {0};
    EXPECT_EQ(ev->SelWin2("A", "B"), 0);
    EXPECT_EQ(captions, (Strings{"A", "B"}));
    EXPECT_EQ(BtnForm, nullptr);
    EXPECT_TRUE(DbTxtForm2->Visible());
    captions.clear();
    player.answers = {2};
    EXPECT_EQ(ev->SelWin3(B5("一"), B5("二"), B5("三")), 2);
    EXPECT_EQ(captions, (Strings{B5("一"), B5("二"), B5("三")}));
    EXPECT_EQ(transcript->Texts("choice"), (Strings{"A / B", "一 / 二 / 三"}));
    EXPECT_EQ(transcript->Texts("answer"), (Strings{"0", "2"}));
}

TEST_F(DialogueTest, DebugModeWaitsForNextStepAfterTheClick) {
    test::EventResponders player(headless.Backend());
    Strings shown;
    ev->m_CbxDbg->SetChecked(true);
    headless.Backend().AddResponder([&] {
        if (ev->m_Step != 0 || ev->m_LblCommand->Caption() == "Command") return false;
        shown.push_back(ev->m_LblCommand->Caption() +
                        (DbTxtForm2->TestState(kMsgAcknowledged) ? " after the click" : ""));
        ev->m_LblCommand->SetCaption("Command");
        ev->m_BtnNxtClick();
        return true;
    });
    ev->FaceGr(2);
    ev->DspMsg(B5("緹菈「嗯。"));
    EXPECT_EQ(shown, (Strings{"FaceGr", "DspMsg after the click"}));
}

// A whole event body of test lines: pictures, figures, five lines, a choice, a shake.
void PlayTestBody(TEventServerDbg* ev) {
    ev->EventBegin();
    ev->DspGr(0x100);
    ev->ShowFigure(0, 0);
    ev->FaceGr(3);
    ev->DspMsg(B5("緹菈「早安。"));
    ev->ShowFigure(5, 2);
    ev->DspMsg(B5("費兒「今天天氣真好。"));
    ev->DspMsg(B5("緹菈『要不要去花園呢…』"));
    if (ev->SelWin2(B5("去花園"), B5("回店裡")) == 1) ev->ShakeGr(-1);
    ev->DspGr(0x30A);
    ev->DspMsg(B5("……"));
    ev->DspMsg(B5("緹菈「好了。"));
    ev->EventEnd();
}

TEST_F(DialogueTest, AWholeEventBodyPlaysAndIsTranscribed) {
    test::EventResponders player(headless.Backend());
    player.answers = {1};
    const auto start = std::chrono::steady_clock::now();
    PlayTestBody(ev);
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    RecordProperty("real_ms", static_cast<int>(ms));
    EXPECT_EQ(Log(), (Strings{
                         "event begin",
                         "picture 0x100 bgpalf1.bmp",
                         "stage show",
                         "transition dissolve-in",
                         "picture 0x000 fcSak_00.bmp",
                         "figure show 0 left",
                         "transition cross-dissolve",
                         "face 3",
                         "line 緹菈「早安。",
                         "speaker 緹菈 face 3",
                         "picture 0x005 fcFer_00.bmp",
                         "figure show 5 right",
                         "transition cross-dissolve",
                         "line 費兒「今天天氣真好。",
                         "speaker 費兒 face 3",
                         "line 緹菈『要不要去花園呢…』",
                         "speaker 緹菈 face 3",
                         "choice 去花園 / 回店裡",
                         "answer 1",
                         "transition shake",
                         "picture 0x30A evg10.bmp",
                         "flag set 42",
                         "transition cross-dissolve",
                         "line ……",
                         "speaker  face 3",
                         "line 緹菈「好了。",
                         "speaker 緹菈 face 3",
                         "message 　",
                         "music track 10 loop",
                         "event end",
                     }));
    EXPECT_EQ(player.linesAcknowledged, 5);
    EXPECT_EQ(player.choicesAnswered, 1);
    EXPECT_TRUE(GameFlow->IsReady());
}

}  // namespace

namespace {

// Screens to look at: a line over a place with two figures (full screen), and the
// window layout with the menu bar.
TEST_F(DialogueTest, ScreenshotsOfALineOnTheStage) {
    const std::string dir = test::ScratchDir("evdialog_shot");
    bool shot = false;
    headless.Backend().AddResponder([&] {
        if (shot || !DbTxtForm2->m_BtnEnd->Showing()) return false;
        headless.App().Update();
        shot = headless.Backend().WriteScreenPng(dir + "/line.png");
        return false;
    });
    test::EventResponders player(headless.Backend(), 100);
    ev->EventBegin();
    ev->ShowPlaceGr(1);
    ev->ShowFigure(0, 0);
    ev->ShowFigure(8, 2);
    ev->FaceGr(1);
    ev->DspMsg(B5("緹菈「早安！今天的花開得真漂亮呢。"));
    EXPECT_TRUE(shot);
    headless.App().GetScreen().Resize(648, 520);
    ev->LayoutStage(true);
    headless.App().Update();
    EXPECT_TRUE(headless.Backend().WriteScreenPng(dir + "/window.png"));
    ev->EventEnd();
}

}  // namespace
