// Message boxes drawn as the program's own forms, with the game's fonts: their answers
// by click, Enter and Escape, their place on the screen, and what they show.
#include "platform/MessageForm.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "platform/Big5.h"
#include "platform/Controls.h"
#include "platform/Form.h"
#include "platform/Screen.h"
#include "platform/Transcript.h"
#include "tests/support/HeadlessApp.h"

namespace {

class MessageFormTest : public test::HeadlessTest {
protected:
    void SetUp() override { headless.Backend().SetDrawMessageBoxes(true); }

    // Asks the box, and once it shows runs `answer` on it (once).
    int Ask(const char* text, unsigned flags, const std::function<void(ui::Form&)>& answer) {
        bool done = false;
        const int id = headless.Backend().AddResponder([&] {
            if (done) return false;
            for (ui::Form* f : ui::Forms())
                if (f->Name == "MessageForm" && f->Visible()) {
                    done = true;
                    shown = f;
                    seen = Seen(*f);
                    answer(*f);
                    return true;
                }
            return false;
        });
        const int r =
            headless.App().MessageBox(ui::Utf8ToBig5(text), ui::Utf8ToBig5("緹菈"), flags);
        headless.Backend().RemoveResponder(id);
        return r;
    }
    // The captions of the form's labels and buttons, in order.
    static std::vector<std::string> Seen(ui::Form& f) {
        std::vector<std::string> out;
        for (ui::Control* c : f.Controls()) out.push_back(ui::Big5ToUtf8(c->Caption()));
        return out;
    }
    void ClickOn(ui::Form& f, const char* name) {
        ui::Control* b = f.FindChild(name);
        ASSERT_NE(b, nullptr) << name;
        const ui::Point p = b->ClientToScreen({b->Width() / 2, b->Height() / 2});
        headless.Backend().Click(p.x, p.y);
    }

    ui::Form* shown = nullptr;
    std::vector<std::string> seen;
};

TEST_F(MessageFormTest, YesNoAnswersByClickEnterAndEscape) {
    ui::ScopedTranscript transcript;
    EXPECT_EQ(Ask("要結束遊戲嗎？", ui::MB_YESNO | ui::MB_ICONQUESTION,
                  [&](ui::Form& f) { ClickOn(f, "Answer1"); }),
              ui::IDNO);
    EXPECT_EQ(seen, (std::vector<std::string>{"要結束遊戲嗎？", "是", "否"}));
    EXPECT_EQ(transcript->Texts("box"), std::vector<std::string>{"緹菈: 要結束遊戲嗎？"});
    EXPECT_EQ(Ask("要結束遊戲嗎？", ui::MB_YESNO, [&](ui::Form& f) { ClickOn(f, "Answer0"); }),
              ui::IDYES);
    EXPECT_EQ(Ask("要結束遊戲嗎？", ui::MB_YESNO,
                  [&](ui::Form&) { headless.Backend().Key(ui::vk::Return); }),
              ui::IDYES);
    EXPECT_EQ(Ask("要結束遊戲嗎？", ui::MB_YESNO,
                  [&](ui::Form&) { headless.Backend().Key(ui::vk::Escape); }),
              ui::IDNO);
}

TEST_F(MessageFormTest, EveryKindOfBoxHasItsButtonsAndItsCancel) {
    struct Case {
        unsigned flags;
        std::vector<std::string> buttons;
        int escape;
    };
    for (const Case& c :
         {Case{ui::MB_OK, {"確定"}, ui::IDOK},
          Case{ui::MB_OKCANCEL, {"確定", "取消"}, ui::IDCANCEL},
          Case{ui::MB_RETRYCANCEL | ui::MB_ICONWARNING, {"重試", "取消"}, ui::IDCANCEL},
          Case{ui::MB_OK | ui::MB_ICONERROR, {"確定"}, ui::IDOK}}) {
        SCOPED_TRACE(c.flags);
        EXPECT_EQ(
            Ask("沒有檔案", c.flags, [&](ui::Form&) { headless.Backend().Key(ui::vk::Escape); }),
            c.escape);
        ASSERT_EQ(seen.size(), 1 + c.buttons.size());
        EXPECT_EQ(std::vector<std::string>(seen.begin() + 1, seen.end()), c.buttons);
    }
}

// Lines break at line feeds; the box stands in the middle of the screen, above the
// other forms, which take no input while it waits.
TEST_F(MessageFormTest, ItStandsCentredAndHoldsTheOtherFormsBack) {
    ui::Form behind;
    behind.SetBounds(0, 0, 640, 480);
    int clicks = 0;
    behind.OnMouseDown = [&](ui::Control&, ui::MouseButton, ui::ShiftState, int, int) { ++clicks; };
    behind.Show();
    const int r = Ask("檔案已經損壞\ncol24b/mapPack/mapPack.pak", ui::MB_OK | ui::MB_ICONERROR,
                      [&](ui::Form& f) {
                          const ui::Screen& s = headless.App().GetScreen();
                          EXPECT_NEAR(f.Left() + f.Width() / 2, s.Width() / 2, 1);
                          EXPECT_NEAR(f.Top() + f.Height() / 2, s.Height() / 2, 1);
                          headless.Backend().Click(5, 5);  // on the form behind
                          if (const char* path = std::getenv("MESSAGEFORM_SCREENSHOT"))
                              headless.Backend().ScriptAction(
                                  [path, this] {
                                      headless.App().Update();
                                      ui::WritePng(path, headless.App().GetScreen());
                                  },
                                  50);
                          headless.Backend().Key(ui::vk::Return, 0, 100);
                      });
    EXPECT_EQ(r, ui::IDOK);
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(seen,
              (std::vector<std::string>{"檔案已經損壞", "col24b/mapPack/mapPack.pak", "確定"}));
    EXPECT_FALSE(shown == nullptr);
}

}  // namespace
