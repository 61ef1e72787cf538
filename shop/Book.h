#pragma once
#include <array>

#include "platform/Controls.h"
#include "shop/GameDialog.h"

// The recipe book (魔法圖鑑): the known items one page each, filtered by attribute and
// by category (goods, materials, treasures). In the game it lists this game's items;
// from the title, the items ever known in any game.
class TBookForm : public TGameDialog {
public:
    TBookForm();
    ~TBookForm() override;

    ui::Image *ItemName;
    ui::Image *ItemIcon;
    ui::Label *ItemAttribute, *ItemLevel, *ItemCaption0, *ItemCaption1, *Page;
    ui::Image *Image2;  // the bar over a goods' recipe
    // Label1, Label2: "屬性：" before the attribute; Label3, Label4: "調配難度：" before
    // the stars; Label5, Label6: "明細：" on the bar (3..6 on goods pages only).
    std::array<ui::Label *, 6> Labels;
    std::array<ui::Image *, 3> MaterialIcon;
    std::array<ui::Label *, 3> MaterialName;
    std::array<ui::Label *, 3> MaterialNum;
    std::array<TCHBcSpeedButton *, 6> AtrButton;
    TCHBcSpeedButton *MagicItembutton, *MaterialItemButton, *TreasureItemButton;
    TCHBcSpeedButton *BackButton, *NextButton;

    int Mode = 0;  // 1 title, 0 game
    int Entry = 0;
    int AttributeFilter = -1;
    int CategoryFilter = -1;

    void DispBook(int mode);
    void DrawBookPage();
    bool MatchesBookFilter(int entry) const;
    bool Listed(int entry) const;
    void PrevBookEntry();
    void NextBookEntry();
    void AtrButtonClick(int tag);
    void CategoryButtonClick(int tag);
    void CloseButtonClick() override;

protected:
    void ClearFormVariable() override;

private:
    void Step(int delta);
};

// Shows the title's buttons again after the book opened from the title closes
// (until the title screen sets it).
extern void (*ShowTitleButtonsHook)();

void OpenBook(int mode);
// The book in game mode (the shop's menu and its book shelf).
void OpenGameBook();
