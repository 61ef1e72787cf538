// The command menu of a place and its commands: look, search, peddle, the market, the
// library's reading, the move menu with its entries into buildings, and the visits.
#include "town/EvCommands.h"

#include <string>

#include "platform/Application.h"
#include "platform/Big5.h"
#include "shop/GameDialog.h"
#include "shop/GameState.h"
#include "shop/Shop.h"
#include "town/EvControler.h"
#include "town/EventTables.h"
#include "town/Evsrvfm.h"
#include "town/Mapform.h"
#include "town/Srcdbtxtform21.h"
#include "town/TownLinks.h"

using namespace command;

namespace {

constexpr int kRestWeekday = 5;
constexpr int kShopPlace = 10;
constexpr int kReadTodayFlag = 172;

int Place() { return GameFlow ? GameFlow->Place : 0; }
void SetPlaceDirect(int place) {
    if (GameFlow) GameFlow->Place = place;
}
void SetPlace(int place) {
    if (EventServerDbg) EventServerDbg->SetPlace(place, true);
}
bool Flag(int n) { return EventServerDbg && EventServerDbg->TestFlg(n); }
void SetFlag(int n) {
    if (EventServerDbg) EventServerDbg->SetFlg(n, true);
}
bool RestDay() { return EventServerDbg && EventServerDbg->ChkWeekday(kRestWeekday); }

void Line(const char* utf8) { townlink::DspMsg(B5(utf8)); }
void Face(int n) { townlink::FaceGr(n); }
void Sound(int n) {
    if (EventServerDbg) EventServerDbg->PlaySound(n);
}

// Steps into a room without redrawing and walks the arrival events; true when one ran.
bool EnterRoom(int room) {
    SetPlaceDirect(room);
    return RunMoveEvents();
}

// At the end of a visit the heroine steps back outside, if she is still in the room.
void LeaveRoom(int room, int outside) {
    if (Place() == room) SetPlace(outside);
}

}  // namespace

std::array<TEvControler::CommandList, TEvControler::kMenuKinds>
TEvControler::DefaultCommandLists() {
    std::array<CommandList, kMenuKinds> lists;
    for (CommandList& l : lists) l.fill(-1);
    auto set = [&](int kind, std::initializer_list<int> ids) {
        int i = 0;
        for (int id : ids) lists[kind][i++] = id;
    };
    set(0, {kMove, kLook, kPeddle});
    set(1, {kMove, kLook, kPeddle, kMarket});
    set(2, {kMove, kSearch});
    set(3, {kMove, kLook});
    set(4, {kMove, kLook, kRead});
    set(5, {kMove, kLook});
    set(6, {kMap, kCancel});
    set(7, {kMap, kEnter, kCancel});
    set(8, {kMap, kFlowerbed, kVisitHouse, kCancel});
    set(9, {kMap, kVisitShop, kCancel});
    set(10, {kGoOut, kCancel});
    set(11, {kMap, kLibrary, kCancel});
    set(12, {kMap, kToCastleGate, kCancel});
    set(13, {kToSquare, kEnter, kCancel});
    return lists;
}

int TEvControler::PlaceMenuKind() const {
    const bool land = MapFm ? MapFm->m_Land != 0 : Place >= 32;
    if (land) return Place == 44 ? 3 : 2;
    switch (Place & 31) {
        case 3:
            return 1;
        case 7:
            return 5;
        case 12:
        case 13:
            return 3;
        case 17:
            return 4;
        default:
            return 0;
    }
}

int TEvControler::MoveMenuKind(int place) {
    switch (place) {
        case 0:
        case 4:
        case 43:
            return 7;
        case 1:
            return 8;
        case 2:
            return 9;
        case 3:
            return 12;
        case 7:
            return 11;
        case 9:
            return 13;
        case 12:
        case 13:
        case 17:
        case 44:
            return 10;
        default:
            return 6;
    }
}

namespace {
// Shows the list of a menu kind and returns the chosen id, or -1.
int ChooseFrom(const TEvControler::CommandList& list) {
    int count = 0;
    while (count < TEvControler::kCommandListLength && list[count] >= 0) ++count;
    const int index = DbTxtForm2 ? DbTxtForm2->ChooseCommand(count, list.data()) : -1;
    return index >= 0 && index < count ? list[index] : -1;
}
}  // namespace

void TEvControler::PlaceMenuStep() {
    ShownMenuKind = PlaceMenuKind();
    const int id = ChooseFrom(CommandLists[ShownMenuKind]);
    if (id >= 0) RunPlaceCommand(id);
}

