#include "town/Logoavi.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/Audio.h"
#include "platform/Files.h"
#include "platform/Movie.h"
#include "platform/Timer.h"
#include "platform/Transcript.h"
#include "platform/headless/HeadlessAudio.h"
#include "tests/support/HeadlessApp.h"
#include "tools/mkgamedata/PictureWriter.h"

namespace {

class LogoMovieTest : public test::HeadlessTest {
protected:
    void SetUp() override {
        saved_ = ui::ProgramFolder();
        ui::SetProgramFolder(LUMIA_TEST_GAMEDATA);
        auto sink = std::make_unique<ui::RecordingAudio>();
        sink_ = sink.get();
        ui::SetAudio(std::move(sink));
        ui::InstallTranscript(&transcript_);
        form_ = std::make_unique<TaviForm1>();
    }
    void TearDown() override {
        form_.reset();
        ui::InstallTranscript(nullptr);
        ui::SetAudio(nullptr);
        ui::SetProgramFolder(saved_);
    }
    void ClickAt(std::uint32_t ms) {
        click_.SetInterval(ms);
        click_.OnTimer = [this] {
            click_.SetEnabled(false);
            Click();
        };
    }
    void Click() {
        ui::InputEvent down;
        down.type = ui::InputType::MouseDown;
        down.x = 100;
        down.y = 100;
        headless.App().QueueInput(down);
        ui::InputEvent up = down;
        up.type = ui::InputType::MouseUp;
        headless.App().QueueInput(up);
    }
    int Waves(const std::string& what) {
        int n = 0;
        for (const ui::AudioRecord& r : sink_->Records()) n += r.what == what;
        return n;
    }

    std::string saved_;
    ui::RecordingAudio* sink_ = nullptr;
    ui::Transcript transcript_;
    ui::Timer click_;
    std::unique_ptr<TaviForm1> form_;
};

TEST_F(LogoMovieTest, TheGeneratedMovieDecodesWithPicturesAndSound) {
    ui::Movie movie;
    ASSERT_TRUE(movie.Open("mivuto_s.avi"));
    EXPECT_EQ(movie.Width(), 320);
    EXPECT_EQ(movie.Height(), 240);
    EXPECT_FALSE(movie.Sound().empty());
    ui::Bitmap out;
    EXPECT_TRUE(movie.DrawAt(0, out, 640, 480));
    EXPECT_EQ(out.Width(), 640);
    EXPECT_EQ(out.Height(), 480);
    EXPECT_FALSE(movie.DrawAt(10, out, 640, 480));  // the same picture is still due
    EXPECT_TRUE(movie.DrawAt(1500, out, 640, 480));
    EXPECT_FALSE(movie.EndedAt(1500));
    movie.DrawAt(60000, out, 640, 480);  // reads the stream to its end
    EXPECT_TRUE(movie.EndedAt(60000));
    EXPECT_GE(movie.DurationMs(), 2900u);
    EXPECT_LE(movie.DurationMs(), 3200u);
}

TEST_F(LogoMovieTest, PlaysToItsEndStretchedOverTheScreenWithItsSound) {
    const std::uint32_t start = headless.Now();
    form_->ShowModal();
    const std::uint32_t took = headless.Now() - start;
    EXPECT_GE(took, 2900u);
    EXPECT_LE(took, 3200u);
    EXPECT_FALSE(form_->Visible());
    EXPECT_FALSE(form_->MediaPlayerAVI.IsOpen());
    const ui::Screen& s = headless.App().GetScreen();
    EXPECT_EQ(form_->Left(), 0);
    EXPECT_EQ(form_->Top(), 0);
    EXPECT_EQ(form_->Width(), s.Width());
    EXPECT_EQ(form_->Height(), s.Height());
    EXPECT_EQ(form_->Display->Picture().Width(), s.Width());
    EXPECT_EQ(form_->Display->Picture().Height(), s.Height());
    EXPECT_EQ(Waves("wave.play"), 1);
    EXPECT_EQ(transcript_.Texts("movie"), (std::vector<std::string>{kLogoMovie, "end"}));
}

TEST_F(LogoMovieTest, TheMovieIsStretchedToTheWholeScreen) {
    // The movie's own 320 x 240 picture covers 640 x 480: its corners are the movie's
    // corners, its label's row the movie's bottom rows.
    ui::Movie movie;
    ASSERT_TRUE(movie.Open("mivuto_s.avi"));
    ui::Bitmap small, big;
    movie.DrawAt(0, small, 320, 240);
    ui::Movie again;
    ASSERT_TRUE(again.Open("mivuto_s.avi"));
    again.DrawAt(0, big, 640, 480);
    int differ = 0;
    for (int y = 8; y < 232; y += 16)
        for (int x = 8; x < 312; x += 16) {
            const ui::TColor a = small.GetPixel(x, y), b = big.GetPixel(2 * x, 2 * y);
            const int d = std::abs(int(a & 0xFF) - int(b & 0xFF)) +
                          std::abs(int((a >> 8) & 0xFF) - int((b >> 8) & 0xFF)) +
                          std::abs(int((a >> 16) & 0xFF) - int((b >> 16) & 0xFF));
            differ += d > 90;
        }
    EXPECT_LE(differ, 10);
}

TEST_F(LogoMovieTest, AClickDuringTheMovieEndsItAtOnce) {
    ClickAt(500);
    const std::uint32_t start = headless.Now();
    form_->ShowModal();
    EXPECT_LT(headless.Now() - start, 600u);
    EXPECT_FALSE(form_->MediaPlayerAVI.IsOpen());
    EXPECT_GE(Waves("wave.stop"), 1);
    EXPECT_EQ(transcript_.Texts("movie"), (std::vector<std::string>{kLogoMovie, "end"}));
}

TEST_F(LogoMovieTest, AClickBeforeTheFirstTickClosesTheFormBeforeAnythingPlays) {
    Click();
    form_->ShowModal();
    EXPECT_FALSE(form_->Visible());
    EXPECT_FALSE(form_->Started());
    EXPECT_TRUE(transcript_.Texts("movie").empty());
    EXPECT_EQ(Waves("wave.play"), 0);
}

TEST_F(LogoMovieTest, AMissingOrUndecodableMovieClosesTheFormAtOnce) {
    const std::string dir = test::ScratchDir("logoavi");
    mkgamedata::WriteBytes(
        std::filesystem::path(dir) / "bad.avi",
        std::vector<std::uint8_t>{'R', 'I', 'F', 'F', 1, 2, 3, 4, 'A', 'V', 'I', ' ', 0, 0});
    for (const std::string& name : {dir + "/none.avi", dir + "/bad.avi"}) {
        form_->MovieFileName = name;
        form_->SetStarted(false);
        const std::uint32_t start = headless.Now();
        form_->ShowModal();
        EXPECT_LT(headless.Now() - start, 100u) << name;
        EXPECT_FALSE(form_->Visible()) << name;
        EXPECT_FALSE(form_->MediaPlayerAVI.IsOpen()) << name;
    }
    EXPECT_EQ(Waves("wave.play"), 0);
}

}  // namespace
