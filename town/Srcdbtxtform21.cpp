#include "town/Srcdbtxtform21.h"

#include <algorithm>
#include <cstdio>
#include <memory>

#include "media/FileFaults.h"
#include "platform/Application.h"
#include "platform/Big5.h"
#include "platform/Canvas.h"
#include "platform/Transcript.h"
#include "shop/GameDialog.h"
#include "town/Blits.h"
#include "town/FormRegion.h"

TDbTxtForm2* DbTxtForm2 = nullptr;

namespace {

// The page a missing MsgWin.pak falls back to, and the cells of the fallback sheets.
constexpr int kFallbackPageW = 480;
constexpr std::size_t kKeptCells = 4096;  // letters kept drawn before the cells start afresh
constexpr int kFallbackPageH = 136;
constexpr int kSwitchCellW = 120;
constexpr int kSwitchCellH = 40;
// The hide button's cells are the sheet's top row, the end button's the row below. The
// hide button is small enough to sit above the first line of text.
constexpr int kHideCellW = 14;
constexpr int kHideCellH = 10;
constexpr int kEndCellW = 44;
constexpr int kEndCellH = 22;
constexpr int kButtonCells = 3;  // normal, disabled, pressed

bool IsLead(unsigned char c) { return ui::IsBig5Lead(c); }
bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }
std::uint32_t Bit(int bit) { return (bit >= 0 && bit < 32) ? (1u << bit) : 0u; }

bool ReadMember(TQvPack& pack, const char* name, ui::Bitmap& out) {
    std::unique_ptr<TMemoryStream> s = pack.QvMakeStream(name);
    if (!s) return false;
    ui::Bitmap bm;
    if (!bm.LoadFromMemory(s->Bytes())) return false;
    out = std::move(bm);
    return true;
}

// A plain cell strip: `cells` bevelled faces of w x h side by side, the pressed one sunk.
ui::Bitmap PlainButtonStrip(int w, int h, int cells) {
    ui::Bitmap bm(w * cells, h);
    ui::Canvas& c = bm.GetCanvas();
    for (int i = 0; i < cells; ++i) {
        ui::Rect r = ui::Bounds(i * w, 0, w, h);
        c.Brush.Color = ui::clBtnFace;
        c.FillRect(r);
        if (i == 2)
            ui::Frame3D(c, r, ui::clBtnShadow, ui::clBtnHighlight, 1);
        else
            ui::Frame3D(c, r, ui::clBtnHighlight, ui::clBtnShadow, 1);
    }
    return bm;
}

}  // namespace

