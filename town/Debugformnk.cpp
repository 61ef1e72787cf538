#include "town/Debugformnk.h"

#include <array>
#include <cerrno>
#include <cstdlib>

#include "platform/Big5.h"
#include "platform/Screen.h"
#include "shop/Main.h"
#include "story/EventTables.h"
#include "town/EvControler.h"
#include "town/EventTables.h"
#include "town/Evsrvfm.h"

TDbgFm* DbgFm = nullptr;

namespace {

constexpr int kListed = 16;  // flags and variables listed per press

// The selector's numbering: 2 is the move table and 3 the search table here.
const std::array<const char*, TDbgFm::kTypeCount> kTypeNames = {
    "觀看指令事件", "交談指令事件", "移動時的事件", "尋找指令事件", "每日起始事件",
    "回合前頭事件", "花圃事件",     "結局事件",     "交貨事件",     "顧客委託事件",
};

EventTable* TableOfType(int type) {
    switch (type) {
        case 0:
            return &LookEvents;
        case 1:
            return &TalkEvents;
        case 2:
            return &MoveEvents;
        case 3:
            return &SearchEvents;
        case 4:
            return &DayStartEvents;
        case 5:
            return &TurnStartEvents;
        case 6:
            return &FlowerbedEvents;
        case 8:
            return &DeliveryEvents;
        case 9:
            return &CustomerRequestEvents;
        default:
            return nullptr;  // 7 is the endings table, of another entry type
    }
}

// The whole text as a decimal number; false for anything else.
bool ParseInt(const std::string& text, long& out) {
    if (text.empty()) return false;
    errno = 0;
    char* end = nullptr;
    out = std::strtol(text.c_str(), &end, 10);
    return end != text.c_str() && *end == 0 && errno == 0;
}

// A number field read leniently: anything not a number counts as 0.
int NumberIn(const ui::Edit* edit) {
    long n = 0;
    if (!ParseInt(edit->Text(), n) || n < -1000000000L || n > 1000000000L) return 0;
    return static_cast<int>(n);
}

void DbgCheckMemo(const std::string& line) {
    if (DbgFm) DbgFm->m_MemChk->Add(line);
}

}  // namespace

std::string TDbgFm::EventTypeName(int type) {
    if (type < 0 || type >= kTypeCount) return {};
    return ui::Utf8ToBig5(kTypeNames[type]);
}

