#include "town/Evsrvfm.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <string>

#include "media/Qvpack.h"
#include "platform/Application.h"
#include "platform/Big5.h"
#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/Random.h"
#include "platform/Transcript.h"
#include "shop/Catalog.h"
#include "shop/GameState.h"
#include "shop/Mixing.h"
#include "skin/BcImg.h"
#include "skin/BcPanel.h"
#include "skin/CHBCBTN.h"
#include "skin/CHBmpCnt.h"
#include "story/Register.h"
#include "town/EvControler.h"
#include "town/EventTables.h"
#include "town/Whereabouts.h"

TEventServerDbg* EventServerDbg = nullptr;
TEventServerHooks EventServerHooks;
std::string TEventServerDbg::DiscFolder;
std::array<std::int32_t, kDayMarkCount> DayMarks{};
std::array<OrderSlot, kOrderSlotCount> Orders{};

namespace {

constexpr int kRestWeekday = 5;
// Shelf-picture rows of the goods that count as a mixed item for the story.
constexpr int kMixedItemRows[] = {0, 1, 2, 6, 7, 8, 12, 13};

bool IsSettableFlag(int n) { return n >= 1 && n < kEventFlagCount; }

void PutOrder(std::uint8_t* p, const OrderSlot& o) {
    const std::int32_t words[15] = {o.Id,    o.Reward,  o.AcceptedDay, o.Deadline, o.Reserved,
                                    o.Kind,  o.Flag,    o.Item,        o.Quantity, o.Client,
                                    o.Spare, o.Tail[0], o.Tail[1],     o.Tail[2],  o.Tail[3]};
    for (int i = 0; i < 15; ++i) ui::StoreI32(p + 4 * i, words[i]);
}

OrderSlot GetOrder(const std::uint8_t* p) {
    OrderSlot o;
    o.Id = ui::LoadI32(p + 0);
    o.Reward = ui::LoadI32(p + 4);
    o.AcceptedDay = ui::LoadI32(p + 8);
    o.Deadline = ui::LoadI32(p + 12);
    o.Reserved = ui::LoadI32(p + 16);
    o.Kind = ui::LoadI32(p + 20);
    o.Flag = ui::LoadI32(p + 24);
    o.Item = ui::LoadI32(p + 28);
    o.Quantity = ui::LoadI32(p + 32);
    o.Client = ui::LoadI32(p + 36);
    o.Spare = ui::LoadI32(p + 40);
    for (int i = 0; i < 4; ++i) o.Tail[i] = ui::LoadI32(p + 44 + 4 * i);
    return o;
}

// A loaded order is kept only when every number it indexes a table with is known.
bool IsKnownOrder(const OrderSlot& o) {
    return o.Id >= 1 && o.Id <= kOrderIdCount && o.Client >= 0 && o.Client < kOrderClientCount &&
           o.Item >= 0 && o.Item < kOrderItemCount;
}

void ResetMixedItem() {
    if (GameFlow) GameFlow->MixedItem = -1;
}

}  // namespace

TEventServerDbg::TEventServerDbg() : m_Pack(std::make_unique<TQvPack>()) {
    DayMarks.fill(0);
    Orders.fill(OrderSlot{});
    BuildForm();
    m_Work = ui::Bitmap(kStageWidth, kStageHeight);
    m_Src = ui::Bitmap(kStageWidth, kStageHeight);
    m_Work.GetCanvas().Brush.Color = ui::clBlack;
    m_Work.GetCanvas().FillRect(ui::Rect{0, 0, kStageWidth, kStageHeight});
    m_Src = m_Work;
    MakeBrushes();
    m_TransitionRunning = 0;
    m_TransitionOn = 1;
    LayoutStage(false);
    ConnectWindows();
}

TEventServerDbg::~TEventServerDbg() = default;

// --- Flags, marks and variables ---

void TEventServerDbg::SetFlg(int n, bool on) {
    if (!IsSettableFlag(n)) return;
    const std::uint32_t bit = 1u << (n & 31);
    if (on)
        EventFlags[n >> 5] |= bit;
    else
        EventFlags[n >> 5] &= ~bit;
    ui::Record("flag", (on ? "set " : "clear ") + std::to_string(n));
    DebugStep((on ? "SetFlg1:" : "SetFlg0:") + std::to_string(n));
}

bool TEventServerDbg::TestFlg(int n) const {
    if (!IsSettableFlag(n)) return false;
    return (EventFlags[n >> 5] >> (n & 31)) & 1u;
}

void TEventServerDbg::ClearDailyFlags() {
    for (int n = kFirstDailyFlag; n <= kLastDailyFlag; ++n) SetFlg(n, false);
}

void TEventServerDbg::SetDayMark(int k) {
    if (k >= 0 && k < kDayMarkCount) DayMarks[k] = GameDay();
}

