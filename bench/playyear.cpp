// playyear [--seed N] [--game DIR]: the real program on the headless back end plays a
// new game through to the ending and back to the title, with a plain shopkeeper:
// - every line read on, every choice and offer answered with its first caption, the
//   morning save declined, the clock's sweep turned off in the option window;
// - each morning the goods with units to sell laid out on the slots, the most wanted
//   first;
// - in the mornings before the shop opens and in the evenings, when nothing is mixing,
//   the known goods that sells best and is short on the shelf mixed from the materials
//   at hand, through the mixing list and the mixing window;
// - on rest days a walk over the town map to 芙蘿蕾's house and the flowerbed, and home;
// - the top bar's next turn for everything else (the nights pass by themselves).
// It prints a digest of the year and, on the error stream, the real time the run took.
// The game folder is seen through a scratch folder, so the run starts with no endings
// seen and the system file it writes at the ending stays out of the game folder.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
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
#include "shop/Fashion.h"
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

namespace {

constexpr int kLastDay = 287;
// The virtual milliseconds the shopkeeper takes before each click.
constexpr std::uint32_t kClickMs = 100;
constexpr int kShopPlace = 10;    // inside the shop
constexpr int kShopFront = 0;     // the town node of the shop
constexpr int kFlowerHouse = 1;   // the town node of 芙蘿蕾's house and the flowerbed
constexpr int kWellStocked = 20;  // units on hand that need no mixing
constexpr int kMixPages = 8;      // pages of the mixing list looked through for a goods

ui::Point Centre(const ui::Control& c) {
    return c.ClientToScreen(ui::Point{c.Width() / 2, c.Height() / 2});
}

int Count(const ui::Transcript& t, const std::string& kind, const std::string& text = {}) {
    int n = 0;
    for (const ui::TranscriptEntry& e : t.Entries())
        if (e.kind == kind && (text.empty() || e.text == text)) ++n;
    return n;
}

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

// A game folder seen through a scratch folder: a link to each member but the save
// slots and the system file, which the run writes beside them.
class ScratchGameFolder {
public:
    explicit ScratchGameFolder(const std::string& game) {
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
    ~ScratchGameFolder() {
        std::error_code ec;
        if (!dir_.empty()) fs::remove_all(dir_, ec);
    }
    const std::string& Dir() const { return dir_; }

private:
    std::string dir_;
};

// The shopkeeper's own moves, made when no line or choice waits.
class Shopkeeper {
public:
    Shopkeeper(ui::HeadlessBackend& backend, const ui::Transcript& transcript)
        : backend_(backend), transcript_(transcript) {}

    bool started = false;
    int maxDay = 0, nextTurns = 0, savesDeclined = 0, mixesOrdered = 0, trips = 0;

