#pragma once
#include <array>
#include <compare>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "media/Qvpack.h"
#include "platform/Bitmap.h"
#include "platform/Controls.h"
#include "platform/Font.h"
#include "platform/Form.h"
#include "skin/CHBCBTN.h"
#include "skin/CHBmpCnt.h"

// The message window: the speaker's face with a text page beside it. Big5 text is
// typed onto the page one 20 x 20 cell per character, in the text colour over the
// page's background; the player acknowledges a line with the end button. Plain hints
// are shown without waiting, and the command menu is a set of picture buttons on the
// page. The window's outline follows the face picture.

// The state bits (TestState / SetState).
constexpr int kMsgAllTyped = 0;      // every character of the page text is drawn
constexpr int kMsgEndButton = 3;     // show the end button when all is typed
constexpr int kMsgDragging = 4;      // the window is being dragged
constexpr int kMsgPageFull = 5;      // the text did not fit; the rest is cut
constexpr int kMsgAcknowledged = 6;  // the player clicked the end button

constexpr int kFaceSlots = 55;      // face names by face number
constexpr int kFaceCount = 52;      // "par00.bmp".."par51.bmp"
constexpr int kCommandButtons = 6;  // command buttons the page holds
constexpr int kCommandRows = 18;    // rows of the command-button sheet (CommandId)

// Where the window's own pictures lie in the game folder: the page background, the
// hide and end buttons' sheet and the command-button sheet.
inline constexpr char kMsgWinPack[] = "Data\\MsgWin.pak";
inline constexpr char kMsgBackMember[] = "MsgBack.bmp";
inline constexpr char kMsgHideMember[] = "MsgHide.bmp";
inline constexpr char kMsgSwitchMember[] = "MsgSwitch.bmp";

class TDbTxtForm2 : public ui::Form {
public:
    TDbTxtForm2();
    ~TDbTxtForm2() override;
    // Comes to the front (as showing it does), but under the open game dialogs: lying
    // over the lower part of the screen, it would cover their buttons.
    void BringToFront() override;

    // ---- components
    ui::Panel* m_PnlMain;         // fills the window; takes the mouse
    ui::Panel* m_PnlTitle;        // unused strip, kept hidden
    ui::Image* m_ImgMain;         // the text page as last presented
    ui::Image* m_ImgFace;         // the face
    TCHBcBitBtn* m_BtnEnd;        // acknowledges the line
    TCHBcSpeedButton* m_BtnHide;  // hides the window
    TCHBmpContainer m_CntBack;    // page background
    TCHBmpContainer m_CntHide;    // hide button (top row) and end button (below) cells
    TCHBmpContainer m_CntSwitch;  // command buttons: one row per CommandId

    // ---- operations
    // The page background from m_CntBack, the layout, the text settings, the face names
    // and face 0.
    void LoadFaces();
    // A new page: typing restarts at the first character; bits 0, 5 and 6 cleared.
    void SetText(const std::string& big5);
    // Called every 200 ms: draws what is left of the page and presents it.
    void Tick();
    // A plain hint drawn at once, without the end button and without waiting; the
    // state bits but "all typed" and "page full" are kept.
    void ShowMessage(const std::string& big5);
    // Shows `count` command buttons (ids: rows of the command sheet) and pumps messages
    // until one is clicked; returns its index, or -1 when the menu cannot be answered
    // (no button, or the application ends or the window goes meanwhile).
    int ChooseCommand(int count, const int* ids);
    // Face n (named by face name n); an unnamed or unreadable face leaves it unchanged.
    void SetFace(int n);
    // Blanks the face, so that no face shows.
    void ClearFace();
    // Drops what is left untyped of the page (and the face marks in it).
    void EndFaceMarks();
    // Layout without and with the text part (the choice window takes its place).
    void HideForChoice();
    void ShowAfterChoice();
    void SetTextColor(ui::TColor color);
    void SetFontName(const std::string& big5Name);
    void SetState(int bit, bool on);
    bool TestState(int bit) const;
    // The dodge: the window jumps between a and b when the mouse comes over it inside
    // `area` (screen coordinates); RestorePosition puts it back at a and disarms.
    void SavePosition(ui::Point a, ui::Point b, const ui::Rect& area);
    void RestorePosition();

