// The opening and ending sequences of the shop form: the logo movie, then the tag
// script "Op<n>.scr" or "Ed<n>.scr" of "OpEd.Pak" played by the script player.
#include <memory>
#include <string>

#include "media/FileFaults.h"
#include "media/Qvpack.h"
#include "platform/Random.h"
#include "platform/Transcript.h"
#include "shop/Main.h"
#include "shop/Shop.h"
#include "town/Eventf.h"
#include "town/Logoavi.h"

namespace {

constexpr const char* kOpEdPack = "OpEd.Pak";

// The two players live for the rest of the run once made.
void MakePlayers() {
    if (aviForm1 == nullptr) aviForm1 = new TaviForm1();
    if (EventForm == nullptr) EventForm = new TEventForm();
}

// Plays one script of the pack. A pack or script that is not there skips the sequence
// without a word; one that is there but cannot be read is told.
void PlayScript(const std::string& script) {
    auto pack = std::make_unique<TQvPack>();
    if (!pack->OpenPack(kOpEdPack)) {
        ui::Record("sequence", std::string("no ") + kOpEdPack);
        NoteFileFault(kOpEdPack);
        return;
    }
    ui::Record("sequence", script);
    EventForm->Open(pack.get());
    if (!EventForm->RunFile(script))
        NoteFileFault(kOpEdPack, script, pack->CheckFileName(script.c_str()) >= 0);
    EventForm->ShowModal();
    EventForm->Close();
    pack->ClosePack();
}

}  // namespace

void TShopForm::PlayOpening(int n) {
    if (n < 1 || n > 6) return;
    MakePlayers();
    aviForm1->SetStarted(false);
    aviForm1->ShowModal();
    PlayScript("Op" + std::to_string(n) + ".scr");
}

void TShopForm::PlayEnding(int n) {
    if (n < 1 || n > 5) return;
    LyricEndingFlag = 1;
    MakePlayers();
    PlayScript("Ed" + std::to_string(n) + ".scr");
}

void InstallOpeningEndingHooks() {
    // The title plays its openings (the logo movie first) through the shop form.
    g_ShopHooks.PlayOpening = [](int n) {
        if (ShopForm != nullptr) ShopForm->PlayOpening(n);
    };
    g_MainFormHooks.PlayEnding = [](int n) {
        if (ShopForm != nullptr) ShopForm->PlayEnding(n);
    };
    g_MainFormHooks.LyricsActive = [] { return LyricsActive; };
    g_MainFormHooks.LyricSubtitleTick = LyricSubtitleTick;
}
