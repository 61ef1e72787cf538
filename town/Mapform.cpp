#include "town/Mapform.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "media/FileFaults.h"
#include "media/Qvpack.h"
#include "platform/Application.h"
#include "platform/Big5.h"
#include "platform/Canvas.h"
#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/Transcript.h"
#include "story/Register.h"
#include "town/EvControler.h"
#include "town/Evsrvfm.h"
#include "town/MapTables.h"
#include "town/Srcdbtxtform21.h"
#include "town/TownLinks.h"

TMapFm* MapFm = nullptr;
int TMapFm::s_LastRegion = TMapFm::kNoRegionHovered;

namespace {

constexpr int kMapWidth = 640;
constexpr int kMapHeight = 480;
constexpr int kTitleHeight = 36;
constexpr int kFrameWidth = 4;
constexpr int kWalkerWidth = 40;
constexpr int kWalkerOffsetX = 20;  // the walker's cell stands this far left of its node
constexpr int kWalkerOffsetY = 32;  // and this far above it
constexpr int kOutskirtsNode = 8;   // on the town map
constexpr int kTownNode = 0;        // on the land map
constexpr int kMapOpenSound = 56;
constexpr int kSearchRefusalFace = 1;

const std::string kMapPackMember = "\\mapPack\\mapPack.pak";

// The map pack lies under the art folder of the program's folder.
std::string MapPackPath() { return ui::ProgramFolder() + townlink::ArtFolder() + kMapPackMember; }

const MapPlace* Places(int land) { return land ? kLandPlaces : kTownPlaces; }
int NamedPlaces(int land) { return land ? kLandNodes : kTownNodes; }

// Tells the player (once for each file) that a file of the map is missing or damaged:
// the map would show blank, or with places missing, without a word.
void TellDamaged(const std::string& member) { TellFileFault(MapPackPath(), member); }

bool LoadMember(TQvPack& pack, const char* name, ui::Bitmap& out) {
    std::unique_ptr<TMemoryStream> s = pack.QvMakeStream(name);
    return s && out.LoadFromMemory({s->Memory(), static_cast<std::size_t>(s->Size())});
}

int CurrentPlace() { return GameFlow ? GameFlow->Place : 0; }
void SetCurrentPlace(int place) {
    if (GameFlow) GameFlow->Place = place;
}
bool Flag(int n) { return EventServerDbg && EventServerDbg->TestFlg(n); }

}  // namespace

void MakeMaskedSheet(const ui::Bitmap& source, bool mirror, ui::Bitmap& sheet, ui::Bitmap& mask) {
    const int w = source.Width(), h = source.Height();
    sheet = ui::Bitmap(w, h, ui::PixelFormat::pf24bit);
    mask = ui::Bitmap(w, h, ui::PixelFormat::pf24bit);
    if (w <= 0 || h <= 0) return;
    const ui::TColor key = source.GetPixel(0, 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const ui::TColor c = source.GetPixel(mirror ? w - 1 - x : x, y);
            const bool clear = c == key;
            sheet.SetPixel(x, y, clear ? ui::clBlack : c);
            mask.SetPixel(x, y, clear ? ui::clWhite : ui::clBlack);
        }
}