TDbTxtForm2::TDbTxtForm2() {
    Name = "DbTxtForm2";
    SetFormStyle(ui::FormStyle::fsStayOnTop);
    EraseBackground = false;  // the page covers the window; no flicker
    SetColor(ui::clBlack);

    m_PnlMain = Make<ui::Panel>();
    m_PnlMain->Name = "m_PnlMain";
    m_PnlMain->SetBevelOuter(ui::BevelCut::bvNone);
    m_PnlMain->SetParentColor(true);
    m_PnlMain->SetBounds(0, 0, kFallbackPageW, kFallbackPageH);
    m_PnlMain->OnMouseDown = [this](ui::Control&, ui::MouseButton b, ui::ShiftState s, int x,
                                    int y) { m_PnlMainMouseDown(b, s, x, y); };
    m_PnlMain->OnMouseMove = [this](ui::Control&, ui::ShiftState s, int x, int y) {
        m_PnlMainMouseMove(s, x, y);
    };

    m_PnlTitle = m_PnlMain->Make<ui::Panel>();
    m_PnlTitle->Name = "m_PnlTitle";
    m_PnlTitle->SetBounds(0, 0, 0, 0);
    m_PnlTitle->Hide();

    // The pictures let the mouse through to the panel (disabled plain controls do).
    m_ImgFace = m_PnlMain->Make<ui::Image>();
    m_ImgFace->Name = "m_ImgFace";
    m_ImgFace->SetBounds(0, 0, 0, 0);
    m_ImgFace->SetEnabled(false);
    m_ImgMain = m_PnlMain->Make<ui::Image>();
    m_ImgMain->Name = "m_ImgMain";
    m_ImgMain->SetBounds(0, 0, kFallbackPageW, kFallbackPageH);
    m_ImgMain->SetEnabled(false);

    m_BtnHide = m_PnlMain->Make<TCHBcSpeedButton>();
    m_BtnHide->Name = "m_BtnHide";
    m_BtnHide->OnClick = [this](ui::Control&) { m_BtnHideClick(); };
    m_BtnEnd = m_PnlMain->Make<TCHBcBitBtn>();
    m_BtnEnd->Name = "m_BtnEnd";
    m_BtnEnd->OnClick = [this](ui::Control&) { m_BtnEndClick(); };

    if (!LoadSheets()) MakeFallbackSheets();
    m_CntSwitch.SetCellWidth(kSwitchCellW);
    m_CntSwitch.SetCellHeight(kSwitchCellH);

    m_BtnHide->Glyph().SetBmpContainer(&m_CntHide);
    m_BtnHide->Glyph().SetSrcLeft(0);
    m_BtnHide->Glyph().SetSrcTop(0);
    m_BtnHide->Glyph().SetSrcRight(kHideCellW * kButtonCells);
    m_BtnHide->Glyph().SetSrcBottom(kHideCellH);
    m_BtnHide->SetNumGlyphs(kButtonCells);
    m_BtnHide->SetBounds(0, 0, kHideCellW, kHideCellH);
    m_BtnEnd->Glyph().SetBmpContainer(&m_CntHide);
    m_BtnEnd->Glyph().SetSrcLeft(0);
    m_BtnEnd->Glyph().SetSrcTop(kHideCellH);
    m_BtnEnd->Glyph().SetSrcRight(kEndCellW * kButtonCells);
    m_BtnEnd->Glyph().SetSrcBottom(kHideCellH + kEndCellH);
    m_BtnEnd->SetNumGlyphs(kButtonCells);
    m_BtnEnd->SetBounds(0, 0, kEndCellW, kEndCellH);
    // It takes the focus as it shows, so Space and Return acknowledge the lines.
    m_BtnEnd->TabStop = true;
    m_BtnEnd->Hide();

    // The character cell: 20 x 20, bold, black on white.
    m_CharSize = 20;
    m_CharFont.Name = ui::kFaceMing;
    m_CharFont.Height = 20;
    m_CharFont.Color = ui::clBlack;
    m_CharFont.SetBold(true);
    m_BmpChar = ui::Bitmap(m_CharSize, m_CharSize);
    m_BmpColor = ui::Bitmap(m_CharSize, m_CharSize);

    m_Text.clear();
    m_State = Bit(kMsgEndButton);
    m_OriginX = m_OriginY = 0;
    m_Dodge = false;

    OnShow = [this](ui::Form&) { FormShow(); };
    OnPaint = [this](ui::Form&) { FormPaint(); };
    OnCloseQuery = [this](ui::Form&, bool& canClose) { FormCloseQuery(canClose); };
}

void TDbTxtForm2::BringToFront() {
    ui::Form::BringToFront();
    RaiseGameDialogs();
}

TDbTxtForm2::~TDbTxtForm2() {
    if (DbTxtForm2 == this) DbTxtForm2 = nullptr;
}

bool TDbTxtForm2::LoadSheets() {
    TQvPack pack;
    if (!pack.OpenPack(kMsgWinPack)) {
        TellFileFault(kMsgWinPack);
        return false;
    }
    ui::Bitmap back, hide, sw;
    std::string bad;
    if (!ReadMember(pack, kMsgBackMember, back))
        bad = kMsgBackMember;
    else if (!ReadMember(pack, kMsgHideMember, hide))
        bad = kMsgHideMember;
    else if (!ReadMember(pack, kMsgSwitchMember, sw))
        bad = kMsgSwitchMember;
    const bool ok = bad.empty();
    pack.ClosePack();
    if (!ok) {
        TellFileFault(kMsgWinPack, bad);
        return false;
    }
    m_CntBack.SetBitmap(back);
    m_CntHide.SetBitmap(hide);
    m_CntSwitch.SetBitmap(sw);
    return true;
}