void TEventServerDbg::ClearDayMark(int k) {
    if (k >= 0 && k < kDayMarkCount) DayMarks[k] = 0;
}

std::int32_t TEventServerDbg::Variable(int i) const {
    return (i >= 0 && i < kEventVariableCount) ? EventVariable[i] : 0;
}

bool TEventServerDbg::SetVariable(int i, std::int32_t value) {
    if (i < 0 || i >= kEventVariableCount) return false;
    EventVariable[i] = value;
    return true;
}

// --- Day change and new game ---

void TEventServerDbg::DayChange() {
    ui::Srand(ui::GetTickCount() % 1000);
    ClearNpcMet();
    ClearDailyFlags();
    for (CountdownTimer& t : CountdownTimers) {
        if (t.FlagToClear == 0) continue;
        // Counted in 64 bits: a loaded record may hold any days-left value.
        const std::int64_t left = static_cast<std::int64_t>(t.DaysLeft) - 1;
        if (left >= 1) {
            t.DaysLeft = static_cast<std::int32_t>(left);
            continue;
        }
        SetFlg(t.FlagToClear, false);
        if (t.FlagToSet > 0) SetFlg(t.FlagToSet, true);
        t = CountdownTimer{};
    }
    ArmOrderFlags();
    DropOverdueOrders();
}

void TEventServerDbg::NewGameReset() {
    std::uint8_t persistent[kPersistentFlagsSize];
    GetPersistentFlags(persistent, sizeof persistent);
    EventFlags.fill(0);
    CountdownTimers.fill(CountdownTimer{});
    EventVariable.fill(0);
    DayMarks.fill(0);
    Orders.fill(OrderSlot{});
    ResetMixedItem();
    PutPersistentFlags(persistent, sizeof persistent);
    for (int n = kFirstPlaceOpenFlag; n <= kLastPlaceOpenFlag; ++n) SetFlg(n, true);
    SetFlg(flag::HotSpringOpen, false);
    SetFlg(flag::WizardHouseOpen, false);
}

// --- Save block and system file ---

bool TEventServerDbg::SaveEventBlock(std::uint8_t* buffer, std::size_t size) const {
    if (!buffer || size != kEventSaveSize) return false;
    for (int w = 0; w < kEventFlagWords; ++w)
        ui::StoreU32(buffer + kEventFlagsOffset + 4 * w, EventFlags[w]);
    for (int i = 0; i < kCountdownTimerCount; ++i) {
        std::uint8_t* p = buffer + kCountdownOffset + kCountdownRecordSize * i;
        ui::StoreI32(p, CountdownTimers[i].FlagToClear);
        ui::StoreI32(p + 4, CountdownTimers[i].DaysLeft);
        ui::StoreI32(p + 8, CountdownTimers[i].FlagToSet);
    }
    for (int i = 0; i < kEventVariableCount; ++i)
        ui::StoreI32(buffer + kVariablesOffset + 4 * i, EventVariable[i]);
    for (int i = 0; i < kDayMarkCount; ++i)
        ui::StoreI32(buffer + kDayMarksOffset + 4 * i, DayMarks[i]);
    for (int i = 0; i < kOrderSlotCount; ++i)
        PutOrder(buffer + kOrdersOffset + kOrderSlotSize * i, Orders[i]);
    return true;
}

bool TEventServerDbg::LoadEventBlock(const std::uint8_t* buffer, std::size_t size) {
    if (!buffer || size != kEventSaveSize) return false;
    for (int w = 0; w < kEventFlagWords; ++w)
        EventFlags[w] = ui::LoadU32(buffer + kEventFlagsOffset + 4 * w);
    for (int i = 0; i < kCountdownTimerCount; ++i) {
        const std::uint8_t* p = buffer + kCountdownOffset + kCountdownRecordSize * i;
        CountdownTimers[i] = {ui::LoadI32(p), ui::LoadI32(p + 4), ui::LoadI32(p + 8)};
    }
    for (int i = 0; i < kEventVariableCount; ++i)
        EventVariable[i] = ui::LoadI32(buffer + kVariablesOffset + 4 * i);
    for (int i = 0; i < kDayMarkCount; ++i)
        DayMarks[i] = ui::LoadI32(buffer + kDayMarksOffset + 4 * i);
    // Unknown orders are dropped and the held ones close up, so free slots follow.
    Orders.fill(OrderSlot{});
    int held = 0;
    for (int i = 0; i < kOrderSlotCount; ++i) {
        const OrderSlot o = GetOrder(buffer + kOrdersOffset + kOrderSlotSize * i);
        if (IsKnownOrder(o)) Orders[held++] = o;
    }
    ResetMixedItem();
    return true;
}

