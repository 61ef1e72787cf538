#include "shop/Savefile.h"

#include <strings.h>

#include <cctype>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>
#include <new>

#include "media/FileFaults.h"
#include "platform/Big5.h"
#include "platform/Files.h"
#include "shop/Catalog.h"
#include "shop/Fashion.h"
#include "shop/GameState.h"
#include "town/EvControler.h"
#include "town/Evsrvfm.h"

static_assert(kGameStateImageSize == kGameStateSize);
static_assert(kFashionRecordBytes == kFashionRecordSize);
static_assert(kFashionRecordCount == kGoodsCount);
static_assert(kSlotEventSize == kEventSaveSize);
static_assert(kPersistentFlagBytes == kPersistentFlagsSize);
static_assert(kEverUnlockedBytes == kItemCount);
static_assert(kSlotFashionOffset == kGameStateImageSize);
static_assert(kSlotEventOffset == kSlotFashionOffset + kFashionRecordCount * kFashionRecordBytes);
static_assert(kSlotTailOffset == kSlotEventOffset + kSlotEventSize);
static_assert(kSlotFileSize == kSlotTailOffset + kSlotTailSize);
static_assert(kSystemFileSize == kEverUnlockedBytes + kPersistentFlagBytes);

namespace {

// Where the game-state fields sit in a slot image.
constexpr std::size_t kVariantAt = 0;
constexpr std::size_t kDayAt = 4;
constexpr std::size_t kHourAt = 8;
constexpr std::size_t kConditionAt = 12;
constexpr std::size_t kLevelAt = 16;
constexpr std::size_t kExperienceAt = 20;
constexpr std::size_t kMoneyAt = 24;
constexpr std::size_t kReputationAt = 28;
constexpr std::size_t kCustomerMessagesAt = 32;
constexpr std::size_t kVisitorsAt = 44;
constexpr std::size_t kMarketAt = 1196;
constexpr std::size_t kItemStatesAt = 1208;
constexpr std::size_t kItemReserveAt = 1;  // within an item's record
constexpr std::size_t kItemRevenueAt = 292;
constexpr std::size_t kItemUnlockedAt = 1444;
constexpr std::size_t kSlotRowsAt = 156144;  // now, yesterday, evening: ten each
constexpr int kSlotRowEntries = 3 * kExhibitionSlots;
constexpr std::size_t kMixJobAt = 156176;  // item, batches, yield, hours left

constexpr int kMaxStock = 99;
constexpr int kMaxBatches = 4;
constexpr int kUnitsPerBatch = 10;
constexpr std::int32_t kMaxExperience = 99;
// Money has no lower bound in the rules, but purchases never spend more than there
// is; a debt as large as the cap is already far beyond any game.
constexpr std::int32_t kMinMoney = -kMoneyCap;
// Customers who entered in one day: the day's demand is at most a few hundred.
constexpr std::uint32_t kMaxDailyVisitors = 65535;
// A day's takings of one item: the day's sold count is a byte, each unit at most
// its base price.
constexpr std::uint32_t kMaxDailyUnits = 255;
// A customer message names an item that was not to be had (0..63) or goods asked
// for but not on show (goods + 64).
constexpr std::int32_t kMaxCustomerMessage = 2 * kGoodsCount - 1;

// Where the held orders sit in the event block: fifteen words each.
constexpr std::size_t kOrderIdAt = 0;
constexpr std::size_t kOrderRewardAt = 4;
constexpr std::size_t kOrderAcceptedAt = 8;
constexpr std::size_t kOrderDeadlineAt = 12;
constexpr std::size_t kOrderKindAt = 20;
constexpr std::size_t kOrderFlagAt = 24;
constexpr std::size_t kOrderItemAt = 28;
constexpr std::size_t kOrderQuantityAt = 32;
constexpr std::size_t kOrderClientAt = 36;

// The story's counters (gifts, visits) stay far below this; a value beyond it could
// only overflow when an event steps it.
constexpr std::int32_t kMaxEventVariable = 1 << 24;

SaveRenameHook g_RenameHook = nullptr;

bool InRange(std::int32_t v, std::int32_t lo, std::int32_t hi) { return v >= lo && v <= hi; }

// An exhibition slot shows goods or nothing (-1).
bool IsSlotEntry(std::uint8_t b) {
    auto v = static_cast<std::int8_t>(b);
    return v == -1 || InRange(v, 0, kGoodsCount - 1);
}

bool CheckGameStateImage(const std::uint8_t* s) {
    if (!InRange(ui::LoadI32(s + kVariantAt), 0, 1)) return false;
    if (!InRange(ui::LoadI32(s + kDayAt), 0, kGameDays - 1)) return false;
    if (!InRange(ui::LoadI32(s + kHourAt), 0, 23)) return false;
    if (!InRange(ui::LoadI32(s + kConditionAt), 0, 2)) return false;
    if (!InRange(ui::LoadI32(s + kLevelAt), 1, kMaxLevel)) return false;
    if (!InRange(ui::LoadI32(s + kExperienceAt), 0, kMaxExperience)) return false;
    if (!InRange(ui::LoadI32(s + kMoneyAt), kMinMoney, kMoneyCap)) return false;
    if (!InRange(ui::LoadI32(s + kReputationAt), 0, 100)) return false;
    for (int i = 0; i < kCustomerMessages; ++i) {
        std::int32_t m = ui::LoadI32(s + kCustomerMessagesAt + 4 * i);
        if (m != -1 && !InRange(m, 0, kMaxCustomerMessage)) return false;
    }
    for (int d = 0; d < kGameDays; ++d)
        if (ui::LoadU32(s + kVisitorsAt + 4 * d) > kMaxDailyVisitors) return false;
    for (int i = 0; i < kMarketOffers; ++i) {
        const std::uint8_t* offer = s + kMarketAt + 2 * i;
        if (offer[0] >= kItemCount || offer[1] > kMaxStock) return false;
    }
    for (int i = 0; i < kItemCount; ++i) {
        const std::uint8_t* item = s + kItemStatesAt + kItemStateSize * i;
        std::uint8_t stock = item[0];
        if (stock > kMaxStock && stock != kKeyItemStock) return false;
        if (item[kItemReserveAt] > stock) return false;
        if (item[kItemUnlockedAt] > 1) return false;
        const std::uint32_t maxRevenue =
            kMaxDailyUnits * static_cast<std::uint32_t>(ItemBasePrice(i));
        for (int d = 0; d < kGameDays; ++d)
            if (ui::LoadU32(item + kItemRevenueAt + 4 * d) > maxRevenue) return false;
    }
    for (int i = 0; i < kSlotRowEntries; ++i)
        if (!IsSlotEntry(s[kSlotRowsAt + i])) return false;
    // A running job mixes known goods in one to four batches, makes at most ten
    // units a batch and has no more hours left than its recipe takes.
    const std::uint8_t* job = s + kMixJobAt;
    if (job[3] != 0) {
        if (job[0] >= kGoodsCount) return false;
        if (job[1] < 1 || job[1] > kMaxBatches) return false;
        if (job[2] > job[1] * kUnitsPerBatch) return false;
        if (job[3] > RecipeHours(job[0], job[1])) return false;
    }
    return true;
}

// The story part of the event block: flag 0 is never set; a countdown timer in use
// clears and sets flags that exist and has at most a year to run; day marks are
// days of the year; event variables are counts of a size the story keeps.
bool CheckStoryState(const std::uint8_t* block) {
    if (ui::LoadU32(block + kEventFlagsOffset) & 1u) return false;
    for (int i = 0; i < kCountdownTimerCount; ++i) {
        const std::uint8_t* t = block + kCountdownOffset + kCountdownRecordSize * i;
        std::int32_t clear = ui::LoadI32(t);
        if (clear == 0) continue;
        if (!InRange(clear, 1, kEventFlagCount - 1)) return false;
        if (!InRange(ui::LoadI32(t + 4), 0, kGameDays)) return false;
        if (ui::LoadI32(t + 8) > kEventFlagCount - 1) return false;
    }
    for (int i = 0; i < kEventVariableCount; ++i)
        if (!InRange(ui::LoadI32(block + kVariablesOffset + 4 * i), -kMaxEventVariable,
                     kMaxEventVariable))
            return false;
    for (int i = 0; i < kDayMarkCount; ++i)
        if (!InRange(ui::LoadI32(block + kDayMarksOffset + 4 * i), 0, kGameDays - 1)) return false;
    return true;
}

// The held orders of the event block. A slot with id 0 is free (the server drops
// whatever else it holds); a held one names a known order, client, item and kind,
// a flag that can be set, a day of acceptance and a deadline after it, a quantity
// the stock can hold and a reward the money can take; no two held orders share a flag.
bool CheckOrderSlots(const std::uint8_t* block) {
    std::int32_t flags[kOrderSlotCount] = {};
    int held = 0;
    for (int k = 0; k < kOrderSlotCount; ++k) {
        const std::uint8_t* o = block + kOrdersOffset + kOrderSlotSize * k;
        std::int32_t id = ui::LoadI32(o + kOrderIdAt);
        if (id == 0) continue;
        if (!InRange(id, 1, kOrderIdCount)) return false;
        std::int32_t accepted = ui::LoadI32(o + kOrderAcceptedAt);
        if (!InRange(accepted, 0, kGameDays - 1)) return false;
        std::int32_t deadline = ui::LoadI32(o + kOrderDeadlineAt);
        if (deadline == 0 || !InRange(deadline, accepted, accepted + kGameDays)) return false;
        if (!InRange(ui::LoadI32(o + kOrderRewardAt), 0, kMoneyCap)) return false;
        if (!InRange(ui::LoadI32(o + kOrderQuantityAt), 0, kMaxStock)) return false;
        if (!InRange(ui::LoadI32(o + kOrderKindAt), 0, 1)) return false;
        if (!InRange(ui::LoadI32(o + kOrderItemAt), 0, kOrderItemCount - 1)) return false;
        if (!InRange(ui::LoadI32(o + kOrderClientAt), 0, kOrderClientCount - 1)) return false;
        std::int32_t flag = ui::LoadI32(o + kOrderFlagAt);
        if (!InRange(flag, 1, kEventFlagCount - 1)) return false;
        for (int j = 0; j < held; ++j)
            if (flags[j] == flag) return false;
        flags[held++] = flag;
    }
    return true;
}

bool ValidSlot(int slot) { return slot >= 0 && slot < kSaveSlotCount; }

// A slot-sized buffer, or null when memory runs out (the save or load then fails).
std::unique_ptr<std::uint8_t[]> NewSlotBuffer() {
    return std::unique_ptr<std::uint8_t[]>(new (std::nothrow) std::uint8_t[kSlotFileSize]);
}

}  // namespace