void TDbTxtForm2::MakeFallbackSheets() {
    ui::Bitmap back(kFallbackPageW, kFallbackPageH);
    ui::Canvas& c = back.GetCanvas();
    c.Brush.Color = ui::RGB(240, 232, 208);
    c.FillRect(ui::Rect{0, 0, kFallbackPageW, kFallbackPageH});
    c.Brush.Color = ui::RGB(96, 64, 32);
    c.FrameRect(ui::Rect{0, 0, kFallbackPageW, kFallbackPageH});
    m_CntBack.SetBitmap(back);

    ui::Bitmap hide(kEndCellW * kButtonCells, kHideCellH + kEndCellH);
    ui::Canvas& h = hide.GetCanvas();
    h.Draw(0, 0, PlainButtonStrip(kHideCellW, kHideCellH, kButtonCells));
    h.Draw(0, kHideCellH, PlainButtonStrip(kEndCellW, kEndCellH, kButtonCells));
    m_CntHide.SetBitmap(hide);

    ui::Bitmap sw(kSwitchCellW, kSwitchCellH * kCommandRows);
    ui::Canvas& s = sw.GetCanvas();
    for (int r = 0; r < kCommandRows; ++r) {
        ui::Rect cell = ui::Bounds(0, r * kSwitchCellH, kSwitchCellW, kSwitchCellH);
        s.Brush.Color = ui::clBtnFace;
        s.FillRect(cell);
        ui::Rect inner = cell;
        ui::Frame3D(s, inner, ui::clBtnHighlight, ui::clBtnShadow, 2);
        s.Brush.Style = ui::BrushStyle::bsClear;
        const std::string label = std::to_string(r);
        s.DrawText(label, inner, ui::DT_CENTER | ui::DT_VCENTER | ui::DT_SINGLELINE);
        s.Brush.Style = ui::BrushStyle::bsSolid;
    }
    m_CntSwitch.SetBitmap(sw);
}

// ---- setting up

void TDbTxtForm2::LoadFaces() {
    m_BmpBack = m_CntBack.Bitmap();
    // The page is composed in true colour, so the raster operations work on colours.
    m_BmpBack.SetFormat(ui::PixelFormat::pf24bit);
    m_ImgMain->SetBounds(m_ImgMain->Left(), m_ImgMain->Top(), m_BmpBack.Width(),
                         m_BmpBack.Height());
    m_PnlMain->SetBounds(0, 0, m_BmpBack.Width(), m_BmpBack.Height());
    m_BmpText = m_BmpBack;
    ResetPage();
    m_BtnEnd->Hide();
    m_OriginX = 14;
    m_OriginY = 14;
    m_LineGap = 6;
    m_EndMarginX = 14;
    m_EndMarginY = 8;
    m_TextColor = 128;
    for (int i = 0; i < kFaceSlots; ++i) {
        if (i < kFaceCount) {
            char name[24];
            std::snprintf(name, sizeof name, "par%02d.bmp", i);
            m_FaceNames[static_cast<std::size_t>(i)] = name;
        } else {
            m_FaceNames[static_cast<std::size_t>(i)].clear();
        }
    }
    m_TextShown = true;
    Layout(true);
    SetFace(0);
    // The letters: the first of the kai and ming faces that the system has.
    if (ui::HasFont(ui::kFaceKai))
        m_CharFont.Name = ui::kFaceKai;
    else if (ui::HasFont(ui::kFaceMing))
        m_CharFont.Name = ui::kFaceMing;
    PresentPage();
}

void TDbTxtForm2::Layout(bool withText) {
    m_TextShown = withText;
    const ui::Bitmap& face = m_ImgFace->Picture();
    const int faceW = face.Empty() ? 0 : face.Width();
    const int faceH = face.Empty() ? 0 : face.Height();
    const int pageW = m_BmpBack.Width();
    const int pageH = m_BmpBack.Height();
    // The page's bottom sits 4 pixels above the face's; a face too short for that
    // leaves the page at the top.
    const int pageLeft = faceW;
    const int pageTop = std::max(0, faceH - (pageH + 4));
    m_ImgFace->SetBounds(0, 0, faceW, faceH);
    m_ImgMain->SetBounds(pageLeft, pageTop, pageW, pageH);
    const int clientW = faceW + pageW;
    const int clientH = std::max(faceH, pageTop + pageH);
    SetClientWidth(clientW);
    SetClientHeight(clientH);
    m_PnlMain->SetBounds(0, 0, clientW, clientH);

    ui::Region region;
    if (!face.Empty()) region = RegionFromBitmap(face, face.GetPixel(0, 0));
    if (withText) region.AddRect(ui::Bounds(pageLeft, pageTop, pageW, pageH));
    SetRegion(region);

    m_BtnEnd->SetBounds(pageLeft + pageW - m_BtnEnd->Width() - m_EndMarginX,
                        pageTop + pageH - m_BtnEnd->Height() - m_EndMarginY, m_BtnEnd->Width(),
                        m_BtnEnd->Height());
    m_BtnHide->SetBounds(pageLeft + pageW - m_BtnHide->Width() - 3, pageTop + 3, m_BtnHide->Width(),
                         m_BtnHide->Height());
    Invalidate();
}

