#include "bench/route/Shopkeeper.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "bench/simyear/SimYear.h"
#include "platform/Application.h"
#include "platform/Controls.h"
#include "platform/Files.h"
#include "platform/Transcript.h"
#include "platform/headless/HeadlessBackend.h"
#include "shop/Catalog.h"
#include "shop/Exhibition.h"
#include "shop/Fashion.h"
#include "shop/GameDialog.h"
#include "shop/GameState.h"
#include "shop/Heroine.h"
#include "shop/Itemmix.h"
#include "shop/Itemmixlist.h"
#include "shop/Main.h"
#include "shop/Mixconfirm.h"
#include "shop/Mixing.h"
#include "shop/Option.h"
#include "shop/Saveloadmsg.h"
#include "shop/Shop.h"
#include "skin/CHBCBTN.h"
#include "tests/support/EventResponders.h"
#include "tests/support/HeadlessApp.h"
#include "town/EvCommands.h"
#include "town/EvControler.h"
#include "town/MapTables.h"
#include "town/Mapform.h"
#include "town/Srcdbtxtform21.h"

namespace fs = std::filesystem;
using namespace command;

namespace route {

namespace {

// The virtual milliseconds the shopkeeper takes before each click.
constexpr std::uint32_t kClickMs = 100;
constexpr int kShopPlace = 10;    // inside the shop
constexpr int kShopFront = 0;     // the town node of the shop
constexpr int kFlowerHouse = 1;   // the town node of 芙蘿蕾's house and the flowerbed
constexpr int kWellStocked = 20;  // units on hand that need no mixing
constexpr int kMixPages = 8;      // pages of the mixing list looked through for a goods

// The batches (up to four) of a goods the materials at hand allow.
int BatchesAtHand(int g) {
    for (int b = 4; b >= 1; --b) {
        bool enough = true;
        for (int k = 0; k < 3; ++k) {
            const int m = RecipeMaterial(g, k);
            if (m >= 0 && m < kItemCount && ItemStock(m) < b * RecipeQuantity(g, k)) enough = false;
        }
        if (enough) return b;
    }
    return 0;
}

}  // namespace

ui::Point Centre(const ui::Control& c) {
    return c.ClientToScreen(ui::Point{c.Width() / 2, c.Height() / 2});
}

int Count(const ui::Transcript& t, const std::string& kind, const std::string& text) {
    int n = 0;
    for (const ui::TranscriptEntry& e : t.Entries())
        if (e.kind == kind && (text.empty() || e.text == text)) ++n;
    return n;
}

ScratchGameFolder::ScratchGameFolder(const std::string& game) {
    std::string pattern = (fs::temp_directory_path() / "playyear-XXXXXX").string();
    if (!mkdtemp(pattern.data())) return;
    dir_ = pattern;
    std::error_code ec;
    for (const fs::directory_entry& e : fs::directory_iterator(game, ec)) {
        const std::string name = e.path().filename().string();
        if (name.size() == 8 && name.rfind("QDV", 0) == 0) continue;
        fs::create_symlink(fs::absolute(e.path()), fs::path(dir_) / name, ec);
    }
}

ScratchGameFolder::~ScratchGameFolder() {
    std::error_code ec;
    if (!dir_.empty()) fs::remove_all(dir_, ec);
}

int Shopkeeper::Place() { return GameFlow ? GameFlow->Place : kShopPlace; }

bool Shopkeeper::Step() {
    // Not while a click is still on its way: the state it changes is not there yet.
    if (!backend_.InputSettled()) return false;
    if (SaveLoadMessageForm && SaveLoadMessageForm->Visible()) {
        ++savesDeclined;
        return Click(*SaveLoadMessageForm->NoButton);
    }
    if (!started) return false;
    if (CommandMenu()) return true;
    if (MapFm && MapFm->Visible()) return OnTheMap();
    if (!ShopForm || !ShopForm->Visible()) return false;
    if (ShopForm->TitlePanel && ShopForm->TitlePanel->Visible()) return false;
    if (OptionForm && OptionForm->Visible())
        return Click(OptionForm->OptionWatchAnime->Down() ? *OptionForm->CloseButton
                                                          : *OptionForm->OptionWatchAnime);
    if (ExhibitionConfirmForm && ExhibitionConfirmForm->Visible()) return ConfirmSlot();
    if (ExhibitionListForm && ExhibitionListForm->Visible()) return SlotList();
    if (ExhibitionForm && ExhibitionForm->Visible()) return SlotDialog();
    if (ItemMixConfirmForm && ItemMixConfirmForm->Visible())
        return Click(*ItemMixConfirmForm->CloseButton);
    if (ItemMixForm && ItemMixForm->Visible()) return MixingWindow();
    if (ItemMixListForm && ItemMixListForm->Visible()) return MixingList();
    // A mixing job's hours are skipped with the top bar's 跳過回合.
    if (MixHoursLeft() > 0 && MainForm && !MainForm->FastForward) {
        TCHBcSpeedButton* skip = ShopForm->MenuSkipTurn;
        if (skip && skip->Showing() && skip->Enabled()) return Click(*skip);
    }
    if (!HeroineIdle()) return false;
    if (!sweepOff_) {
        // Nothing else until the sweep is off.
        if (!ShopForm->MenuOption->Enabled()) return false;
        sweepOff_ = true;
        return Click(*ShopForm->MenuOption);
    }
    if (GameDay() > maxDay && std::getenv("PLAYYEAR_PROGRESS"))
        std::fprintf(stderr, "day %d, virtual %u ms\n", GameDay(), ui::GetTickCount());
    maxDay = std::max(maxDay, GameDay());
    if (laidOutOn_ != GameDay() && !ShopForm->IsShopOpen() && GameHour() >= 8) {
        std::vector<int> leaveOff;
        for (const auto& w : wants_) leaveOff.push_back(w.first);
        layout_ = PlannedSlots(leaveOff);
        laidOutOn_ = GameDay();
        laying_ = true;
    }
    if (laying_ && LayOut()) return true;
    if (StartMixing() || GoOut()) return true;
    // The shop's fast speed, as a player in a hurry sets it.
    if (!ShopForm->FastMode()) ShopForm->SpeedButtonClick();
    TCHBcSpeedButton* next = ShopForm->MenuNextTurn;
    if (next && next->Showing() && next->Enabled()) {
        ++nextTurns;
        return Click(*next);
    }
    return false;
}

bool Shopkeeper::Click(const ui::Control& c) { return ClickAt(Centre(c)); }

bool Shopkeeper::ClickAt(ui::Point p) {
    backend_.Click(p.x, p.y, ui::MouseButton::mbLeft, 0, kClickMs);
    return true;
}

bool Shopkeeper::ShopMenuReady() {
    return ShopForm->PopupMenu1.AutoPopup && ShopForm->PendingAction == 0;
}

void Shopkeeper::Want(int item, int count) {
    for (auto& w : wants_)
        if (w.first == item) {
            w.second = std::max(w.second, count);
            return;
        }
    wants_.emplace_back(item, count);
}

bool Shopkeeper::Wanted(int item) const {
    return std::any_of(wants_.begin(), wants_.end(),
                       [item](const std::pair<int, int>& w) { return w.first == item; });
}

bool Shopkeeper::LayOut() {
    if (ShopForm->IsShopOpen()) {
        laying_ = false;
        return false;
    }
    if (!ShopMenuReady() || !ShopForm->PM_Exhibition->Enabled) return false;
    // First every slot that holds other goods than the plan's is cleared (the goods may
    // be planned for another slot: the list offers only goods on no slot), then the
    // empty slots are filled.
    for (int k = 0; k < kExhibitionSlots; ++k)
        if (SlotItem(k) != -1 && SlotItem(k) != layout_[k]) {
            layoutSlot_ = k;
            ShopForm->Exhibition0Click(k);
            return true;
        }
    for (int k = 0; k < kExhibitionSlots; ++k)
        if (SlotItem(k) == -1 && layout_[k] != -1 && ItemSlot(layout_[k]) == -1) {
            layoutSlot_ = k;
            pagesTurned_ = 0;
            ShopForm->Exhibition0Click(k);
            return true;
        }
    laying_ = false;
    return false;
}

bool Shopkeeper::SlotDialog() {
    TExhibitionForm& d = *ExhibitionForm;
    const bool clear = d.Slot == layoutSlot_ && laying_ && d.Item != layout_[d.Slot];
    return Click(clear ? *d.PutAwayButton : *d.CloseButton);
}

bool Shopkeeper::SlotList() {
    TExhibitionListForm& list = *ExhibitionListForm;
    const int want = laying_ && list.Slot == layoutSlot_ ? layout_[list.Slot] : -1;
    if (want >= 0) {
        for (int r = 0; r < ItemListPageSize; ++r)
            if (ItemListRowItem(r) == want) return Click(*list.Rows[r].ItemName);
        if (pagesTurned_++ < kMixPages && list.NextPageButton->Enabled())
            return Click(*list.NextPageButton);
    }
    // Not found: the slot stays empty today.
    if (want >= 0) layout_[list.Slot] = -1;
    return Click(*list.CloseButton);
}

bool Shopkeeper::ConfirmSlot() {
    TExhibitionConfirmForm& c = *ExhibitionConfirmForm;
    const bool planned = laying_ && c.Slot == layoutSlot_ && c.Item == layout_[c.Slot];
    return Click(planned ? *c.DicodeButton : *c.CloseButton);
}

bool Shopkeeper::StartMixing() {
    const int hour = GameHour();
    const int when = GameDay() * 24 + hour;
    if (!ShopMenuReady() || ShopForm->IsShopOpen() || MixHoursLeft() > 0) return false;
    if (triedMixAt_ == when || hour < 8 || hour >= 21) return false;
    triedMixAt_ = when;
    int best = -1;
    // What the story wants comes first.
    for (const auto& [item, count] : wants_)
        if (best < 0 && item < kGoodsCount && IsItemUnlocked(item) && ItemStock(item) < count &&
            BatchesAtHand(item) > 0)
            best = item;
    const bool wanted = best >= 0;
    for (int g = 0; g < kGoodsCount && !wanted; ++g) {
        if (!IsItemUnlocked(g) || ItemStock(g) == kKeyItemStock) continue;
        if (ItemStock(g) >= kWellStocked || BatchesAtHand(g) == 0) continue;
        if (best < 0 || Fashions[g].Popularity() > Fashions[best].Popularity()) best = g;
    }
    if (best < 0) return false;
    mixGoods_ = best;
    mixBatches_ = BatchesAtHand(best);
    pagesTurned_ = 0;
    ShopForm->PM_ItemMixClick();
    return true;
}

bool Shopkeeper::MixingList() {
    TItemMixListForm& list = *ItemMixListForm;
    if (mixGoods_ < 0) return Click(*list.CloseButton);
    for (int r = 0; r < ItemListPageSize; ++r)
        if (ItemListRowItem(r) == mixGoods_) return Click(*list.Rows[r].ItemName);
    if (pagesTurned_++ < kMixPages) return Click(*list.NextPageButton);
    mixGoods_ = -1;
    return Click(*list.CloseButton);
}

bool Shopkeeper::MixingWindow() {
    TItemMixForm& mix = *ItemMixForm;
    if (mixGoods_ != mix.Item) {
        mixGoods_ = -1;
        return Click(*mix.CloseButton);
    }
    if (mix.Batches != mixBatches_) return Click(*mix.MixButtons[mixBatches_ - 1]);
    mixGoods_ = -1;
    if (!mix.ItemMixButton->Enabled()) return Click(*mix.CloseButton);
    ++mixesOrdered;
    return Click(*mix.ItemMixButton);
}

bool Shopkeeper::GoOut() {
    const int hour = GameHour();
    if (!IsRestDay(GameDay()) || tripDay_ == GameDay() || hour < 10 || hour >= 16) return false;
    if (MixHoursLeft() > 0 || !ShopMenuReady()) return false;
    tripDay_ = GameDay();
    visited_ = false;
    ++trips;
    ShopForm->PM_ExitShopClick();
    return true;
}

bool Shopkeeper::OnTheMap() {
    if (MapFm->m_WalkState != 0 || !MapFm->m_BtnStatus->Enabled()) return false;
    if (DbTxtForm2 && !DbTxtForm2->Visible()) return Click(*MapFm->m_Img);
    const MapPlace& to = MapFm->m_Land                       ? kLandPlaces[0]
                         : visited_ || tripDay_ != GameDay() ? kTownPlaces[kShopFront]
                                                             : kTownPlaces[kFlowerHouse];
    const int half = kMarkSize / 2;
    return ClickAt(MapFm->m_Img->ClientToScreen(ui::Point{to.markX + half, to.markY + half}));
}

bool Shopkeeper::CommandMenu() {
    TDbTxtForm2* win = DbTxtForm2;
    if (!win || !win->Visible() || !win->m_MenuMode || win->m_BtnCount <= 0) return false;
    // The ids the menu shows, from its record, the transcript's last of its kind.
    const std::vector<ui::TranscriptEntry>& all = transcript_.Entries();
    const auto menu = std::find_if(all.rbegin(), all.rend(),
                                   [](const ui::TranscriptEntry& e) { return e.kind == "menu"; });
    std::vector<int> ids;
    std::istringstream shown(menu == all.rend() ? std::string() : menu->text);
    for (int id; shown >> id;) ids.push_back(id);
    int want = kMap;
    if ((Place() & 31) == kFlowerHouse && !visited_ && tripDay_ == GameDay()) want = kFlowerbed;
    if (Place() == kShopFront) want = kEnter;
    int pick = -1;
    for (int choice : {want, kMove, kMap, kCancel}) {
        const auto it = std::find(ids.begin(), ids.end(), choice);
        if (it != ids.end()) {
            pick = static_cast<int>(it - ids.begin());
            break;
        }
    }
    if (pick < 0 || pick >= win->m_BtnCount) pick = win->m_BtnCount - 1;
    if (ids[static_cast<std::size_t>(pick)] == kFlowerbed) visited_ = true;
    const ui::Rect& r = win->m_BtnRects[static_cast<std::size_t>(pick)];
    return ClickAt(win->ClientToScreen(ui::Point{(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}));
}

}  // namespace route