void TEvControler::RunPlaceCommand(int id) {
    const int d = GameDay(), h = EventServerDbg ? EventServerDbg->GetHour() : GameHour();
    switch (id) {
        case kLook:
            RunLookEvents();
            break;
        case kPeddle:
            if (!RunPeddleEvents() && EventServerDbg) EventServerDbg->Peddle();
            break;
        case kSearch:
            if (!RunSearchEvents() && EventServerDbg) EventServerDbg->DefaultSearch();
            break;
        case kMarket:
            if (RestDay() || (d / 24 == 2 && d % 24 == 0)) {
                Line("今天是假日，市集也公休噢");
            } else if (!townlink::MarketWindowOpen()) {
                if (h >= 10 && h <= 18) {
                    Line("緹菈「今天有什麼東西呢？");
                    townlink::RunMarketWindow();
                } else if (h >= 7 && h <= 9) {
                    Line("緹菈「市集好像還沒開的樣子。");
                } else {
                    Line("緹菈「今天的市集已經結束營業了。");
                }
            }
            break;
        case kMove: {
            ShownMenuKind = MoveMenuKind(Place);
            const int chosen = ChooseFrom(CommandLists[ShownMenuKind]);
            if (chosen >= 0) DoMoveCommand(chosen);
            break;
        }
        case kRead:
            if (h < 18) {
                Face(19);
                if (EventServerDbg) EventServerDbg->PassTime(2);  // tired or not, she has read
                townlink::GainExperience(Flag(kReadTodayFlag) ? 5 : 10);
                SetFlag(kReadTodayFlag);
                Face(0);
            } else {
                Line("唉呀、圖書館已經關了啦。");
            }
            break;
        default:
            break;
    }
}

void TEvControler::DoMoveCommand(int id) {
    const int h = EventServerDbg ? EventServerDbg->GetHour() : GameHour();
    switch (id) {
        case kMap:
            townlink::AlignForms();
            if (MapFm) MapFm->Show();
            townlink::HideStage();
            if (DbTxtForm2) DbTxtForm2->ShowMessage(B5("該去哪兒好呢？"));
            break;
        case kEnter:
            if (Place == 0) {
                EnterShop();
            } else if (Place == 4) {
                if (h >= 10 && h <= 18) {
                    Line("緹菈「哇～、蛋糕看起來好好吃噢。");
                    Line("可是……最近得省一點才行。");
                    Line("緹菈「嗯、今天就忍耐一下吧。");
                } else {
                    Line("緹菈「商店已經關門了噢。");
                }
            } else if (Place == 9) {
                VisitPalace(h);
            } else if (Place == 43) {
                VisitWizardHouse(h);
            }
            break;
        case kFlowerbed:
            VisitFlowerbed(h);
            break;
        case kVisitHouse:
            VisitFlowerHouse(h);
            break;
        case kVisitShop:
            VisitRivalShop(h);
            break;
        case kGoOut:
            if (Place == 12)
                SetPlace(1);
            else if (Place == 13)
                SetPlace(2);
            else if (Place == 17)
                SetPlace(7);
            else if (Place == 44)
                SetPlace(43);
            break;
        case kLibrary:
            if (h >= 10 && h <= 17) {
                SetPlace(17);
                RunMoveEvents();
            } else if (h >= 7 && h <= 9) {
                Line("圖書館還沒有開噢。");
            } else if (h == 18) {
                Line("時間太晚了，今天讀不成書了吧。");
            } else {
                Line("圖書館已經關了啦。");
            }
            break;
        case kToCastleGate:
            SetPlace(9);
            RunMoveEvents();
            break;
        case kToSquare:
            SetPlace(3);
            RunMoveEvents();
            break;
        default:  // cancel
            break;
    }
}

void TEvControler::EnterShop() {
    Place = kShopPlace;
    RunMoveEvents();
    const int h = EventServerDbg ? EventServerDbg->GetHour() : GameHour();
    if (h >= 8 && h < 22) {
        if (ShopForm) ShopForm->ShowShopScreen();
        EnableShopMenus();
        townlink::HideMap();
        townlink::HideStage();
        if (EventServerDbg) EventServerDbg->PlayPlaceMusic();
        if (DbTxtForm2) DbTxtForm2->ShowMessage(B5("該做什麼好呢？"));
        townlink::ReleaseStageBitmaps();
    } else {
        if (EventServerDbg) EventServerDbg->PlayPlaceMusic();
        if (ShopForm) {
            ShopForm->ShowShopScreen();
            EnableShopMenus();
            ShopForm->StartShop2FMode(2);
        } else {
            EnableShopMenus();
        }
        townlink::HideMap();
        townlink::HideStage();
        townlink::ReleaseStageBitmaps();
    }
}

// ---- the visits