TDbgFm::TDbgFm() {
    Name = "DbgFm";
    SetCaption("DbgFm");
    SetBorderStyle(ui::BorderStyle::bsSingle);
    SetClientWidth(360);
    SetClientHeight(440);
    // The whole game screen is the stage, so the window stands at its right edge.
    SetBounds(ui::kScreenWidth - Width(), 0, Width(), Height());
    SetVisible(false);

    auto button = [this](ui::Button*& b, const char* name, const std::string& caption, int x, int y,
                         int w, std::function<void()> click) {
        b = Make<ui::Button>();
        b->Name = name;
        b->SetCaption(caption);
        b->SetBounds(x, y, w, 22);
        b->OnClick = [click](ui::Control&) { click(); };
    };
    auto edit = [this](ui::Edit*& e, const char* name, const std::string& text, int x, int y,
                       int w) {
        e = Make<ui::Edit>();
        e->Name = name;
        e->SetBounds(x, y, w, 20);
        e->SetText(text);
    };
    auto label = [this](const std::string& caption, int x, int y, int w) {
        ui::Label* l = Make<ui::Label>();
        l->SetCaption(caption);
        l->SetBounds(x, y, w, 16);
        return l;
    };

    // The event runner (the top row is left free for "pos:").
    m_LblTpName = label("", 8, 20, 160);
    m_LblTpName->Name = "m_LblTpName";
    m_UDnTpSel = Make<ui::UpDown>();
    m_UDnTpSel->Name = "m_UDnTpSel";
    m_UDnTpSel->Min = 0;
    m_UDnTpSel->Max = kTypeCount - 1;
    m_UDnTpSel->SetBounds(170, 18, 18, 22);
    edit(m_EdtEvIx, "m_EdtEvIx", "0", 194, 18, 150);
    button(m_BtnEvExec, "m_BtnEvExec", B5("實行"), 8, 44, 70, [this] { m_BtnEvExecClick(); });
    m_BtnEvExec->SetEnabled(false);
    button(m_BtnDbgMode, "m_BtnDbgMode", B5("除虫模式"), 84, 44, 80,
           [this] { m_BtnDbgModeClick(); });
    button(m_BtnChk, "m_BtnChk", "Check", 170, 44, 70, [this] { m_BtnChkClick(); });
    button(m_BtnTimer, "m_BtnTimer", "timer", 246, 44, 70, [this] { m_BtnTimerClick(); });

    // Date and time (the set buttons do nothing).
    edit(m_EdtM, "m_EdtM", "1", 8, 72, 40);
    label(B5("月"), 50, 74, 16);
    edit(m_EdtD, "m_EdtD", "1", 68, 72, 40);
    label(B5("日"), 110, 74, 16);
    button(m_BtnDaySet, "m_BtnDaySet", "day set", 130, 71, 70, [this] { m_BtnDaySetClick(); });
    edit(m_EdtTime, "m_EdtTime", "9", 206, 72, 40);
    button(m_BtnTimeSet, "m_BtnTimeSet", "time set", 250, 71, 70, [this] { m_BtnTimeSetClick(); });

    // Stage and shop, place and visitor figures.
    button(m_BtnEvFm, "m_BtnEvFm", "ev form", 8, 100, 80, [this] { m_BtnEvFmClick(); });
    button(m_BtnShpFm, "m_BtnShpFm", "shop form", 94, 100, 80, [this] { m_BtnShpFmClick(); });
    button(Button1, "Button1", "place", 8, 128, 60, [this] { Button1Click(); });
    edit(m_EdtPos, "m_EdtPos", "", 74, 129, 60);
    button(Button2, "Button2", "walk in", 140, 128, 70, [this] { Button2Click(); });
    button(Button3, "Button3", "leave", 216, 128, 70, [this] { Button3Click(); });

    // Flags and variables.
    edit(m_EdtFlNum, "m_EdtFlNum", "1", 8, 157, 60);
    button(m_BtnFlChk, "m_BtnFlChk", "flag check", 74, 156, 80, [this] { m_BtnFlChkClick(); });
    m_CbxFlag = Make<ui::CheckBox>();
    m_CbxFlag->Name = "m_CbxFlag";
    m_CbxFlag->SetCaption("on");
    m_CbxFlag->SetBounds(160, 158, 40, 18);
    button(m_BtnFlSet, "m_BtnFlSet", "flag set", 204, 156, 70, [this] { m_BtnFlSetClick(); });
    edit(Edit1, "Edit1", "0", 8, 185, 60);
    button(m_BtnVal, "m_BtnVal", "var", 74, 184, 60, [this] { m_BtnValClick(); });
    button(m_BtnValSet, "m_BtnValSet", "var set", 140, 184, 70, [this] { m_BtnValSetClick(); });

    m_MemChk = Make<ui::Memo>();
    m_MemChk->Name = "m_MemChk";
    m_MemChk->ReadOnly = true;
    m_MemChk->SetBounds(8, 212, 344, 220);

    OnPaint = [this](ui::Form&) {
        if (m_LastPos >= 0) GetCanvas().TextOut(0, 0, "pos:" + std::to_string(m_LastPos));
    };

    DbgFm = this;
    TEventServerDbg::Hooks.CheckMemo = DbgCheckMemo;
    EventServerHooks.ClearCheckMemo = [] {
        if (DbgFm) DbgFm->m_MemChk->Clear();
    };
    g_GameFlowHooks.ShowTypeName = [] {
        if (DbgFm) DbgFm->ShowTypeName();
    };
}

TDbgFm::~TDbgFm() {
    if (DbgFm == this) {
        DbgFm = nullptr;
        TEventServerDbg::Hooks.CheckMemo = nullptr;
        EventServerHooks.ClearCheckMemo = nullptr;
        g_GameFlowHooks.ShowTypeName = nullptr;
    }
}