std::string SlotFileName(int slot) {
    if (!ValidSlot(slot)) return {};
    return "QDV" + std::to_string(slot + 1) + ".QDV";
}

// ---- images

void BuildSlotImage(std::uint8_t* image) {
    std::memset(image, 0, kSlotFileSize);
    WriteGameStateImage(image);
    for (int g = 0; g < kFashionRecordCount; ++g)
        Fashions[g].SaveRecord(image + kSlotFashionOffset + kFashionRecordBytes * g);
    if (EventServerDbg) EventServerDbg->SaveEventBlock(image + kSlotEventOffset, kSlotEventSize);
}

bool CheckSlotImage(const std::uint8_t* image, std::size_t size) {
    if (!image || size != kSlotFileSize) return false;
    if (!CheckGameStateImage(image)) return false;
    for (int g = 0; g < kFashionRecordCount; ++g)
        if (!Fashion::CheckRecord(image + kSlotFashionOffset + kFashionRecordBytes * g))
            return false;
    return CheckStoryState(image + kSlotEventOffset) && CheckOrderSlots(image + kSlotEventOffset);
}

bool ApplySlotImage(const std::uint8_t* image, std::size_t size) {
    // Without an event server there is no running game to take the story's part.
    if (!EventServerDbg || !CheckSlotImage(image, size)) return false;
    ReadGameStateImage(image);
    // The records passed CheckSlotImage, so each one loads.
    bool ok = true;
    for (int g = 0; g < kFashionRecordCount; ++g)
        ok = Fashions[g].LoadRecord(image + kSlotFashionOffset + kFashionRecordBytes * g) && ok;
    EventServerDbg->LoadEventBlock(image + kSlotEventOffset, kSlotEventSize);
    // The loaded hour's day change and evening have run in the game that was saved.
    if (GameFlow) GameFlow->GameStarted();
    return ok;
}

