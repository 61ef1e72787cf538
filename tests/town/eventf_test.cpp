#include "town/Eventf.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/Audio.h"
#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/Timer.h"
#include "platform/headless/HeadlessAudio.h"
#include "tests/support/HeadlessApp.h"
#include "tools/mkgamedata/PictureWriter.h"

namespace {

// The player on loose files of a scratch folder, driven tick by tick.
class EventFormTest : public test::HeadlessTest {
protected:
    void SetUp() override {
        saved_ = ui::ProgramFolder();
        dir_ = test::ScratchDir("eventf");
        ui::SetProgramFolder(dir_);
        auto sink = std::make_unique<ui::RecordingAudio>();
        sink_ = sink.get();
        ui::SetAudio(std::move(sink));
        form_ = std::make_unique<TEventForm>();
        form_->TraceOn = true;
        form_->Open(nullptr);
    }
    void TearDown() override {
        form_.reset();
        ui::SetAudio(nullptr);
        ui::SetProgramFolder(saved_);
    }
    void Write(const std::string& name, const std::string& text) {
        mkgamedata::WriteBytes(std::filesystem::path(dir_) / name,
                               std::vector<std::uint8_t>(text.begin(), text.end()));
    }
    // A w x h picture whose pixel (x, y) is 1 + (x + 3y) mod 200, its first pixel `first`.
    void WritePicture(const std::string& name, int w, int h, int first = -1) {
        std::vector<std::uint8_t> px(std::size_t(w) * h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) px[std::size_t(y) * w + x] = Pixel(x, y);
        if (first >= 0) px[0] = static_cast<std::uint8_t>(first);
        const auto pal = mkgamedata::GeneratedPalette();
        mkgamedata::WriteBytes(std::filesystem::path(dir_) / name,
                               mkgamedata::MakeBmp8(w, h, px.data(), pal.data()));
    }
    static std::uint8_t Pixel(int x, int y) {
        return static_cast<std::uint8_t>(1 + (x + 3 * y) % 200);
    }
    // Ticks until the caption shows `trace` (or the run stops); the ticks taken.
    int TicksUntilTrace(const std::string& trace, int limit = 5000) {
        for (int n = 1; n <= limit; ++n) {
            form_->Tick();
            if (form_->Caption() == trace) return n;
            if (form_->State() == 0) return -1;
        }
        return -1;
    }
    int TicksUntilStopped(int limit = 5000) {
        for (int n = 1; n <= limit; ++n) {
            form_->Tick();
            if (form_->State() == 0) return n;
        }
        return -1;
    }
    std::vector<std::string> Music() {
        std::vector<std::string> out;
        for (const ui::AudioRecord& r : sink_->Records())
            if (r.what.rfind("music.", 0) == 0) out.push_back(r.what + " " + r.detail);
        return out;
    }

