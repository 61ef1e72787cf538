#include "town/EvControler.h"

#include <algorithm>
#include <cstdio>

#include "platform/Application.h"
#include "platform/Big5.h"
#include "platform/Files.h"
#include "platform/Form.h"
#include "shop/Calendar.h"
#include "shop/Catalog.h"
#include "shop/GameDialog.h"
#include "shop/GameState.h"
#include "shop/Main.h"
#include "shop/Shop.h"
#include "story/EventTables.h"
#include "story/Register.h"
#include "town/Evsrvfm.h"
#include "town/Mapform.h"
#include "town/Mdpform.h"
#include "town/Srcdbtxtform21.h"

TEvControler* GameFlow = nullptr;
GameFlowHooks g_GameFlowHooks;
std::uint8_t TEvControler::TurnStartGuard = 1;

namespace {

constexpr int kMixableGoods = 64;
constexpr int kOrdersHour = 19;
constexpr int kDayStartHour = 8;
constexpr int kTiredFace = 20;

template <class F, class... A>
void Call(F* f, A&&... a) {
    if (f) f(std::forward<A>(a)...);
}

ui::Form* ShopWindow() { return ShopHooks().shopForm ? ShopHooks().shopForm() : nullptr; }
bool Visible(ui::Form* f) { return f && f->Visible(); }

// Whether a file of the game folder opens for reading (a folder of that name does not).
bool CanOpen(const char* path) {
    if (!ui::FileExists(path)) return false;
    std::FILE* f = ui::OpenFile(path, "rb");
    if (!f) return false;
    std::fclose(f);
    return true;
}

// The shop window's calls into the town: the trip out and the message window.
void ShopShowMap() {
    if (GameFlow) GameFlow->ShowMap();
}
// The heroine sent home to bed from the map (too tired to walk on): the map goes.
void ShopHideMap() {
    if (MapFm) MapFm->Hide();
}
bool MessageWindowExists() { return DbTxtForm2 != nullptr; }
bool MessageWindowVisible() { return DbTxtForm2 && DbTxtForm2->Visible(); }
void ShowMessageWindow() {
    if (DbTxtForm2) DbTxtForm2->Show();
}
void HideMessageWindow() {
    if (DbTxtForm2) DbTxtForm2->Hide();
}
void ShowPlainMessage(const std::string& big5) {
    if (DbTxtForm2) DbTxtForm2->ShowMessage(big5);
}

// What the event server asks of the windows around the stage: the controller's own
// alignment and prologue guard, the map and the shop window.
void InstallEventServerHooks() {
    TEventServerHooks& e = EventServerHooks;
    e.AlignForms = [] {
        if (GameFlow) GameFlow->AlignForms();
    };
    e.ClearPrologueSkip = [] {
        if (GameFlow) GameFlow->PrologueSkipGuard = 0;
    };
    e.MapVisible = [] { return MapFm && MapFm->Visible(); };
    e.ShowMap = [](bool show) {
        if (MapFm) MapFm->SetVisible(show);
    };
    e.ShopVisible = [] { return ShopForm && ShopForm->Visible(); };
    e.ShowShop = [](bool show) {
        if (ShopForm) ShopForm->SetVisible(show);
    };
}

void RemoveEventServerHooks() {
    TEventServerHooks& e = EventServerHooks;
    e.AlignForms = nullptr;
    e.ClearPrologueSkip = nullptr;
    e.MapVisible = nullptr;
    e.ShowMap = nullptr;
    e.ShopVisible = nullptr;
    e.ShowShop = nullptr;
}

}  // namespace

