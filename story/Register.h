#pragma once
#include <string_view>

// The story's named flags, event variables and day marks (story/Register.def).
namespace flag {
#define FLAG(name, n) constexpr int name = n;
#define VAR(name, n)
#define MARK(name, n)
#include "story/Register.def"
#undef FLAG
#undef VAR
#undef MARK
}  // namespace flag

namespace var {
#define FLAG(name, n)
#define VAR(name, n) constexpr int name = n;
#define MARK(name, n)
#include "story/Register.def"
#undef FLAG
#undef VAR
#undef MARK
}  // namespace var

namespace mark {
#define FLAG(name, n)
#define VAR(name, n)
#define MARK(name, n) constexpr int name = n;
#include "story/Register.def"
#undef FLAG
#undef VAR
#undef MARK
}  // namespace mark

namespace story {
enum class RegisterKind { Flag, Variable, DayMark };
// The number a name of the register stands for, or -1 when the register has no such
// name of that kind.
int RegisterNumber(RegisterKind kind, std::string_view name);
}  // namespace story
