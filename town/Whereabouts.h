#pragma once
#include <array>
#include <cstdint>

// Where the four recurring characters (kinds 0..3) are: each follows one of sixteen
// daily schedules, chosen by story flags, day windows and the weekday, and is met at a
// place mostly by chance. A meeting is remembered until the day changes.

// The recurring characters' kinds, as NpcWhereabouts and ChkNpc take them.
namespace npc {
constexpr int Florae = 0;   // 芙蘿蕾
constexpr int Renette = 1;  // 蕾妮特
constexpr int Fele = 2;     // 斐爾
constexpr int Cocotte = 3;  // 可可特
}  // namespace npc

constexpr int kNpcKinds = 4;
constexpr int kNpcSchedules = 16;

struct NpcMeeting {
    std::int32_t Hour = 0;
    std::int32_t Place = 0;
};
// Cleared at every day change; not saved.
extern std::array<NpcMeeting, kNpcKinds> NpcMet;
// Kind (-1 none) and place of the last positive answer.
extern std::int32_t NpcLastKind;
extern std::int32_t NpcLastPlace;

// Character `kind` is at `place` now. Sets NpcMetPending to the answer whenever a
// schedule was consulted, and the event server's schedule variant.
bool NpcWhereabouts(int kind, int place);
// Schedule n's answer for `place` at the current hour.
bool NpcSchedule(int n, int place);
// Remembers the last character found as met now at its place; nothing when none.
void MarkNpcMet();
void ClearNpcMet();
