// The title's event album through the real shop window and clicks: which thumbnails
// open from the pictures seen, the viewer showing every picture of an open entry,
// leaving it back to the page with the music going on, clicks during a dissolve, the
// way back to the title; and the recipe book opened from the title.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "platform/Audio.h"
#include "platform/Transcript.h"
#include "shop/Book.h"
#include "shop/GameDialog.h"
#include "shop/GameState.h"
#include "shop/Main.h"
#include "shop/Shop.h"
#include "skin/BcImg.h"
#include "story/Register.h"
#include "tests/support/HeadlessApp.h"
#include "town/Evsrvfm.h"

namespace {

constexpr int kTopBar = 36;  // the window mode's top bar above the panels

class AlbumTest : public test::HeadlessTest {
protected:
    void SetUp() override {
        g_MainFormHooks = {};
        g_ShopHooks.PlayOpening = [](int) {};
        headless.AnswerMessageBoxes(ui::IDCANCEL);
        std::fill(std::begin(EverUnlocked), std::end(EverUnlocked), 0);
        CreateStartupForms();
        headless.RunFor(10);  // the title
        for (int k = 0; k < 64; ++k) EventServerDbg->SetFlg(32 + k, false);
    }
    void TearDown() override {
        DestroyStartupForms();
        g_MainFormHooks = {};
        g_ShopHooks.PlayOpening = nullptr;
        std::fill(std::begin(EverUnlocked), std::end(EverUnlocked), 0);
    }
    void Seen(std::initializer_list<int> pictures) {
        for (int k : pictures) EventServerDbg->SetFlg(32 + k, true);
    }
    // Clicks the title's picture (the labels), then 事件相簿.
    void OpenAlbumByClicks() {
        headless.Backend().Click(320, 200);
        headless.RunFor(100);
        headless.Backend().Click(321, kTopBar + 418 + 10);
        headless.RunFor(100);
    }
    // Clicks scripted `afterMs` after the input scripted before them (also while a
    // dissolve runs).
    void ClickThumbnail(int entry, std::uint32_t afterMs = 0) {
        headless.Backend().Click(33 + 100 * (entry % 6) + 40, kTopBar + 59 + 79 * (entry / 6) + 30,
                                 ui::MouseButton::mbLeft, 0, afterMs);
    }
    void ClickPicture(std::uint32_t afterMs = 0) {
        headless.Backend().Click(320, kTopBar + 240, ui::MouseButton::mbLeft, 0, afterMs);
    }
    std::vector<int> OpenThumbnails() const {
        std::vector<int> open;
        for (int e = 0; e < kAlbumEntryCount; ++e)
            if (ShopForm->AlbumNone[static_cast<std::size_t>(e)]->Visible()) open.push_back(e);
        return open;
    }
    // The event pictures loaded, by member name.
    static std::vector<std::string> Pictures(const ui::Transcript& t) {
        std::vector<std::string> names;
        for (const std::string& p : t.Texts("picture"))
            if (p.find("evg") != std::string::npos) names.push_back(p.substr(p.find(' ') + 1));
        return names;
    }
};

TEST_F(AlbumTest, AnEntryOpensWhenAnyOfItsPicturesWasSeen) {
    struct Case {
        const char* what;
        std::vector<int> seen;
        std::vector<int> open;
    };
    const Case cases[] = {
        {"nothing seen", {}, {}},
        {"the first picture", {0}, {0}},
        {"the second of a pair", {3}, {2}},
        {"picture 45 belongs to entry 7", {45}, {7}},
        {"one of four", {41}, {27}},
        {"the last entry and a picture no entry shows", {37, 50}, {29}},
        {"one of three entries side by side", {16}, {11}},
    };
    for (const Case& c : cases) {
        for (int k = 0; k < 64; ++k) EventServerDbg->SetFlg(32 + k, false);
        for (int k : c.seen) EventServerDbg->SetFlg(32 + k, true);
        ShopForm->TitleAlbumButtonClick();
        EXPECT_TRUE(ShopForm->AlbumPanel->Visible()) << c.what;
        EXPECT_EQ(OpenThumbnails(), c.open) << c.what;
        EXPECT_EQ(ShopForm->AlbumEntry, -1) << c.what;
        ShopForm->AlbumReturnButtonClick();
    }
}

TEST_F(AlbumTest, AClosedThumbnailIsCoveredByTheClosedPicture) {
    Seen({0});
    ShopForm->TitleAlbumButtonClick();
    const ui::Bitmap closed = ShopForm->LoadPackPicture("AlbumNe.Bmp");
    ASSERT_FALSE(closed.Empty());
    const ui::Bitmap& page = ShopForm->AlbumTopImage->Picture();
    ASSERT_EQ(page.Width(), 640);
    ASSERT_EQ(page.Height(), 480);
    // Entry 8 (row 1, column 2) is closed: its place on the page, (229, 138), shows the
    // closed picture; entry 0 at (29, 59) shows its own thumbnail.
    int same = 0, sameOpen = 0;
    for (int y = 0; y < 60; y += 6)
        for (int x = 0; x < 80; x += 8) {
            same += page.GetPixel(229 + x, 138 + y) == closed.GetPixel(x, y);
            sameOpen += page.GetPixel(29 + x, 59 + y) == closed.GetPixel(x, y);
        }
    EXPECT_EQ(same, 100);
    EXPECT_LT(sameOpen, 50);
}

TEST_F(AlbumTest, OneSeenPictureOfFourShowsAllFourThenThePageWithoutRestartingTheMusic) {
    Seen({41});
    ui::ScopedTranscript transcript;
    OpenAlbumByClicks();
    ASSERT_TRUE(ShopForm->AlbumPanel->Visible());
    EXPECT_EQ(transcript->Texts("music").back(), "track 2 loop");
    ASSERT_EQ(transcript->Texts("sound").size(), 1u);  // the album's sound

    // Each picture dissolves in over 8 steps of a little more than 100 ms.
    ClickThumbnail(27);
    headless.RunFor(1000);
    EXPECT_TRUE(AlbumViewing());
    EXPECT_EQ(ShopForm->AlbumEntry, 27);
    EXPECT_TRUE(OpenThumbnails().empty());
    EXPECT_FALSE(ShopForm->AlbumReturnButton->Visible());
    for (int i = 0; i < 3; ++i) {
        ClickPicture();
        headless.RunFor(1000);
    }
    EXPECT_EQ(Pictures(*transcript),
              (std::vector<std::string>{"evg35.bmp", "evg40.bmp", "evg41.bmp", "evg42.bmp"}));
    EXPECT_EQ(ShopForm->AlbumIndex, 3);

    // Past the last picture: the page again, no sound, the music going on where it was
    // (not stopped, not started again from its beginning).
    const std::uint32_t position = ui::music::PositionMs();
    ClickPicture();
    headless.RunFor(200);
    EXPECT_FALSE(AlbumViewing());
    EXPECT_EQ(ShopForm->AlbumEntry, -1);
    EXPECT_EQ(OpenThumbnails(), std::vector<int>{27});
    EXPECT_TRUE(ShopForm->AlbumReturnButton->Visible());
    EXPECT_EQ(transcript->Texts("music"), (std::vector<std::string>{"stop", "track 2 loop"}));
    EXPECT_EQ(ui::music::Track(), 2);
    EXPECT_GT(ui::music::PositionMs(), position);
    EXPECT_EQ(transcript->Texts("sound").size(), 1u);
    EXPECT_EQ(Pictures(*transcript).size(), 4u);

    // Another click on the page outside the thumbnails views nothing.
    ClickPicture();
    headless.RunFor(200);
    EXPECT_EQ(Pictures(*transcript).size(), 4u);
}

TEST_F(AlbumTest, ClicksDuringADissolveAreIgnored) {
    Seen({2, 9});
    ui::ScopedTranscript transcript;
    OpenAlbumByClicks();
    // While the first picture dissolves in: a click on it is no next step, and the
    // hidden thumbnail of entry 7 under it opens nothing.
    ClickThumbnail(2);
    ClickPicture(300);
    ClickThumbnail(7, 100);
    headless.RunFor(1500);
    EXPECT_TRUE(AlbumViewing());
    EXPECT_EQ(ShopForm->AlbumEntry, 2);
    EXPECT_EQ(ShopForm->AlbumIndex, 0);
    EXPECT_EQ(Pictures(*transcript), std::vector<std::string>{"evg02.bmp"});

    // While picture 3 dissolves in, a second click does not step past it.
    ClickPicture();
    ClickPicture(300);
    headless.RunFor(1500);
    EXPECT_EQ(ShopForm->AlbumIndex, 1);
    EXPECT_TRUE(AlbumViewing());
    EXPECT_EQ(Pictures(*transcript), (std::vector<std::string>{"evg02.bmp", "evg03.bmp"}));
}

TEST_F(AlbumTest, TheReturnLabelLightsUnderTheMouseAndGoesBackToTheTitleMusic) {
    Seen({0});
    ui::ScopedTranscript transcript;
    OpenAlbumByClicks();
    ui::Label* back = ShopForm->AlbumReturnButton;
    EXPECT_EQ(back->Left(), 560);
    EXPECT_EQ(back->Top(), 452);
    EXPECT_EQ(back->GetFont().Color, 0x808080u);
    headless.Backend().Move(back->Left() + 10, kTopBar + back->Top() + 5);
    headless.RunFor(50);
    EXPECT_EQ(back->GetFont().Color, 0x000000u);
    headless.Backend().Move(300, kTopBar + 20);
    headless.RunFor(50);
    EXPECT_EQ(back->GetFont().Color, 0x808080u);
    headless.Backend().Click(back->Left() + 10, kTopBar + back->Top() + 5);
    headless.RunFor(100);
    EXPECT_FALSE(ShopForm->AlbumPanel->Visible());
    EXPECT_TRUE(ShopForm->TitlePanel->Visible());
    EXPECT_TRUE(ShopForm->TitlePanel->Enabled());
    EXPECT_EQ(transcript->Texts("music").back(), "track 18 loop");
}

TEST_F(AlbumTest, TheBookOpensFromTheTitleAndGivesTheLabelsBackWhenClosed) {
    EverUnlocked[item::VigourPerfume] = 1;
    headless.Backend().Click(320, 200);
    headless.RunFor(100);
    ASSERT_TRUE(ShopForm->TitleBookButton->Visible());
    headless.Backend().Click(321, kTopBar + 394 + 10);  // 魔法圖鑑
    headless.RunFor(100);
    ASSERT_NE(BookForm, nullptr);
    EXPECT_EQ(BookForm->Mode, 1);
    EXPECT_FALSE(ShopForm->TitleStartButton->Visible());
    ShopForm->TitleImageClick();  // nothing while the book is open
    EXPECT_FALSE(ShopForm->TitleStartButton->Visible());
    ShopForm->TitleBookButtonClick();  // already open: not a second one
    BookForm->CloseButtonClick();
    EXPECT_EQ(BookForm, nullptr);
    EXPECT_TRUE(ShopForm->TitleStartButton->Visible());
    EXPECT_TRUE(ShopForm->TitleBookButton->Visible());
}

}  // namespace
