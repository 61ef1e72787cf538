#include "shop/Saveloadlist.h"

#include <span>

#include "media/FileFaults.h"
#include "platform/Big5.h"
#include "platform/Files.h"
#include "platform/Transcript.h"
#include "resources/Resources.h"
#include "shop/GameState.h"
#include "shop/Goods.h"
#include "shop/Saveloadmsg.h"
#include "shop/Shop.h"

TSaveLoadListForm* SaveLoadListForm = nullptr;

namespace {

constexpr int kWidth = 238;
constexpr int kHeight = 300;
constexpr int kRowTop = 62;
constexpr int kRowStep = 32;
constexpr ui::TColor kRed = 0x0000FF;  // BGR, as the class library keeps colours
constexpr ui::TColor kBlack = 0x000000;
constexpr int kMorningMode = 5;

template <class F, class... A>
void Call(F* f, A... a) {
    if (f) f(a...);
}

int RunMessage(int mode) {
    auto* f = new TSaveLoadMessageForm();
    f->SetMessageMode(mode);
    const int r = f->ShowModal();
    delete f;
    return r;
}

int RunList(int mode) {
    auto* f = new TSaveLoadListForm();
    f->SetListMode(mode);
    const int r = f->ShowModal();
    delete f;
    return r;
}

}  // namespace

TSaveLoadListForm::TSaveLoadListForm()
    : TGameDialog(kWidth, kHeight, -1, CaptionStrip(8, 230, 8, 34)) {
    Name = "SaveLoadListForm";
    SaveLoadListForm = this;
    LoadBackground("DlgSaveLoadList.bmp");
    ImageTag = MakeDragTag(kWidth - 64, 10, 48, 20, "SaveTag.bmp");
    Label1 = MakeLabel(16, 40, "Label1");
    Label1->SetAutoSize(false);
    Label1->SetBounds(16, 40, kWidth - 32, 16);
    for (int k = 0; k < kSaveSlotCount; ++k) {
        const int top = kRowTop + kRowStep * k;
        Day[k] = MakeLabel(20, top, ("Day" + std::to_string(k)).c_str());
        Money[k] = MakeLabel(130, top, ("Money" + std::to_string(k)).c_str());
        Day[k]->SetAutoSize(false);
        Day[k]->SetBounds(20, top, 108, 16);
        Money[k]->SetAutoSize(false);
        Money[k]->SetBounds(130, top, 88, 16);
        Money[k]->SetAlignment(ui::Alignment::taRightJustify);
        for (ui::Label* l : {Day[k], Money[k]}) {
            l->Tag = k;
            l->OnMouseMove = [this, k](ui::Control&, ui::ShiftState, int, int) {
                SlotMouseMove(k);
            };
            l->OnClick = [this, k](ui::Control&) { SlotClick(k); };
        }
    }
}

TSaveLoadListForm::~TSaveLoadListForm() { ClearFormVariable(); }

void TSaveLoadListForm::ClearFormVariable() {
    if (SaveLoadListForm == this) SaveLoadListForm = nullptr;
}

void TSaveLoadListForm::Finish(int result) {
    finishing_ = true;
    SetModalResult(result);
}

void TSaveLoadListForm::SetListMode(int mode) {
    mode_ = mode;
    CentreOnShop(*this);
    ImageTag->SetVisible(mode == 1);
    Label1->SetCaption(B5(mode == 1 ? "請選擇想要儲存的欄位" : "請選擇想要讀取的欄位"));
    ui::RecordBig5("box", Label1->Caption());
    for (int k = 0; k < kSaveSlotCount; ++k) {
        std::string day, money;
        state_[k] = SaveSlotLabels(k, day, money);
        Day[k]->SetCaption(day);
        Money[k]->SetCaption(money);
        ui::RecordBig5("slot", day + (money.empty() ? "" : " ") + money);
    }
}

