// playyear [--seed N]: the real program on the headless back end plays a new game
// through to the ending and back to the title, with a plain shopkeeper: every line
// read on, every choice and offer answered with its first caption, the morning save
// declined, the goods with units to sell laid out on the slots each morning, and the
// top bar's next turn for everything else (the nights pass by themselves). It prints
// a digest of the year and the real time the run took.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/Application.h"
#include "platform/Controls.h"
#include "platform/Random.h"
#include "platform/Transcript.h"
#include "platform/headless/HeadlessBackend.h"
#include "shop/Fashion.h"
#include "shop/GameState.h"
#include "shop/Heroine.h"
#include "shop/Main.h"
#include "shop/Saveloadmsg.h"
#include "shop/Shop.h"
#include "skin/CHBCBTN.h"
#include "tests/support/EventResponders.h"
#include "tests/support/HeadlessApp.h"
#include "town/Evsrvfm.h"

namespace {

constexpr int kLastDay = 287;
// The virtual milliseconds between the next-turn clicks.
constexpr std::uint32_t kTurnMs = 100;

ui::Point Centre(const ui::Control& c) {
    return c.ClientToScreen(ui::Point{c.Width() / 2, c.Height() / 2});
}

// The goods with units to sell, the most wanted first, on the full-price slots 2..9,
// then on the bargain slots 1 and 0 (only while the shop is closed).
void LayOutSlots() {
    std::vector<int> goods;
    for (int g = 0; g < kGoodsCount; ++g)
        if (ItemStock(g) != kKeyItemStock && ItemAvailable(g) > 0) goods.push_back(g);
    std::stable_sort(goods.begin(), goods.end(), [](int a, int b) {
        return Fashions[a].Popularity() > Fashions[b].Popularity();
    });
    constexpr int order[kExhibitionSlots] = {2, 3, 4, 5, 6, 7, 8, 9, 1, 0};
    for (int k = 0; k < kExhibitionSlots; ++k)
        SetSlotItem(order[k], k < static_cast<int>(goods.size()) ? goods[k] : -1);
}

int Count(const ui::Transcript& t, const std::string& kind, const std::string& text = {}) {
    int n = 0;
    for (const ui::TranscriptEntry& e : t.Entries())
        if (e.kind == kind && (text.empty() || e.text == text)) ++n;
    return n;
}

}  // namespace

int main(int argc, char** argv) {
    unsigned long seed = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--seed") == 0 && i + 1 < argc) {
            seed = std::strtoul(argv[++i], nullptr, 10);
        } else {
            std::fprintf(stderr, "usage: playyear [--seed N]\n");
            return 2;
        }
    }
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    setenv("LUMIA_HEADLESS", "1", 0);
    const auto start = std::chrono::steady_clock::now();

    ui::ScopedTranscript transcript;
    test::HeadlessApp headless;
    ui::HeadlessBackend& backend = headless.Backend();
    backend.SetMessageBoxResponder([](const ui::MessageBoxRequest&) { return ui::IDNO; });
    ui::Srand(static_cast<std::uint32_t>(seed));
    CreateStartupForms();

    test::EventResponders player(backend);
    int maxDay = 0, laidOutOn = -1, nextTurns = 0, savesDeclined = 0;
    bool started = false;
    const bool progress = std::getenv("PLAYYEAR_PROGRESS") != nullptr;
    // The shopkeeper's own moves, when no line or choice waits.
    const int shopkeeper = backend.AddResponder([&] {
        if (backend.ScriptLeft() != 0) return false;
        if (player.answers.size() < 4) player.answers.assign(8, 0);
        if (SaveLoadMessageForm && SaveLoadMessageForm->Visible()) {
            const ui::Point p = Centre(*SaveLoadMessageForm->NoButton);
            backend.Click(p.x, p.y, ui::MouseButton::mbLeft, 0, 100);
            ++savesDeclined;
            return true;
        }
        if (!started || !ShopForm || !ShopForm->Visible()) return false;
        if (ShopForm->TitlePanel && ShopForm->TitlePanel->Visible()) return false;
        if (GameDay() > maxDay && progress)
            std::fprintf(
                stderr, "day %d, %.1f s, virtual %u ms\n", GameDay(),
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(),
                headless.Now());
        maxDay = std::max(maxDay, GameDay());
        if (laidOutOn != GameDay() && !ShopForm->IsShopOpen() && HeroineIdle()) {
            LayOutSlots();
            laidOutOn = GameDay();
        }
        // The shop's fast speed, as a player in a hurry sets it.
        if (!ShopForm->FastMode() && HeroineIdle()) ShopForm->SpeedButtonClick();
        TCHBcSpeedButton* next = ShopForm->MenuNextTurn;
        if (next && next->Showing() && next->Enabled() && HeroineIdle()) {
            const ui::Point p = Centre(*next);
            backend.Click(p.x, p.y, ui::MouseButton::mbLeft, 0, kTurnMs);
            ++nextTurns;
            return true;
        }
        return false;
    });

    // Past the logo movie and the opening; the title's labels, then 新的遊戲.
    backend.Click(320, 200, ui::MouseButton::mbLeft, 0, 100);
    backend.Click(320, 200, ui::MouseButton::mbLeft, 0, 100);
    backend.Click(320, 200, ui::MouseButton::mbLeft, 0, 300);
    backend.Click(321, 392, ui::MouseButton::mbLeft, 0, 300);
    headless.RunUntil([&] { return backend.ScriptLeft() == 0; });
    started = true;
    const char* stop = "the title after the ending";
    headless.RunUntil([&] {
        if (maxDay >= kLastDay && ShopForm && ShopForm->TitlePanel &&
            ShopForm->TitlePanel->Visible())
            return true;
        return false;
    });
    if (headless.App().Terminated()) stop = "the program ended";
    backend.RemoveResponder(shopkeeper);

    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    // The sequences played: the openings at the titles and the ending between them.
    std::string sequences;
    for (const std::string& s : transcript->Texts("sequence")) sequences += " " + s;
    std::printf("seed %lu\n", seed);
    std::printf("days %d (last day reached %d)\n", maxDay, GameDay());
    std::printf("money %d\n", GameMoney());
    std::printf("lines shown %d (acknowledged %d)\n", Count(*transcript, "line"),
                player.linesAcknowledged);
    std::printf("choices answered %d\n", player.choicesAnswered);
    std::printf("events run %d\n", Count(*transcript, "event", "begin"));
    std::printf("sales %d\n", Count(*transcript, "sale"));
    std::printf("next turns %d, saves declined %d\n", nextTurns, savesDeclined);
    std::printf("sequences%s\n", sequences.empty() ? " none" : sequences.c_str());
    std::printf("endings seen");
    for (int f = 88; f <= 93; ++f)
        if (EventServerDbg && EventServerDbg->TestFlg(f)) std::printf(" %d", f);
    std::printf("\n");
    std::printf("stopped at %s\n", stop);
    std::printf("virtual time %.1f h\n", headless.Now() / 3600000.0);
    std::fprintf(stderr, "real time %.2f s\n", seconds);
    DestroyStartupForms();
    return 0;
}