void VisitFlowerbed(int hour) {
    if (Flag(395)) {
        if (Flag(436)) {
            Face(7);
            Line("緹菈「花壇這裡……已經沒有人了。");
            Face(0);
        } else if (Flag(434)) {
            Line("緹菈「芙蘿蕾不在花壇這裡。");
        } else {
            Face(7);
            Line("緹菈「芙蘿蕾常在這裡休息的花壇，現在空蕩蕩的……。");
            Face(0);
        }
        return;
    }
    if (townlink::ChkNpc(0, 19)) {
        if (Flag(166)) {
            Face(10);
            Line("緹菈「芙蘿蕾今天身體不舒服，還是別去打擾她吧。");
            Face(0);
            return;
        }
        if (RunFlowerbedEvents()) {
            SetFlag(162);
            return;
        }
        Line("緹菈「芙蘿蕾好像不在花壇這裡。");
        return;
    }
    if (hour < 10 || hour >= 20)
        Line("緹菈「這個時間去打擾人家不太好吧。");
    else
        Line("緹菈「芙蘿蕾好像不在花壇這裡。");
}

void VisitFlowerHouse(int hour) {
    const bool open = hour >= 10 && hour < 19;
    const bool gone = Flag(395), unwell = Flag(166);
    if (!gone && !unwell) {
        if (DayMarks[0] != 0 && !Flag(403)) {
            if (!Flag(400)) {
                if (EventServerDbg && EventServerDbg->ChkDayMark(0, 21, 3) && Flag(455)) {
                    if (EventServerDbg->ChkItem(62, 1)) {
                        EnterRoom(12);
                    } else {
                        Face(1);
                        Line("緹菈「已經沒有時間了……一定要找到治病的藥才行。");
                        Face(0);
                    }
                } else if (open) {
                    if (!Flag(167)) {
                        EnterRoom(12);
                    } else {
                        Face(1);
                        Line("緹菈「今天已經去看過她了，別讓她太累吧。");
                        Face(0);
                    }
                } else {
                    Face(1);
                    Line("緹菈「這個時間去拜訪不太好……。");
                    Face(0);
                }
            } else if (Flag(167)) {
                Line("緹菈「今天已經見過芙蘿蕾了。");
            } else if (open) {
                if (townlink::ChkNpc(0, 12))
                    EnterRoom(12);
                else
                    Line("芙蘿蕾好像不在");
            } else {
                Line("緹菈「這個時間去拜訪不太好吧。");
            }
        } else if (open) {
            if (!EnterRoom(12)) {
                Line("芙蘿蕾好像不在");
                SetPlaceDirect(1);
            }
        } else {
            Line("緹菈「這個時間去拜訪不太好吧。");
        }
    } else if (!gone) {
        Face(10);
        Line("緹菈「芙蘿蕾今天身體不舒服，改天再來吧。");
        Face(0);
    } else if (Flag(436)) {
        Face(1);
        Sound(3);
        Line("（叩、叩）");
        Line("……沒有人回應。");
        Face(7);
        Line("緹菈「家裡好像已經沒有人住了……。");
        Face(0);
    } else if (Flag(434)) {
        EnterRoom(12);
    } else {
        Face(7);
        Line("緹菈「現在的我……沒有臉去見芙蘿蕾的媽媽。");
        Face(0);
    }
    LeaveRoom(12, 1);
}

void VisitRivalShop(int hour) {
    if (EventServerDbg && EventServerDbg->ChkDay(48, 1) && hour >= 10 && hour <= 18) {
        Line("門上掛著「本日公休」的牌子。兩個人好像都出門了。");
        return;
    }
    if (hour < 10 || hour > 18) {
        if (!Flag(399)) {
            Line("緹菈「這個時間去打擾人家不太好吧。");
        } else {
            Face(1);
            Line("緹菈「這麼晚了，不好意思去打擾她們。");
            Face(0);
        }
        return;
    }
    int season = 0, month = 1;
    if (EventServerDbg) EventServerDbg->GetSeason(season, month);
    const bool school = hour < 15 && month != 8 && month != 2 && !RestDay();
    if (school) {
        if (Flag(399)) {
            Face(1);
            Line("緹菈「這個時間，她們應該還在學校吧。");
            Face(7);
            if (Flag(485)) {
                Line("緹菈「……還是改天再來好了。");
            } else {
                Line("緹菈「可可特一個人看店的時候……");
                Line("不知道她過得好不好呢。");
            }
            Face(0);
        } else {
            Line("兩個人好像都在學校，店門關著。");
        }
        return;
    }
    if (Flag(168)) {
        if (Flag(169)) {
            Line("緹菈「今天已經去過了。");
        } else {
            Face(2);
            Line("緹菈「今天已經去過微笑魔法店了……");
            Line("她們的店，客人還真多呢。");
            Face(10);
            Line("緹菈「我們的店也不能輸啊。");
            Line("可是，到底差在哪裡呢……？");
            Face(0);
            Line("緹菈「嗯、回去好好想一想吧。");
            SetFlag(169);
        }
    } else if (EnterRoom(13)) {
        SetPlaceDirect(2);
        SetFlag(168);
    } else if (!Flag(399)) {
        Line("門上掛著「外出中」的牌子。兩個人好像都出門了。");
    } else {
        Face(1);
        Line("門上掛著「外出中」的牌子。可可特好像不在。");
        Face(0);
    }
    LeaveRoom(13, 2);
}