void BuildSystemImage(std::uint8_t* image) {
    for (int i = 0; i < kItemCount; ++i) {
        if (IsItemUnlocked(i)) EverUnlocked[i] |= 1;
        image[i] = EverUnlocked[i];
    }
    std::memset(image + kEverUnlockedBytes, 0, kPersistentFlagBytes);
    if (EventServerDbg)
        EventServerDbg->GetPersistentFlags(image + kEverUnlockedBytes, kPersistentFlagBytes);
}

bool ApplySystemImage(const std::uint8_t* image, std::size_t size) {
    if (!image || size != kSystemFileSize || !EventServerDbg) return false;
    for (int i = 0; i < kItemCount; ++i) EverUnlocked[i] |= image[i];
    // Pictures seen since the last save stay seen: the file's flags are added to ours.
    std::uint8_t flags[kPersistentFlagBytes];
    EventServerDbg->GetPersistentFlags(flags, sizeof flags);
    for (std::size_t i = 0; i < kPersistentFlagBytes; ++i)
        flags[i] |= image[kEverUnlockedBytes + i];
    EventServerDbg->PutPersistentFlags(flags, sizeof flags);
    return true;
}

// ---- files

void SetSaveRenameHook(SaveRenameHook hook) { g_RenameHook = hook; }

