#pragma once
// The shop's customers. At 10:00 of an open day the popularity of every goods and
// the shop's reputation become a demand table for the nine open hours; during each
// open hour customers are drawn from it, walk in through the door to the slot of the
// goods they want, take one unit (sometimes one more from the neighbouring slot),
// pay at the counter and leave, or leave disappointed. At 19:00 the day's outcome per
// slot feeds back into the demand model and the reputation. The same object places
// the visitor figure that story events bring into the shop.
#include <cstdint>
#include <memory>

#include "shop/Catalog.h"
#include "shop/Figure.h"
#include "shop/GameState.h"

class TDemandView;

constexpr int kOpenHours = 9;        // 10..18, column j = hour - 10
constexpr int kCustomerPlaces = 40;  // place 0 also holds a story visitor
constexpr int kRouteLength = 22;     // instructions per route
constexpr int kEventVisitorRoute = 220;
constexpr int kShopVisitorRoute = 242;
constexpr int kCustomerRouteTable = 264;
constexpr std::uint8_t kDemandExhausted = 255;
constexpr int kNotOnDisplay = 255;  // a customer's slot when its goods is not exhibited
constexpr int kTakeGone = 255;      // take outcome: the wanted item was gone
constexpr int kBalloonSheet = 22;
constexpr int kDoorSheet = 18;

// Route instructions, 22 per route: routes 0..9 lead from the door to exhibition
// slot 0..9, to the counter and out; the event visitor's starts at 220, the shop
// visitor's at 242. 0 delete the figure, 1..4 face direction code - 1, 5..8 walk
// code - 4 cells, 9..12 pause code - 8 ticks, 13 take, 14 pay, 15 wait at the
// counter for the story, 16 the heroine goes back to work, 17 the door opens,
// 18 leave (the farewell sound, then as 17).
extern const std::int8_t CustomerRoutes[kCustomerRouteTable];

// Calls into units that live elsewhere: the shop screen, the heroine's walk, the
// event server's sounds and the sales window. A null hook does nothing; a null
// predicate answers false; a null HeroineWalkState answers -1 (no heroine walks).
struct DemandHooks {
    bool (*IsShopOpen)();           // shop screen: the open state the clock set
    bool (*IsShopSceneIdle)();      // the scene shows and no panel covers it
    void (*PlaySound)(int sound);   // event server: a sound effect
    SPMan* (*DoorSprite)();         // the shop scene's door (background actor 2), or null
    void (*HideMixingAnimation)();  // the mixing animation hidden, the heroine shown
    void (*WalkToCounter)();        // the heroine walks to the counter
    void (*WalkBackToWork)();       // ... and back to her work
    int (*HeroineWalkState)();      // her walk counter, negative = idle
    void (*RefreshVisitors)();      // sales window, today's report: visitors
    void (*RefreshSlotRow)(int slot);
    void (*RefreshRevenue)();
    void (*RefreshMoney)();
};
extern DemandHooks g_DemandHooks;

// The object that holds the customers; it lives for the whole run. Making one puts
// it in DemandForm and hands the clock its customer rules (the finish loop, the
// day's demand, the evening settlement, the door bell); deleting it takes them back.
class TDemandForm {
public:
    TDemandForm();
    ~TDemandForm();
    TDemandForm(const TDemandForm&) = delete;
    TDemandForm& operator=(const TDemandForm&) = delete;

    // 10:00 of an open day: the demand table, the hour order, the hours' counts.
    void GenerateDailyDemand();
    // One step of the current open hour: draw customers while the cooldown allows,
    // then one tick of every figure. False when the hour is not an open one or is
    // already done; in finish mode there is no cooldown, so calling it until it
    // answers false serves the hour's whole demand and walks every route to its end.
    bool SpawnHourlyCustomers(bool finish);
    // 19:00: the slots' outcomes seed the demand model, then its daily update and
    // the reputation rules.
    void SettleDailyFashion();
    // A customer for `slot` (255: the goods is not on display) who wants `goods`;
    // false when all 40 places are taken.
    bool AddCustomer(int slot, int goods);
    // One tick of every figure; true while any is in the shop or the door moves.
    bool UpdateCustomers(bool finish);
    // One unit from the slot; false when the slot is empty or its item is gone.
    // With `tally` the slot's outcome is recorded.
    bool CustomerTakeItem(int slot, bool tally);
    // The money, revenue and sold count of one unit from the slot.
    void SettleSale(int slot);
    // Deletes every figure and the balloon and forgets the day's demand, outcomes
    // and hour order (the scene is destroyed or another game is loaded).
    void ClearCustomers();
    // The bell rings again for the first figure of the next hour.
    void ClearDoorBell() { DoorBellRung = 0; }

    // Story visitors, in place 0.
    void AddEventVisitor(int figure);
    void AddShopVisitor();
    void SendEventVisitorAway();
    void DropEventVisitor();
    bool CanEventVisitorEnter() const;

    Figure* Customer(int place) const {
        return place >= 0 && place < kCustomerPlaces ? Customers[place].get() : nullptr;
    }
    int CustomerCount() const;
    // The developer's view of the demand table (shop/Demandform.h): made on first show,
    // hidden when closed, deleted with this object.
    void ShowView();
    bool IsViewVisible() const;
    std::unique_ptr<TDemandView> View;

    std::uint8_t DemandTable[kGoodsCount][kOpenHours];
    std::uint8_t HourOrder[kOpenHours];
    std::int8_t HourRemaining[kOpenHours];
    std::int8_t SlotTally[kExhibitionSlots];
    std::unique_ptr<Figure> Customers[kCustomerPlaces];
    std::unique_ptr<SPMan> Balloon;
    std::uint32_t BalloonTicks = 0;
    std::uint32_t SpawnCooldown = 0;
    std::uint32_t VisitorFlag = 0;  // 0 none, 1 entering, 2 waiting at the counter
    std::uint8_t DoorBellRung = 0;

private:
    // Runs the next route instruction of the figure in `place`; false when the figure
    // is parked at its waiting instruction and asks for no redraw.
    bool RunInstruction(int place);
    void ShowBalloon(int frame);
    void OpenDoor();
    void RedrawView();
};

extern TDemandForm* DemandForm;
