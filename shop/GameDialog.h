#pragma once
#include <cstdint>
#include <functional>

#include "platform/Controls.h"
#include "platform/Form.h"
#include "skin/CHBCBTN.h"

// The pattern every game dialog of the shop follows: created on demand while its form
// variable is empty, placed where it was last left (centred on the shop window the
// first time), dragged by its caption strip, closed only by its own button, and while
// any of them is open the shop's menus and scene clicks are off.

// One remembered place per dialog, for the whole run (never saved).
struct WindowPosition {
    std::uint8_t placed = 0;
    std::int32_t left = 0;
    std::int32_t top = 0;
};

// The records, in their fixed order.
enum WindowPositionIndex {
    kPosItemMixList = 0,
    kPosItemMix = 1,
    kPosItemMixConfirm = 2,
    kPosExhibition = 3,
    kPosExhibitionList = 4,
    kPosExhibitionConfirm = 5,
    kPosItemList = 6,
    kPosItemDetails0 = 7,
    kPosItemDetails1 = 8,
    kPosNote = 9,
    kPosSales = 10,
    kPosGraph = 11,
    kPosBook = 12,
    kPosSalesList = 13,
    kPosStatus = 14,
    kPosMarketList = 15,
    kPosMarketBuy = 16,
    kPosCalender = 17,
    kPosWatch = 18,
    kPosSystemM = 19,
    kPosOption = 20,
};
constexpr int kWindowPositionCount = 21;
extern WindowPosition WindowPositions[kWindowPositionCount];

// What the dialogs need of the shop window. The shop window fills these in when it is
// made; until then a dialog centres on the screen and the menus are nobody's.
struct ShopWindowHooks {
    // The shop window, or null.
    std::function<ui::Form*()> shopForm;
    // Switches the six top-bar buttons of the shop window and of the full-screen title
    // bar, the shop menu's AutoPopup and the scene clicks (SceneClicksEnabled).
    std::function<void(bool buttons, bool autoPopup, bool sceneClicks)> setShopMenus;
    // Shop2FPanel and TitlePanel are both hidden.
    std::function<bool()> roomAndTitleHidden;
    // The option window is shown.
    std::function<bool()> optionShown;
    // The message window that ResetWindowPositions puts back in its place (unset: the
    // game's message window DbTxtForm2, when it exists).
    std::function<ui::Form*()> messageWindow;
    // The shop is open for customers (IsShopOpen).
    std::function<bool()> shopOpen;
};
ShopWindowHooks& ShopHooks();

// The dialog form variables that hold the shop's menus back while they are set. Each
// dialog's unit makes its form and clears its variable on close.
class TItemMixListForm;
class TItemMixForm;
class TExhibitionForm;
class TExhibitionListForm;
class TExhibitionConfirmForm;
class TItemListForm;
class TItemDetails0Form;
class TItemDetails1Form;
class TSalesListForm;
class TStatusForm;
class TBookForm;
class TNoteForm;
class TSalesForm;
class TGraphForm;
class TSystemMForm;
extern TItemMixListForm* ItemMixListForm;
extern TItemMixForm* ItemMixForm;
extern TExhibitionForm* ExhibitionForm;
extern TExhibitionListForm* ExhibitionListForm;
extern TExhibitionConfirmForm* ExhibitionConfirmForm;
extern TItemListForm* ItemListForm;
extern TItemDetails0Form* ItemDetails0Form;
extern TItemDetails1Form* ItemDetails1Form;
extern TSalesListForm* SalesListForm;
extern TStatusForm* StatusForm;
extern TBookForm* BookForm;
extern TNoteForm* NoteForm;
extern TSalesForm* SalesForm;
extern TGraphForm* GraphForm;
extern TSystemMForm* SystemMForm;

