#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

// The event server: keeper of the story's memory (event flags, countdown timers,
// event variables, day marks, the held orders) and of the condition tests that
// every story event runs at its head.

constexpr int kEventFlagCount = 1024;  // flags 1..1023 can be set; flag 0 never is
constexpr int kEventFlagWords = kEventFlagCount / 32;
constexpr int kFirstPersistentFlag = 32;  // 32..95: event pictures and endings seen
constexpr int kFirstPlaceOpenFlag = 96;   // 96..159: places open on the maps
constexpr int kLastPlaceOpenFlag = 159;
constexpr int kFirstDailyFlag = 160;  // 160..191: cleared by every day change
constexpr int kLastDailyFlag = 191;
constexpr int kCountdownTimerCount = 32;
constexpr int kEventVariableCount = 64;
constexpr int kDayMarkCount = 10;
constexpr int kOrderSlotCount = 4;

// Limits of what a held order may name; a loaded slot outside them is taken as free.
constexpr int kOrderIdCount = 22;     // ids 1..22; 0 = no order
constexpr int kOrderClientCount = 7;  // clients 0..6
constexpr int kOrderItemCount = 107;  // item ids 0..106

// Byte layout of the event part of a save slot.
constexpr std::size_t kEventSaveSize = 1048;
constexpr std::size_t kEventFlagsOffset = 0;
constexpr std::size_t kCountdownOffset = 128;
constexpr std::size_t kCountdownRecordSize = 12;
constexpr std::size_t kVariablesOffset = 512;
constexpr std::size_t kDayMarksOffset = 768;
constexpr std::size_t kOrdersOffset = 808;
constexpr std::size_t kOrderSlotSize = 60;
constexpr std::size_t kPersistentFlagsSize = 8;  // flag words 1 and 2, in the system file

// A timer that counts days: when it runs out it clears one flag and may set another.
// A record whose first field is 0 is free.
struct CountdownTimer {
    std::int32_t FlagToClear = 0;
    std::int32_t DaysLeft = 0;
    std::int32_t FlagToSet = 0;  // 0 or less: none

    bool operator==(const CountdownTimer&) const = default;
};

// One held order: fifteen 32-bit words, as stored in the save block.
struct OrderSlot {
    std::int32_t Id = 0;           // 1..22; 0 = no order
    std::int32_t Reward = 0;       // money paid on delivery
    std::int32_t AcceptedDay = 0;  // day index of acceptance
    std::int32_t Deadline = 0;     // day index the order is due; 0 marks a free slot
    std::int32_t Reserved = 0;
    std::int32_t Kind = 0;  // 0 goods order, 1 other order
    std::int32_t Flag = 0;  // the order's event flag
    std::int32_t Item = 0;
    std::int32_t Quantity = 0;
    std::int32_t Client = 0;  // 0..6
    std::int32_t Spare = 0;
    std::array<std::int32_t, 4> Tail{};  // reserved words, kept as loaded

    bool operator==(const OrderSlot&) const = default;
};

// Day on which a chain of events was armed; 0 means not armed (so a mark set on
// day 0 reads as not armed). Kept beside the server, saved with its block.
extern std::array<std::int32_t, kDayMarkCount> DayMarks;

// The four held orders: held ones fill slots 0..n-1, free (all zero) ones follow.
extern std::array<OrderSlot, kOrderSlotCount> Orders;

class TEventServerDbg {
public:
    TEventServerDbg();
    TEventServerDbg(const TEventServerDbg&) = delete;
    TEventServerDbg& operator=(const TEventServerDbg&) = delete;

    // --- Story state ---
    // Flag n is bit (n & 31) of word (n >> 5).
    std::array<std::uint32_t, kEventFlagWords> EventFlags{};
    std::array<CountdownTimer, kCountdownTimerCount> CountdownTimers{};
    // Written directly by the events; ChkVar compares them.
    std::array<std::int32_t, kEventVariableCount> EventVariable{};
    // Set by the developer's debug window: every condition test with override is true.
    std::uint8_t ConditionOverride = 0;

    // Sets (on) or clears flag n; numbers outside 1..1023 are ignored entirely.
    void SetFlg(int n, bool on);
    // Flag n is set; false for any number outside 1..1023.
    bool TestFlg(int n) const;
    void ClearDailyFlags();
    // Mark k := today; ClearDayMark: mark k := 0. Indices outside 0..9 do nothing.
    void SetDayMark(int k);
    void ClearDayMark(int k);
    // Bounded access for the debug window; out-of-range reads give 0, writes do nothing.
    std::int32_t Variable(int i) const;
    bool SetVariable(int i, std::int32_t value);

    // The once-a-day update, run at 08:00 by the game-flow controller's day start.
    void DayChange();
    // A new game: everything zero but the persistent flags; places open but 138, 139.
    void NewGameReset();

    // The event part of a save slot: exactly kEventSaveSize bytes, little-endian.
    static int EventSaveSize() { return static_cast<int>(kEventSaveSize); }
    bool SaveEventBlock(std::uint8_t* buffer, std::size_t size) const;
    // Replaces the whole story state from a block; a size other than kEventSaveSize
    // is refused and changes nothing. An order slot naming an unknown order id, client
    // or item is taken as free (the held orders close up). Resets the last-mixed item.
    bool LoadEventBlock(const std::uint8_t* buffer, std::size_t size);

