#include "bench/route/Plan.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "bench/route/Shopkeeper.h"
#include "platform/Big5.h"
#include "shop/Catalog.h"
#include "shop/GameState.h"
#include "story/Register.h"
#include "town/MapTables.h"

namespace route {

namespace {

constexpr const char* kShopName = "店裡";

// Each CommandId's captions: the button's own, then other words a player uses for it.
constexpr const char* kCaptions[18][2] = {
    {"觀察", nullptr},    {"交談", nullptr},    {"叫賣", nullptr},     {"搜索", "搜尋"},
    {"市集", "市場"},     {"移動", nullptr},    {"地圖", nullptr},     {"進入", nullptr},
    {"取消", nullptr},    {"花圃", "花壇"},     {"拜訪住家", nullptr}, {"拜訪商店", "拜訪店家"},
    {"出去", nullptr},    {"圖書館", nullptr},  {"閱讀", nullptr},     {"交貨", nullptr},
    {"往城門", "到城門"}, {"往廣場", "到廣場"},
};

std::string Trim(const std::string& s) {
    const auto b = s.find_first_not_of(" \t\r");
    if (b == std::string::npos) return {};
    const auto e = s.find_last_not_of(" \t\r");
    return s.substr(b, e - b + 1);
}

// A whole decimal number (a leading minus allowed).
bool Number(const std::string& s, int& out) {
    if (s.empty()) return false;
    char* end = nullptr;
    const long v = std::strtol(s.c_str(), &end, 10);
    if (*end != '\0' || v < -1000000 || v > 1000000) return false;
    out = static_cast<int>(v);
    return true;
}

constexpr const char* kWantError =
    "want needs an item (by name or number) and a count of at least 1";
constexpr const char* kDoneError =
    "done needs `event NAME`, `flag FLAG`, `item ITEM [COUNT]` or `recipe ITEM`";

// "a-b" or "a", each within lo..hi.
bool Range(const std::string& s, int lo, int hi, int& a, int& b) {
    const auto dash = s.find('-', 1);
    if (dash == std::string::npos) {
        if (!Number(s, a)) return false;
        b = a;
    } else if (!Number(s.substr(0, dash), a) || !Number(s.substr(dash + 1), b)) {
        return false;
    }
    return lo <= a && a <= b && b <= hi;
}

}  // namespace

int ItemByName(const std::string& name) {
    int n = -1;
    if (Number(name, n)) return n >= 0 && n < kItemCount ? n : -1;
    if (const int r = story::RegisterNumber(story::RegisterKind::Item, name); r >= 0) return r;
    for (int i = 0; i < kItemCount; ++i)
        if (name == ui::Big5ToUtf8(ItemName(i))) return i;
    return -1;
}

bool Want(const std::vector<std::string>& args, int& item, int& count) {
    return args.size() == 2 && (item = ItemByName(args[0])) >= 0 && Number(args[1], count) &&
           count >= 1;
}

int FlagByName(const std::string& name) {
    int n = -1;
    if (Number(name, n)) return n >= 0 && n < 1024 ? n : -1;
    return story::RegisterNumber(story::RegisterKind::Flag, name);
}

int PlaceByName(const std::string& name) {
    for (int i = 0; i < kTownNodes; ++i)
        if (name == kTownPlaces[i].name || name == kTownPlaces[i].menuName) return i;
    for (int i = 0; i < kLandNodes; ++i)
        if (name == kLandPlaces[i].name || name == kLandPlaces[i].menuName)
            return place::LandTown + i;
    return -1;
}

int CommandByCaption(const std::string& caption) {
    for (int id = 0; id < 18; ++id)
        for (const char* c : kCaptions[id])
            if (c && caption == c) return id;
    return -1;
}

std::string CommandCaption(int id) { return id >= 0 && id < 18 ? kCaptions[id][0] : "?"; }

std::string PlaceName(int place) {
    if (place >= 0 && place < kTownNodes) return kTownPlaces[place].name;
    if (place >= place::LandTown && place < place::LandTown + kLandNodes)
        return kLandPlaces[place - place::LandTown].name;
    return "place " + std::to_string(place);
}

bool ParsePlan(const std::string& text, const std::string& file, Plan& plan, std::string& error) {
    plan = Plan{};
    plan.file = file;
    std::istringstream in(text);
    std::string raw;
    int lineNo = 0;
    PlanStep* step = nullptr;
    auto fail = [&](const std::string& what) {
        error = file + ":" + std::to_string(lineNo) + ": " + what;
        return false;
    };
    while (std::getline(in, raw)) {
        ++lineNo;
        const auto hash = raw.find('#');
        const bool indented = !raw.empty() && (raw[0] == ' ' || raw[0] == '\t');
        const std::string line = Trim(hash == std::string::npos ? raw : raw.substr(0, hash));
        if (line.empty()) continue;
        std::istringstream words(line);
        std::string key;
        words >> key;
        std::vector<std::string> args;
        for (std::string w; words >> w;) args.push_back(w);
        const std::string rest = Trim(line.substr(key.size()));

        if (key == "step") {
            if (indented) return fail("a step starts at the line's beginning");
            if (rest.empty()) return fail("a step needs a name");
            plan.steps.emplace_back();
            step = &plan.steps.back();
            step->name = rest;
            step->line = lineNo;
            continue;
        }
        if (!indented || !step) {
            if (step && !indented)
                return fail("'" + key + "' after the first step must be indented under it");
            if (key == "route") {
                if (rest.empty()) return fail("route needs a name");
                plan.name = rest;
            } else if (key == "ending") {
                if (args.size() != 2 || !Number(args[0], plan.endingSlot) ||
                    !Number(args[1], plan.endingNumber) || plan.endingSlot < 0 ||
                    plan.endingSlot > 10 || plan.endingNumber < 0 || plan.endingNumber > 5)
                    return fail("ending needs a slot 0..10 and a number 0..5");
            } else if (key == "after") {
                if (args.size() != 1) return fail("after needs one route's file name");
                plan.after = args[0];
            } else if (key == "policy") {
                Policy policy;
                if (args.size() != 1 || !PolicyByName(args[0], policy))
                    return fail(std::string("policy is ") + kPolicyNames);
                plan.policy = args[0];
            } else if (key == "orders") {
                if (args.size() != 1 || (args[0] != "accept" && args[0] != "refuse"))
                    return fail("orders is accept or refuse");
                plan.orders = args[0];
            } else if (key == "want") {
                int item = -1, count = 0;
                if (!Want(args, item, count)) return fail(kWantError);
                plan.wants.emplace_back(item, count);
            } else {
                return fail("unknown key '" + key + "'");
            }
            continue;
        }
        // A line of the step.
        if (key == "days") {
            if (args.size() != 1 || !Range(args[0], 0, 286, step->firstDay, step->lastDay))
                return fail("days needs a day or a range within 0..286");
        } else if (key == "weekdays") {
            if (args.empty()) return fail("weekdays needs at least one weekday");
            for (const std::string& a : args) {
                int w = 0;
                if (!Number(a, w) || w < -1 || w > 5) return fail("a weekday is -1..5");
                step->weekdays.push_back(w);
            }
        } else if (key == "hours") {
            if (args.size() != 1 || !Range(args[0], 0, 23, step->firstHour, step->lastHour))
                return fail("hours needs an hour or a range within 0..23");
        } else if (key == "at") {
            if (rest != kShopName && PlaceByName(rest) < 0)
                return fail("no place named '" + rest + "' on the maps");
            step->at = rest;
            step->place = rest == kShopName ? -1 : PlaceByName(rest);
        } else if (key == "do") {
            if (args.empty()) return fail("do needs at least one command");
            for (const std::string& a : args) {
                const int id = CommandByCaption(a);
                if (id < 0) return fail("no command '" + a + "' in the command menus");
                step->commands.push_back(a);
                step->commandIds.push_back(id);
            }
        } else if (key == "answer") {
            if (args.empty()) return fail("answer needs at least one caption number");
            for (const std::string& a : args) {
                int n = 0;
                if (!Number(a, n) || n < 1 || n > 9) return fail("a caption number is 1..9");
                step->answers.push_back(n);
            }
        } else if (key == "want") {
            int item = -1, count = 0;
            if (!Want(args, item, count)) return fail(kWantError);
            step->wants.emplace_back(item, count);
        } else if (key == "done") {
            if (args.size() < 2) return fail(kDoneError);
            if (args[0] == "event" && args.size() == 2) {
                step->done = DoneKind::Event;
                step->doneEvent = args[1];
            } else if (args[0] == "flag" && args.size() == 2 &&
                       (step->doneNumber = FlagByName(args[1])) >= 0) {
                step->done = DoneKind::Flag;
            } else if (args[0] == "item" && (args.size() == 2 || args.size() == 3) &&
                       (step->doneNumber = ItemByName(args[1])) >= 0 &&
                       (args.size() == 2 ||
                        (Number(args[2], step->doneCount) && step->doneCount >= 1))) {
                step->done = DoneKind::Item;
            } else if (args[0] == "recipe" && args.size() == 2 &&
                       (step->doneNumber = ItemByName(args[1])) >= 0 &&
                       step->doneNumber < kGoodsCount) {
                step->done = DoneKind::Recipe;
            } else {
                return fail(kDoneError);
            }
        } else if (key == "idle") {
            if (!args.empty()) return fail("idle takes nothing");
            step->idle = true;
        } else if (key == "optional") {
            if (!args.empty()) return fail("optional takes nothing");
            step->optional = true;
        } else if (key == "repeat") {
            if (!args.empty()) return fail("repeat takes nothing");
            step->repeat = true;
        } else {
            return fail("unknown key '" + key + "' in a step");
        }
    }
    lineNo = 0;
    if (plan.name.empty()) return fail("the plan has no `route` line");
    if (plan.endingSlot < 0) return fail("the plan has no `ending` line");
    for (const PlanStep& s : plan.steps) {
        lineNo = s.line;
        if (s.done == DoneKind::None) return fail("step '" + s.name + "' has no `done` line");
        if (s.place < 0 && !s.commands.empty())
            return fail("step '" + s.name + "' has commands but no place on the maps");
    }
    return true;
}

bool WindowHolds(const PlanStep& s, int day, int hour) {
    if (day < s.firstDay || day > s.lastDay) return false;
    if (hour < s.firstHour || hour > s.lastHour) return false;
    if (s.weekdays.empty()) return true;
    const int weekday = day % kDaysPerWeek;
    return std::any_of(s.weekdays.begin(), s.weekdays.end(), [weekday](int w) {
        return w >= 0 ? weekday == w : weekday != kDaysPerWeek - 1;
    });
}

void Arrival(int day, int hour, int hours, int& arrivalDay, int& arrivalHour) {
    const int at = hour + std::max(0, hours);
    arrivalDay = day + at / 24;
    arrivalHour = at % 24;
}

bool LoadPlan(const std::string& path, Plan& plan, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = path + ": cannot be read";
        return false;
    }
    std::ostringstream all;
    all << in.rdbuf();
    return ParsePlan(all.str(), path, plan, error);
}

}  // namespace route
