// The save and load flows through the real windows: the save offer, the slot list, the
// overwrite question, the load list that ignores empty slots, the morning after a load,
// damaged slot files, and the system menu's load and back-to-title.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "platform/Big5.h"
#include "platform/Files.h"
#include "platform/Transcript.h"
#include "shop/GameState.h"
#include "shop/Main.h"
#include "shop/Savefile.h"
#include "shop/Saveloadlist.h"
#include "shop/Saveloadmsg.h"
#include "shop/Shop.h"
#include "shop/Systemm.h"
#include "tests/support/EventResponders.h"
#include "tests/support/HeadlessApp.h"

namespace fs = std::filesystem;

namespace {

class SaveWindowsTest : public test::HeadlessTest {
protected:
    void SetUp() override {
        // The game folder seen through links, so the saves land in this test's folder.
        dir = test::ScratchDir(std::string("savewin_") +
                               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        for (const fs::directory_entry& e : fs::directory_iterator(ui::DefaultGameFolder())) {
            const std::string name = e.path().filename().string();
            if (name.rfind("QDV", 0) == 0 || name.rfind("qdv", 0) == 0) continue;
            fs::create_symlink(e.path(), fs::path(dir) / name);
        }
        ui::SetProgramFolder(dir);
        g_MainFormHooks = {};
        headless.AnswerMessageBoxes(ui::IDCANCEL);
        CreateStartupForms();
        headless.RunFor(10);
        {
            test::EventResponders prologue(headless.Backend());
            ShopForm->TitleStartButtonClick();
        }
        headless.Backend().AddResponder([this] { return Answer(); });
    }
    void TearDown() override {
        DestroyStartupForms();
        g_MainFormHooks = {};
        ui::SetProgramFolder(ui::DefaultGameFolder());
    }
    // Plays the next answer when one of the windows waits for it. "drag X Y" presses at
    // (X, Y) of the window shown, moves 30 px right and 15 down and lets go, then notes
    // whether the window followed ("moved") or stayed where it was ("stayed").
    bool Answer() {
        if (answers.empty()) return false;
        const std::string a = answers.front();
        if (a.rfind("drag ", 0) == 0) return Drag(a);
        if (SaveLoadMessageForm && SaveLoadMessageForm->Visible() &&
            SaveLoadMessageForm->MessageMode() >= 0 && !SaveLoadMessageForm->ModalResult()) {
            seen.push_back("msg" + std::to_string(SaveLoadMessageForm->MessageMode()));
            answers.erase(answers.begin());
            if (a == "yes")
                SaveLoadMessageForm->YesButtonClick();
            else if (a == "no")
                SaveLoadMessageForm->NoButtonClick();
            else
                SaveLoadMessageForm->CloseButtonClick();
            return true;
        }
        if (SaveLoadListForm && SaveLoadListForm->Visible() && !SaveLoadListForm->ModalResult()) {
            seen.push_back("list" + std::to_string(SaveLoadListForm->ListMode()));
            for (int k = 0; k < kSaveSlotCount; ++k)
                lists.push_back(ui::Big5ToUtf8(SaveLoadListForm->Day[k]->Caption()) + "|" +
                                ui::Big5ToUtf8(SaveLoadListForm->Money[k]->Caption()));
            answers.erase(answers.begin());
            if (a == "close") {
                SaveLoadListForm->CloseButtonClick();
            } else {
                SaveLoadListForm->SlotClick(std::stoi(a));
                if (!SaveLoadListForm->ModalResult()) seen.push_back("ignored " + a);
            }
            return true;
        }
        return false;
    }
    bool Drag(const std::string& a) {
        TGameDialog* w = nullptr;
        std::string name;
        if (SaveLoadMessageForm && SaveLoadMessageForm->Visible()) {
            w = SaveLoadMessageForm;
            name = "msg" + std::to_string(SaveLoadMessageForm->MessageMode());
        } else if (SaveLoadListForm && SaveLoadListForm->Visible()) {
            w = SaveLoadListForm;
            name = "list" + std::to_string(SaveLoadListForm->ListMode());
        }
        if (!w) return false;
        if (!dragging) {
            int x = 0, y = 0;
            std::sscanf(a.c_str(), "drag %d %d", &x, &y);
            from = ui::Point{w->Left(), w->Top()};
            x += w->Left();
            y += w->Top();
            headless.Backend().Move(x, y);
            headless.Backend().MouseDown(x, y);
            headless.Backend().Move(x + 30, y + 15, 10);
            headless.Backend().MouseUp(x + 30, y + 15, ui::MouseButton::mbLeft, 0, 10);
            dragging = true;
            return true;
        }
        if (headless.Backend().ScriptLeft() > 0 || w->Dragging) return false;
        dragging = false;
        answers.erase(answers.begin());
        const int dx = w->Left() - from.x, dy = w->Top() - from.y;
        seen.push_back(name + (dx == 30 && dy == 15 ? " moved"
                               : dx == 0 && dy == 0
                                   ? " stayed"
                                   : " moved by " + std::to_string(dx) + "," + std::to_string(dy)));
        return true;
    }
    std::string Slot(int k) const { return dir + "/QDV" + std::to_string(k + 1) + ".QDV"; }

    std::string dir;
    std::vector<std::string> answers, seen, lists;
    bool dragging = false;
    ui::Point from{};
};

TEST_F(SaveWindowsTest, SaveIntoAnEmptySlotWritesItAndTheSystemFile) {
    SetGameDay(30);
    SetMoney(12345);
    answers = {"yes", "2", "close"};
    EXPECT_TRUE(SaveGameFlow());
    EXPECT_EQ(seen, (std::vector<std::string>{"msg1", "list1", "msg3"}));
    EXPECT_EQ(fs::file_size(Slot(2)), kSlotFileSize);
    EXPECT_EQ(fs::file_size(dir + "/QDV0.QDV"), kSystemFileSize);
    // Labels count from 0, files from 1; every slot was empty.
    ASSERT_EQ(lists.size(), 6u);
    EXPECT_EQ(lists[2], "2：   未使用|");

    // The list now shows slot 2 with its day (day 30: month 2, day 7) and money.
    answers = {"yes", "close"};
    seen.clear();
    lists.clear();
    EXPECT_FALSE(SaveGameFlow());
    ASSERT_EQ(lists.size(), 6u);
    EXPECT_EQ(lists[2], "2： 2月7日|12345Ｇ");
    EXPECT_EQ(lists[0], "0：   未使用|");
}

TEST_F(SaveWindowsTest, AnOccupiedSlotAsksAndNoGoesBackToTheList) {
    ASSERT_TRUE(SaveGame(1));
    const auto before = fs::last_write_time(Slot(1));
    SetMoney(777);
    answers = {"yes", "1", "no", "close"};
    EXPECT_FALSE(SaveGameFlow());
    EXPECT_EQ(seen, (std::vector<std::string>{"msg1", "list1", "msg2", "list1"}));
    EXPECT_EQ(fs::last_write_time(Slot(1)), before);
    std::int32_t day = 0, money = 0;
    ASSERT_TRUE(PeekSaveSlot(1, day, money));
    EXPECT_NE(money, 777);

    answers = {"yes", "1", "yes", "close"};
    seen.clear();
    EXPECT_TRUE(SaveGameFlow());
    EXPECT_EQ(seen, (std::vector<std::string>{"msg1", "list1", "msg2", "msg3"}));
    ASSERT_TRUE(PeekSaveSlot(1, day, money));
    EXPECT_EQ(money, 777);
}

TEST_F(SaveWindowsTest, TheLoadListIgnoresEmptySlotsAndTheGameWakesInTheMorning) {
    SetGameDay(50);
    SetGameHour(14);
    SetMoney(4321);
    ASSERT_TRUE(SaveGame(4));
    SetGameDay(3);
    SetMoney(5);
    answers = {"yes", "0", "4"};
    EXPECT_TRUE(LoadGameFlow());
    EXPECT_EQ(seen, (std::vector<std::string>{"msg0", "list0", "ignored 0", "list0"}));
    EXPECT_EQ(GameDay(), 50);
    EXPECT_EQ(GameMoney(), 4321);
    EXPECT_TRUE(ShopForm->Shop2FPanel->Visible());
    EXPECT_EQ(ShopForm->Shop2FMode, 5);  // the morning, whatever the saved hour
}

// A game loaded while the shop was open or closed takes the open state of its own
// hour: the clock's sign and the exhibition menu follow the loaded game at once.
TEST_F(SaveWindowsTest, ALoadedGameTakesTheShopsOpenStateOfItsHour) {
    struct Case {
        int savedHour;
        bool openBefore, openAfter;
    };
    for (const Case c : {Case{8, true, false}, Case{14, false, true}}) {
        SCOPED_TRACE(c.savedHour);
        SetGameDay(50);  // a working day
        SetGameHour(c.savedHour);
        ASSERT_TRUE(SaveGame(4));
        SetGameHour(12);
        if (c.openBefore)
            ShopForm->SetShopOpen();
        else
            ShopForm->SetShopClosed();
        answers = {"4"};
        EXPECT_TRUE(LoadFromListFlow());
        EXPECT_EQ(ShopForm->IsShopOpen(), c.openAfter);
        EXPECT_EQ(ShopForm->PM_Exhibition->Enabled, !c.openAfter);
    }
}

TEST_F(SaveWindowsTest, DamagedSlotsShowAsUnreadableCannotBeLoadedAndAskBeforeASave) {
    SetGameDay(60);
    ASSERT_TRUE(SaveGame(0));
    // Slot 1: a truncated copy; slot 2: random bytes of the right size.
    {
        std::ifstream in(Slot(0), std::ios::binary);
        std::vector<char> bytes((std::istreambuf_iterator<char>(in)), {});
        std::ofstream(Slot(1), std::ios::binary).write(bytes.data(), 1000);
        std::uint32_t x = 12345;
        for (char& c : bytes) {
            x = x * 1103515245u + 12345u;
            c = static_cast<char>(x >> 24);
        }
        std::ofstream(Slot(2), std::ios::binary).write(bytes.data(), bytes.size());
    }
    SetGameDay(7);
    answers = {"1", "2", "close"};
    EXPECT_FALSE(LoadFromListFlow());
    EXPECT_EQ(seen,
              (std::vector<std::string>{"list0", "ignored 1", "list0", "ignored 2", "list0"}));
    ASSERT_GE(lists.size(), 6u);
    EXPECT_EQ(lists[0].rfind("0： ", 0), 0u);
    EXPECT_EQ(lists[1], "1：   無法讀取|");
    EXPECT_EQ(lists[2], "2：   無法讀取|");
    EXPECT_EQ(lists[3], "3：   未使用|");
    EXPECT_EQ(GameDay(), 7);  // nothing changed
    EXPECT_EQ(ShopForm->Shop2FMode, 0);

    // Saving over a damaged slot asks, as over a game; No keeps the file for a repair.
    const auto size = fs::file_size(Slot(1));
    answers = {"yes", "1", "no", "close"};
    seen.clear();
    EXPECT_FALSE(SaveGameFlow());
    EXPECT_EQ(seen, (std::vector<std::string>{"msg1", "list1", "msg2", "list1"}));
    EXPECT_EQ(fs::file_size(Slot(1)), size);
    answers = {"yes", "1", "yes", "close"};
    EXPECT_TRUE(SaveGameFlow());
    EXPECT_EQ(fs::file_size(Slot(1)), kSlotFileSize);
}

// A damaged system file costs what all games share, never the game: the slot loads and
// the player is told, once a run, as of any damaged file; the file stays as it is until
// the next save writes the record this run holds.
TEST_F(SaveWindowsTest, ADamagedSystemFileStillLetsTheGameLoad) {
    SetGameDay(40);
    ASSERT_TRUE(SaveGame(3));
    std::vector<std::string> boxes;
    headless.Backend().SetMessageBoxResponder([&boxes](const ui::MessageBoxRequest& r) {
        boxes.push_back(ui::Big5ToUtf8(r.text));
        return ui::IDOK;
    });
    for (std::size_t cut : {std::size_t{1}, kSystemFileSize - 1}) {
        SCOPED_TRACE(cut);
        std::ofstream(dir + "/QDV0.QDV", std::ios::binary | std::ios::trunc)
            .write(std::string(cut, '\x01').data(), static_cast<std::streamsize>(cut));
        SetGameDay(2);
        answers = {"3", "close"};
        seen.clear();
        EXPECT_TRUE(LoadFromListFlow());
        EXPECT_EQ(seen, (std::vector<std::string>{"list0"}));
        EXPECT_EQ(GameDay(), 40);
        EXPECT_EQ(fs::file_size(dir + "/QDV0.QDV"), cut);
    }
    EXPECT_EQ(boxes, std::vector<std::string>{"檔案已經損壞\nQDV0.QDV"});
    answers = {"yes", "3", "yes", "close"};
    EXPECT_TRUE(SaveGameFlow());
    EXPECT_EQ(fs::file_size(dir + "/QDV0.QDV"), kSystemFileSize);
}

// The slot replaced but not the system file (a full disk between the two writes): the
// player reads that the game was saved and the shared record was not.
bool FailSecondWrite() {
    static int writes = 0;
    return ++writes % 2 == 1;
}

TEST_F(SaveWindowsTest, ASaveReportsWhatWasSavedAndWhatWasNot) {
    SetGameDay(25);
    SetSaveRenameHook(&FailSecondWrite);
    answers = {"yes", "4", "close"};
    const bool saved = SaveGameFlow();
    SetSaveRenameHook(nullptr);
    EXPECT_TRUE(saved);
    EXPECT_EQ(seen, (std::vector<std::string>{"msg1", "list1", "msg5"}));
    std::int32_t day = 0, money = 0;
    ASSERT_TRUE(PeekSaveSlot(4, day, money));
    EXPECT_EQ(day, 25);
    EXPECT_FALSE(fs::exists(dir + "/QDV0.QDV"));
}

TEST_F(SaveWindowsTest, BothWindowsAreDraggedByTheirCaptionStripOrTheirTag) {
    // The message window (276 wide): its strip is x 8..268, y 8..34, the tag picture at
    // x 212..260, y 10..30; the list (238 wide): strip x 8..230, tag x 174..222.
    answers = {"drag 20 20", "drag 236 20", "drag 20 40", "drag 272 20", "yes",
               "drag 20 20", "drag 198 20", "drag 20 40", "drag 234 20", "close"};
    EXPECT_FALSE(SaveGameFlow());
    EXPECT_EQ(seen, (std::vector<std::string>{"msg1 moved", "msg1 moved", "msg1 stayed",
                                              "msg1 stayed", "msg1", "list1 moved", "list1 moved",
                                              "list1 stayed", "list1 stayed", "list1"}));
}

TEST_F(SaveWindowsTest, ACancelledLoadLeavesTheSystemMenuWhereItWas) {
    ShopForm->MenuSystemClick();
    ASSERT_NE(SystemMForm, nullptr);
    SystemMForm->SetBounds(100, 120, SystemMForm->Width(), SystemMForm->Height());
    answers = {"no"};
    SystemMForm->LoadButtonClick();
    ASSERT_NE(SystemMForm, nullptr);
    EXPECT_TRUE(SystemMForm->Visible());
    EXPECT_EQ(SystemMForm->Left(), 100);
    EXPECT_EQ(SystemMForm->Top(), 120);
    EXPECT_EQ(seen, std::vector<std::string>{"msg0"});
    SystemMForm->CloseButtonClick();
    headless.RunFor(10);
    EXPECT_EQ(SystemMForm, nullptr);
}

TEST_F(SaveWindowsTest, BackToTheTitleWhileMixingDropsTheSceneWithoutTheOpening) {
    g_GameState.MixJob = {3, 2, 20, 5};
    ShopForm->OpeningPlayed = 1;
    int openings = 0;
    static int* counter = nullptr;
    counter = &openings;
    g_ShopHooks.PlayOpening = [](int) { ++*counter; };
    ShopForm->MenuSystemClick();
    ASSERT_NE(SystemMForm, nullptr);
    SystemMForm->TitleButtonClick();
    headless.RunFor(10);
    g_ShopHooks.PlayOpening = nullptr;
    EXPECT_EQ(SystemMForm, nullptr);
    EXPECT_EQ(ShopForm->SceneBuilt, 0);
    EXPECT_EQ(MainForm->SceneActive, 0);
    EXPECT_TRUE(ShopForm->TitlePanel->Visible());
    EXPECT_EQ(openings, 0);
}

}  // namespace