    // Flags 32..95 as the system file keeps them (8 bytes: flag words 1 and 2).
    static int PersistentFlagsSize() { return static_cast<int>(kPersistentFlagsSize); }
    bool GetPersistentFlags(std::uint8_t* buffer, std::size_t size) const;
    bool PutPersistentFlags(const std::uint8_t* buffer, std::size_t size);

    // --- Conditions (true under ConditionOverride, unless noted) ---
    bool ChkFlg(int n, bool want) const;
    bool ChkNot(bool b) const;
    bool ChkPlace(int place) const;
    bool ChkDay(int first, int length) const;
    bool ChkHour(int from, int to) const;
    bool ChkWeekday(int n) const;
    bool ChkDayMark(int k, int offset, int length) const;
    bool ChkVar(int a, int b, int mode, bool bIsVariable) const;
    bool ChkLevel(int n) const;
    bool ChkMoney(int n) const;
    bool ChkReputation(int n) const;
    bool ChkItem(int item, int n) const;
    bool ChkMixing() const;
    bool ChkRandom(int n) const;         // draws one number from the generator
    bool ChkMixedItem() const;           // no override
    bool IsRecipeKnown(int item) const;  // no override
    bool IsPictureSeen(int k) const;

    // Step-through point of the debug window: while its debug mode is on, the
    // command label shows the primitive's name and the program waits, messages
    // still running, for "Next Step".
    void DebugStep(const std::string& text);
    void m_BtnNxtClick();
    bool m_DebugMode = false;   // "Debug Mode" checked
    std::string m_CommandText;  // what the "Command" label shows
    std::uint8_t m_Step = 0;    // set by "Next Step"

    // --- Shop actions (town/ShopAction.cpp) ---
    // A scripted action on the shop floor: 0 a visitor of figure `sheet` comes in,
    // 1 it leaves, 2..15 the heroine's scripted moves and the upstairs room.
    void ShopAction(int sheet, int action);
    // --- end of shop actions ---

    // --- Sound, music, time, place, stats and items (EvsrvSound.cpp, EvsrvTime.cpp) ---
    // Sound n: 0..84 an effect, 100..1261 a voice line; other numbers play nothing.
    void PlaySound(int n);
    void PlaySoundSync(int n);
    void PlayMusic(int track, bool loop);
    void StopMusic();
    // The current place's music: the shop's season track, the land's or the town's.
    void PlayPlaceMusic();
    void PlaySeasonMusic();

    // Advances the clock hour by hour; false when the heroine was too tired to go on.
    bool PassTime(int hours);
    // Advances until the hour is `hour`; nothing for an hour outside 0..23.
    void WaitHour(int hour);
    void PassNights(int n);
    int GetHour() const;
    // Today's day index; month 1..12 and season 0 winter, 1 spring, 2 summer, 3 autumn.
    int GetSeason(int& season, int& month) const;
    // The tick count modulo n; 0 for n = 0.
    int TickMod(int n) const;
    void SetPlace(int place, bool redraw);
    void GiveItem(int item, int n);
    void TakeItem(int item, int n);
    void LearnRecipe(int item);
    void LearnRecipeScene(int item);
    void GiveMoney(int n);
    void GiveReputation(int n);
    void ResetCondition();
    // The tired scene: the heroine goes home to bed. Nothing inside an event.
    void TiredRefusal();
    // The search and peddle commands when no event of theirs ran.
    void DefaultSearch();
    void Peddle();

    // Calls into windows that other units own; each does nothing while unset.
    struct PrimitiveHooks {
        void (*DspMsg)(const std::string& big5) = nullptr;  // until the message window exists
        void (*FaceGr)(int face) = nullptr;                 // until the message window exists
        void (*ShowPlaceGr)(int place) = nullptr;           // until the stage exists
        bool (*InEvent)() = nullptr;     // the in-event byte, until the event frame exists
        bool (*ShopRedraw)() = nullptr;  // the shop-redraw byte, until the event frame exists
        // One step of the shop scene while an event lets it run (UpdateScene, the
        // pending action, a repaint), until the shop screen exists.
        void (*ShopSceneStep)() = nullptr;
        // The end of the tired scene: the shop screen shown with its menus, the heroine
        // going to bed upstairs, the map and stage forms hidden and the stage's
        // bitmaps freed, until the shop screen, the map and the stage exist.
        void (*GoHomeToBed)() = nullptr;
        void (*SetMapLand)(bool land) = nullptr;  // until the map form exists
        // A line of the debug window's check memo, until the debug window exists.
        void (*CheckMemo)(const std::string& line) = nullptr;
    };
    static PrimitiveHooks Hooks;
    // --- end of sound, music, time, place, stats and items ---
};

// --- Shop actions (town/ShopAction.cpp) ---
// Set while an action of the story hid the shop's background actor 4 (actions 2, 6);
// the end of the event shows it again through ShowActor4AfterEvent.
extern std::uint8_t ShopActor4Mark;
// Set while a story mixing job runs at the desk (action 4 until action 9): the time
// primitives then step the shop scene with every hour.
extern std::uint8_t ShopRedrawOn;
// The end of an event: when the mark is set, actor 4 comes back and the companion goes.
void ShowActor4AfterEvent();
// --- end of shop actions ---

extern TEventServerDbg* EventServerDbg;