ui::Rect TDbTxtForm2::EndButtonPageRect() const {
    const ui::Rect page = m_ImgMain->BoundsRect();
    ui::Rect r = m_BtnEnd->BoundsRect();
    r.Left -= page.Left;
    r.Right -= page.Left;
    r.Top -= page.Top;
    r.Bottom -= page.Top;
    return r;
}

void TDbTxtForm2::HideForChoice() { Layout(false); }

void TDbTxtForm2::ShowAfterChoice() { Layout(true); }

void TDbTxtForm2::SetFace(int n) {
    if (n < 0 || n >= kFaceSlots) return;
    const std::string& name = m_FaceNames[static_cast<std::size_t>(n)];
    if (name.empty()) return;
    std::string folder = m_FaceFolder;
    while (!folder.empty() && (folder.front() == '\\' || folder.front() == '/')) folder.erase(0, 1);
    // Without an art folder there are no faces (the player was told the folder is wrong).
    if (folder.empty()) return;
    const std::string path = folder + "\\palFace.pak";
    if (!m_Pack.OpenPack(path)) {
        TellFileFault(path);
        return;
    }
    ui::Bitmap face;
    const bool ok = ReadMember(m_Pack, name.c_str(), face);
    m_Pack.ClosePack();
    if (!ok) {
        TellFileFault(path, name);
        return;
    }
    m_Face = n;
    m_ImgFace->SetPicture(std::move(face));
    Layout(m_TextShown);
}

void TDbTxtForm2::ClearFace() {
    ui::Bitmap& face = m_ImgFace->Picture();
    if (face.Empty()) return;
    ui::Canvas& c = face.GetCanvas();
    c.Brush.Color = ui::clBlack;
    c.Brush.Style = ui::BrushStyle::bsSolid;
    c.FillRect(ui::Rect{0, 0, face.Width(), face.Height()});
    m_ImgFace->PictureChanged();
    // All black keys every pixel out: the face's part of the region goes.
    Layout(m_TextShown);
}

void TDbTxtForm2::SetTextColor(ui::TColor color) { m_TextColor = color; }

void TDbTxtForm2::SetFontName(const std::string& big5Name) { m_CharFont.Name = big5Name; }

void TDbTxtForm2::SetState(int bit, bool on) {
    if (on)
        m_State |= Bit(bit);
    else
        m_State &= ~Bit(bit);
}

bool TDbTxtForm2::TestState(int bit) const { return (m_State & Bit(bit)) != 0; }

// ---- the page

void TDbTxtForm2::ResetPage() {
    m_BmpText = m_BmpBack;
    m_PenX = m_OriginX;
    m_PenY = m_OriginY;
}

void TDbTxtForm2::PresentPage() {
    DrawBitmapToImage(m_ImgMain, &m_BmpText, true);
    m_ImgMain->Invalidate();
}

void TDbTxtForm2::SetText(const std::string& big5) {
    SetState(kMsgAcknowledged, false);
    m_Text = big5;
    m_TypePos = 1;
    m_PenX = m_OriginX;
    m_PenY = m_OriginY;
    SetState(kMsgAllTyped, false);
    SetState(kMsgPageFull, false);
    ResetPage();
}

void TDbTxtForm2::Tick() {
    if (m_MenuMode) {
        PresentPage();
        return;
    }
    if (m_Text.empty() || TestState(kMsgAllTyped) || TestState(kMsgPageFull)) return;
    DrawRest();
    PresentPage();
}

