// 芙蘿蕾's fever: the bedside events of the turn-start and move tables, the night in
// the forest maze and its node loop. Each event tests its conditions in the order the
// walk needs; its body is the scene "main" of its event in story/text/Fever.txt.
#include "story/Fever.h"

#include <cstdio>

#include "platform/Application.h"
#include "story/Dialogue.h"
#include "story/Events.h"
#include "story/Register.h"
#include "town/Evsrvfm.h"
#include "town/Whereabouts.h"

using story::PlayScene;
using story::RunEvent;

namespace {

// ---- the forest maze

constexpr int kNodes = 18;  // nodes 0..17
constexpr int kGoal = 18;   // the great wizard's house
constexpr int kLeave = -1;  // home for tonight
constexpr int kNoWay = -2;  // a caption that reported no way: leaves as well

enum Way { kLeft, kRight, kBack, kHome, kNone };
Way g_way = kNone;

// Where each way leads from a node. A node without captions (a dead end) goes back by
// itself; the three where the heroine may give up offer home and back.
struct Node {
    bool choice;
    int left, right, back;
};
constexpr Node kMaze[kNodes] = {
    {true, 1, 2, kNoWay},
    {true, 3, 4, 0},
    {true, 4, 5, 0},
    {true, 6, 7, 1},
    {true, 7, 8, 1},
    {true, 8, 9, 2},
    {false, kNoWay, kNoWay, 3},
    {true, 10, 11, 4},
    {true, 12, 13, 5},
    {false, kNoWay, kNoWay, 5},
    {false, kNoWay, kNoWay, 7},
    {true, 14, 15, 7},
    {true, 15, 16, 8},
    {false, kNoWay, kNoWay, 8},
    {true, kNoWay, kNoWay, 11},
    {true, kNoWay, kNoWay, 12},
    {true, kGoal, 17, 12},
    {true, kNoWay, kNoWay, 16},
};

// Plays one node's scene (EvForestMaze_Node00 ..) and returns the next node.
int MazeNode(int node) {
    char name[32];
    std::snprintf(name, sizeof name, "EvForestMaze_Node%02d", node);
    g_way = kNone;
    PlayScene(name, "main");
    const Node& n = kMaze[node];
    if (!n.choice) return n.back;
    switch (g_way) {
        case kLeft:
            return n.left;
        case kRight:
            return n.right;
        case kBack:
            return n.back;
        case kHome:
            return kLeave;
        case kNone:
            break;
    }
    return kNoWay;
}

// The maze's days, the same for both tables' entries: the fever on, in its days 18 to
// 37, the maze not yet done, the flowerbed's friendship, five visits and the recipe of
// 黃泉之魂 (known for itself: the override does not make it hold).
bool MazeDaysHold(TEventServerDbg& ev) {
    if (!ev.ChkFlg(flag::FloraeCollapsed, true)) return false;
    if (!ev.ChkDayMark(mark::FeverBegan, 18, 20)) return false;
    if (!ev.ChkFlg(flag::MazeCompleted, false)) return false;
    if (!ev.ChkFlg(flag::FlowerCrownGiven, true)) return false;
    if (!ev.ChkVar(var::BedsideVisitCount, 5, 0, false)) return false;
    return ev.IsRecipeKnown(item::SoulOfTheUnderworld);
}

constexpr int kNoOnceFlag = -1;

// A bedside visit: its window of days from the fever's first day, its once-flag as
// `onceFlagSet` wants it, 芙蘿蕾 in her room, the heroine there, the potion not given.
bool BedsideVisit(const char* event, int offset, int length, int onceFlag, bool onceFlagSet) {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkDayMark(mark::FeverBegan, offset, length)) return false;
    if (onceFlag != kNoOnceFlag && !ev->ChkFlg(onceFlag, onceFlagSet)) return false;
    if (!ev->ChkNpc(npc::Florae, place::FloraeRoom)) return false;
    if (!ev->ChkPlace(place::FloraeRoom)) return false;
    if (!ev->ChkFlg(flag::PotionGiven, false)) return false;
    return RunEvent(event);
}

}  // namespace