bool TEventServerDbg::GetPersistentFlags(std::uint8_t* buffer, std::size_t size) const {
    if (!buffer || size != kPersistentFlagsSize) return false;
    ui::StoreU32(buffer, EventFlags[1]);
    ui::StoreU32(buffer + 4, EventFlags[2]);
    return true;
}

bool TEventServerDbg::PutPersistentFlags(const std::uint8_t* buffer, std::size_t size) {
    if (!buffer || size != kPersistentFlagsSize) return false;
    EventFlags[1] = ui::LoadU32(buffer);
    EventFlags[2] = ui::LoadU32(buffer + 4);
    return true;
}

// --- Conditions ---

bool TEventServerDbg::ChkFlg(int n, bool want) const {
    if (ConditionOverride) return true;
    // Flag 0 exists but is never set, so it always tests clear.
    if (n < 0 || n >= kEventFlagCount) return false;
    return TestFlg(n) == want;
}

bool TEventServerDbg::ChkNot(bool b) const { return ConditionOverride || !b; }

bool TEventServerDbg::ChkPlace(int place) const {
    if (ConditionOverride) return true;
    return GameFlow && GameFlow->Place == place;
}

bool TEventServerDbg::ChkDay(int first, int length) const {
    if (ConditionOverride) return true;
    const std::int64_t today = GameDay();
    return first <= today && today < static_cast<std::int64_t>(first) + length;
}

bool TEventServerDbg::ChkHour(int from, int to) const {
    if (ConditionOverride) return true;
    const int hour = GameHour();
    return from <= hour && hour <= to;
}

bool TEventServerDbg::ChkWeekday(int n) const {
    if (ConditionOverride) return true;
    const int weekday = GameDay() % kDaysPerWeek;
    return n >= 0 ? weekday == n : weekday != kRestWeekday;
}

bool TEventServerDbg::ChkDayMark(int k, int offset, int length) const {
    if (ConditionOverride) return true;
    if (k < 0 || k >= kDayMarkCount || DayMarks[k] == 0) return false;
    const std::int64_t today = GameDay();
    const std::int64_t first = static_cast<std::int64_t>(DayMarks[k]) + offset;
    return first <= today && today < first + length;
}

bool TEventServerDbg::ChkVar(int a, int b, int mode, bool bIsVariable) const {
    if (ConditionOverride) return true;
    if (a < 0 || a >= kEventVariableCount) return false;
    if (bIsVariable && (b < 0 || b >= kEventVariableCount)) return false;
    const std::int32_t v = bIsVariable ? EventVariable[b] : b;
    const std::int32_t x = EventVariable[a];
    switch (mode) {
        case 0:
            return x >= v;
        case 1:
            return x <= v;
        case 2:
            return x == v;
        default:
            return false;
    }
}

bool TEventServerDbg::ChkLevel(int n) const { return ConditionOverride || GameLevel() >= n; }

bool TEventServerDbg::ChkMoney(int n) const { return ConditionOverride || GameMoney() >= n; }

bool TEventServerDbg::ChkReputation(int n) const {
    return ConditionOverride || GameReputation() >= n;
}

bool TEventServerDbg::ChkItem(int item, int n) const {
    if (ConditionOverride) return true;
    if (item < 0 || item >= kItemCount) return false;
    return ItemStock(item) >= n;
}

bool TEventServerDbg::ChkMixing() const { return ConditionOverride || MixHoursLeft() != 0; }

bool TEventServerDbg::ChkRandom(int n) const {
    if (ConditionOverride) return true;
    return n >= ui::Rand() % 100 + 1;
}

bool TEventServerDbg::ChkMixedItem() const {
    if (!GameFlow) return false;
    const int item = GameFlow->MixedItem;
    if (item < 0 || item >= kItemCount) return false;
    const int row = ItemShelfRow(item);
    return std::find(std::begin(kMixedItemRows), std::end(kMixedItemRows), row) !=
           std::end(kMixedItemRows);
}

bool TEventServerDbg::IsRecipeKnown(int item) const {
    return item >= 0 && item < kItemCount && IsItemUnlocked(item);
}

bool TEventServerDbg::IsPictureSeen(int k) const {
    if (ConditionOverride) return true;
    return k >= 0 && k < kEventFlagCount - kFirstPersistentFlag &&
           TestFlg(kFirstPersistentFlag + k);
}

// --- Debug window ---

void TEventServerDbg::DebugStep(const std::string& text) {
    m_Step = 0;
    if (!m_CbxDbg || !m_CbxDbg->Checked()) return;
    m_LblCommand->SetCaption(text);
    // Messages go on meanwhile, so "Next Step" can be pressed.
    if (ui::HaveApp()) ui::App().PumpUntil([this] { return m_Step != 0; }, "DebugStep");
}

void TEventServerDbg::m_BtnNxtClick() { m_Step = 1; }
