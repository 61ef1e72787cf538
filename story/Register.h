#pragma once
#include <string_view>

// The story's register (story/Register.def): the names of event flags, event variables,
// day marks, places, the items the story tests or gives, and music tracks, one line
// each. Code reads flag::Name, var::Name, mark::Name, place::Name, item::Name and
// track::Name; the story's text files name flags, variables, marks, places, items and
// tracks bare.
namespace flag {
#define FLAG(name, n) constexpr int name = n;
#include "story/Register.def"
}  // namespace flag

namespace var {
#define VAR(name, n) constexpr int name = n;
#include "story/Register.def"
}  // namespace var

namespace mark {
#define MARK(name, n) constexpr int name = n;
#include "story/Register.def"
}  // namespace mark

namespace place {
#define PLACE(name, n) constexpr int name = n;
#include "story/Register.def"
}  // namespace place

namespace item {
#define ITEM(name, n) constexpr int name = n;
#include "story/Register.def"
}  // namespace item

namespace track {
#define TRACK(name, n) constexpr int name = n;
#include "story/Register.def"
}  // namespace track

namespace story {
enum class RegisterKind { Flag, Variable, DayMark, Place, Item, Track };
// The number a name of the register stands for, or -1 when the register has no such
// name of that kind.
int RegisterNumber(RegisterKind kind, std::string_view name);
}  // namespace story