TEvControler::TEvControler() {
    MixedItem = -1;
    Ready = 0;
    RefreshEnabled = 0;
    // Windows need the application; without one (the save and story tools) the
    // controller keeps the story's state only.
    const bool windows = ui::HaveApp();
    if (windows) DbTxtForm2 = new TDbTxtForm2();
    EventServerDbg = new TEventServerDbg();

    // The art folder: the one whose event pack opens, 24-bit before 8-bit. A pack that
    // opens but is damaged keeps its folder; the player is told when a picture of it is
    // wanted.
    std::string faces, art;
    if (CanOpen("col24b\\evpack\\evGraph.pak")) {
        faces = "\\col24b\\palFace";
        art = "\\col24b";
    } else if (CanOpen("col8b\\evpack\\evGraph.pak")) {
        faces = "\\col8b\\palFace";
        art = "\\col8b";
    } else if (ui::HaveApp()) {
        // The answer changes nothing: the game goes on, and its pictures will be missing.
        ui::App().MessageBox(B5("遊戲目錄的路徑不正確，請結束遊戲。"), B5("露米亞藥坊"),
                             ui::MB_RETRYCANCEL);
    } else {
        std::fprintf(stderr, "lumia: no event pictures in col24b or col8b of the game folder\n");
    }
    if (DbTxtForm2) DbTxtForm2->m_FaceFolder = faces;
    EventServerDbg->m_ArtFolder = art;

    if (windows) {
        MapFm = new TMapFm();
        MdpFm = new TMdpFm();
    }
    if (DbTxtForm2) DbTxtForm2->LoadFaces();
    EventServerDbg->SetMsgWinPicture("win_mes2.bmp");

    Place = place::ShopInside;
    MoveEventsPending = 0;
    CommandLists = DefaultCommandLists();

    for (int n = kFirstPlaceOpenFlag; n <= kLastPlaceOpenFlag; ++n) EventServerDbg->SetFlg(n, true);
    EventServerDbg->SetFlg(flag::HotSpringOpen, false);
    EventServerDbg->SetFlg(flag::WizardHouseOpen, false);
    Ready = 1;
    RefreshEnabled = 1;
    InstallEventServerHooks();
    if (!ShopHooks().messageWindow)
        ShopHooks().messageWindow = []() -> ui::Form* { return DbTxtForm2; };
    if (!g_ShopHooks.ShowMap) {
        g_ShopHooks.ShowMap = &ShopShowMap;
        g_ShopHooks.HideMapForm = &ShopHideMap;
        g_ShopHooks.MessageWindowExists = &MessageWindowExists;
        g_ShopHooks.MessageWindowVisible = &MessageWindowVisible;
        g_ShopHooks.ShowMessageWindow = &ShowMessageWindow;
        g_ShopHooks.HideMessageWindow = &HideMessageWindow;
        g_ShopHooks.ShowMessage = &ShowPlainMessage;
    }

    if (MdpFm) MdpFm->m_MovieFolder = ui::ProgramFolder() + "avi";

    // The stage where the main form is, the map on the stage, the message window along
    // the stage's bottom edge.
    ui::Form* stage = EventServerDbg;
    ui::Form* map = MapFm;
    ui::Form* message = DbTxtForm2;
    if (stage && MainForm) {
        stage->SetLeft(MainForm->Left());
        stage->SetTop(MainForm->Top());
    }
    if (stage && map) {
        map->SetLeft(stage->Left());
        map->SetTop(stage->Top());
    }
    if (stage && message) {
        message->SetLeft(stage->Left());
        message->SetTop(stage->Top() + stage->Height() - message->Height());
    }
}

TEvControler::~TEvControler() {
    RemoveEventServerHooks();
    if (g_ShopHooks.ShowMap == &ShopShowMap) {
        g_ShopHooks.ShowMap = nullptr;
        g_ShopHooks.HideMapForm = nullptr;
        g_ShopHooks.MessageWindowExists = nullptr;
        g_ShopHooks.MessageWindowVisible = nullptr;
        g_ShopHooks.ShowMessageWindow = nullptr;
        g_ShopHooks.HideMessageWindow = nullptr;
        g_ShopHooks.ShowMessage = nullptr;
    }
    if (MdpFm) MdpFm->StopTrack();
    delete MapFm;
    MapFm = nullptr;
    delete EventServerDbg;
    EventServerDbg = nullptr;
    delete MdpFm;
    MdpFm = nullptr;
    if (DbTxtForm2) {
        DbTxtForm2->RestorePosition();
        delete DbTxtForm2;
        DbTxtForm2 = nullptr;
    }
}

void TEvControler::Tick() {
    CommandMenu();
    Refresh();
}

void TEvControler::Refresh() {
    if (!RefreshEnabled) return;
    RefreshEnabled = 0;
    if (DbTxtForm2) DbTxtForm2->Tick();
    if (MdpFm) MdpFm->PollTrack();
    Call(g_GameFlowHooks.ShowTypeName);
    RefreshEnabled = 1;
}

void TEvControler::CommandMenu() {
    if (!Ready) return;  // a command runs; its message pumps come back here
    Ready = 0;
    if (Visible(MapFm)) MapFm->WalkTick();
    if (Visible(EventServerDbg) && !EventServerDbg->ConditionOverride) {
        if (MoveEventsPending) {
            RunMoveEvents();
            MoveEventsPending = 0;
        } else {
            PlaceMenuStep();
        }
    }
    Ready = 1;
}

void TEvControler::ShowMap() {
    AlignForms();
    ui::Form* shop = ShopWindow();
    ui::Form* stage = EventServerDbg;
    ui::Form* map = MapFm;
    if (stage && shop) {
        stage->SetLeft(shop->Left());
        stage->SetTop(shop->Top());
    }
    if (map && stage) {
        map->SetLeft(stage->Left());
        map->SetTop(stage->Top());
    }
    DisableShopMenus();
    if (map) map->Show();
}