bool WriteRawFile(const void* buffer, std::size_t size, const char* fileName) {
    if (!buffer || !fileName || !*fileName) return false;
    return ui::WriteFileAtomic(fileName, [&](std::FILE* f) {
        if (size != 0 && std::fwrite(buffer, 1, size, f) != size) return false;
        return !g_RenameHook || g_RenameHook();
    });
}

bool ReadRawFile(void* buffer, std::size_t size, const char* fileName) {
    if (!buffer || !fileName || !*fileName) return false;
    std::FILE* f = ui::OpenFile(fileName, "rb");
    if (!f) return false;
    // Exactly `size` bytes: a short file and one with more after it are both foreign.
    bool ok = std::fread(buffer, 1, size, f) == size && std::fgetc(f) == EOF && !std::ferror(f);
    if (std::fclose(f) != 0) ok = false;
    return ok;
}

bool WriteSaveFile(const void* buffer, std::size_t size, const std::string& name) {
    return ui::MakeSaveFolder() && WriteRawFile(buffer, size, ui::SavePath(name).c_str());
}

bool ReadSaveFile(void* buffer, std::size_t size, const std::string& name) {
    return ReadRawFile(buffer, size, ui::SavePath(name).c_str());
}

// ---- slots and the system file

bool SaveGame(int slot) {
    if (!ValidSlot(slot) || !EventServerDbg) return false;
    auto image = NewSlotBuffer();
    if (!image) return false;
    BuildSlotImage(image.get());
    return WriteSaveFile(image.get(), kSlotFileSize, SlotFileName(slot));
}