TMapFm::TMapFm() {
    Name = "MapFm";
    SetBorderStyle(ui::BorderStyle::bsNone);
    // A screen among the shop and the stage; the message window stays on top of it.
    SetFormStyle(ui::FormStyle::fsNormal);
    SetVisible(false);
    SetColor(ui::clBlack);

    m_Img = Make<ui::Image>();
    m_Img->Name = "m_Img";
    m_Img->SetBounds(0, 16, kMapWidth, kMapHeight);
    m_Img->SetPopupMenu(&m_Ppm);
    m_Img->OnMouseDown = [this](ui::Control&, ui::MouseButton b, ui::ShiftState s, int x, int y) {
        m_ImgMouseDown(b, s, x, y);
    };
    m_Img->OnMouseMove = [this](ui::Control&, ui::ShiftState s, int x, int y) {
        m_ImgMouseMove(s, x, y);
    };
    m_Ppm.Name = "m_Ppm";

    m_PnlTitle = Make<ui::Panel>();
    m_PnlTitle->Name = "m_PnlTitle";
    m_PnlTitle->SetBounds(0, 0, kMapWidth, kTitleHeight);
    m_PnlTitle->SetColor(ui::RGB(96, 64, 128));
    m_PnlTitle->OnMouseDown = [this](ui::Control&, ui::MouseButton b, ui::ShiftState s, int x,
                                     int y) { m_PnlTitleMouseDown(b, s, x, y); };
    m_ImgTitle1 = m_PnlTitle->Make<ui::Image>();
    m_ImgTitle1->Name = "m_ImgTitle1";
    m_ImgTitle1->SetBounds(0, 0, kMapWidth + 2 * kFrameWidth, kTitleHeight);
    m_ImgTitle1->Picture() = ui::Bitmap(kMapWidth + 2 * kFrameWidth, kTitleHeight);
    {
        ui::Canvas& c = m_ImgTitle1->Picture().GetCanvas();
        c.Brush.Color = ui::RGB(96, 64, 128);
        c.FillRect(ui::Rect{0, 0, kMapWidth + 2 * kFrameWidth, kTitleHeight});
    }
    m_ImgTitle1->PictureChanged();
    // The strip's picture covers the whole strip: its presses are the strip's. On a
    // desktop, where the map fills the program's window, the strip moves that window.
    m_ImgTitle1->OnMouseDown = m_PnlTitle->OnMouseDown;
    m_PnlTitle->WindowDragArea = ui::Rect{0, 0, 4096, kTitleHeight};
    m_ImgTitle1->WindowDragArea = m_PnlTitle->WindowDragArea;
    const char* captions[3] = {"狀態", "記事本", "選項"};
    ui::SpeedButton** buttons[3] = {&m_BtnStatus, &m_BtnNote, &m_BtnOpt};
    const char* names[3] = {"m_BtnStatus", "m_BtnNote", "m_BtnOpt"};
    for (int i = 0; i < 3; ++i) {
        ui::SpeedButton* b = m_PnlTitle->Make<ui::SpeedButton>();
        b->Name = names[i];
        b->SetCaption(B5(captions[i]));
        b->SetBounds(440 + 64 * i, 6, 60, 24);
        *buttons[i] = b;
    }
    m_BtnStatus->OnClick = [this](ui::Control&) { m_BtnStatusClick(); };
    m_BtnNote->OnClick = [this](ui::Control&) { m_BtnNoteClick(); };
    m_BtnOpt->OnClick = [this](ui::Control&) { m_BtnOptClick(); };

    BcPanel1 = Make<ui::Panel>();
    BcPanel2 = Make<ui::Panel>();
    BcPanel3 = Make<ui::Panel>();
    BcPanel1->Name = "BcPanel1";
    BcPanel2->Name = "BcPanel2";
    BcPanel3->Name = "BcPanel3";
    for (ui::Panel* p : {BcPanel1, BcPanel2, BcPanel3}) p->SetColor(ui::RGB(96, 64, 128));

    OnShow = [this](ui::Form&) { FormShow(); };
    OnHide = [this](ui::Form&) { FormHide(); };
    OnCloseQuery = [](ui::Form&, bool& canClose) { canClose = false; };

    // The event server's SetPlace tells the map which of its maps the place lies on.
    TEventServerDbg::Hooks.SetMapLand = [](bool land) {
        if (MapFm) MapFm->m_Land = land ? 1 : 0;
    };

    m_Land = 0;
    TQvPack pack;
    ui::Bitmap chr;
    if (pack.OpenPack(MapPackPath()) && LoadMember(pack, "map_chr.bmp", chr)) {
        MakeMaskedSheet(chr, false, m_BmpChr[0], m_BmpMask[0]);
        MakeMaskedSheet(chr, true, m_BmpChr[1], m_BmpMask[1]);
    }
    pack.ClosePack();
    LayoutForScreen(true);
}

TMapFm::~TMapFm() {
    if (MapFm == this) MapFm = nullptr;
}