void TDbTxtForm2::DrawRest() {
    while (!m_Text.empty() && !TestState(kMsgAllTyped) && !TestState(kMsgPageFull)) DrawOne();
}

void TDbTxtForm2::NewLine() {
    m_PenY += m_CharSize + m_LineGap;
    m_PenX = m_OriginX;
}

void TDbTxtForm2::DrawOne() {
    const int len = static_cast<int>(m_Text.size());
    auto at = [&](int pos1) {
        return static_cast<unsigned char>(m_Text[static_cast<std::size_t>(pos1 - 1)]);
    };
    auto finish = [&] {
        if (m_TypePos > len) {
            SetState(kMsgAllTyped, true);
            if (TestState(kMsgEndButton) && !m_BtnEnd->Visible()) ShowEndButton();
        }
    };

    for (;;) {
        if (m_TypePos < 1) m_TypePos = 1;
        if (m_TypePos > len) {
            finish();
            return;
        }
        const int start = m_TypePos;
        const unsigned char c = at(start);
        if (IsLead(c)) {
            // A lead byte always takes its trail byte, whatever the trail byte is.
            if (start + 1 > len) {  // a lead byte cut off at the end: nothing to draw
                m_TypePos = start + 1;
                finish();
                return;
            }
            m_TypePos = start + 2;
        } else {
            m_TypePos = start + 1;
            if (c == 'F' || c == 'f') {
                int n = 0;
                bool digits = false;
                while (m_TypePos <= len && IsDigit(at(m_TypePos))) {
                    if (n < 1000) n = n * 10 + (at(m_TypePos) - '0');
                    digits = true;
                    ++m_TypePos;
                }
                if (digits) SetFace(n);
                finish();
                return;
            }
            if (c == 'G' || c == 'g') {
                // An inline glyph: the glyph strip is not part of the game, so the mark
                // takes its cell and shows nothing. Its digit is a single byte.
                if (m_TypePos <= len && !IsLead(at(m_TypePos))) ++m_TypePos;
            } else if (c == '\n' || c == '@') {
                if (m_PenX != m_OriginX) {
                    NewLine();
                    if (m_TypePos <= len) continue;  // a new line costs no call
                }
                finish();
                return;
            } else {
                finish();  // any other single byte: skipped
                return;
            }
        }

        // Fit the cell on the page: inside the text area and clear of the end button.
        const ui::Rect area{m_OriginX - 1, m_OriginY - 1, m_BmpBack.Width(),
                            m_BmpBack.Height() - (m_OriginY - 1)};
        const ui::Rect endRect = EndButtonPageRect();
        for (;;) {
            const ui::Rect cell = ui::Bounds(m_PenX, m_PenY, m_CharSize, m_CharSize);
            const bool inside = cell.Left >= area.Left && cell.Top >= area.Top &&
                                cell.Right <= area.Right && cell.Bottom <= area.Bottom;
            const bool onButton =
                TestState(kMsgEndButton) && !ui::Intersect(cell, endRect).IsEmpty();
            if (inside && !onButton) break;
            if (ui::Intersect(cell, area).IsEmpty() || m_PenY > area.Bottom) {
                // The page is full: the rest waits for no one; the click ends the line.
                SetState(kMsgPageFull, true);
                m_TypePos = start;
                m_PenX = m_OriginX;
                m_PenY = m_OriginY;
                ShowEndButton();
                return;
            }
            NewLine();
        }

        if (IsLead(c)) DrawCell(&m_Text[static_cast<std::size_t>(start - 1)], 2);
        m_PenX += m_CharSize;
        if (m_PenX + m_CharSize > m_BmpBack.Width()) NewLine();
        finish();
        return;
    }
}