// Puts the form at its remembered place, or centres it on the shop window the first
// time and marks the record placed; then DisableShopMenus. A place that would leave the
// caption strip wholly off the screen (left on a larger screen, or the centre of a shop
// window dragged mostly off) is pulled back so the strip shows (`strip` in the form's
// own coordinates; empty: the form's drag strip, else its top 34 rows).
void PlaceGameWindow(ui::Form& form, int record, const ui::Rect& strip = {});
// Remembers the form's place (the placed flag stays as it is).
void SaveWindowPosition(const ui::Form& form, int record);
// Every dialog opens centred again; the message window goes back under the shop.
void ResetWindowPositions();
void DisableShopMenus();
void EnableShopMenus();
// Puts the open game dialogs back above the message window (and the clock and the
// calendar) after one of those was shown again, in the order they lay in: those
// windows stay on top as the dialogs do, and the message window, shown again, would
// cover the buttons at a dialog's bottom.
void RaiseGameDialogs();
// The shop window is shown and neither the 2F room nor the title covers it.
bool IsShopSceneIdle();

// A caption strip from its x and y ranges, both ends inclusive.
constexpr ui::Rect CaptionStrip(int x0, int x1, int y0, int y1) {
    return ui::Rect{x0, y0, x1 + 1, y1 + 1};
}

// A game dialog: borderless, stay on top, the 12 px Ming font, the background picture
// Image1 that covers the window, the skinned CloseButton, dragged by its caption strip
// (in Image1's coordinates) and deaf to the system's close request.
class TGameDialog : public ui::Form {
public:
    TGameDialog(int width, int height, int record, const ui::Rect& strip);
    ~TGameDialog() override;

    ui::Image* Image1;
    TCHBcSpeedButton* CloseButton;
    // 1 while a drag by the caption strip runs.
    std::uint8_t Dragging = 0;
    int Record() const { return record_; }
    const ui::Rect& Strip() const { return strip_; }

    // Places the dialog (PlaceGameWindow with its record).
    void Place() { PlaceGameWindow(*this, record_, strip_); }
    // The standard close: SaveWindowPosition, release, clear the form variable,
    // EnableShopMenus. Dialogs whose close does more override it.
    virtual void CloseButtonClick();
    // Starts a drag when (x, y) of the background lies in the caption strip.
    void Image1MouseDown(ui::MouseButton button, int x, int y);
    // Drags from a control that also moves the window (an item-name picture).
    void DragByControl(ui::MouseButton button);
    bool CloseQuery() override { return false; }

    // Loads the background from the program's resources (false: left plain).
    bool LoadBackground(const char* resourceName);
    // Loads a picture of the program's resources into an image (false: left empty).
    static bool LoadPicture(ui::Image& image, const char* resourceName);

protected:
    // Empties this dialog's form variable (when it still points here).
    virtual void ClearFormVariable() = 0;
    // A skinned button from one of the shop's sheets, at (x, y) of w x h.
    TCHBcSpeedButton* MakeSheetButton(TCHBmpContainer& sheet, int x, int y, int w, int h,
                                      const char* name);
    // A two-state button (up, down) of a sheet that stacks one strip per button: the
    // strip at stripTop, w x h cells side by side.
    TCHBcSpeedButton* MakeStripButton(TCHBmpContainer& sheet, int x, int y, int w, int h,
                                      const char* name, int stripTop);
    // A picture of the program's resources at (x, y) of w x h that drags the dialog.
    ui::Image* MakeDragTag(int x, int y, int w, int h, const char* resourceName);
    // A 12 px label at (x, y).
    ui::Label* MakeLabel(int x, int y, const char* name);
    // A label of a fixed width w (one 12 px line high) that does not size itself.
    ui::Label* MakeFixedLabel(int x, int y, int w, const char* name);
    // An item window's head: the name picture at (nameX, nameY), nameWidth x 24, which
    // also drags the dialog, and the 64 x 64 icon at (iconX, iconY).
    void MakeItemNameAndIcon(ui::Image*& name, ui::Image*& icon, int nameX, int nameY, int iconX,
                             int iconY, int nameWidth = 240);

private:
    void StartDrag();
    int record_;
    ui::Rect strip_;
};