void TMapFm::LayoutForScreen(bool centre) {
    const ui::Screen& screen = ui::App().GetScreen();
    if (screen.Height() == kMapHeight) {
        SetClientWidth(kMapWidth);
        SetClientHeight(kMapHeight);
        m_PnlTitle->Hide();
        m_Img->SetBounds(0, 0, kMapWidth, kMapHeight);
        if (centre) {
            for (ui::Panel* p : {BcPanel1, BcPanel2, BcPanel3}) p->Hide();
            SetBounds(0, 0, Width(), Height());
        }
    } else {
        SetClientHeight(kMapHeight + kTitleHeight + kFrameWidth);
        SetClientWidth(m_ImgTitle1->Picture().Width());
        m_Img->SetBounds(kFrameWidth, kTitleHeight, kMapWidth, kMapHeight);
        BcPanel1->SetBounds(0, kTitleHeight, kFrameWidth, kMapHeight);
        BcPanel2->SetBounds(kFrameWidth + kMapWidth, kTitleHeight, kFrameWidth, kMapHeight);
        BcPanel3->SetBounds(0, kTitleHeight + kMapHeight, ClientWidth(), kFrameWidth);
        m_PnlTitle->SetBounds(0, 0, ClientWidth(), kTitleHeight);
        m_PnlTitle->Show();
        if (centre) {
            SetBounds(screen.Width() / 2 - ClientWidth() / 2,
                      screen.Height() / 2 - ClientHeight() / 2, Width(), Height());
            for (ui::Panel* p : {BcPanel1, BcPanel2, BcPanel3}) p->Show();
        }
    }
}

int TMapFm::PlaceCount() const { return std::min(NamedPlaces(m_Land), m_Graph.Count()); }

std::string TMapFm::PlaceName(int node) const {
    if (node < 0 || node >= NamedPlaces(m_Land)) return {};
    return B5(Places(m_Land)[node].name);
}

std::string TMapFm::PlaceMenuName(int node) const {
    if (node < 0 || node >= NamedPlaces(m_Land)) return {};
    return B5(Places(m_Land)[node].menuName);
}

int TMapFm::HereNode() const {
    const int node = CurrentPlace() & 31;
    return node < m_Graph.Count() ? node : 0;
}

void TMapFm::FormShow() {
    LayoutForScreen(false);
    // The introduction flags stand in place order from the shop's (IntroShop + place).
    if (EventServerDbg) EventServerDbg->SetFlg(flag::IntroShop + CurrentPlace(), true);
    int place = CurrentPlace();
    if (place == place::ShopInside || place == place::MixingRoom || place == place::HomeRooms) {
        place = place::ShopFront;
        SetCurrentPlace(place::ShopFront);
    }
    m_Dest = place & 31;
    m_Land = place >= place::LandTown ? 1 : 0;
    SetupMapScene();
    ClipView();
}

void TMapFm::FormHide() {
    m_BmpMap = ui::Bitmap();
    m_Img->Picture() = ui::Bitmap();
    m_Img->PictureChanged();
    if (DbTxtForm2) DbTxtForm2->RestorePosition();
}

void TMapFm::SetupMapScene() {
    m_WalkState = 0;
    s_LastRegion = kNoRegionHovered;
    TQvPack pack;
    // Without the pack every picture below is missing; the player is told once.
    if (!pack.OpenPack(MapPackPath())) {
        TellDamaged("");
    }

    const int h = townlink::GetHour();
    int variant;
    if (h >= 8 && h < 17) {
        const int season = townlink::GetSeason();
        variant = season == 0 ? 2 : season == 3 ? 1 : 0;
    } else if (h == 17 || h == 18) {
        variant = 1;
    } else {
        variant = 3;
    }
    const bool search = m_Land && Flag(flag::NightSearch);
    m_PictureName =
        (m_Land ? "map_land" : "map_town") + std::to_string(search ? 3 : variant) + ".bmp";

    ui::Bitmap picture, marks;
    if (!LoadMember(pack, m_PictureName.c_str(), picture)) {
        if (pack.IsOpen()) TellDamaged(m_PictureName);
        picture = ui::Bitmap(kMapWidth, kMapHeight);
    }
    m_BmpMap = picture;
    m_BmpMap.SetFormat(ui::PixelFormat::pf24bit);
    ui::Bitmap markSheet, markMask;
    if (LoadMember(pack, "mark.bmp", marks))
        MakeMaskedSheet(marks, false, markSheet, markMask);
    else if (pack.IsOpen())
        TellDamaged("mark.bmp");
    // The walker's sheet was read when the map was made.
    if (m_BmpChr[0].Empty() && pack.IsOpen()) TellDamaged("map_chr.bmp");

    const char* regions = m_Land ? "land.plf" : "town.plf";
    // A region file with fewer regions than the map has places (a zeroed one holds
    // none) leaves places that no click reaches.
    if (!m_Field.LoadFromPack(&pack, regions) || m_Field.Count() < NamedPlaces(m_Land)) {
        ui::Record("error", std::string("map regions refused: ") + regions);
        if (pack.IsOpen()) TellDamaged(regions);
    }
    const char* graphName = m_Land ? "land.sld" : "town.sld";
    std::unique_ptr<TMemoryStream> graph = pack.QvMakeStream(graphName);
    // A graph without a node for every place of the map leaves places out of reach.
    if (!m_Graph.LoadFromStream(graph.get()) || m_Graph.Count() < NamedPlaces(m_Land)) {
        ui::Record("error", std::string("map graph refused: ") + graphName);
        if (pack.IsOpen()) TellDamaged(graphName);
    }
    pack.ClosePack();
    if (m_Dest >= m_Graph.Count()) m_Dest = 0;

    const int firstFlag = kFirstPlaceOpenFlag + 32 * m_Land;
    for (int i = 0; i < m_Graph.Count(); ++i)
        m_Graph.Node(i)->Enabled = Flag(firstFlag + i) ? 1 : 0;
    ClearPlaceMenu();
    for (int i = 0; i < NamedPlaces(m_Land); ++i)
        if (Flag(firstFlag + i)) AddPlaceMenuItem(PlaceMenuName(i));

    if (!markSheet.Empty()) {
        ui::Canvas& c = m_BmpMap.GetCanvas();
        for (int i = 0; i < PlaceCount(); ++i) {
            if (!m_Graph.Node(i)->Enabled) continue;
            const MapPlace& p = Places(m_Land)[i];
            const int cellY = (m_Land ? kLandMarkTop : 0) + kMarkSize * i;
            c.BitBlt(p.markX, p.markY, kMarkSize, kMarkSize, &markMask, 0, cellY, ui::SRCAND);
            c.BitBlt(p.markX, p.markY, kMarkSize, kMarkSize, &markSheet, 0, cellY, ui::SRCPAINT);
        }
    }
    m_Img->Picture() = m_BmpMap;
    m_Img->PictureChanged();

    PlaceWalkerOn(m_Dest);
    townlink::SetMoveEventsPending();
    townlink::PlayTrackLoop(Flag(flag::NightSearch) ? track::NightSearchMusic
                            : m_Land                ? track::LandMusic
                                                    : track::TownMusic);
    m_Ppm.AutoPopup = true;
    townlink::PlaySound(kMapOpenSound);
    ui::Record("map", m_PictureName);
}