void EvForestMaze() {
    PlayScene("EvForestMaze", "main");
    ForestMazeFrom(0);
}

void ForestMazeFrom(int node) {
    // No time passes inside the loop; the player may walk in circles for as long as
    // they like.
    // A program closing (its choices answer nothing) leaves the forest too, else the
    // loop would walk on by itself for ever.
    while (node >= 0 && node < kNodes && !(ui::HaveApp() && ui::App().Terminated()))
        node = MazeNode(node);
    PlayScene("EvForestMaze", node == kGoal ? "goal" : "leave");
}

void MazeWayLeft() { g_way = kLeft; }
void MazeWayRight() { g_way = kRight; }
void MazeWayBack() { g_way = kBack; }
void MazeWayHome() { g_way = kHome; }

// ---- the events

// The morning after her collapse at the flowerbed: the fever is named at her bedside.
bool EvTurnStart000() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(flag::FeverExplained, false)) return false;
    if (!ev->ChkFlg(flag::FloraeCollapsed, true)) return false;
    if (!ev->ChkDayMark(mark::FeverBegan, 1, 1)) return false;
    if (!ev->ChkFlg(flag::FeverBeganAtTurnStart, false)) return false;
    if (!ev->ChkHour(9, 9)) return false;
    return RunEvent("EvTurnStart000");
}

// An evening at the shop in the maze's days: the night in the forest, voiced.
bool EvTurnStart001() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev || !MazeDaysHold(*ev)) return false;
    if (!ev->ChkHour(18, 22)) return false;
    if (!ev->ChkNot(ev->ChkMixing())) return false;
    // Once she is gone the search has no purpose (a maze given up lets her die).
    if (!ev->ChkFlg(flag::FloraeDied, false)) return false;
    return RunEvent("EvTurnStart001");
}

// The first hour the cure potion stands in stock: 黑皮 tells its price.
bool EvTurnStart002() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(flag::WizardFound, true)) return false;
    if (!ev->ChkFlg(flag::PotionGiven, false)) return false;
    if (!ev->ChkFlg(flag::FloraeDied, false)) return false;
    if (!ev->ChkItem(item::CurePotion, 1)) return false;
    if (!ev->ChkFlg(flag::CurePotionReady, false)) return false;
    return RunEvent("EvTurnStart002");
}

// 芙蘿蕾 dies: the morning after a maze given up, or from the 24th day uncured.
bool EvTurnStart003() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(flag::FloraeEndPlayed, false)) return false;
    if (!ev->ChkHour(9, 9)) return false;
    // A maze given up ends the fever at once; otherwise its days and the visits decide.
    if (!ev->ChkFlg(flag::MazeGivenUp, true)) {
        if (!ev->ChkDayMark(mark::FeverBegan, 24, 100)) return false;
        if (!ev->ChkVar(var::BedsideVisitCount, 3, 0, false)) return false;
        if (!ev->ChkFlg(flag::PotionGiven, false)) return false;
    }
    return RunEvent("EvTurnStart003");
}

// 芙蘿蕾 and her mother vanish, unseen, when the heroine hardly visited.
bool EvTurnStart004() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(flag::FloraeEndPlayed, false)) return false;
    if (!ev->ChkHour(9, 9)) return false;
    if (!ev->ChkDayMark(mark::FeverBegan, 24, 100)) return false;
    if (!ev->ChkVar(var::BedsideVisitCount, 2, 1, false)) return false;
    return RunEvent("EvTurnStart004");
}

// The visit with 黑皮 to the blind 芙蘿蕾; with the early flowerbed days and no other
// route the water spirit stone comes forth.
bool EvTurnStart005() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkVar(var::SilentVisitCount, 8, 0, false)) return false;
    if (!ev->ChkHour(9, 9)) return false;
    if (!ev->ChkFlg(flag::FloraeSpeaksAgain, false)) return false;
    return RunEvent("EvTurnStart005");
}

