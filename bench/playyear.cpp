// playyear [--seed N] [--game DIR] [--policy plain|rich|goodwill|short]: the real program on the
// headless back end plays a new game through to the ending and back to the title, with
// the shopkeeper of the policy (bench/route/Shopkeeper.h; plain by default): every line
// read on, every choice and offer answered with its first caption. The goodwill policy's
// digest also gives the reputation at each month's end, the day it reached 40, and its
// moves by cause.
// It prints a digest of the year (with the money and level at the end of each month) and, on the
// error stream, the real time the run took. The game folder is seen through a scratch folder, so
// the run starts with no endings seen and the system file it writes at the ending stays out of the
// game folder.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include "bench/route/HeadlessYear.h"
#include "bench/route/Shopkeeper.h"
#include "platform/Application.h"
#include "platform/Files.h"
#include "platform/Transcript.h"
#include "platform/headless/HeadlessBackend.h"
#include "shop/GameState.h"
#include "shop/Main.h"
#include "shop/Shop.h"
#include "tests/support/EventResponders.h"
#include "tests/support/HeadlessApp.h"

using namespace route;

constexpr int kDebt = 1000000;

int main(int argc, char** argv) {
    unsigned long seed = 1;
    std::string game = ui::DefaultGameFolder();
    Policy policy = Policy::Plain;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--seed") == 0 && i + 1 < argc) {
            seed = std::strtoul(argv[++i], nullptr, 10);
        } else if (std::strcmp(argv[i], "--game") == 0 && i + 1 < argc) {
            game = argv[++i];
        } else if (std::strcmp(argv[i], "--policy") == 0 && i + 1 < argc &&
                   PolicyByName(argv[i + 1], policy)) {
            ++i;
        } else {
            std::fprintf(stderr,
                         "usage: playyear [--seed N] [--game DIR] [--policy "
                         "plain|rich|goodwill|short]\n");
            return 2;
        }
    }
    const auto start = std::chrono::steady_clock::now();
    HeadlessYear year("playyear", game, seed);
    if (!year.Ready()) return 2;
    test::HeadlessApp& headless = year.Headless();
    ui::HeadlessBackend& backend = year.Backend();
    ui::Transcript* transcript = &year.Transcript();

    Shopkeeper shopkeeper(backend, *transcript, policy);
    // The shopkeeper's answer to an order offer goes ahead of the player's.
    std::deque<int>* answers = nullptr;
    const int orders = backend.AddResponder([&] {
        if (answers) shopkeeper.AnswerOrder(*answers);
        return false;
    });
    test::EventResponders player(backend);
    answers = &player.answers;
    // The money and level last seen in each month.
    struct MonthEnd {
        bool seen = false;
        int money = 0, level = 0, reputation = 0;
    };
    std::vector<MonthEnd> months(kGameDays / 24);
    int debtPaidOn = -1;  // the day the money first reached 1,000,000 G
    int goodwillOn = -1;  // the day the reputation first reached 40
    const int id = backend.AddResponder([&] {
        if (player.answers.size() < 4) player.answers.assign(8, 0);
        if (shopkeeper.started && GameDay() >= 0 && GameDay() < kGameDays)
            months[static_cast<std::size_t>(GameDay() / 24)] = {true, GameMoney(), GameLevel(),
                                                                GameReputation()};
        if (shopkeeper.started && goodwillOn < 0 && GameReputation() >= 40) goodwillOn = GameDay();
        if (shopkeeper.started && debtPaidOn < 0 && GameMoney() >= kDebt) debtPaidOn = GameDay();
        return shopkeeper.Step();
    });

    // Past the logo movie and the opening; the title's labels, then 新的遊戲.
    backend.Click(320, 200, ui::MouseButton::mbLeft, 0, 100);
    backend.Click(320, 200, ui::MouseButton::mbLeft, 0, 100);
    backend.Click(320, 200, ui::MouseButton::mbLeft, 0, 300);
    backend.Click(321, 392, ui::MouseButton::mbLeft, 0, 300);
    headless.RunUntil([&] { return backend.ScriptLeft() == 0; });
    shopkeeper.started = true;
    headless.RunUntil([&] {
        return headless.App().Terminated() ||
               (shopkeeper.maxDay >= kLastDay && ShopForm && ShopForm->TitlePanel &&
                ShopForm->TitlePanel->Visible());
    });
    const char* stop =
        headless.App().Terminated() ? "the program ended" : "the title after the ending";
    backend.RemoveResponder(id);
    backend.RemoveResponder(orders);

    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const std::vector<std::string> endings = transcript->Texts("ending");
    std::printf("seed %lu\n", seed);
    std::printf("days %d (last day reached %d)\n", shopkeeper.maxDay, GameDay());
    std::printf("money %d\n", GameMoney());
    std::printf("reputation %d\n", GameReputation());
    std::printf("lines shown %d (acknowledged %d)\n", Count(*transcript, "line"),
                player.linesAcknowledged);
    std::printf("choices answered %d\n", player.choicesAnswered);
    std::printf("events run %d\n", Count(*transcript, "event", "begin"));
    std::printf("sales %d\n", Count(*transcript, "sale"));
    std::printf("mixing jobs %d\n", Count(*transcript, "mix start"));
    std::printf("walks out %d, flowerbed events %d\n", shopkeeper.trips,
                Count(*transcript, "flag", "set 162"));
    std::printf("next turns %d, saves declined %d\n", shopkeeper.nextTurns,
                shopkeeper.savesDeclined);
    for (std::size_t m = 0; m < months.size(); ++m)
        if (months[m].seen && policy == Policy::Goodwill)
            std::printf("month %zu money %d level %d reputation %d\n", m + 1, months[m].money,
                        months[m].level, months[m].reputation);
        else if (months[m].seen)
            std::printf("month %zu money %d level %d\n", m + 1, months[m].money, months[m].level);
    if (debtPaidOn >= 0)
        std::printf("1000000 G passed on day %d\n", debtPaidOn);
    else
        std::printf("1000000 G not reached\n");
    if (policy == Policy::Goodwill) {
        if (goodwillOn >= 0)
            std::printf("reputation 40 reached on day %d\n", goodwillOn);
        else
            std::printf("reputation 40 not reached\n");
        const RepLedger& l = shopkeeper.ledger;
        std::printf(
            "reputation moves: weekly %+d, sold out %+d, turned away %+d, orders failed "
            "%+d, peddled %+d, other %+d\n",
            l.weekly, l.soldOut, l.turnedAway, l.ordersFailed, l.peddled, l.other);
    }
    std::printf("ending %s\n", endings.empty() ? "none" : endings.back().c_str());
    std::printf("stopped at %s\n", stop);
    std::printf("virtual time %.1f h\n", headless.Now() / 3600000.0);
    std::fprintf(stderr, "real time %.2f s\n", seconds);
    return 0;
}