void TMapFm::PlaceWalkerOn(int node) {
    const OneSphere* n = m_Graph.Node(node);
    if (!n) n = m_Graph.Node(0);
    m_X = n ? n->x - kWalkerOffsetX : 0;
    m_Y = n ? n->y - kWalkerOffsetY : 0;
}

void TMapFm::ClearPlaceMenu() { m_Ppm.Items.Clear(); }

void TMapFm::AddPlaceMenuItem(const std::string& big5) {
    m_Ppm.Items.Add(big5, 0, [this](ui::MenuItem& item) { OnPlaceMenuClick(item.Caption); });
}

void TMapFm::OnPlaceMenuClick(const std::string& caption) {
    for (int i = 0; i < NamedPlaces(m_Land); ++i)
        if (PlaceMenuName(i) == caption) {
            GoToPlace(i);
            return;
        }
}

void TMapFm::SwitchToLand() {
    m_Land = 1;
    SetCurrentPlace(place::LandTown);
    m_Dest = kTownNode;
    SetupMapScene();
    ClearHintOfOtherMap();
}

void TMapFm::SwitchToTown() {
    m_Land = 0;
    SetCurrentPlace(kOutskirtsNode);
    m_Dest = kOutskirtsNode;
    SetupMapScene();
    ClearHintOfOtherMap();
}

// The hint shown as she set off named a place of the map just left: the new map asks
// afresh where to go, as it does off its places.
void TMapFm::ClearHintOfOtherMap() {
    if (!DbTxtForm2 || DbTxtForm2->m_BtnEnd->Visible()) return;
    s_LastRegion = -1;
    DbTxtForm2->ShowMessage(HoverHint(-1));
}

void TMapFm::GoToPlace(int node) {
    m_Ppm.AutoPopup = false;
    if (node == m_Dest) {
        const int here = CurrentPlace() & 31;
        if (m_Land && here == kTownNode)
            SwitchToTown();
        else if (!m_Land && here == kOutskirtsNode)
            SwitchToLand();
        else
            ArriveAtPlace();
        return;
    }
    const int hops = m_Graph.FindRoute(HereNode(), node, m_Route);
    if (hops <= 0) {
        // No road leads there: nothing is charged and the menu works on.
        m_Ppm.AutoPopup = true;
        return;
    }
    m_WalkState = 2;
    const int hours = m_Land ? hops : 1;
    ui::Record("travel", ui::Big5ToUtf8(PlaceName(node)) + " " + std::to_string(hours) + "h");
    if (!townlink::PassTime(hours)) return;  // too tired: she goes home
    m_Dest = node;
    m_RouteIndex = 0;
    m_StepsLeft = 0;
    m_WalkState = 1;
    SetCurrentPlace(node + place::LandTown * m_Land);
}