    bool Step() {
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
        if (laidOutOn_ != GameDay() && !ShopForm->IsShopOpen()) {
            LayOutSlots();
            laidOutOn_ = GameDay();
        }
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

private:
    bool Click(const ui::Control& c) { return ClickAt(Centre(c)); }
    bool ClickAt(ui::Point p) {
        backend_.Click(p.x, p.y, ui::MouseButton::mbLeft, 0, kClickMs);
        return true;
    }

    static int Place() { return GameFlow ? GameFlow->Place : kShopPlace; }

    // The floor's menu would open for a right click, and no walk for one of its entries
    // is under way.
    static bool ShopMenuReady() {
        return ShopForm->PopupMenu1.AutoPopup && ShopForm->PendingAction == 0;
    }

    // ---- mixing

    // Before the shop opens or after it closes, with nothing mixing: the known goods
    // that sells best among those short on the shelf, as many batches as the materials
    // at hand allow, through the shop menu's 調配魔法.
    bool StartMixing() {
        const int hour = GameHour();
        const int when = GameDay() * 24 + hour;
        if (!ShopMenuReady() || ShopForm->IsShopOpen() || MixHoursLeft() > 0) return false;
        if (triedMixAt_ == when || hour < 8 || hour >= 21) return false;
        triedMixAt_ = when;
        int best = -1;
        for (int g = 0; g < kGoodsCount; ++g) {
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

    // The mixing list (the heroine is at the desk): the goods' row, turning pages to find it.
    bool MixingList() {
        TItemMixListForm& list = *ItemMixListForm;
        if (mixGoods_ < 0) return Click(*list.CloseButton);
        for (int r = 0; r < ItemListPageSize; ++r)
            if (ItemListRowItem(r) == mixGoods_) return Click(*list.Rows[r].ItemName);
        if (pagesTurned_++ < kMixPages) return Click(*list.NextPageButton);
        mixGoods_ = -1;
        return Click(*list.CloseButton);
    }

    // The mixing window: the batch button, then 調配.
    bool MixingWindow() {
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

    // ---- the walk to the flowerbed

    // On a rest day, between 10:00 and 16:00: out of the door with the shop menu's 到鎮上.
    bool GoOut() {
        const int hour = GameHour();
        if (!IsRestDay(GameDay()) || tripDay_ == GameDay() || hour < 10 || hour >= 16) return false;
        if (MixHoursLeft() > 0 || !ShopMenuReady()) return false;
        tripDay_ = GameDay();
        visited_ = false;
        ++trips;
        ShopForm->PM_ExitShopClick();
        return true;
    }

    // On the town map: to the flowerbed's node until it is visited, then to the shop's.
    // On the land map (a scene may leave her there): back to the town.
    bool OnTheMap() {
        if (MapFm->m_WalkState != 0 || !MapFm->m_BtnStatus->Enabled()) return false;
        if (DbTxtForm2 && !DbTxtForm2->Visible()) return Click(*MapFm->m_Img);
        const MapPlace& to = MapFm->m_Land                       ? kLandPlaces[0]
                             : visited_ || tripDay_ != GameDay() ? kTownPlaces[kShopFront]
                                                                 : kTownPlaces[kFlowerHouse];
        const int half = kMarkSize / 2;
        return ClickAt(MapFm->m_Img->ClientToScreen(ui::Point{to.markX + half, to.markY + half}));
    }

    // A place's command menu: at the flowerbed's node its 花壇 once, at the shop's node
    // 進入, elsewhere the map; each through 移動 when the menu does not hold it.
    bool CommandMenu() {
        TDbTxtForm2* win = DbTxtForm2;
        if (!win || !win->Visible() || !win->m_MenuMode || win->m_BtnCount <= 0) return false;
        // The ids the menu shows, from its record, the transcript's last of its kind.
        const std::vector<ui::TranscriptEntry>& all = transcript_.Entries();
        const auto menu = std::find_if(all.rbegin(), all.rend(), [](const ui::TranscriptEntry& e) {
            return e.kind == "menu";
        });
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
        return ClickAt(
            win->ClientToScreen(ui::Point{(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}));
    }

    ui::HeadlessBackend& backend_;
    const ui::Transcript& transcript_;
    bool sweepOff_ = false;
    int laidOutOn_ = -1;
    int triedMixAt_ = -1, mixGoods_ = -1, mixBatches_ = 1, pagesTurned_ = 0;
    int tripDay_ = -1;
    bool visited_ = false;
};

}  // namespace

int main(int argc, char** argv) {
    unsigned long seed = 1;
    std::string game = ui::DefaultGameFolder();
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--seed") == 0 && i + 1 < argc) {
            seed = std::strtoul(argv[++i], nullptr, 10);
        } else if (std::strcmp(argv[i], "--game") == 0 && i + 1 < argc) {
            game = argv[++i];
        } else {
            std::fprintf(stderr, "usage: playyear [--seed N] [--game DIR]\n");
            return 2;
        }
    }
    if (!fs::is_directory(game)) {
        std::fprintf(stderr, "playyear: no game folder at %s\n", game.c_str());
        return 2;
    }
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    setenv("LUMIA_HEADLESS", "1", 0);
    const auto start = std::chrono::steady_clock::now();

    const ScratchGameFolder folder(game);
    if (folder.Dir().empty()) {
        std::fprintf(stderr, "playyear: cannot make a scratch folder\n");
        return 2;
    }
    ui::ScopedTranscript transcript;
    // The game seeds its generator from the clock, at start-up and at each day change:
    // the seed moves where the virtual clock starts, its tick and its wall time.
    ui::HeadlessOptions options;
    options.startTick = static_cast<std::uint32_t>(seed);
    options.wallStart += static_cast<std::int64_t>(seed);
    test::HeadlessApp headless(options);
    ui::SetProgramFolder(folder.Dir());
    ui::HeadlessBackend& backend = headless.Backend();
    backend.SetMessageBoxResponder([](const ui::MessageBoxRequest&) { return ui::IDNO; });
    CreateStartupForms();

    test::EventResponders player(backend);
    Shopkeeper shopkeeper(backend, *transcript);
    const int id = backend.AddResponder([&] {
        if (player.answers.size() < 4) player.answers.assign(8, 0);
        return shopkeeper.Step();
    });

    // Past the logo movie and the opening; the title's labels, then 新的遊戲.
    backend.Click(320, 200, ui::MouseButton::mbLeft, 0, 100);
    backend.Click(320, 200, ui::MouseButton::mbLeft, 0, 100);
    backend.Click(320, 200, ui::MouseButton::mbLeft, 0, 300);
    backend.Click(321, 392, ui::MouseButton::mbLeft, 0, 300);
    headless.RunUntil([&] { return backend.ScriptLeft() == 0; });
    shopkeeper.started = true;
    headless.RunUntil([&] {
        return headless.App().Terminated() ||
               (shopkeeper.maxDay >= kLastDay && ShopForm && ShopForm->TitlePanel &&
                ShopForm->TitlePanel->Visible());
    });
    const char* stop =
        headless.App().Terminated() ? "the program ended" : "the title after the ending";
    backend.RemoveResponder(id);

    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const std::vector<std::string> endings = transcript->Texts("ending");
    std::printf("seed %lu\n", seed);
    std::printf("days %d (last day reached %d)\n", shopkeeper.maxDay, GameDay());
    std::printf("money %d\n", GameMoney());
    std::printf("lines shown %d (acknowledged %d)\n", Count(*transcript, "line"),
                player.linesAcknowledged);
    std::printf("choices answered %d\n", player.choicesAnswered);
    std::printf("events run %d\n", Count(*transcript, "event", "begin"));
    std::printf("sales %d\n", Count(*transcript, "sale"));
    std::printf("mixing jobs %d\n", Count(*transcript, "mix start"));
    std::printf("walks out %d, flowerbed events %d\n", shopkeeper.trips,
                Count(*transcript, "flag", "set 162"));
    std::printf("next turns %d, saves declined %d\n", shopkeeper.nextTurns,
                shopkeeper.savesDeclined);
    std::printf("ending %s\n", endings.empty() ? "none" : endings.back().c_str());
    std::printf("stopped at %s\n", stop);
    std::printf("virtual time %.1f h\n", headless.Now() / 3600000.0);
    std::fprintf(stderr, "real time %.2f s\n", seconds);
    DestroyStartupForms();
    return 0;
}
