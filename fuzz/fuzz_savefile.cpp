// Fuzzes the slot and system-file loaders. A slot image is far larger than a fuzz
// input, so the input edits a good image of a fresh game instead of replacing it:
//
//   byte 0: bit 0 set = the rest is a system file, taken as it stands;
//           else the rest is a list of edits to the slot image:
//   edit:   u8 kind, u24 offset (little-endian), u8 length, `length` bytes
//           kind 0 writes the bytes at the offset (clipped to the image),
//           kind 1 cuts the image to the offset, kind 2 appends the bytes.
//
// A load that fails must leave the game untouched; one that succeeds must save the
// same game state back. Then the game plays on from the loaded state (sales, a mix
// result, experience and money, a day and more of hours, the story's day change),
// so a value the checks let through shows up under the sanitizers, and the game it
// leaves must save a slot that loads again.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/Random.h"
#include "shop/Calendar.h"
#include "shop/Catalog.h"
#include "shop/Demand.h"
#include "shop/Fashion.h"
#include "shop/GameState.h"
#include "shop/Mixing.h"
#include "shop/Savefile.h"
#include "town/EvControler.h"
#include "town/Evsrvfm.h"

namespace {

std::vector<std::uint8_t> g_Base;  // the image of a fresh game
bool g_Dirty = false;              // the game in memory is no longer the fresh one

// As the program starts, so that nothing a new game carries over from the last one
// (the market, the boost countdown, reserved bytes) differs between inputs.
void FreshGame() {
    DemandForm->ClearCustomers();
    g_GameState = GameState{};
    for (Fashion& f : Fashions) f = Fashion();
    ui::Srand(1);
    InitGameState();
    const std::uint8_t none[kPersistentFlagBytes] = {};
    EventServerDbg->PutPersistentFlags(none, sizeof none);  // a new game keeps them
    EventServerDbg->NewGameReset();
}

// The slot image of the game in memory, in a buffer kept for every input (a slot is
// too big to allocate afresh each time).
const std::vector<std::uint8_t>& Image() {
    static std::vector<std::uint8_t> b(kSlotFileSize);
    BuildSlotImage(b.data());
    return b;
}

// A property that does not hold ends the run, naming the line that checked it.
void Check(bool ok, int line = __builtin_LINE()) {
    if (ok) return;
    std::fprintf(stderr, "fuzz_savefile.cpp:%d: check failed\n", line);
    std::abort();
}

// Reads what the loaded state indexes tables with, so a value that slipped past the
// checks shows up under the sanitizers.
void TouchLoadedGame() {
    volatile int sink = 0;
    for (int s = 0; s < kExhibitionSlots; ++s) {
        int item = SlotItem(s);
        if (item >= 0)
            sink = sink + ItemBasePrice(item) + SalePrice(s, item) + Fashions[item].Popularity();
        int y = YesterdaySlotItem(s);
        if (y >= 0) sink = sink + ItemShelfRow(y);
    }
    for (int i = 0; i < kCustomerMessages; ++i) {
        int m = CustomerMessage(i);
        if (m >= 64)
            sink = sink + ItemName(m - 64)[0];
        else if (m >= 0)
            sink = sink + ItemName(m)[0];
    }
    if (MixHoursLeft() > 0)
        sink = sink + RecipeHours(MixItem(), MixBatchCount()) + ItemName(MixItem())[0];
    for (const OrderSlot& o : Orders)
        if (o.Id != 0) sink = sink + ItemBasePrice(o.Item) + EventServerDbg->TestFlg(o.Flag);
    DailyUpdateAllFashions();
    (void)sink;
}

// Plays on from the loaded game through the rules that step the loaded numbers.
void PlayOn() {
    // A sale from every slot that has something to sell.
    for (int s = 0; s < kExhibitionSlots; ++s)
        if (DemandForm->CustomerTakeItem(s, true)) DemandForm->SettleSale(s);
    IncreaseReserve(0);
    AddItemStock(1, 5);
    RemoveItemStock(2, ItemAvailable(2) > 0 ? 1 : 0);
    // The running mix, to its end and its result.
    if (MixHoursLeft() > 0) {
        while (!MixStep()) {
        }
        AddItemStock(MixItem(), MixResultCount(MixYield(), GameCondition()));
        GameFlow->SetMixedItem(MixItem());
        AddExperience(MixBatchCount());  // a mix earns its batch count
    }
    AddExperience(10);  // a read at the library, the largest gain the game makes
    AddMoney(9800 * 99);
    AddMoney(-1000);
    AddReputation(3);
    AddCondition(1);
    AddCustomerMessage(SlotItem(3) >= 0 ? SlotItem(3) : 64);
    // A day and a bit of hours: the market, the day's demand, the evening settlement,
    // midnight and the day change, without running past the last day of the year.
    for (int h = 0; h < 26 && GameDay() < kGameDays - 1; ++h) AdvanceHour();
    EventServerDbg->DayChange();
    ui::Srand(1);  // the day change reseeds from the clock
    TouchLoadedGame();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    GameFlow = new TEvControler();
    new TDemandForm();  // installs itself as DemandForm
    // Customers walking the floor need the sprite sheets; the fuzzer plays the sales
    // directly instead.
    g_ClockHooks.SpawnHourlyCustomers = nullptr;
    FreshGame();
    g_Base = Image();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    // A failed load changes nothing, so only a successful one needs a fresh game after it.
    if (g_Dirty) FreshGame();
    g_Dirty = false;
    std::uint8_t everBefore[kItemCount];
    std::memcpy(everBefore, EverUnlocked, sizeof everBefore);

    if (data[0] & 1) {
        std::uint8_t flagsBefore[kPersistentFlagBytes], flagsAfter[kPersistentFlagBytes];
        EventServerDbg->GetPersistentFlags(flagsBefore, sizeof flagsBefore);
        bool ok = ApplySystemImage(data + 1, size - 1);
        Check(ok == (size - 1 == kSystemFileSize));
        // Merging only ever sets.
        EventServerDbg->GetPersistentFlags(flagsAfter, sizeof flagsAfter);
        for (std::size_t i = 0; i < kPersistentFlagBytes; ++i)
            Check((flagsAfter[i] & flagsBefore[i]) == flagsBefore[i]);
        for (int i = 0; i < kItemCount; ++i)
            Check((EverUnlocked[i] & everBefore[i]) == everBefore[i]);
        std::memset(EverUnlocked, 0, sizeof EverUnlocked);
        g_Dirty = ok;
        return 0;
    }

    static std::vector<std::uint8_t> image;
    image.assign(g_Base.begin(), g_Base.end());
    std::size_t pos = 1;
    while (pos + 5 <= size) {
        std::uint8_t kind = data[pos];
        std::size_t offset = data[pos + 1] | data[pos + 2] << 8 | data[pos + 3] << 16;
        std::size_t length = data[pos + 4];
        pos += 5;
        if (length > size - pos) length = size - pos;
        const std::uint8_t* bytes = data + pos;
        pos += length;
        switch (kind % 3) {
            case 0:
                for (std::size_t i = 0; i < length && offset + i < image.size(); ++i)
                    image[offset + i] = bytes[i];
                break;
            case 1:
                if (offset < image.size()) image.resize(offset);
                break;
            default:
                image.insert(image.end(), bytes, bytes + length);
                break;
        }
    }

    if (!ApplySlotImage(image.data(), image.size())) {
        Check(Image() == g_Base);
        return 0;
    }
    g_Dirty = true;
    // The game state and the demand records come back as they were loaded (but the
    // spare byte of each record, which is always written as 0).
    const std::vector<std::uint8_t>& after = Image();
    Check(std::memcmp(after.data(), image.data(), kGameStateImageSize) == 0);
    for (int g = 0; g < kFashionRecordCount; ++g) {
        std::size_t at = kSlotFashionOffset + kFashionRecordBytes * g;
        Check(std::memcmp(after.data() + at, image.data() + at, 416) == 0);
        Check(std::memcmp(after.data() + at + 417, image.data() + at + 417,
                          kFashionRecordBytes - 417) == 0);
    }
    Check(std::memcmp(after.data() + kSlotEventOffset, image.data() + kSlotEventOffset,
                      kOrdersOffset) == 0);
    TouchLoadedGame();
    PlayOn();
    // What the game played on to must itself be a slot the loader takes.
    if (GameDay() < kGameDays) Check(CheckSlotImage(Image().data(), kSlotFileSize));
    return 0;
}
