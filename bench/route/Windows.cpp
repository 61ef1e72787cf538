#include "bench/route/Windows.h"

#include <algorithm>
#include <sstream>
#include <string>

#include "platform/Input.h"
#include "town/Srcdbtxtform21.h"

namespace route {

namespace {

constexpr std::uint32_t kKeyMs = 30;

// The row of `item` among the rows of `menu` the arrow keys stop at (the visible items
// but the lines), -1 when it is not there or cannot be chosen.
int KeyRow(const ui::MenuItem& menu, const ui::MenuItem* item) {
    int row = 0;
    for (int i = 0; i < menu.Count(); ++i) {
        const ui::MenuItem* m = menu.Item(i);
        if (!m->Visible || m->IsLine()) continue;
        if (m == item) return m->Enabled ? row : -1;
        ++row;
    }
    return -1;
}

}  // namespace

ui::Point Centre(const ui::Control& c) {
    return c.ClientToScreen(ui::Point{c.Width() / 2, c.Height() / 2});
}

bool ClickAt(ui::HeadlessBackend& backend, ui::Point p, std::uint32_t ms) {
    backend.Click(p.x, p.y, ui::MouseButton::mbLeft, 0, ms);
    return true;
}

bool Click(ui::HeadlessBackend& backend, const ui::Control& c, std::uint32_t ms) {
    return ClickAt(backend, Centre(c), ms);
}

bool CommandMenuShown() {
    const TDbTxtForm2* win = DbTxtForm2;
    return win && win->Visible() && win->m_MenuMode && win->m_BtnCount > 0;
}

std::vector<int> MenuIds(const ui::Transcript& t) {
    const std::vector<ui::TranscriptEntry>& all = t.Entries();
    const auto menu = std::find_if(all.rbegin(), all.rend(),
                                   [](const ui::TranscriptEntry& e) { return e.kind == "menu"; });
    std::vector<int> ids;
    std::istringstream shown(menu == all.rend() ? std::string() : menu->text);
    for (int id; shown >> id;) ids.push_back(id);
    return ids;
}

bool ClickCommandAt(ui::HeadlessBackend& backend, std::size_t index, std::uint32_t ms) {
    const TDbTxtForm2* win = DbTxtForm2;
    if (!CommandMenuShown() || index >= static_cast<std::size_t>(win->m_BtnCount)) return false;
    const ui::Rect& r = win->m_BtnRects[index];
    return ClickAt(backend,
                   win->ClientToScreen(ui::Point{(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}),
                   ms);
}

bool ChooseFromMenu(ui::HeadlessBackend& backend, const ui::Control& owner,
                    const ui::PopupMenu& menu, std::initializer_list<const ui::MenuItem*> path,
                    std::uint32_t ms) {
    if (!menu.AutoPopup || path.size() == 0) return false;
    // The rows to go down in each level of the path.
    std::vector<int> rows;
    const ui::MenuItem* level = &menu.Items;
    for (const ui::MenuItem* item : path) {
        const int row = level ? KeyRow(*level, item) : -1;
        if (row < 0) return false;
        rows.push_back(row);
        level = item;
    }
    // A point of the owner that no other window covers: its centre, else on a grid.
    ui::Point at{-1, -1};
    for (int gy = 0; gy <= 8 && at.x < 0; ++gy)
        for (int gx = 0; gx <= 8 && at.x < 0; ++gx) {
            const int fx = gy == 0 && gx == 0 ? 4 : gx, fy = gy == 0 && gx == 0 ? 4 : gy;
            const ui::Point p = owner.ClientToScreen(
                ui::Point{owner.Width() * (2 * fx + 1) / 18, owner.Height() * (2 * fy + 1) / 18});
            if (ui::ControlAt(p.x, p.y) == &owner) at = p;
        }
    if (at.x < 0) return false;
    backend.Click(at.x, at.y, ui::MouseButton::mbRight, 0, ms);
    for (std::size_t level_ = 0; level_ < rows.size(); ++level_) {
        // Into a submenu, Right selects its first row already.
        const int downs = level_ == 0 ? rows[level_] + 1 : rows[level_];
        if (level_ > 0) backend.Key(ui::vk::Right, 0, kKeyMs);
        for (int k = 0; k < downs; ++k) backend.Key(ui::vk::Down, 0, kKeyMs);
    }
    backend.Key(ui::vk::Return, 0, kKeyMs);
    return true;
}

}  // namespace route