void TMapFm::ArriveAtPlace() {
    townlink::AlignForms();
    ui::ReleaseCapture();
    townlink::ShowPlaceOnStage(CurrentPlace());
    Hide();
}

void TMapFm::PlanLeg(int node) {
    const OneSphere* target = m_Graph.Node(node);
    if (!target) return;
    m_Dx = (target->x - kWalkerOffsetX - m_X) >> 2;
    m_Dy = (target->y - kWalkerOffsetY - m_Y) >> 2;
    m_StepsLeft = 4;
    if (!(std::abs(m_Dy) >= std::abs(m_Dx) && std::abs(m_Dx) < 9)) m_Facing = m_Dx >= 1 ? 1 : 0;
}

bool TMapFm::StepWalker(bool& switched) {
    switched = false;
    if (m_StepsLeft > 0) {
        m_X += m_Dx;
        m_Y += m_Dy;
        --m_StepsLeft;
        return false;
    }
    if (m_RouteIndex >= kMaxRouteNodes || m_Route[m_RouteIndex] == m_Dest) {
        m_RouteIndex = 0;
        if (!m_Land && m_Dest == kOutskirtsNode) {
            SwitchToLand();
            switched = true;
        } else if (m_Land && m_Dest == kTownNode) {
            SwitchToTown();
            switched = true;
        }
        return true;
    }
    PlaceWalkerOn(m_Route[m_RouteIndex]);
    ++m_RouteIndex;
    if (m_RouteIndex < kMaxRouteNodes) PlanLeg(m_Route[m_RouteIndex]);
    return false;
}

void TMapFm::WalkTick() {
    if (!Visible()) return;
    const std::uint32_t now = ui::GetTickCount();
    if (now - m_LastTick < kWalkTickMs) return;
    m_LastTick = now;
    ++m_TickCount;
    if (m_TickCount % 2 == 0) m_Frame ^= 1;
    if (m_WalkState == 1) {
        bool switched = false;
        if (StepWalker(switched)) {
            m_WalkState = 0;
            if (!switched) {
                ArriveAtPlace();
                return;
            }
        }
    }
    DrawScene();
}

void TMapFm::DrawScene() {
    if (m_BmpMap.Empty()) return;
    ui::Bitmap& back = m_Img->Picture();
    if (back.Width() != m_BmpMap.Width() || back.Height() != m_BmpMap.Height()) back = m_BmpMap;
    ui::Canvas& c = back.GetCanvas();
    c.BitBlt(0, 0, m_BmpMap.Width(), m_BmpMap.Height(), &m_BmpMap, 0, 0, ui::SRCCOPY);
    const ui::Bitmap& sheet = m_BmpChr[m_Facing & 1];
    const ui::Bitmap& mask = m_BmpMask[m_Facing & 1];
    if (!sheet.Empty()) {
        const int sx = kWalkerWidth * m_Frame;
        c.BitBlt(m_X, m_Y, kWalkerWidth, sheet.Height(), &mask, sx, 0, ui::SRCAND);
        c.BitBlt(m_X, m_Y, kWalkerWidth, sheet.Height(), &sheet, sx, 0, ui::SRCPAINT);
    }
    m_Img->Invalidate();
}

std::string TMapFm::HoverHint(int region) const {
    if (region < 0) return B5(Flag(flag::NightSearch) ? "該找什麼地方好呢？" : "到哪兒去好呢？");
    if (region >= PlaceCount() || !m_Graph.Node(region)->Enabled) return {};
    const std::string name = PlaceName(region);
    if (!m_Land) return region == m_Dest ? name : B5("到") + name + "\n" + B5("需要１個小時");
    std::int32_t route[kMaxRouteNodes];
    const int hops = m_Graph.FindRoute(m_Dest, region, route);
    if (hops < 1) return name;
    return B5("到") + name + "\n" + B5("需要") + ToFullWidthDigits(std::to_string(hops)) +
           B5("小時");
}

