#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Form.h"

// Popup menus: Big5 items, separators ("-"), submenus, items that are disabled or
// hidden, each with a Tag and a click handler. A menu pops up by itself on a right
// click of a control that has it (while AutoPopup), or from code with Popup(x, y);
// the menu runs its own loop (timers and painting go on) until an item is chosen or
// the menu is dismissed, and the chosen item's OnClick runs after it has closed.
namespace ui {

class MenuItem {
public:
    explicit MenuItem(std::string caption = {}, int tag = 0);
    ~MenuItem();
    MenuItem(const MenuItem&) = delete;
    MenuItem& operator=(const MenuItem&) = delete;

    std::string Caption;  // Big5; "-" is a separator
    std::string Name;
    int Tag = 0;
    bool Enabled = true;
    bool Visible = true;
    bool Checked = false;
    std::function<void(MenuItem& sender)> OnClick;

    bool IsLine() const { return Caption == "-"; }
    // Submenu items.
    MenuItem* Add(std::string caption, int tag = 0, std::function<void(MenuItem&)> onClick = {});
    MenuItem* AddSeparator() { return Add("-"); }
    void Delete(int index);
    void Clear();
    int Count() const { return static_cast<int>(items_.size()); }
    MenuItem* Item(int index) const;
    MenuItem* Parent() const { return parent_; }
    // The item (any depth) of that Name, or null.
    MenuItem* Find(const std::string& name) const;
    // Runs OnClick.
    void Click();
    LifeToken Life() const { return life_; }

private:
    MenuItem* parent_ = nullptr;
    std::vector<std::unique_ptr<MenuItem>> items_;
    std::shared_ptr<const int> life_ = std::make_shared<const int>(0);
};

class PopupMenu {
public:
    PopupMenu();
    ~PopupMenu();
    PopupMenu(const PopupMenu&) = delete;
    PopupMenu& operator=(const PopupMenu&) = delete;

    std::string Name;
    MenuItem Items;
    bool AutoPopup = true;
    // The control whose right click popped the menu up (null from code).
    Control* PopupComponent = nullptr;
    std::function<void(PopupMenu& sender)> OnPopup;

    // Shows the menu with its top-left corner at a screen point (moved to stay on the
    // screen) and returns when it has closed, after the chosen item's OnClick.
    void Popup(int x, int y);
    // The item chosen by the last popup (null when dismissed).
    MenuItem* LastChosen() const;
    LifeToken Life() const { return life_; }

private:
    MenuItem* lastChosen_ = nullptr;
    LifeToken lastChosenLife_;
    std::shared_ptr<const int> life_ = std::make_shared<const int>(0);
};

// True while a popup menu is open.
bool MenuOpen();

// The layout of the menu windows, for drawing and for tests.
constexpr int kMenuItemHeight = 18;
constexpr int kMenuLineHeight = 8;
constexpr int kMenuBorder = 3;

}  // namespace ui