void VisitPalace(int hour) {
    if (hour < 10 || hour > 18) {
        Line("城門已經關上了。");
        return;
    }
    if (!Flag(420)) {
        Line("衛兵「站住！這裡是王宮，閒雜人等不得進入。");
        Line("緹菈「那個……我只是想……");
        Face(16);
        Line("衛兵「沒有召見的人，一律不准通過。");
        Line("緹菈「是、是的……對不起。");
        Face(18);
        Line("衛兵「快回去吧。");
        Face(0);
        return;
    }
    if (Flag(488) || Flag(489)) {
        Face(7);
        Line("已經見不到她囉");
        Face(0);
        return;
    }
    if (Flag(402)) {
        Face(11);
        Line("緹菈「婚約的日子就快到了……現在不能去見他。");
        Face(0);
        return;
    }
    if (!RestDay()) {
        Face(0);
        Line("緹菈「今天不是可以見王子殿下的日子。");
        Line("衛兵「喔、是妳啊。");
        Line("衛兵「王子殿下今天有公務在身。");
        Line("衛兵「請在休息日再來吧。");
        return;
    }
    // The arrival event of the garden takes over when she has not been summoned.
    if (!Flag(421)) {
        if (hour <= 15) {
            SetPlaceDirect(14);
            RunMoveEvents();
            SetPlaceDirect(9);
        } else {
            Line("緹菈「雖然被召見了，可是今天已經沒有時間了。");
        }
        return;
    }
    if (hour > 15) {
        Line("緹菈「雖然被召見了，可是今天已經沒有時間了。");
        return;
    }
    if (Flag(170)) {
        Line("緹菈「今天已經見過王子殿下了。");
        return;
    }
    if (Flag(496)) {
        Face(7);
        Line("緹菈「……我還是不要再見他比較好。");
        Line("緹菈「這樣對大家都好……。");
        Face(0);
        return;
    }
    Face(17);
    Line("緹菈「王子殿下……在嗎？");
    Line("衛兵「殿下正在庭園裡。要進去嗎？");
    Face(0);
    Line("緹菈「嗯……該怎麼辦呢。");
    const int choice = townlink::SelWin2(B5("『和王子殿下見面。"), B5("『今天不打算進宮。"));
    if (choice == 0) {
        Line("緹菈「我想見王子殿下。");
        Line("衛兵「請進。");
        Line("衛兵帶著緹菈走進了王宮的庭園。");
        townlink::ClearGr();
        SetPlaceDirect(14);
        SetPlace(14);
        RunMoveEvents();
        if (Place() == 14) SetPlaceDirect(9);
    } else if (choice == 1) {
        Line("緹菈「今天還是算了。");
        Line("衛兵「是嗎。那麼請慢走。");
        Line("緹菈回到了中央噴水廣場。");
        SetPlace(3);
        Face(0);
    }
}

void VisitWizardHouse(int hour) {
    (void)hour;
    if (Flag(518)) {
        SetPlace(44);
        Sound(2);
        Face(7);
        Line("緹菈「婆婆的家……已經空無一人了。");
        Sound(2);
        SetPlace(43);
        Face(0);
        return;
    }
    if (Flag(kSearchModeFlag)) {
        if (!Flag(555)) {
            Face(1);
            Line("緹菈「大魔法師婆婆！您在家嗎？");
            Sound(3);
            Line("（叩、叩）");
            Line("大魔法師「這麼晚了，是誰啊？");
            Line("大魔法師「……進來吧。");
            SetPlace(44);
            RunMoveEvents();
        } else {
            Face(1);
            Line("緹菈「得快點去找蕾妮特才行！");
            Face(0);
        }
    } else {
        SetPlaceDirect(44);
        if (!RunMoveEvents()) {
            Sound(3);
            Line("（叩、叩）");
            Line("……沒有人回應。");
            Line("緹菈「婆婆好像出門了。");
        }
    }
    LeaveRoom(44, 43);
}