void TSaveLoadListForm::SlotMouseMove(int slot) {
    for (int k = 0; k < kSaveSlotCount; ++k) {
        Day[k]->SetFontColor(k == slot ? kRed : kBlack);
        Money[k]->SetFontColor(k == slot ? kRed : kBlack);
    }
}

void TSaveLoadListForm::SlotClick(int slot) {
    if (slot < 0 || slot >= kSaveSlotCount) return;
    if (mode_ == 0 && state_[slot] != SlotState::kSaved) return;
    unsigned result = static_cast<unsigned>(kFirstSlotResult + slot);
    if (state_[slot] == SlotState::kEmpty) result |= kEmptySlotBit;
    Finish(static_cast<int>(result));
}

// ---------------------------------------------------------------- the flows

bool SaveGameFlow() {
    if (RunMessage(1) != 1) return false;
    int slot = -1;
    for (;;) {
        const int r = RunList(1);
        if (r == TSaveLoadListForm::kListClosed || r == 0) return false;
        const unsigned u = static_cast<unsigned>(r);
        slot = static_cast<int>(u & ~TSaveLoadListForm::kEmptySlotBit) -
               TSaveLoadListForm::kFirstSlotResult;
        if (slot < 0 || slot >= kSaveSlotCount) return false;
        if ((u & TSaveLoadListForm::kEmptySlotBit) != 0) break;
        if (RunMessage(2) == 1) break;
    }
    // The slot file and the system file are each replaced whole or not at all; the
    // report says which of them was.
    const bool saved = SaveGame(slot);
    const bool system = SaveSystemFile();
    ui::Record("save", (saved ? "slot " : "failed slot ") + std::to_string(slot) +
                           (system ? "" : ", failed system file"));
    RunMessage(!saved   ? TSaveLoadMessageForm::kSaveFailed
               : system ? TSaveLoadMessageForm::kSaved
                        : TSaveLoadMessageForm::kSavedWithoutRecord);
    return saved;
}

bool LoadGameFlow() {
    if (RunMessage(0) != 1) return false;
    return LoadFromListFlow();
}

bool LoadFromListFlow() {
    const int r = RunList(0);
    const unsigned u = static_cast<unsigned>(r);
    if (r == TSaveLoadListForm::kListClosed || r < TSaveLoadListForm::kFirstSlotResult ||
        (u & TSaveLoadListForm::kEmptySlotBit) != 0)
        return false;
    const int slot = r - TSaveLoadListForm::kFirstSlotResult;
    if (slot >= kSaveSlotCount) return false;
    // A missing system file (a first run has none) is no error; a damaged one costs
    // only what all games share: the game loads, the player is told (once a run, as of
    // any damaged file), and the next save writes the record this run holds.
    std::uint8_t system[kSystemFileSize];
    const bool haveSystem = ReadSaveFile(system, sizeof system, kSystemFileName);
    const bool systemDamaged = !haveSystem && SaveFileThere(kSystemFileName);
    // LoadGame reads and checks the whole slot before the game takes it.
    if (!LoadGame(slot)) {
        ui::Record("load", "failed slot " + std::to_string(slot));
        return false;
    }
    if (haveSystem) static_cast<void>(ApplySystemImage(system, sizeof system));
    ui::Record("load",
               "slot " + std::to_string(slot) + (systemDamaged ? ", system file damaged" : ""));
    if (systemDamaged) TellFileFault(kSystemFileName);
    if (ShopForm) {
        // The shop is open or closed as the loaded hour has it, not as the game left
        // behind had it: the clock's sign and the exhibition menu follow at once.
        if (IsShopOpenTime(GameDay(), GameHour()))
            ShopForm->SetShopOpen();
        else
            ShopForm->SetShopClosed();
        ShopForm->StartShop2FMode(kMorningMode);
    }
    RefreshAllShelfSlots();
    Call(g_ShopHooks.RenewWatchAndCalendar);
    return true;
}
