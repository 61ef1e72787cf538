#pragma once
// The route runner: plays one or two games of the real program on the headless back
// end, following route plans. Between a plan's steps the shopkeeper keeps the shop; when
// the next step's window holds (or is about to), the runner leaves the shop through the
// shop menu, walks the maps to the step's place, uses the step's commands from the
// command menu, answers its choices with the plan's captions and goes home. It reads
// the game's state to decide and sets none of it.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "bench/route/Plan.h"
#include "bench/route/Shopkeeper.h"
#include "platform/Transcript.h"
#include "platform/headless/HeadlessBackend.h"
#include "tests/support/EventResponders.h"
#include "town/MapOfLink.h"

namespace route {

// The goods a plan keeps from the start of its game: the plan's wants, wanted at once,
// and every step's, wanted when the step opens.
KeptGoods PlanKeeps(const Plan& plan);

class Runner {
public:
    // `plans`: the games in the order they are played (a plan's `after` first).
    Runner(ui::HeadlessBackend& backend, const ui::Transcript& transcript, std::vector<Plan> plans);
    ~Runner();
    Runner(const Runner&) = delete;
    Runner& operator=(const Runner&) = delete;

    // The responder (installed by the constructor, ahead of the player's answers): one
    // move when one is due (true: a click was made).
    bool Step();
    // Every game has reached its ending and the title shows again.
    bool Finished() const { return finished_; }
    // Stops the run: a soft lock or a trip that cannot go on.
    const std::string& Stuck() const { return stuck_; }

    // The digest's lines so far, and the faults (a step's window passed, a wrong ending).
    const std::vector<std::string>& Digest() const { return digest_; }
    const std::vector<std::string>& Faults() const { return faults_; }
    // Call at the end of the run: the last game's ending against its plan.
    void Close();

private:
    static constexpr std::size_t kHome = static_cast<std::size_t>(-1);
    struct Trip {
        std::size_t step = kHome;  // the step it walks for; kHome: only home
        int target = -1;           // place code; -1: home
        bool left = false;         // the heroine has left the shop
        bool arrived = false;
        std::size_t command = 0;
        int detours = 0;
        int mapClicks = 0;
        int startDay = 0, startHour = 0;
    };

    const Plan& plan() const { return plans_[game_]; }
    void StartGame();
    void Observe();
    void Note(const std::string& line);
    std::string When() const;
    bool StepDone(std::size_t step) const;
    // The hours from the shop's door to a place.
    int Travel(int place) const { return TravelFrom(kShopPlace, place); }
    int TravelFrom(int from, int to) const;
    int LandHops(int from, int to) const;
    // The night search: the open land place one hop from `from` she walks on to.
    int SearchWalk(int from) const;
    static constexpr int kShopPlace = 10;
    // The first open step a walk from where the heroine is would reach in its window;
    // kHome for none.
    std::size_t StepDueFrom(int from) const;
    void SetOut(int from, std::size_t step);
    // The step's window holds for an arrival at `hour` of today.
    bool WindowHolds(const PlanStep& s, int hour) const;
    bool InShopIdle() const;
    // The hour today at which the heroine sets out for an open step's window (24: none).
    int HomeBy() const;
    bool TitleStep();
    // Goods the heroine carries out to peddle (their reserve), and the goods to carry
    // more of: the most on hand; -1 for none.
    static int Carried();
    static int GoodsToCarry();
    // The item list: a unit of the goods to carry into the reserve, until enough.
    bool CarryStep();
    bool TripStep();
    bool TripMap();
    bool TripMenu();
    bool ClickAt(ui::Point p, std::uint32_t ms = 100);
    // A customer's order offer on show: its answer goes ahead of the step's captions:
    // accept (caption 1), or with the plan's `orders refuse` the second caption (deliver
    // on the spot when offered, else refuse); goods the plan wants, and every order once
    // the short policy lets the shop go, are refused.
    void AnswerOrder();
    // A choice on show whose caption the plan's next answer names is not there: the run
    // stops at once, naming the step and the captions on show.
    void CheckCaption();
    // Stops the run at once: `what` the step (kHome: none) wants is not on show.
    void Fail(std::size_t step, const std::string& what);
    bool Click(const ui::Control& c);

    ui::HeadlessBackend& backend_;
    const ui::Transcript& transcript_;
    std::vector<Plan> plans_;
    std::size_t game_ = 0;
    bool playing_ = false, ended_ = false, finished_ = false;
    std::unique_ptr<Shopkeeper> shopkeeper_;
    std::unique_ptr<test::EventResponders> player_;

    // The transcript as read so far.
    std::size_t seen_ = 0;
    int day_ = 0, hour_ = 8;
    int monthsNoted_ = 0;
    std::vector<std::string> events_;  // this game's events, in order
    std::string endingText_;

    // The steps are taken in order, but the steps after an `optional` one that waits
    // are open too: the open steps are the first waiting step and, while the waiting
    // steps before them are all optional, the ones after it.
    enum class State : char { Waiting, Done, Passed };
    std::size_t next_ = 0;                // the first waiting step
    std::vector<State> state_;            // per step
    std::vector<char> opened_;            // per step: it has been open
    std::vector<std::size_t> eventMark_;  // per step: events_ when it opened
    std::vector<int> triedOn_;            // per step: the last day a trip set out for it
    std::vector<std::size_t> Open() const;
    // Opens the steps that are open now and not yet opened: their event marks, their wants.
    void OpenSteps();
    std::unique_ptr<Trip> trip_;
    int carry_ = 0;  // units to carry for the step about to set out (0: none)
    int carryPages_ = 0;
    int carriedOn_ = -1;
    bool shopkeeperOut_ = false;  // the shopkeeper's own walk (to the flowerbed) is under way
    bool answersSet_ = false;
    std::size_t answersFor_ = kHome;  // the step whose captions the answers hold
    ui::LifeToken captionChecked_;    // the choice window checked last
    std::uint32_t lastClockMove_ = 0;
    int lastHourSeen_ = -1;

    std::unique_ptr<MapOfLink> land_;  // the land map's path graph, as the map loads it
    std::vector<std::string> digest_, faults_;
    std::string stuck_;
    std::uint32_t titleClickAt_ = 0;
    ui::LifeToken orderAnswered_;  // the order offer answered last
    int responder_ = 0;
};

}  // namespace route