void TEvControler::AlignForms() {
    ui::Form* forms[3] = {ShopWindow(), MapFm, EventServerDbg};
    int left = 0, top = 0;
    for (ui::Form* f : forms)
        if (Visible(f)) {
            left = f->Left();
            top = f->Top();
        }
    for (ui::Form* f : forms)
        if (f && !f->Visible()) {
            f->SetLeft(left);
            f->SetTop(top);
        }
}

void TEvControler::PinMessageWindow() {
    if (ui::Form* m = DbTxtForm2) m->SetBounds(m->Left(), m->Top(), m->Width(), m->Height());
}

void TEvControler::ShowOrderList() { Call(g_GameFlowHooks.ShowOrderList); }

void TEvControler::SetMixedItem(int id) { MixedItem = (id >= 0 && id < kMixableGoods) ? id : -1; }

bool TEvControler::GainExperience(int points) {
    const int r = AddExperience(points);
    const bool library = Place == place::Library;
    if (r >= 0) {
        std::string text;
        if (r > 0)
            text = std::string(ItemName(r)) + B5("的調配法學會了！");
        else
            text = B5("我覺得自己好像變聰明了耶。");
        if (library && EventServerDbg)
            EventServerDbg->DspMsg(text);
        else if (!library && DbTxtForm2)
            DbTxtForm2->ShowMessage(text);
        return true;
    }
    if (!library || !EventServerDbg) return false;
    TEventServerDbg& ev = *EventServerDbg;
    if (points < 6) {
        if ((DrawRandom() & 1) == 0) {
            ev.DspMsg(B5("緹菈「嗯～。\n還不行、我大概還比不上媽媽那樣吧…"));
        } else {
            ev.FaceGr(kTiredFace);
            ev.DspMsg(B5("緹菈「我是不是工作過度啦？\n…眼睛有點乾澀。"));
        }
    } else {
        ev.DspMsg(B5("緹菈「嗯！\n今天的工作好像進行得很順利噢！"));
    }
    return false;
}

bool TEvControler::TurnStart(bool allowEvents) {
    DisableShopMenus();
    if (!TurnStartGuard) return false;  // entered again from a pump inside an event
    TurnStartGuard = 0;

    bool ran = false;
    if (Visible(ShopWindow()) && allowEvents && Ready && !Visible(MapFm))
        ran = RunTurnStartEvents();

    const int h = GameHour();
    const int d = GameDay();
    // An event that spent the night let 19:00 of an earlier day go by: the orders due
    // then are settled now, before the day change drops them (that evening's customers
    // are not caught up).
    for (int day = std::max(LastOrdersDay + 1, 1); day < d; ++day)
        Call(g_GameFlowHooks.SettleOrdersDue, day);
    LastOrdersDay = std::max(LastOrdersDay, d - 1);
    if (h == kOrdersHour) {
        if (Ready) RunCustomerRequestEvents();
        Call(g_GameFlowHooks.SettleOrders);
        LastOrdersDay = d;
    } else if (h > kOrdersHour && LastOrdersDay < d) {
        // 19:00 went by without a turn start (hours passed several at once): the
        // orders due today are still settled, once.
        Call(g_GameFlowHooks.SettleOrders);
        LastOrdersDay = d;
    }
    if (h == kDayStartHour) {
        ran = DayStart(allowEvents);
    } else if (h > kDayStartHour && LastDayChangeDay < d) {
        // 08:00 went by without a turn start: today's change still runs, once (the
        // day-start events belong to the morning and are not played late).
        if (EventServerDbg) EventServerDbg->DayChange();
        LastDayChangeDay = d;
    }
    if (h >= 10 && EventServerDbg && EventServerDbg->TestFlg(flag::ShopClosedToday))
        Call(g_ClockHooks.SetShopClosed);

    if (MainForm) MainForm->AdvanceTickPhase();
    TurnStartGuard = 1;
    EnableShopMenus();
    return ran;
}

bool TEvControler::DayStart(bool allowEvents) {
    if (EventServerDbg) EventServerDbg->DayChange();
    LastDayChangeDay = GameDay();
    bool ran = false;
    if (allowEvents && Ready && !Visible(MapFm)) ran = RunDayStartEvents();
    if (!ran && EventServerDbg) EventServerDbg->PlayPlaceMusic();
    return ran;
}

void TEvControler::GameStarted() {
    const int d = GameDay();
    const int h = GameHour();
    LastDayChangeDay = h >= kDayStartHour ? d : d - 1;
    LastOrdersDay = h >= kOrdersHour ? d : d - 1;
}