bool LoadGame(int slot) {
    if (!ValidSlot(slot)) return false;
    auto image = NewSlotBuffer();
    if (!image || !ReadSaveFile(image.get(), kSlotFileSize, SlotFileName(slot))) return false;
    return ApplySlotImage(image.get(), kSlotFileSize);
}

bool SaveSystemFile() {
    // Without the event server the pictures seen are unknown; writing zeros would lose them.
    if (!EventServerDbg) return false;
    std::uint8_t image[kSystemFileSize];
    BuildSystemImage(image);
    return WriteSaveFile(image, sizeof image, kSystemFileName);
}

bool LoadSystemFile() {
    std::uint8_t image[kSystemFileSize];
    if (!ReadSaveFile(image, sizeof image, kSystemFileName)) return false;
    return ApplySystemImage(image, sizeof image);
}

void LoadSystemFileAtStart() {
    std::uint8_t image[kSystemFileSize];
    if (ReadSaveFile(image, sizeof image, kSystemFileName))
        static_cast<void>(ApplySystemImage(image, sizeof image));
    else if (SaveFileThere(kSystemFileName))
        TellFileFault(kSystemFileName);
}

bool SaveFileThere(const char* fileName) {
    if (!fileName || !*fileName) return false;
    const std::string path = ui::SavePath(fileName);
    return ui::FileExists(path) || ui::DirectoryExists(path);
}

bool PeekSaveSlot(int slot, std::int32_t& day, std::int32_t& money) {
    if (!ValidSlot(slot)) return false;
    auto image = NewSlotBuffer();
    if (!image || !ReadSaveFile(image.get(), kSlotFileSize, SlotFileName(slot))) return false;
    if (!CheckSlotImage(image.get(), kSlotFileSize)) return false;
    day = ui::LoadI32(image.get() + kDayAt);
    money = ui::LoadI32(image.get() + kMoneyAt);
    return true;
}

SlotState SaveSlotLabels(int slot, std::string& dayText, std::string& moneyText) {
    std::int32_t day = 0, money = 0;
    std::string number = IntToText(slot);
    if (!PeekSaveSlot(slot, day, money)) {
        const bool damaged = ValidSlot(slot) && ui::FileExists(ui::SavePath(SlotFileName(slot)));
        dayText = number + B5(damaged ? "：   無法讀取" : "：   未使用");
        moneyText.clear();
        return damaged ? SlotState::kDamaged : SlotState::kEmpty;
    }
    dayText = number + B5("： ") + IntToText(day / kDaysPerMonth + 1) + B5("月") +
              IntToText(day % kDaysPerMonth + 1) + B5("日");
    moneyText = IntToText(money) + B5("Ｇ");
    return SlotState::kSaved;
}

void RemoveSaveLeftovers() {
    // Only the names our own writes give their temporary files: a dot, a save file's
    // name, a dot and mkstemp's six letters or digits.
    auto ours = [](const std::string& name) {
        if (name.size() != 1 + 8 + 1 + 6 || name[0] != '.' || name[9] != '.') return false;
        bool known = false;
        for (int n = 0; n <= kSaveSlotCount; ++n) {
            const std::string file = "QDV" + std::to_string(n) + ".QDV";
            known = known || strncasecmp(name.c_str() + 1, file.c_str(), file.size()) == 0;
        }
        for (std::size_t i = 10; i < name.size(); ++i)
            known = known && std::isalnum(static_cast<unsigned char>(name[i]));
        return known;
    };
    // A file younger than a minute may be the write of another copy under way (a
    // headless run beside the game).
    const std::int64_t now = static_cast<std::int64_t>(std::time(nullptr));
    const std::string folder = ui::SaveFolder();
    for (const std::string& name : ui::FolderEntries(folder)) {
        const std::string path = folder + name;
        if (ours(name) && ui::FileExists(path) && now - ui::FileModified(path) > 60)
            ui::DeleteFile(path);
    }
}
