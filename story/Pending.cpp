// The events of the look, search, turn-start and move tables whose bodies are still to
// be written: each stands as its exact condition chain, so that the walks try the
// slots in their final order and draw the same random numbers. When a chain holds it
// records the event's name and returns false. One section per arc; each goes when
// the arc's bodies come.
#include "platform/Transcript.h"
#include "story/Events.h"
#include "story/Register.h"
#include "town/Evsrvfm.h"

bool story::Pending(const char* name) {
    ui::Record("event", std::string(name) + " pending");
    return false;
}
