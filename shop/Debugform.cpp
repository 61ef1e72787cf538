#include "shop/Debugform.h"

#include <string>

#include "platform/Big5.h"
#include "platform/Transcript.h"
#include "shop/Catalog.h"
#include "shop/GameState.h"
#include "shop/ItemPainters.h"

TDebugForm* DebugForm = nullptr;

namespace {

constexpr int kRowTop = 22;
constexpr int kRowHeight = 16;
constexpr int kNameX = 8, kNumX = 150, kShowX = 192, kBarX = 218, kSideX = 244, kValueX = 280;

// Steps `v` by `d` within lo..hi, coming round at either end.
int Wrap(int v, int d, int lo, int hi) {
    const int n = hi - lo + 1;
    return ((v - lo + d) % n + n) % n + lo;
}

}  // namespace

TDebugForm::TDebugForm() {
    Name = "DebugForm";
    SetCaption(B5("參數"));
    SetBorderStyle(ui::BorderStyle::bsSingle);
    SetFormStyle(
        ui::FormStyle::fsStayOnTop);  // over the clock, the calendar and the message window
    SetClientWidth(360);
    SetClientHeight(kRowTop + kRows * kRowHeight + 6);
    SetBounds(8, 40, Width(), Height());  // above the message window
    SetVisible(false);

    auto label = [this](const char* name, int x, int y, int w, const std::string& caption = {}) {
        ui::Label* l = Make<ui::Label>();
        l->Name = name;
        l->SetAutoSize(false);
        l->SetBounds(x, y, w, kRowHeight - 2);
        l->SetCaption(caption);
        return l;
    };
    auto press = [](std::function<void(bool, ui::ShiftState)> f) {
        return [f](ui::Control&, ui::MouseButton b, ui::ShiftState s, int, int) {
            if (b != ui::MouseButton::mbMiddle) f(b == ui::MouseButton::mbRight, s);
        };
    };

    DbItemNameHeader = label("DbItemNameHeader", kNameX, 4, 120, B5("物品"));
    DbItemNum = label("DbItemNum", kNumX, 4, 36, B5("數量"));
    DbItemNum->SetAlignment(ui::Alignment::taRightJustify);
    DbItemNum->OnMouseDown =
        press([this](bool r, ui::ShiftState s) { DbItemNumHeaderPress(r, s); });
    DbItemShow = label("DbItemShow", kShowX - 4, 4, 26, B5("已知"));
    DbItemShow->OnDblClick = [this](ui::Control&) { DbItemShowHeaderDblClick(); };

    for (int k = 0; k < kRows; ++k) {
        const std::string n = (k < 10 ? "0" : "") + std::to_string(k);
        const int y = kRowTop + k * kRowHeight;
        DbItemName[static_cast<std::size_t>(k)] =
            label(("DbItemName" + n).c_str(), kNameX, y, kNumX - kNameX - 4);
        ui::Label* num = label(("DbItemNum" + n).c_str(), kNumX, y, 36);
        num->SetAlignment(ui::Alignment::taRightJustify);
        num->OnMouseDown = press([this, k](bool r, ui::ShiftState s) { DbItemNumPress(k, r, s); });
        DbItemNumRow[static_cast<std::size_t>(k)] = num;
        ui::Label* show = label(("DbItemShow" + n).c_str(), kShowX, y, 16);
        show->OnMouseDown = press([this, k](bool, ui::ShiftState) { DbItemShowPress(k); });
        DbItemShowRow[static_cast<std::size_t>(k)] = show;
    }

    ScrollBar1 = Make<ui::ScrollBar>();
    ScrollBar1->Name = "ScrollBar1";
    ScrollBar1->SetKind(ui::ScrollBarKind::sbVertical);
    ScrollBar1->SetBounds(kBarX, kRowTop, 16, kRows * kRowHeight);
    ScrollBar1->Min = 0;
    ScrollBar1->Max = kItemCount - kRows;  // the last page ends at the last item
    ScrollBar1->LargeChange = kRows;
    ScrollBar1->OnChange = [this](ui::Control&) { Redraw(); };

    int y = kRowTop;
    auto side = [&](const char* name, const char* caption) {
        if (caption) label("", kSideX, y, kValueX - kSideX, B5(caption));
        ui::Label* l = caption ? label(name, kValueX, y, 72) : label(name, kSideX, y, 108);
        y += 20;
        return l;
    };
    Condition = side("Condition", "狀態");
    Condition->OnClick = [this](ui::Control&) { ConditionClick(); };
    Level = side("Level", nullptr);
    Level->OnMouseDown = press([this](bool r, ui::ShiftState) { LevelPress(r); });
    Money = side("Money", "金錢");
    Money->OnMouseDown = press([this](bool r, ui::ShiftState s) { MoneyPress(r, s); });
    Popularity = side("Popularity", "評價");
    Popularity->OnMouseDown = press([this](bool r, ui::ShiftState s) { PopularityPress(r, s); });
    Month = side("Month", nullptr);
    Month->OnMouseDown = press([this](bool r, ui::ShiftState) { MonthPress(r); });
    Day = side("Day", nullptr);
    Day->OnMouseDown = press([this](bool r, ui::ShiftState) { DayPress(r); });

    OnClose = [](ui::Form&, ui::CloseAction& action) { action = ui::CloseAction::caFree; };
    DebugForm = this;
}