void TMapFm::m_ImgMouseMove(ui::ShiftState, int x, int y) {
    const ui::Screen& screen = ui::App().GetScreen();
    const ui::Point p = m_Img->ClientToScreen(ui::Point{x, y});
    const ui::Point strip = m_PnlTitle->ClientToScreen(ui::Point{0, m_PnlTitle->Height()});
    if (!m_PnlTitle->Visible() && p.y < strip.y) {
        m_PnlTitle->Show();
        if (screen.Height() != kMapHeight) m_Img->SetTop(kTitleHeight);
        return;
    }
    if (m_WalkState == 1) return;
    if (screen.Height() == kMapHeight && m_PnlTitle->Visible() && p.y >= strip.y)
        m_PnlTitle->Hide();
    const int region = m_Field.FindRegion(x, y);
    if (!DbTxtForm2 || DbTxtForm2->m_BtnEnd->Visible() || region == s_LastRegion) return;
    s_LastRegion = region;
    const std::string hint = HoverHint(region);
    if (!hint.empty()) DbTxtForm2->ShowMessage(hint);
}

void TMapFm::m_ImgMouseDown(ui::MouseButton button, ui::ShiftState, int x, int y) {
    if (button == ui::MouseButton::mbRight) return;
    if (!m_BtnStatus->Enabled()) return;
    if (DbTxtForm2 && !DbTxtForm2->Visible()) {
        DbTxtForm2->Show();
        return;
    }
    if (m_WalkState != 0) return;
    const int region = m_Field.FindRegion(x, y);
    if (region < 0) return;
    if (m_Land && region == kTownNode && Flag(flag::NightSearch)) {
        townlink::FaceGr(kSearchRefusalFace);
        if (DbTxtForm2)
            DbTxtForm2->ShowMessage(B5("緹菈「鎮上就交給可可特去找吧。\n我還是到郊外去……。"));
        return;
    }
    GoToPlace(region);
}

void TMapFm::m_PnlTitleMouseDown(ui::MouseButton button, ui::ShiftState shift, int x, int y) {
    if (button == ui::MouseButton::mbLeft) {
        if (ui::App().GetScreen().Width() > kMapWidth) {
            ui::ReleaseCapture();
            DragMove();
        }
        return;
    }
    if ((shift & ui::ssShift) && (shift & ui::ssAlt) && x >= 295 && x <= 303 && y >= 10 && y <= 18)
        townlink::ShowDebugWindow();
}

void TMapFm::RunTitleDialog(void (*dialog)(), bool placeMessageWindow) {
    for (ui::SpeedButton* b : {m_BtnStatus, m_BtnNote, m_BtnOpt}) b->SetEnabled(false);
    if (DbTxtForm2) DbTxtForm2->Hide();
    if (placeMessageWindow) {
        ClipView();
        townlink::AlignForms();
        townlink::AlignForms();
    }
    dialog();
    if (DbTxtForm2) DbTxtForm2->Show();
    for (ui::SpeedButton* b : {m_BtnStatus, m_BtnNote, m_BtnOpt}) b->SetEnabled(true);
}

void TMapFm::m_BtnStatusClick() { RunTitleDialog(townlink::RunStatusDialog, false); }
void TMapFm::m_BtnNoteClick() { RunTitleDialog(townlink::RunNotebook, false); }
void TMapFm::m_BtnOptClick() { RunTitleDialog(townlink::RunOptionWindow, true); }

void TMapFm::ClipView() {
    if (!DbTxtForm2) return;
    // The page's place within its own window, moved down 100, against the middle of the
    // map: with the window's layout (the face left of and above the page) this holds,
    // whatever the frame around the map picture, so the window sits at the bottom and
    // dodges the pointer instead of hiding the places under it.
    const ui::Rect page = DbTxtForm2->PageRect();
    const ui::Rect text = ui::Bounds(page.Left, page.Top + 100, page.Width(), page.Height());
    const ui::Rect inner{Left() + 100, Top() + 100, Left() + Width() - 100, Top() + Height() - 100};
    if (ui::Intersect(text, inner).IsEmpty()) {
        DbTxtForm2->m_Dodge = false;
        return;
    }
    const int left = Left() + Width() / 2 - DbTxtForm2->Width() / 2;
    const int bottom = Top() + Height() - DbTxtForm2->Height() - 4;
    DbTxtForm2->SetBounds(left, bottom, DbTxtForm2->Width(), DbTxtForm2->Height());
    DbTxtForm2->SavePosition(ui::Point{left, bottom}, ui::Point{left, Top()},
                             ui::Rect{Left(), Top(), Left() + Width() + 4, Top() + Height() - 4});
}
