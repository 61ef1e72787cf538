// The command menu of a place and its commands: look, search, peddle, the market, the
// library's reading, the move menu with its entries into buildings, and the visits.
#include "town/EvCommands.h"

#include <string>

#include "platform/Application.h"
#include "platform/Big5.h"
#include "shop/GameDialog.h"
#include "shop/GameState.h"
#include "shop/Shop.h"
#include "story/Dialogue.h"
#include "story/Register.h"
#include "town/EvControler.h"
#include "town/EventTables.h"
#include "town/Evsrvfm.h"
#include "town/Mapform.h"
#include "town/Srcdbtxtform21.h"
#include "town/TownLinks.h"
#include "town/Whereabouts.h"

using namespace command;

namespace {

constexpr int kRestWeekday = 5;

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

// A command's own lines: a scene of story/text/Commands.txt.
void Say(const char* scene) { story::PlayScene("Commands", scene); }
void Face(int n) { townlink::FaceGr(n); }

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
    const bool land = MapFm ? MapFm->m_Land != 0 : Place >= place::LandTown;
    if (land) return Place == place::WizardHouseInside ? 3 : 2;
    switch (Place & 31) {
        case place::Square:
            return 1;
        case place::School:
            return 5;
        case place::FloraeRoom:
        case place::RivalShopInside:
            return 3;
        case place::Library:
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
                Say("RunPlaceCommand1");
            } else if (!townlink::MarketWindowOpen()) {
                if (h >= 10 && h <= 18) {
                    Say("RunPlaceCommand2");
                    townlink::RunMarketWindow();
                } else if (h >= 7 && h <= 9) {
                    Say("RunPlaceCommand3");
                } else {
                    Say("RunPlaceCommand4");
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
                townlink::GainExperience(Flag(flag::ReadToday) ? 5 : 10);
                SetFlag(flag::ReadToday);
                Face(0);
            } else {
                Say("RunPlaceCommand5");
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
            if (Place == place::ShopFront) {
                EnterShop();
            } else if (Place == place::Bakery) {
                if (h >= 10 && h <= 18) {
                    Say("Enter1");
                } else {
                    Say("Enter2");
                }
            } else if (Place == place::CastleGate) {
                VisitPalace(h);
            } else if (Place == place::WizardHouse) {
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
            if (Place == place::FloraeRoom)
                SetPlace(place::FloraeHouse);
            else if (Place == place::RivalShopInside)
                SetPlace(place::RivalShop);
            else if (Place == place::Library)
                SetPlace(place::School);
            else if (Place == place::WizardHouseInside)
                SetPlace(place::WizardHouse);
            break;
        case kLibrary:
            if (h >= 10 && h <= 17) {
                SetPlace(place::Library);
                RunMoveEvents();
            } else if (h >= 7 && h <= 9) {
                Say("Library1");
            } else if (h == 18) {
                Say("Library2");
            } else {
                Say("Library3");
            }
            break;
        case kToCastleGate:
            SetPlace(place::CastleGate);
            RunMoveEvents();
            break;
        case kToSquare:
            SetPlace(place::Square);
            RunMoveEvents();
            break;
        default:  // cancel
            break;
    }
}

void TEvControler::EnterShop() {
    Place = place::ShopInside;
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
    if (Flag(flag::FloraeDied)) {
        if (Flag(flag::EmptyRoomFound)) {
            Say("VisitFlowerbed1");
        } else if (Flag(flag::FloraeVanished)) {
            Say("VisitFlowerbed2");
        } else {
            Say("VisitFlowerbed3");
        }
        return;
    }
    if (townlink::ChkNpc(npc::Florae, place::Flowerbed)) {
        if (Flag(flag::FloraeUnwellToday)) {
            Say("VisitFlowerbed4");
            return;
        }
        if (RunFlowerbedEvents()) {
            SetFlag(flag::FlowerbedVisitedToday);
            return;
        }
        Say("VisitFlowerbed5");
        return;
    }
    if (hour < 10 || hour >= 20)
        Say("VisitFlowerbed6");
    else
        Say("VisitFlowerbed7");
}

void VisitFlowerHouse(int hour) {
    const bool open = hour >= 10 && hour < 19;
    const bool gone = Flag(flag::FloraeDied), unwell = Flag(flag::FloraeUnwellToday);
    if (!gone && !unwell) {
        if (DayMarks[mark::FeverBegan] != 0 && !Flag(flag::RouteFlorae)) {
            if (!Flag(flag::FloraeBlindVisit)) {
                if (EventServerDbg && EventServerDbg->ChkDayMark(mark::FeverBegan, 21, 3) &&
                    Flag(flag::BedsideUnconscious)) {
                    if (EventServerDbg->ChkItem(item::CurePotion, 1)) {
                        EnterRoom(12);
                    } else {
                        Say("VisitFlowerHouse1");
                    }
                } else if (open) {
                    if (!Flag(flag::FloraeVisitedToday)) {
                        EnterRoom(12);
                    } else {
                        Say("VisitFlowerHouse2");
                    }
                } else {
                    Say("VisitFlowerHouse3");
                }
            } else if (Flag(flag::FloraeVisitedToday)) {
                Say("VisitFlowerHouse4");
            } else if (open) {
                if (townlink::ChkNpc(npc::Florae, place::FloraeRoom))
                    EnterRoom(12);
                else
                    Say("VisitFlowerHouse5");
            } else {
                Say("VisitFlowerHouse6");
            }
        } else if (open) {
            if (!EnterRoom(12)) {
                Say("VisitFlowerHouse7");
                SetPlaceDirect(1);
            }
        } else {
            Say("VisitFlowerHouse8");
        }
    } else if (!gone) {
        Say("VisitFlowerHouse9");
    } else if (Flag(flag::EmptyRoomFound)) {
        Say("VisitFlowerHouse10");
    } else if (Flag(flag::FloraeVanished)) {
        EnterRoom(12);
    } else {
        Say("VisitFlowerHouse11");
    }
    LeaveRoom(12, 1);
}

void VisitRivalShop(int hour) {
    if (EventServerDbg && EventServerDbg->ChkDay(48, 1) && hour >= 10 && hour <= 18) {
        Say("VisitRivalShop1");
        return;
    }
    if (hour < 10 || hour > 18) {
        if (!Flag(flag::RenetteRanAway)) {
            Say("VisitRivalShop2");
        } else {
            Say("VisitRivalShop3");
        }
        return;
    }
    int season = 0, month = 1;
    if (EventServerDbg) EventServerDbg->GetSeason(season, month);
    const bool school = hour < 15 && month != 8 && month != 2 && !RestDay();
    if (school) {
        if (Flag(flag::RenetteRanAway)) {
            Say("VisitRivalShop4");
            if (Flag(flag::EarthquakeDone)) {
                Say("VisitRivalShop5");
            } else {
                Say("VisitRivalShop6");
            }
            Face(0);
        } else {
            Say("VisitRivalShop7");
        }
        return;
    }
    if (Flag(flag::RivalShopVisitedToday)) {
        if (Flag(flag::RivalShopMusedToday)) {
            Say("VisitRivalShop8");
        } else {
            Say("VisitRivalShop9");
            SetFlag(flag::RivalShopMusedToday);
        }
    } else if (EnterRoom(13)) {
        // An event that tests no place may have taken her elsewhere: she is put back
        // outside only from the shop's room.
        if (Place() == 13) SetPlaceDirect(2);
        SetFlag(flag::RivalShopVisitedToday);
    } else if (!Flag(flag::RenetteRanAway)) {
        Say("VisitRivalShop10");
    } else {
        Say("VisitRivalShop11");
    }
    LeaveRoom(13, 2);
}

void VisitPalace(int hour) {
    if (hour < 10 || hour > 18) {
        Say("VisitPalace1");
        return;
    }
    if (!Flag(flag::PalaceInvitation)) {
        Say("VisitPalace2");
        return;
    }
    if (Flag(flag::ProposalRefused) || Flag(flag::BallNightPassed)) {
        Say("VisitPalace3");
        return;
    }
    if (Flag(flag::RoutePrince)) {
        Say("VisitPalace4");
        return;
    }
    if (!RestDay()) {
        Say("VisitPalace5");
        return;
    }
    // The arrival event of the garden takes over when she has not been summoned.
    if (!Flag(flag::GardenFirstVisit)) {
        if (hour <= 15) {
            SetPlaceDirect(14);
            RunMoveEvents();
            SetPlaceDirect(9);
        } else {
            Say("VisitPalace6");
        }
        return;
    }
    if (hour > 15) {
        Say("VisitPalace7");
        return;
    }
    if (Flag(flag::PrinceMetToday)) {
        Say("VisitPalace8");
        return;
    }
    if (Flag(flag::KingWarning)) {
        Say("VisitPalace9");
        return;
    }
    Say("VisitPalace10");
    const int choice = townlink::SelWin2(B5("『和王子殿下見面。"), B5("『今天不打算進宮。"));
    if (choice == 0) {
        Say("VisitPalace11");
        townlink::ClearGr();
        SetPlaceDirect(14);
        SetPlace(place::CastleGarden);
        RunMoveEvents();
        if (Place() == 14) SetPlaceDirect(9);
    } else if (choice == 1) {
        Say("VisitPalace12");
        SetPlace(place::Square);
        Face(0);
    }
}

void VisitWizardHouse(int hour) {
    (void)hour;
    if (Flag(flag::WizardDead)) {
        SetPlace(place::WizardHouseInside);
        Say("VisitWizardHouse1");
        SetPlace(place::WizardHouse);
        Face(0);
        return;
    }
    if (Flag(flag::NightSearch)) {
        if (!Flag(flag::WizardAdvice)) {
            Say("VisitWizardHouse2");
            SetPlace(place::WizardHouseInside);
            RunMoveEvents();
        } else {
            Say("VisitWizardHouse3");
        }
    } else {
        SetPlaceDirect(44);
        if (!RunMoveEvents()) {
            Say("VisitWizardHouse4");
        }
    }
    LeaveRoom(44, 43);
}