TDebugForm::~TDebugForm() {
    if (DebugForm == this) DebugForm = nullptr;
}

void TDebugForm::Disp(int first) {
    ScrollBar1->SetPosition(first);
    Redraw();
    Show();
    ui::Record("window", "參數");
}

int TDebugForm::RowItem(int row) const {
    const int i = ScrollBar1->Position() + row;
    return row >= 0 && row < kRows && i >= 0 && i < kItemCount ? i : -1;
}

void TDebugForm::Redraw() {
    for (int k = 0; k < kRows; ++k) {
        const std::size_t r = static_cast<std::size_t>(k);
        const int i = RowItem(k);
        ShowItemName(*DbItemName[r], i);
        if (i < 0) {
            DbItemNumRow[r]->SetCaption({});
            DbItemShowRow[r]->SetCaption({});
            continue;
        }
        ShowItemStock(*DbItemNumRow[r], i);
        DbItemShowRow[r]->SetCaption(B5(IsItemUnlocked(i) ? "○" : "×"));
    }
    ShowConditionText(*Condition);
    Level->SetCaption("Lv. " + std::to_string(GameLevel()));
    Money->SetCaption(std::to_string(GameMoney()));
    Popularity->SetCaption(std::to_string(GameReputation()));
    Month->SetCaption(std::to_string(MonthOfDay(GameDay()) + 1).append(B5("月")));
    Day->SetCaption(std::to_string(GameDay() % kDaysPerMonth + 1).append(B5("日")));
}

void TDebugForm::DbItemNumHeaderPress(bool right, ui::ShiftState shift) {
    const int n = (shift & ui::ssShift) ? 10 : 1;
    for (int i = 0; i < kItemCount; ++i) AddItemStock(i, right ? -n : n);
    Redraw();
}

void TDebugForm::DbItemNumPress(int row, bool right, ui::ShiftState shift) {
    const int i = RowItem(row);
    if (i < 0) return;
    const int n = (shift & ui::ssShift) ? 10 : 1;
    AddItemStock(i, right ? -n : n);
    Redraw();
}

void TDebugForm::DbItemShowHeaderDblClick() {
    for (int i = 0; i < kItemCount; ++i) {
        if (allKnownNext_)
            UnlockItem(i);
        else
            LockItem(i);
    }
    allKnownNext_ = !allKnownNext_;
    Redraw();
}

void TDebugForm::DbItemShowPress(int row) {
    const int i = RowItem(row);
    if (i < 0) return;
    if (IsItemUnlocked(i))
        LockItem(i);
    else
        UnlockItem(i);
    Redraw();
}

void TDebugForm::ConditionClick() {
    SetCondition(Wrap(GameCondition(), 1, 0, 2));
    Redraw();
}

void TDebugForm::LevelPress(bool right) {
    SetGameLevel(Wrap(GameLevel(), right ? -1 : 1, 1, kMaxLevel));
    Redraw();
}

void TDebugForm::MoneyPress(bool right, ui::ShiftState shift) {
    const int n = (shift & ui::ssCtrl) ? 10000 : (shift & ui::ssShift) ? 1000 : 100;
    AddMoney(right ? -n : n);  // no lower bound: the money may go below 0
    Redraw();
}

void TDebugForm::PopularityPress(bool right, ui::ShiftState shift) {
    const int n = (shift & ui::ssShift) ? 10 : 1;
    AddReputation(right ? -n : n);
    Redraw();
}

void TDebugForm::MonthPress(bool right) {
    const int d = GameDay();
    SetGameDay(Wrap(MonthOfDay(d), right ? -1 : 1, 0, 11) * kDaysPerMonth + d % kDaysPerMonth);
    Redraw();
}

void TDebugForm::DayPress(bool right) {
    const int d = GameDay();
    SetGameDay(MonthOfDay(d) * kDaysPerMonth + Wrap(d % kDaysPerMonth, right ? -1 : 1, 0, 23));
    Redraw();
}
