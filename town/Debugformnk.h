#pragma once
#include <string>

#include "platform/Controls.h"
#include "platform/DevControls.h"
#include "platform/Form.h"

// The developer's window for the event engine: runs any slot of any event table, with
// or without its conditions, reads and sets event flags, lists event variables and the
// current place, steps the main timer by hand and switches between the stage and the
// shop. Made at start-up and kept hidden unless asked for.
class TDbgFm : public ui::Form {
public:
    TDbgFm();
    ~TDbgFm() override;
    TDbgFm(const TDbgFm&) = delete;
    TDbgFm& operator=(const TDbgFm&) = delete;

    static constexpr int kTypeCount = 10;
    // The type name of selector position `type` (Big5); empty outside 0..9.
    static std::string EventTypeName(int type);

    // Refresh from the game-flow controller (every 200 ms): shows the chosen type's
    // name once the selector has moved.
    void ShowTypeName();

    // --- Components ---
    ui::Label* m_LblTpName = nullptr;
    ui::UpDown* m_UDnTpSel = nullptr;
    ui::Edit* m_EdtEvIx = nullptr;
    ui::Button* m_BtnEvExec = nullptr;
    ui::Button* m_BtnDbgMode = nullptr;
    ui::Button* m_BtnTimer = nullptr;
    ui::Edit* m_EdtM = nullptr;
    ui::Edit* m_EdtD = nullptr;
    ui::Button* m_BtnDaySet = nullptr;
    ui::Edit* m_EdtTime = nullptr;
    ui::Button* m_BtnTimeSet = nullptr;
    ui::Button* m_BtnEvFm = nullptr;
    ui::Button* m_BtnShpFm = nullptr;
    ui::Memo* m_MemChk = nullptr;
    ui::Button* m_BtnChk = nullptr;
    ui::Button* Button1 = nullptr;
    ui::Edit* m_EdtPos = nullptr;
    ui::Button* Button2 = nullptr;
    ui::Button* m_BtnFlChk = nullptr;
    ui::Edit* m_EdtFlNum = nullptr;
    ui::CheckBox* m_CbxFlag = nullptr;
    ui::Button* m_BtnFlSet = nullptr;
    ui::Button* Button3 = nullptr;
    ui::Button* m_BtnVal = nullptr;
    ui::Edit* Edit1 = nullptr;
    ui::Button* m_BtnValSet = nullptr;

    // --- Handlers ---
    void m_BtnDbgModeClick();
    void m_BtnEvExecClick();
    void m_BtnChkClick();
    void m_BtnTimerClick();
    void m_BtnEvFmClick();
    void m_BtnShpFmClick();
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void m_BtnFlChkClick();
    void m_BtnFlSetClick();
    void m_BtnValClick();
    void m_BtnValSetClick();
    void m_BtnDaySetClick() {}
    void m_BtnTimeSetClick() {}

private:
    // Calls the slot named by the selector and the index field; false (with the
    // "does not exist" text in the index field) when the slot holds no event.
    bool RunSelectedSlot();
    void ListVariables();
    int m_LastPos = -1;  // the selector position last shown; -1 matches none
};

extern TDbgFm* DbgFm;
