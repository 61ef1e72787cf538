#include "tests/support/EventResponders.h"

#include "platform/Controls.h"
#include "skin/CHBCBTN.h"
#include "town/Spbtnfm.h"
#include "town/Srcdbtxtform21.h"

namespace test {

namespace {

ui::Point CentreOnScreen(const ui::Control& c) {
    return c.ClientToScreen(ui::Point{c.Width() / 2, c.Height() / 2});
}

}  // namespace

EventResponders::EventResponders(ui::HeadlessBackend& backend, std::uint32_t readMs)
    : backend_(backend), readMs_(readMs) {
    id_ = backend_.AddResponder([this] { return Step(); });
}

EventResponders::~EventResponders() { backend_.RemoveResponder(id_); }

bool EventResponders::Step() {
    if (backend_.ScriptLeft() != 0) return false;
    if (!BtnForm || !BtnForm->Visible()) answered_.reset();
    if (BtnForm && BtnForm->Visible() && BtnForm->Modal()) {
        // Its click may still be on its way: one answer a choice window.
        if (answered_.lock() == BtnForm->Life().lock()) return false;
        if (answers.empty()) return false;
        const int i = answers.front();
        if (i == kNoAnswer) {
            // The window closes with a result outside its captions, as when the run stops
            // while it waits.
            answers.pop_front();
            answered_ = BtnForm->Life();
            BtnForm->Choose(kNoAnswer);
            ++choicesAnswered;
            return true;
        }
        if (i < 0 || i >= BtnForm->Count()) return false;
        answers.pop_front();
        answered_ = BtnForm->Life();
        const ui::Point p = CentreOnScreen(*BtnForm->Button(i));
        backend_.Click(p.x, p.y, ui::MouseButton::mbLeft, 0, readMs_);
        ++choicesAnswered;
        return true;
    }
    TDbTxtForm2* win = DbTxtForm2;
    if (win && win->Visible() && win->m_BtnEnd->Showing() && !win->TestState(kMsgAcknowledged)) {
        const ui::Point p = CentreOnScreen(*win->m_BtnEnd);
        backend_.Click(p.x, p.y, ui::MouseButton::mbLeft, 0, readMs_);
        ++linesAcknowledged;
        return true;
    }
    return false;
}

}  // namespace test