void TDbTxtForm2::DrawCell(const char* big5, int len) {
    const int s = m_CharSize;
    CellKey key{std::string(big5, static_cast<std::size_t>(len)),
                m_CharFont.Name,
                m_CharFont.Height,
                m_CharFont.Style,
                s,
                m_TextColor};
    auto cells = m_Cells.find(key);
    if (cells == m_Cells.end()) {
        if (m_Cells.size() >= kKeptCells) m_Cells.clear();
        ui::Canvas& cc = m_BmpChar.GetCanvas();
        cc.Brush.Color = ui::clWhite;
        cc.Brush.Style = ui::BrushStyle::bsSolid;
        cc.FillRect(ui::Rect{0, 0, s, s});
        cc.Font = m_CharFont;
        cc.Font.Color = ui::clBlack;
        cc.TextOut(0, 0, std::string_view(big5, static_cast<std::size_t>(len)));
        m_BmpChar.Changed();
        ui::Canvas& colour = m_BmpColor.GetCanvas();
        colour.Brush.Color = m_TextColor;
        colour.Brush.Style = ui::BrushStyle::bsSolid;
        colour.FillRect(ui::Rect{0, 0, s, s});
        colour.BitBlt(0, 0, s, s, &m_BmpChar, 0, 0, ui::SRCPAINT);
        cells = m_Cells.emplace(std::move(key), Cells{m_BmpChar, m_BmpColor}).first;
    }
    // Letter black on white: SRCERASE leaves ~background under the white and black
    // under the letter; the letter in the text colour XORed over that gives the letter
    // in its colour on the background as it was.
    ui::Canvas& tc = m_BmpText.GetCanvas();
    tc.BitBlt(m_PenX, m_PenY, s, s, &cells->second.letter, 0, 0, ui::SRCERASE);
    tc.BitBlt(m_PenX, m_PenY, s, s, &cells->second.coloured, 0, 0, ui::SRCINVERT);
    m_BmpText.Changed();
}

void TDbTxtForm2::ShowEndButton() {
    m_BtnEnd->Show();
    m_BtnEnd->BringToFront();
    // Space and Return answer the line from the first one on, not only once the button
    // has been clicked: it takes the focus, and the window the keys.
    m_BtnEnd->SetFocus();
    if (Visible() && TakesInput()) Activate();
    DrawRest();
    PresentPage();
}

void TDbTxtForm2::ShowMessage(const std::string& big5) {
    const std::uint32_t kept = m_State;
    SetState(kMsgEndButton, false);
    SetText(big5);
    m_BtnEnd->Hide();
    DrawRest();
    PresentPage();
    ui::RecordBig5("message", big5);
    // Give back the caller's bits, but keep what the drawing found: a finished hint must
    // not be typed again (and grow an end button) on the next tick.
    constexpr std::uint32_t drawn = 1u << kMsgAllTyped | 1u << kMsgPageFull;
    m_State = (kept & ~drawn) | (m_State & drawn);
}

void TDbTxtForm2::EndFaceMarks() {
    // Whatever of the page was not typed (a page cut short) is dropped with its face
    // marks, so that no later tick applies them.
    if (!TestState(kMsgAllTyped) || TestState(kMsgPageFull)) {
        m_Text.clear();
        m_TypePos = 1;
    }
}

// ---- the command menu

int TDbTxtForm2::ChooseCommand(int count, const int* ids) {
    m_BtnEnd->Hide();
    ResetPage();
    m_MenuMode = true;
    m_Chosen = -1;
    count = ids == nullptr ? 0 : std::clamp(count, 0, kCommandButtons);
    m_BtnCount = count;

    ui::Bitmap picture = m_CntBack.Bitmap();
    picture.SetFormat(ui::PixelFormat::pf24bit);
    const int w = m_CntSwitch.CellW();
    const int h = m_CntSwitch.CellH();
    const ui::Rect page = m_ImgMain->BoundsRect();
    std::string shown;
    for (int i = 0; i < kCommandButtons; ++i) {
        if (i >= count) {
            m_BtnRects[static_cast<std::size_t>(i)] = ui::Rect{};
            continue;
        }
        const int x = (i % 3) * (w + 20) + 40;
        const int y = (i / 3) * (h + 10) + 30;
        const int id = ids[i];
        if (id >= 0 && id < m_CntSwitch.CellCount())
            CHBcCopyRect(picture.GetCanvas(), ui::Bounds(x, y, w, h), m_CntSwitch.Bitmap(),
                         m_CntSwitch.GetCellRect(id));
        m_BtnRects[static_cast<std::size_t>(i)] = ui::Bounds(x + page.Left, y + page.Top, w, h);
        if (!shown.empty()) shown += ' ';
        shown += std::to_string(id);
    }
    ui::Record("menu", shown);
    BlitWhole(&m_BmpText, 0, 0, &picture, ui::SRCCOPY);
    PresentPage();

    if (count > 0 && ui::HaveApp()) {
        const ui::LifeToken life = Life();
        ui::App().PumpUntil([&] { return life.expired() || m_Chosen >= 0; }, "ChooseCommand");
        if (life.expired()) return -1;
    }
    const int chosen = m_Chosen;
    if (chosen >= 0) ui::Record("command", std::to_string(ids[chosen]));
    ResetPage();
    PresentPage();
    m_MenuMode = false;
    return chosen;
}

