// Twenty recipes that come to the heroine as inspirations when she arrives at the
// right place at the right level, the forest scene that hands her the material of one
// of them, the hot spring's bath and the move table's empty first slot. Their bodies
// are in story/text/Inspirations.txt.
#include "story/Dialogue.h"
#include "story/Events.h"
#include "story/Register.h"
#include "town/Evsrvfm.h"

namespace {

// The recipe of `item` not yet known (the recipe test ignores the condition override),
// her level at least `level`, the place, and no night search.
bool Inspiration(const char* name, int item, int level, int place) {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkNot(ev->IsRecipeKnown(item))) return false;
    if (!ev->ChkLevel(level)) return false;
    if (!ev->ChkPlace(place)) return false;
    if (!ev->ChkFlg(flag::NightSearch, false)) return false;
    return story::RunEvent(name);
}

}  // namespace

// The move table's first slot is empty.
bool EvMove000() { return false; }

bool EvMove167() { return Inspiration("EvMove167", 7, 2, 42); }

// 孩童專用康復藥劑 in the forest in the first 23 days of the ninth month, also during
// the night search.
bool EvMove168() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkNot(ev->IsRecipeKnown(item::ChildrensRemedy))) return false;
    if (!ev->ChkLevel(17)) return false;
    if (!ev->ChkPlace(place::Forest)) return false;
    if (!ev->ChkDay(192, 23)) return false;
    return story::RunEvent("EvMove168");
}

bool EvMove169() { return Inspiration("EvMove169", 5, 2, 33); }
bool EvMove170() { return Inspiration("EvMove170", 20, 2, 38); }
bool EvMove171() { return Inspiration("EvMove171", 3, 3, 33); }
bool EvMove172() { return Inspiration("EvMove172", 53, 4, 5); }
bool EvMove173() { return Inspiration("EvMove173", 32, 4, 33); }
bool EvMove174() { return Inspiration("EvMove174", 54, 5, 17); }
bool EvMove175() { return Inspiration("EvMove175", 11, 5, 40); }
bool EvMove176() { return Inspiration("EvMove176", 21, 5, 36); }
bool EvMove177() { return Inspiration("EvMove177", 63, 7, 38); }
bool EvMove178() { return Inspiration("EvMove178", 45, 8, 34); }
bool EvMove179() { return Inspiration("EvMove179", 9, 8, 41); }
bool EvMove180() { return Inspiration("EvMove180", 8, 9, 42); }
bool EvMove181() { return Inspiration("EvMove181", 51, 10, 39); }
bool EvMove182() { return Inspiration("EvMove182", 10, 12, 39); }
bool EvMove183() { return Inspiration("EvMove183", 17, 14, 35); }
bool EvMove184() { return Inspiration("EvMove184", 58, 16, 34); }
bool EvMove185() { return Inspiration("EvMove185", 57, 18, 38); }
bool EvMove186() { return Inspiration("EvMove186", 61, 20, 43); }

// Every arrival at the hot spring outside the night search is a bath that makes her
// healthy again, without a word.
bool EvMove187() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkPlace(place::HotSpring)) return false;
    if (!ev->ChkFlg(flag::NightSearch, false)) return false;
    return story::RunEvent("EvMove187");
}
