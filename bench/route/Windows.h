#pragma once
// The clicks and keys the whole-year runs make through the program's windows, as a
// player makes them: a control's centre, the command menu's buttons by their ids, and
// the popup menus (the shop's floor menu and its 陳列商品 slots, the map's menu of
// places) popped up with a right click and gone through with the keys.
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "platform/Controls.h"
#include "platform/Menus.h"
#include "platform/Transcript.h"
#include "platform/headless/HeadlessBackend.h"

namespace route {

// The centre of a control, on the screen.
ui::Point Centre(const ui::Control& c);
// A left click at a screen point, `ms` virtual milliseconds on.
bool ClickAt(ui::HeadlessBackend& backend, ui::Point p, std::uint32_t ms);
bool Click(ui::HeadlessBackend& backend, const ui::Control& c, std::uint32_t ms);

// The command menu (the message window's buttons) is on show.
bool CommandMenuShown();
// The ids of the command menu on show, from its transcript record.
std::vector<int> MenuIds(const ui::Transcript& t);
// Clicks the command menu's button at `index` (of MenuIds); false when there is none.
bool ClickCommandAt(ui::HeadlessBackend& backend, std::size_t index, std::uint32_t ms);

// Pops `menu` up with a right click on a point of `owner` no other window covers and
// chooses `path` (an item, then for a submenu its item) with the arrow keys and Enter, as
// a player does; false (nothing done) when an item of the path is hidden or disabled, or
// no point of `owner` is free.
bool ChooseFromMenu(ui::HeadlessBackend& backend, const ui::Control& owner,
                    const ui::PopupMenu& menu, std::initializer_list<const ui::MenuItem*> path,
                    std::uint32_t ms);

}  // namespace route