// ---- events

void TDbTxtForm2::m_BtnEndClick() {
    m_Text.clear();
    m_TypePos = 1;
    ResetPage();
    PresentPage();
    m_BtnEnd->Hide();
    SetState(kMsgPageFull, false);
    SetState(kMsgAcknowledged, true);
}

void TDbTxtForm2::m_BtnNextClick() {
    ResetPage();
    PresentPage();
    m_BtnEnd->Hide();
    SetState(kMsgPageFull, false);
}

void TDbTxtForm2::m_BtnHideClick() { Hide(); }

void TDbTxtForm2::m_PnlMainMouseDown(ui::MouseButton button, ui::ShiftState, int x, int y) {
    if (m_MenuMode) {
        for (int i = 0; i < m_BtnCount; ++i) {
            const ui::Rect& r = m_BtnRects[static_cast<std::size_t>(i)];
            // Edges included on every side.
            if (x >= r.Left && x <= r.Right && y >= r.Top && y <= r.Bottom) {
                m_Chosen = i;
                return;
            }
        }
    }
    if (button != ui::MouseButton::mbLeft) return;
    m_PnlMain->Repaint();
    ui::ReleaseCapture();
    SetState(kMsgDragging, true);
    const ui::LifeToken life = Life();
    DragMove();
    if (life.expired()) return;
    SetState(kMsgDragging, false);
    DrawRest();
    PresentPage();
}

void TDbTxtForm2::m_PnlMainMouseMove(ui::ShiftState, int x, int y) {
    if (!m_Dodge || m_BtnEnd->Visible()) return;
    const ui::Point p = m_PnlMain->ClientToScreen(ui::Point{x, y});
    if (!m_DodgeArea.Contains(p.x, p.y)) return;
    const ui::Rect page = m_ImgMain->BoundsRect();
    if (x > page.Left + page.Width() - page.Width() / 4) return;
    const ui::Point to = (Left() == m_DodgeA.x && Top() == m_DodgeA.y) ? m_DodgeB : m_DodgeA;
    SetBounds(to.x, to.y, Width(), Height());
    // Stacked above the clock and the calendar, as the program's activation stacks the
    // three: at the top of the map its face would otherwise be drawn under the clock.
    BringToFront();
}

void TDbTxtForm2::SavePosition(ui::Point a, ui::Point b, const ui::Rect& area) {
    m_DodgeA = a;
    m_DodgeB = b;
    m_DodgeArea = area;
    m_Dodge = true;
    m_PositionSaved = true;
}

void TDbTxtForm2::RestorePosition() {
    // Only a position that was stored is put back.
    if (m_PositionSaved) SetBounds(m_DodgeA.x, m_DodgeA.y, Width(), Height());
    m_Dodge = false;
}

void TDbTxtForm2::FormShow() { PresentPage(); }

void TDbTxtForm2::FormPaint() {
    // The page as composed goes into the image before the controls are drawn.
    if (!m_BmpText.Empty()) m_ImgMain->Picture() = m_BmpText;
}

void TDbTxtForm2::FormCloseQuery(bool& canClose) { canClose = false; }

// ---- full-width digits

std::string ToFullWidthDigits(std::string_view big5) {
    std::string out;
    out.reserve(big5.size() * 2);
    for (std::size_t i = 0; i < big5.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(big5[i]);
        if (ui::IsBig5Lead(c) && i + 1 < big5.size()) {
            out += big5[i];
            out += big5[++i];
        } else if (IsDigit(c)) {
            out += static_cast<char>(0xA2);
            out += static_cast<char>(0xAF + (c - '0'));
        } else {
            out += big5[i];
        }
    }
    return out;
}