void TDbgFm::ShowTypeName() {
    const int pos = m_UDnTpSel->Position();
    if (pos == m_LastPos) return;
    m_LastPos = pos;
    m_LblTpName->SetCaption(EventTypeName(pos));
    Repaint();
}

bool TDbgFm::RunSelectedSlot() {
    const std::string text = m_EdtEvIx->Text();
    long index = -1;
    const bool number = ParseInt(text, index);
    // An index outside the table is an empty slot, never a read past it.
    const bool inTable = number && index >= 0 && index < kEventTableSlots;
    const int type = m_UDnTpSel->Position();
    bool ran = false;
    if (inTable) {
        if (type == 7) {
            if (EndingProc p = EndingEvents[index]) {
                p();
                ran = true;
            }
        } else if (EventTable* table = TableOfType(type)) {
            if (EventProc p = (*table)[index]) {
                p();
                ran = true;
            }
        }
    }
    if (!ran) m_EdtEvIx->SetText(text + B5("號事件並不存在"));
    return ran;
}

void TDbgFm::m_BtnDbgModeClick() {
    if (EventServerDbg) EventServerDbg->ConditionOverride = 1;
    m_BtnDbgMode->SetEnabled(false);
    m_BtnEvExec->SetEnabled(true);
}

void TDbgFm::m_BtnEvExecClick() {
    if (!EventServerDbg || !EventServerDbg->ConditionOverride) return;
    // Every condition of the slot holds; its EventBegin already clears the override.
    RunSelectedSlot();
    if (EventServerDbg) EventServerDbg->ConditionOverride = 0;
    m_BtnDbgMode->SetEnabled(true);
    m_BtnEvExec->SetEnabled(false);
}

void TDbgFm::m_BtnChkClick() {
    if (!EventServerDbg) return;
    // The event's own conditions decide; a pending debug mode waits for "實行".
    const std::uint8_t pending = EventServerDbg->ConditionOverride;
    EventServerDbg->ConditionOverride = 0;
    RunSelectedSlot();
    if (EventServerDbg) EventServerDbg->ConditionOverride = pending;
}

void TDbgFm::m_BtnTimerClick() {
    if (MainForm) MainForm->Timer1.SetEnabled(false);
    if (GameFlow) GameFlow->Tick();
    if (MainForm) MainForm->Timer1.SetEnabled(true);
}

void TDbgFm::m_BtnEvFmClick() {
    if (EventServerDbg) EventServerDbg->ShowStage();
}

void TDbgFm::m_BtnShpFmClick() {
    if (EventServerDbg) EventServerDbg->HideStage();
}

void TDbgFm::Button1Click() {
    if (GameFlow) m_EdtPos->SetText(std::to_string(GameFlow->Place));
}

void TDbgFm::Button2Click() {
    if (EventServerDbg) EventServerDbg->ShopAction(NumberIn(m_EdtPos), 0);
}

void TDbgFm::Button3Click() {
    if (EventServerDbg) EventServerDbg->ShopAction(NumberIn(m_EdtPos), 1);
}

void TDbgFm::m_BtnFlChkClick() {
    m_MemChk->Clear();
    const int n = NumberIn(m_EdtFlNum);
    for (int k = 0; k < kListed; ++k) {
        const bool on = EventServerDbg && EventServerDbg->TestFlg(n + k);
        m_MemChk->Add(std::to_string(k) + ":" + std::to_string(n + k) + ": " + (on ? "T" : "F"));
    }
}

void TDbgFm::m_BtnFlSetClick() {
    if (EventServerDbg) EventServerDbg->SetFlg(NumberIn(m_EdtFlNum), m_CbxFlag->Checked());
}

void TDbgFm::ListVariables() {
    m_MemChk->Clear();
    const int n = NumberIn(Edit1);
    for (int k = 0; k < kListed; ++k) {
        const int value = EventServerDbg ? EventServerDbg->Variable(n + k) : 0;
        m_MemChk->Add(std::to_string(k) + ":" + std::to_string(n + k) + ":" +
                      std::to_string(value));
    }
}

void TDbgFm::m_BtnValClick() { ListVariables(); }

void TDbgFm::m_BtnValSetClick() { ListVariables(); }