    // The character cell's font (the choice window takes it for its captions).
    const ui::Font& TextFont() const { return m_CharFont; }
    // The page background, the composed page and where the page lies in the window.
    const ui::Bitmap& PageBackground() const { return m_BmpBack; }
    const ui::Bitmap& TextBitmap() const { return m_BmpText; }
    ui::Rect PageRect() const { return m_ImgMain->BoundsRect(); }
    // The end button's rectangle on the page (page coordinates).
    ui::Rect EndButtonPageRect() const;

    // ---- event handlers
    void m_BtnEndClick();
    void m_BtnNextClick();  // bound to no control
    void m_BtnHideClick();
    void m_PnlMainMouseDown(ui::MouseButton button, ui::ShiftState shift, int x, int y);
    void m_PnlMainMouseMove(ui::ShiftState shift, int x, int y);
    void FormShow();
    void FormPaint();
    void FormCloseQuery(bool& canClose);

    // ---- fields
    std::string m_Text;  // the page text (Big5, with marks)
    int m_TypePos = 1;   // 1-based byte position of the next character
    int m_PenX = 0, m_PenY = 0;
    std::uint32_t m_State = 0;
    ui::TColor m_TextColor = ui::clBlack;
    int m_CharSize = 20;
    int m_OriginX = 0, m_OriginY = 0;
    int m_LineGap = 0;
    int m_EndMarginX = 0, m_EndMarginY = 0;
    bool m_MenuMode = false;
    int m_Chosen = -1;
    int m_BtnCount = 0;
    std::array<ui::Rect, kCommandButtons> m_BtnRects{};  // window coordinates
    std::string m_FaceFolder;                            // "\col24b\palFace" or "\col8b\palFace"
    std::array<std::string, kFaceSlots> m_FaceNames{};
    bool m_Dodge = false;
    ui::Point m_DodgeA, m_DodgeB;
    ui::Rect m_DodgeArea;

    // One step of the typing: reads one character (or mark) and draws it.
    void DrawOne();
    // Draws until all is typed or the page is full.
    void DrawRest();
    // Shows the page as composed (the text bitmap into m_ImgMain).
    void PresentPage();

private:
    void ResetPage();
    void Layout(bool withText);
    void ShowEndButton();
    void NewLine();
    void DrawCell(const char* big5, int len);
    bool LoadSheets();
    void MakeFallbackSheets();

    ui::Bitmap m_BmpBack;   // page background
    ui::Bitmap m_BmpText;   // the composed page
    ui::Bitmap m_BmpChar;   // one letter, black on white
    ui::Bitmap m_BmpColor;  // one cell of the text colour
    ui::Font m_CharFont;
    // The two cells of every letter drawn, by letter, face, size and text colour: a page
    // shows the same letters again and again.
    struct CellKey {
        std::string glyph, face;
        int height = 0;
        unsigned style = 0;
        int size = 0;
        ui::TColor color = 0;
        auto operator<=>(const CellKey&) const = default;
    };
    struct Cells {
        ui::Bitmap letter, coloured;  // m_BmpChar and m_BmpColor as the letter left them
    };
    std::map<CellKey, Cells> m_Cells;
    TQvPack m_Pack;  // reads the faces
    bool m_TextShown = true;
    bool m_PositionSaved = false;
    int m_Face = -1;
};

extern TDbTxtForm2* DbTxtForm2;

// Every ASCII digit of a Big5 string becomes its full-width form (0xA2, 0xAF + digit);
// two-byte characters and other bytes are kept.
std::string ToFullWidthDigits(std::string_view big5);
