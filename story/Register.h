#pragma once
#include <string_view>

// The story's register (story/Register.def): the names of event flags, event variables,
// day marks, places, the items the story tests or gives, and music tracks, one line
// each. Code reads flag::Name, var::Name, mark::Name, place::Name, item::Name and
// track::Name; the story's text files name flags, variables and marks bare.
namespace flag {
#define FLAG(name, n) constexpr int name = n;
#define VAR(name, n)
#define MARK(name, n)
#define PLACE(name, n)
#define ITEM(name, n)
#define TRACK(name, n)
#include "story/Register.def"
#undef FLAG
#undef VAR
#undef MARK
#undef PLACE
#undef ITEM
#undef TRACK
}  // namespace flag

namespace var {
#define FLAG(name, n)
#define VAR(name, n) constexpr int name = n;
#define MARK(name, n)
#define PLACE(name, n)
#define ITEM(name, n)
#define TRACK(name, n)
#include "story/Register.def"
#undef FLAG
#undef VAR
#undef MARK
#undef PLACE
#undef ITEM
#undef TRACK
}  // namespace var

namespace mark {
#define FLAG(name, n)
#define VAR(name, n)
#define MARK(name, n) constexpr int name = n;
#define PLACE(name, n)
#define ITEM(name, n)
#define TRACK(name, n)
#include "story/Register.def"
#undef FLAG
#undef VAR
#undef MARK
#undef PLACE
#undef ITEM
#undef TRACK
}  // namespace mark

namespace place {
#define FLAG(name, n)
#define VAR(name, n)
#define MARK(name, n)
#define PLACE(name, n) constexpr int name = n;
#define ITEM(name, n)
#define TRACK(name, n)
#include "story/Register.def"
#undef FLAG
#undef VAR
#undef MARK
#undef PLACE
#undef ITEM
#undef TRACK
}  // namespace place

namespace item {
#define FLAG(name, n)
#define VAR(name, n)
#define MARK(name, n)
#define PLACE(name, n)
#define ITEM(name, n) constexpr int name = n;
#define TRACK(name, n)
#include "story/Register.def"
#undef FLAG
#undef VAR
#undef MARK
#undef PLACE
#undef ITEM
#undef TRACK
}  // namespace item

namespace track {
#define FLAG(name, n)
#define VAR(name, n)
#define MARK(name, n)
#define PLACE(name, n)
#define ITEM(name, n)
#define TRACK(name, n) constexpr int name = n;
#include "story/Register.def"
#undef FLAG
#undef VAR
#undef MARK
#undef PLACE
#undef ITEM
#undef TRACK
}  // namespace track

namespace story {
enum class RegisterKind { Flag, Variable, DayMark, Place, Item, Track };
// The number a name of the register stands for, or -1 when the register has no such
// name of that kind.
int RegisterNumber(RegisterKind kind, std::string_view name);
}  // namespace story
