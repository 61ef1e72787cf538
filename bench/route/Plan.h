#pragma once
// A route plan (bench/routes/*.route, its form in bench/routes/README.md): the ending a
// run must reach and the steps the heroine takes on the way, read from a file.
#include <string>
#include <utility>
#include <vector>

namespace route {

// When a step is done.
enum class DoneKind { None, Event, Flag, Item, Recipe };

struct PlanStep {
    std::string name;
    int line = 0;                       // where the step starts in its file
    int firstDay = 0, lastDay = 286;    // inclusive
    std::vector<int> weekdays;          // ChkWeekday's numbers (-1: any working day); empty: any
    int firstHour = 0, lastHour = 23;   // inclusive
    std::string at;                     // a place's name, or "店裡"; empty: the shop
    int place = -1;                     // its place code (town 0..8, land 32..43); -1: the shop
    std::vector<std::string> commands;  // captions, as written
    std::vector<int> commandIds;        // their CommandIds
    std::vector<int> answers;           // 1-based captions
    std::vector<std::pair<int, int>> wants;  // item, units
    DoneKind done = DoneKind::None;
    std::string doneEvent;  // DoneKind::Event
    int doneNumber = -1;    // flag, item or recipe (the item it makes) number
    int doneCount = 1;      // DoneKind::Item: units held
    bool repeat = false;
    bool idle = false;  // a step in the shop: nothing mixing in its hours
    // The steps after it do not wait for it; its window passing undone is no fault.
    bool optional = false;
};

struct Plan {
    std::string file;
    std::string name;  // `route`
    int endingSlot = -1, endingNumber = -1;
    std::string after;  // a route's file name (no folder, no extension), or empty
    std::string policy = "plain";
    std::string orders = "accept";  // customers' order offers: accept, or refuse (unless
                                    // they can be handed over on the spot)
    std::vector<std::pair<int, int>> wants;
    std::vector<PlanStep> steps;
};

// The step's window holds on `day` at `hour` (its days, weekdays and hours).
bool WindowHolds(const PlanStep& s, int day, int hour);
// When a walk of `hours` set out at `hour` of `day` arrives; past 23:00 it arrives on the
// next day (only the night search walks then).
void Arrival(int day, int hour, int hours, int& arrivalDay, int& arrivalHour);

// Reads a plan; on a fault, false and `error` as "FILE:LINE: what is wrong".
bool ParsePlan(const std::string& text, const std::string& file, Plan& plan, std::string& error);
bool LoadPlan(const std::string& path, Plan& plan, std::string& error);

// An item by its name in the story's register (LightStone), its name in the catalogue
// (光魔法石) or its number 0..127; -1 for none.
int ItemByName(const std::string& name);
// A flag by its name in the story's register (RenetteMet) or its number 0..1023; -1 for
// none.
int FlagByName(const std::string& name);
// `want ITEM COUNT`: the item and a count of at least 1.
bool Want(const std::vector<std::string>& args, int& item, int& count);

// The place code of a map place's name (either of its names in MapTables), -1 for none.
int PlaceByName(const std::string& name);
// The CommandId of a command-menu caption (the README's words or the buttons'), -1 for none.
int CommandByCaption(const std::string& caption);
// The button's caption of a CommandId ("?" for none).
std::string CommandCaption(int id);
// A place code's name on the maps (the shop and the rooms by their number).
std::string PlaceName(int place);

}  // namespace route