// The fever begins at a turn start when it has not begun at the flowerbed.
bool EvTurnStart015() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkHour(9, 9)) return false;
    if (!ev->ChkFlg(flag::FloraeCollapsed, false)) return false;
    if (!ev->ChkFlg(flag::FeverBeganAtTurnStart, false)) return false;
    if (!ev->ChkDay(235, 100)) return false;
    if (!ev->ChkNot(ev->ChkWeekday(5))) return false;
    return RunEvent("EvTurnStart015");
}

// The same night in the forest, begun on arriving at the shop.
bool EvMove001() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev || !MazeDaysHold(*ev)) return false;
    if (!ev->ChkHour(18, 22)) return false;
    if (!ev->ChkPlace(place::ShopInside)) return false;
    // Once she is gone the search has no purpose.
    if (!ev->ChkFlg(flag::FloraeDied, false)) return false;
    return RunEvent("EvMove001");
}

// The cure potion at her bedside: given with a kiss, or the search for the stone.
bool EvMove002() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(flag::FloraeCollapsed, true)) return false;
    if (!ev->ChkDayMark(mark::FeverBegan, 1, 23)) return false;
    if (!ev->ChkFlg(flag::WizardFound, true)) return false;
    if (!ev->ChkFlg(flag::FloraeDied, false)) return false;
    if (!ev->ChkFlg(flag::PotionGiven, false)) return false;
    if (!ev->ChkItem(item::CurePotion, 1)) return false;
    if (!ev->ChkPlace(place::FloraeRoom)) return false;
    return RunEvent("EvMove002");
}

// The first visit after the cure: she has lost her sight.
bool EvMove003() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkPlace(place::FloraeRoom)) return false;
    if (!ev->ChkFlg(flag::PotionGiven, true)) return false;
    if (!ev->ChkFlg(flag::FloraeBlindVisit, false)) return false;
    return RunEvent("EvMove003");
}

// The panacea restores her sight.
bool EvMove004() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkItem(item::Panacea, 1)) return false;
    if (!ev->ChkPlace(place::FloraeRoom)) return false;
    if (!ev->ChkFlg(flag::FloraeSightRestored, false)) return false;
    return RunEvent("EvMove004");
}

// The empty, blood-stained room after the family vanished.
bool EvMove018() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(flag::FloraeVanished, true)) return false;
    if (!ev->ChkPlace(place::FloraeRoom)) return false;
    if (!ev->ChkFlg(flag::EmptyRoomFound, false)) return false;
    return RunEvent("EvMove018");
}

// The bedside visits: six windows of days from the fever's first day; in the first
// four the first visit is a talk, the later ones short.
bool EvMove023() { return BedsideVisit("EvMove023", 1, 5, flag::BedsideWindow1, false); }
bool EvMove024() { return BedsideVisit("EvMove024", 1, 5, flag::BedsideWindow1, true); }
bool EvMove025() { return BedsideVisit("EvMove025", 6, 5, flag::BedsideWindow2, false); }
bool EvMove026() { return BedsideVisit("EvMove026", 6, 5, flag::BedsideWindow2, true); }
bool EvMove027() { return BedsideVisit("EvMove027", 11, 4, flag::BedsideWindow3, false); }
bool EvMove028() { return BedsideVisit("EvMove028", 11, 4, flag::BedsideWindow3, true); }
bool EvMove029() { return BedsideVisit("EvMove029", 15, 3, flag::BedsideWindow4, false); }
bool EvMove030() { return BedsideVisit("EvMove030", 15, 3, flag::BedsideWindow4, true); }
bool EvMove031() { return BedsideVisit("EvMove031", 18, 3, kNoOnceFlag, false); }
bool EvMove032() { return BedsideVisit("EvMove032", 21, 3, flag::BedsideUnconscious, false); }