    std::string saved_;
    std::string dir_;
    ui::RecordingAudio* sink_ = nullptr;
    std::unique_ptr<TEventForm> form_;
};

TEST_F(EventFormTest, EmptyTagAndOpenerWithoutCloserAreSkippedSilently) {
    ASSERT_TRUE(form_->RunText("<>x<>y<WAIT"));
    EXPECT_EQ(form_->State(), 0);
    EXPECT_EQ(form_->Caption(), "");
}

TEST_F(EventFormTest, BlankTagTracesAnEmptyCommand) {
    ASSERT_TRUE(form_->RunText("< ><WAIT 5>"));
    EXPECT_EQ(form_->Caption(), "EventForm TagErr<>");
    EXPECT_EQ(form_->State(), 1);
}

TEST_F(EventFormTest, CommentsAndTextOutsideTagsDoNothing) {
    ASSERT_TRUE(form_->RunText("\xA4\x40<# WAIT 100>plain text<WAIT 5>"));
    EXPECT_EQ(form_->Caption(), "");
    EXPECT_EQ(form_->WaitTicks(), 5);
}

TEST_F(EventFormTest, WaitTakesItsNumberOrTen) {
    struct Case {
        const char* tag;
        int ticks;
    };
    const Case cases[] = {{"<WAIT>", 10},  {"<WAIT 3>", 3},   {"<WAIT abc>", 10},
                          {"<wait 5>", 5}, {"<Wait 12>", 12}, {"<WAIT 4x>", 10}};
    for (const Case& c : cases) {
        form_->Open(nullptr);
        form_->SetCaption("");
        ASSERT_TRUE(form_->RunText(std::string(c.tag) + "<Z><END>")) << c.tag;
        // The first tick ran the WAIT; the tag after it runs `ticks` ticks later.
        EXPECT_EQ(TicksUntilTrace("EventForm TagErr<Z>"), c.ticks) << c.tag;
        EXPECT_EQ(form_->State(), 0) << c.tag;
    }
}

TEST_F(EventFormTest, LowerCaseCommandsWork) {
    ASSERT_TRUE(form_->RunText("<skip ON><anchor><end><Z>"));
    EXPECT_EQ(form_->State(), 0);
    EXPECT_TRUE(form_->SkipArmed());
    EXPECT_EQ(form_->Caption(), "");
}

TEST_F(EventFormTest, ThirtyThirdScriptLevelTracesTheOverflowAndGoesOn) {
    std::string text;
    for (int i = 0; i < 32; ++i) text += "<SCRIPT>";
    ASSERT_TRUE(form_->RunText(text + "<WAIT 5>"));
    EXPECT_EQ(form_->Depth(), 32);
    EXPECT_EQ(form_->Caption(), "EventForm Stack32");
    form_->Open(nullptr);
    ASSERT_TRUE(form_->RunText(text + "<SCRIPT><WAIT 5>"));
    EXPECT_EQ(form_->Depth(), 32);
    EXPECT_EQ(form_->Caption(), "EventForm StackOverflow");
    EXPECT_EQ(form_->State(), 1);
}

TEST_F(EventFormTest, NestedScriptsReturnToTheirCallerAndQuitEndsOnlyTheirOwn) {
    Write("sub.scr", "<A><QUIT><B>\n");
    ASSERT_TRUE(form_->RunText("<SCRIPT sub.scr><C><WAIT 5>"));
    EXPECT_EQ(form_->Caption(), "EventForm TagErr<C>");
    EXPECT_EQ(form_->Depth(), 0);
    EXPECT_EQ(form_->State(), 1);
}

TEST_F(EventFormTest, QuitAtDepthZeroEndsTheRun) {
    ASSERT_TRUE(form_->RunText("<QUIT><Z><WAIT 5>"));
    EXPECT_EQ(form_->State(), 0);
    EXPECT_EQ(form_->Caption(), "");
}

TEST_F(EventFormTest, ScriptThatCannotBeLoadedEndsTheRun) {
    ASSERT_TRUE(form_->RunText("<SCRIPT missing.scr><Z><WAIT 5>"));
    EXPECT_EQ(form_->State(), 0);
    EXPECT_EQ(form_->Caption(), "EventForm Stack1");
}

TEST_F(EventFormTest, NewRunStartsAtDepthZero) {
    std::string text;
    for (int i = 0; i < 5; ++i) text += "<SCRIPT>";
    ASSERT_TRUE(form_->RunText(text + "<WAIT 5>"));
    EXPECT_EQ(form_->Depth(), 5);
    form_->EventImageMouseDown(ui::MouseButton::mbRight, ui::ssAlt | ui::ssCtrl);  // abort
    EXPECT_EQ(form_->State(), 0);
    ASSERT_TRUE(form_->RunText("<WAIT 5>"));
    EXPECT_EQ(form_->Depth(), 0);
}

TEST_F(EventFormTest, RunOnlyWhenOpenAndStopped) {
    ASSERT_TRUE(form_->RunText("<WAIT 5>"));
    EXPECT_FALSE(form_->RunText("<WAIT 5>"));
    form_->Close();
    EXPECT_FALSE(form_->RunText("<WAIT 5>"));
    EXPECT_FALSE(form_->RunFile("nothing.scr"));
}

TEST_F(EventFormTest, WithSkipOnAClickEndsTheScriptAtTheNextTick) {
    ASSERT_TRUE(form_->RunText("<SKIP ON><WAIT 100><Z>"));
    form_->Tick();
    form_->EventImageMouseDown(ui::MouseButton::mbLeft, 0);
    EXPECT_EQ(form_->State(), 1);
    form_->Tick();
    EXPECT_EQ(form_->State(), 0);
    EXPECT_EQ(form_->Caption(), "");
}

TEST_F(EventFormTest, WithoutSkipAClickChangesNothing) {
    ASSERT_TRUE(form_->RunText("<SKIP ON><SKIP OFF><WAIT 3><Z><WAIT 5>"));
    form_->EventImageMouseDown(ui::MouseButton::mbLeft, 0);
    EXPECT_EQ(TicksUntilTrace("EventForm TagErr<Z>"), 3);
}

TEST_F(EventFormTest, Wait2KeepsToTheAnchorHoweverLongTheTagsBetweenTook) {
    ASSERT_TRUE(form_->RunText("<ANCHOR><WAIT2 100><A><WAVE none><WAIT2 50><B><WAIT 1000>"));
    EXPECT_EQ(TicksUntilTrace("EventForm TagErr<A>", 99), -1);
    // Loading took 7 ticks of the clock while A and the sound were handled.
    form_->EventTimer.SetCount(7);
    form_->Tick();
    EXPECT_EQ(form_->Caption(), "EventForm TagErr<A>");
    // 100 ticks after the anchor; B comes 150 after it: 7 of them were counted by
    // the timer meanwhile, 43 are left.
    EXPECT_EQ(TicksUntilTrace("EventForm TagErr<B>"), 43);
}

TEST_F(EventFormTest, Wait2AfterAnchorFinishesAtHundredAndHundredFifty) {
    ASSERT_TRUE(form_->RunText("<ANCHOR><WAIT2 100><A><WAIT2 50><B><WAIT 1000>"));
    EXPECT_EQ(TicksUntilTrace("EventForm TagErr<A>"), 100);
    EXPECT_EQ(TicksUntilTrace("EventForm TagErr<B>"), 50);
}

TEST_F(EventFormTest, EndStopsEverythingAndUnknownTagsOnlyTrace) {
    ASSERT_TRUE(form_->RunText("<FROB 1 2><END><WAIT 5>"));
    EXPECT_EQ(form_->Caption(), "EventForm TagErr<FROB>");
    EXPECT_EQ(form_->State(), 0);
}

TEST_F(EventFormTest, TracesStayOutOfTheCaptionWithTraceOff) {
    form_->TraceOn = false;
    ASSERT_TRUE(form_->RunText("<FROB><WAIT 5>"));
    EXPECT_EQ(form_->Caption(), "");
}

// ---- pictures and effects

TEST_F(EventFormTest, PictureAtOnceLandsOnTheSurfaceAtItsPlace) {
    WritePicture("pic.bmp", 16, 8);
    ASSERT_TRUE(form_->RunText("<CLEAR 9><PICTURE pic 0 100 50><WAIT 5>"));
    EXPECT_EQ(form_->EventDib->PGet(99, 50), 9);
    EXPECT_EQ(form_->EventDib->PGet(100, 50), Pixel(0, 0));
    EXPECT_EQ(form_->EventDib->PGet(115, 57), Pixel(15, 7));
    EXPECT_EQ(form_->EventDib->PGet(116, 57), 9);
    EXPECT_EQ(form_->BGDib->PGet(0, 0), 9);
}

TEST_F(EventFormTest, EffectsTakeTheirStepsAndLeaveTheWholePicture) {
    struct Case {
        int effect;
        int w, h;
        int steps;
    };
    const Case cases[] = {
        {1, 64, 40, 8},     {2, 64, 40, 8},     {3, 64, 40, 8},     {4, 64, 40, 8},
        {5, 64, 40, 8},     {10, 64, 40, 8},    {101, 64, 40, 4},   {104, 64, 40, 4},
        {107, 64, 40, 4},   {201, 64, 40, 64},  {209, 64, 40, 64},  {310, 64, 40, 16},
        {301, 64, 40, 27},  {302, 64, 40, 27},  {303, 64, 40, 27},  {304, 60, 44, 26},
        {11, 640, 40, 20},  {12, 640, 41, 21},  {13, 40, 480, 20},  {14, 42, 480, 21},
        {111, 640, 42, 11}, {112, 640, 40, 10}, {113, 38, 480, 10}, {114, 40, 480, 10},
        {211, 640, 20, 40}, {214, 20, 480, 40},
    };
    for (const Case& c : cases) {
        WritePicture("pic.bmp", c.w, c.h);
        form_->Open(nullptr);
        const int x = c.w == 640 ? 0 : 8, y = c.h == 480 ? 0 : 16;
        ASSERT_TRUE(form_->RunText("<PICTURE pic " + std::to_string(c.effect) + " " +
                                   std::to_string(x) + " " + std::to_string(y) + "><Z><WAIT 5>"))
            << c.effect;
        EXPECT_EQ(form_->State(), 2) << c.effect;
        int steps = 0;
        while (form_->State() == 2 && steps < 5000) {
            form_->Tick();
            ++steps;
        }
        EXPECT_EQ(steps, c.steps) << c.effect;
        // Scrolls move the picture onto the edge it came in from; the others leave it
        // at its place.
        const int b = c.effect % 100;
        const int px = b == 13 ? 640 - c.w : b == 14 ? 0 : x;
        const int py = b == 11 ? 480 - c.h : b == 12 ? 0 : y;
        int wrong = 0;
        for (int j = 0; j < c.h; ++j)
            for (int i = 0; i < c.w; ++i)
                wrong += form_->EventDib->PGet(px + i, py + j) != Pixel(i, j);
        EXPECT_EQ(wrong, 0) << c.effect;
    }
}

TEST_F(EventFormTest, MaskEffectsBuildThePictureUpStepByStep) {
    WritePicture("pic.bmp", 64, 64);
    ASSERT_TRUE(form_->RunText("<PICTURE pic 1 0 0><WAIT 5>"));
    form_->Tick();  // blinds: tile row 0 of every tile
    EXPECT_EQ(form_->EventDib->PGet(5, 0), Pixel(5, 0));
    EXPECT_EQ(form_->EventDib->PGet(5, 8), Pixel(5, 8));
    EXPECT_EQ(form_->EventDib->PGet(5, 1), 0);
    form_->Tick();
    EXPECT_EQ(form_->EventDib->PGet(5, 1), Pixel(5, 1));
    EXPECT_EQ(form_->EventDib->PGet(5, 2), 0);
}

// A diagonal wipe after every step, pixel by pixel: a picture's 8 x 8 tile starts on
// the step of its diagonal counted from the effect's corner (the last diagonal takes
// the tiles beyond it) and shows 4 more of its 64 positions a step, positions
// (4 * local step + i) times the diagonal's stride, modulo 64.
TEST_F(EventFormTest, DiagonalWipesShowEachTileFourPositionsAStep) {
    struct Case {
        int effect;
        int w, h, x, y;
    };
    const Case cases[] = {
        {301, 64, 40, 8, 16},    {302, 60, 44, 8, 16},    {303, 100, 30, 3, 5},
        {304, 90, 70, 3, 5},     {302, 90, 70, 590, 430},  // partly off the surface
        {303, 21, 130, -9, -20},
    };
    constexpr int kStride[4] = {5, 7, 3, 1};
    for (const Case& c : cases) {
        WritePicture("pic.bmp", c.w, c.h);
        form_->Open(nullptr);
        ASSERT_TRUE(form_->RunText("<PICTURE pic " + std::to_string(c.effect) + " " +
                                   std::to_string(c.x) + " " + std::to_string(c.y) + "><WAIT 5>"));
        const int diagonals = std::max(1, c.w / 8 + c.h / 8 - 1);
        const int tilesX = (c.w + 7) / 8, tilesY = (c.h + 7) / 8;
        const bool fromRight = c.effect == 302 || c.effect == 304;
        const bool fromBottom = c.effect == 303 || c.effect == 304;
        int steps = 0;
        while (form_->State() == 2 && steps < 500) {
            form_->Tick();
            ++steps;
            int wrong = 0;
            for (int j = 0; j < c.h; ++j)
                for (int i = 0; i < c.w; ++i) {
                    const int sx = c.x + i, sy = c.y + j;
                    if (sx < 0 || sy < 0 || sx >= 640 || sy >= 480) continue;
                    const int cx = fromRight ? tilesX - 1 - i / 8 : i / 8;
                    const int cy = fromBottom ? tilesY - 1 - j / 8 : j / 8;
                    const int d = std::min(cx + cy, diagonals - 1);
                    const int position = j % 8 * 8 + i % 8;
                    bool shown = false;
                    for (int local = 0; local < 16 && d + local < steps; ++local)
                        for (int k = 0; k < 4; ++k)
                            shown = shown || (kStride[d % 4] * (4 * local + k)) % 64 == position;
                    wrong += form_->EventDib->PGet(sx, sy) != (shown ? Pixel(i, j) : 0);
                }
            EXPECT_EQ(wrong, 0) << c.effect << " " << c.w << "x" << c.h << " step " << steps;
        }
        EXPECT_EQ(steps, diagonals + 15) << c.effect;
    }
}

TEST_F(EventFormTest, UnknownEffectDrawsNothingAndNarrowScrollsComeInAtOnce) {
    WritePicture("pic.bmp", 32, 32);
    ASSERT_TRUE(form_->RunText("<PICTURE pic 99 0 0><A><WAIT 5>"));
    EXPECT_EQ(form_->Caption(), "EventForm TagErr<A>");
    EXPECT_EQ(form_->EventDib->PGet(3, 3), 0);
    form_->Open(nullptr);
    ASSERT_TRUE(form_->RunText("<PICTURE pic 11 0 0><WAIT 5>"));
    EXPECT_EQ(form_->State(), 1);
    EXPECT_EQ(form_->EventDib->PGet(3, 3), Pixel(3, 3));
}

TEST_F(EventFormTest, PictransLetsTheBackgroundThroughTheKeyColour) {
    WritePicture("bg.bmp", 640, 480);
    WritePicture("fig.bmp", 8, 8, 250);  // the first pixel is the key
    ASSERT_TRUE(form_->RunText("<BGLOAD bg><PICTRANS fig 0 10 20><WAIT 5>"));
    EXPECT_EQ(form_->EventDib->PGet(10, 20), Pixel(10, 20));  // the background's pixel
    EXPECT_EQ(form_->EventDib->PGet(11, 20), Pixel(1, 0));    // the figure's own
    EXPECT_EQ(form_->EventDib->PGet(9, 20), 0);               // nothing else drawn
}

TEST_F(EventFormTest, BgtransKeepsWhatLiesUnderTheKeyColour) {
    WritePicture("fig.bmp", 8, 8, 250);
    ASSERT_TRUE(form_->RunText("<CLEAR 7><BGTRANS fig 4 4><BGSHOW><WAIT 5>"));
    EXPECT_EQ(form_->EventDib->PGet(4, 4), 7);
    EXPECT_EQ(form_->EventDib->PGet(5, 4), Pixel(1, 0));
}

TEST_F(EventFormTest, BgshowClipsItsRectangleToBothSurfaces) {
    WritePicture("bg.bmp", 640, 480);
    const char* rects[] = {"<BGSHOW 0 -100 -50 900 900>", "<BGSHOW 0 600 400 200 200>",
                           "<BGSHOW 0 700 10 5 5>", "<BGSHOW 5 -8 -8 80 80>",
                           "<BGSHOW 0 10 10 -5 20>"};
    for (const char* r : rects) {
        form_->Open(nullptr);
        ASSERT_TRUE(form_->RunText(std::string("<BGLOAD bg>") + r + "<WAIT 5>")) << r;
        for (int i = 0; i < 20 && form_->State() == 2; ++i) form_->Tick();
        EXPECT_EQ(form_->State(), 1) << r;
    }
    EXPECT_EQ(form_->EventDib->PGet(639, 479), 0);
    form_->Open(nullptr);
    ASSERT_TRUE(form_->RunText("<BGLOAD bg><BGSHOW 0 600 400 200 200><WAIT 5>"));
    EXPECT_EQ(form_->EventDib->PGet(639, 479), Pixel(639, 479));
    EXPECT_EQ(form_->EventDib->PGet(599, 479), 0);
}

TEST_F(EventFormTest, UnreadablePicturesAndPalettesDrawNothing) {
    Write("bad.bmp", "BM not a picture");
    ASSERT_TRUE(
        form_->RunText("<PALETTE nothing><PICTURE bad 0 0 0><BGLOAD missing><PICTURE><WAIT 5>"));
    EXPECT_EQ(form_->State(), 1);
    EXPECT_EQ(form_->EventDib->PGet(0, 0), 0);
}

// ---- sound and songs

TEST_F(EventFormTest, SongsPlayByNumberAndAnUnknownNumberRepeatsTheLastOrNothing) {
    const auto wav = std::filesystem::path(LUMIA_TEST_GAMEDATA) / "QDVOP_S.wav";
    std::filesystem::copy_file(wav, std::filesystem::path(dir_) / "QDVOP_S.wav",
                               std::filesystem::copy_options::overwrite_existing);
    ASSERT_TRUE(form_->RunText("<CDPLAY 3><WAIT 5>"));
    EXPECT_TRUE(Music().empty());
    form_->Open(nullptr);
    ASSERT_TRUE(form_->RunText("<CDPLAY 1><CDSTOP><CDPLAY 7><WAIT 5>"));
    const std::vector<std::string> music = Music();
    ASSERT_EQ(music.size(), 3u);
    EXPECT_NE(music[0].find("QDVOP_S.wav"), std::string::npos);
    EXPECT_EQ(music[1].rfind("music.stop", 0), 0u);
    EXPECT_NE(music[2].find("QDVOP_S.wav"), std::string::npos);
}

TEST_F(EventFormTest, CdTagsGoToTheHandlerWhenOneIsSet) {
    std::vector<std::string> calls;
    form_->OnCDPlay = [&calls](int n, bool on) {
        calls.push_back(std::to_string(n) + (on ? " on" : " off"));
    };
    ASSERT_TRUE(form_->RunText("<CDPLAY 4 ON><CDPLAY 2><CDSTOP><WAIT 5>"));
    EXPECT_EQ(calls, (std::vector<std::string>{"4 on", "2 off", "0 off"}));
    EXPECT_TRUE(Music().empty());
}

TEST_F(EventFormTest, WaveTagsPlayAndStopTheWaveVoice) {
    const auto wav = std::filesystem::path(LUMIA_TEST_GAMEDATA) / "QDVOP_S.wav";
    std::filesystem::copy_file(wav, std::filesystem::path(dir_) / "ding.wav",
                               std::filesystem::copy_options::overwrite_existing);
    ASSERT_TRUE(form_->RunText("<WAVE ding><WAVE><WAIT 5>"));
    std::vector<std::string> waves;
    for (const ui::AudioRecord& r : sink_->Records())
        if (r.what.rfind("wave.", 0) == 0) waves.push_back(r.what);
    ASSERT_GE(waves.size(), 2u);
    EXPECT_EQ(waves[0], "wave.play");
    EXPECT_EQ(waves[1], "wave.stop");
}

// ---- the run loop on the pump

TEST_F(EventFormTest, ShownModallyItPlaysOnTheTimerAndCloses) {
    ASSERT_TRUE(form_->RunText("<WAIT 50><END>"));
    const std::uint32_t start = headless.Now();
    EXPECT_EQ(form_->ShowModal(), 1);
    const std::uint32_t took = headless.Now() - start;
    EXPECT_GE(took, 50u * 20);
    EXPECT_LT(took, 52u * 20);
    EXPECT_FALSE(form_->Playing());
    EXPECT_FALSE(form_->Visible());
}

TEST_F(EventFormTest, ARealClickEndsASkippableScript) {
    ASSERT_TRUE(form_->RunText("<SKIP ON><WAIT 5000><END>"));
    ui::Timer click;
    click.SetInterval(300);
    click.OnTimer = [this, &click] {
        click.SetEnabled(false);
        ui::InputEvent down;
        down.type = ui::InputType::MouseDown;
        down.x = 320;
        down.y = 240;
        down.button = ui::MouseButton::mbLeft;
        headless.App().QueueInput(down);
        ui::InputEvent up = down;
        up.type = ui::InputType::MouseUp;
        headless.App().QueueInput(up);
    };
    const std::uint32_t start = headless.Now();
    form_->ShowModal();
    EXPECT_LT(headless.Now() - start, 400u);
}

TEST_F(EventFormTest, FullSizeTakesTheScreenWithThePanelCentred) {
    ASSERT_TRUE(form_->RunText("<END>"));
    form_->ShowModal();
    const ui::Screen& s = headless.App().GetScreen();
    EXPECT_EQ(form_->Width(), s.Width());
    EXPECT_EQ(form_->Height(), s.Height());
    EXPECT_EQ(form_->EventPanel->Left(), (s.Width() - 640) / 2);
    EXPECT_EQ(form_->EventPanel->Top(), (s.Height() - 480) / 2);
}

}  // namespace
