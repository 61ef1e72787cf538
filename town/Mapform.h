#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Bitmap.h"
#include "platform/Controls.h"
#include "platform/Form.h"
#include "platform/Menus.h"
#include "shop/Figure.h"
#include "town/MapOfLink.h"

// The map screen: the town or the land around it, a mark on every open place, the
// heroine walking on her routes, a hint of the travel time under the pointer and a
// popup menu of the open places. A click on a place walks her there along the path
// graph, charging the hours first; on arrival the stage takes over.

constexpr int kWalkTickMs = 40;

class TMapFm : public ui::Form {
public:
    TMapFm();
    ~TMapFm() override;

    // ---- components
    ui::Image* m_Img;       // the map, 640 x 480
    ui::PopupMenu m_Ppm;    // the open places
    ui::Panel* m_PnlTitle;  // title strip, 36 high
    ui::Image* m_ImgTitle1;
    ui::SpeedButton* m_BtnStatus;
    ui::SpeedButton* m_BtnNote;
    ui::SpeedButton* m_BtnOpt;
    ui::Panel* BcPanel1;  // frame pieces: left, right, bottom
    ui::Panel* BcPanel2;
    ui::Panel* BcPanel3;

    // ---- operations
    void FormShow();
    void FormHide();
    // One step of the walk and a redraw; called by every command-menu step, acts at
    // most every 40 ms and only while the form is visible.
    void WalkTick();
    void GoToPlace(int node);
    void ArriveAtPlace();
    void LayoutForScreen(bool centre);
    void SetupMapScene();
    void ClipView();
    void ClearPlaceMenu();
    void AddPlaceMenuItem(const std::string& big5);

    // ---- event handlers
    void m_ImgMouseDown(ui::MouseButton button, ui::ShiftState shift, int x, int y);
    void m_ImgMouseMove(ui::ShiftState shift, int x, int y);
    void m_ImgClick() {}
    void m_PnlTitleMouseDown(ui::MouseButton button, ui::ShiftState shift, int x, int y);
    void m_BtnStatusClick();
    void m_BtnNoteClick();
    void m_BtnOptClick();
    void OnPlaceMenuClick(const std::string& caption);

    // ---- state
    MapOfLink m_Graph{2};
    PolygonField m_Field;
    std::int32_t m_Land = 0;        // 0 town map, 1 land map
    std::int32_t m_WalkState = 0;   // 0 idle, 1 walking, 2 time being charged
    std::int32_t m_Frame = 0;       // walker animation frame, 0 or 1
    std::int32_t m_X = 0, m_Y = 0;  // walker position (top-left of its cell)
    std::int32_t m_Dx = 0, m_Dy = 0;
    std::int32_t m_StepsLeft = 0;
    std::int32_t m_Facing = 0;  // 0 as drawn (left), 1 mirrored
    std::int32_t m_Dest = 0;    // the node she stands on or walks to
    std::int32_t m_Route[kMaxRouteNodes] = {};
    std::int32_t m_RouteIndex = 0;
    std::uint32_t m_TickCount = 0;  // ticks that did something
    std::uint32_t m_LastTick = 0;
    // The region last hovered on the map now shown; each scene set-up forgets it
    // (kNoRegionHovered), so that the first move on a map shows the hint of the place
    // under the pointer even when the other map's last hovered region had its number.
    static constexpr int kNoRegionHovered = -2;
    static int s_LastRegion;

    // The nodes of the current map that have a name (9 town, 12 land), and a node's
    // hover name or menu name (Big5); empty outside the map's places.
    int PlaceCount() const;
    std::string PlaceName(int node) const;
    std::string PlaceMenuName(int node) const;
    // The hover hint for region `region` of the current map (empty: no change).
    std::string HoverHint(int region) const;
    // The walker's cell drawn over the map picture (the back buffer).
    const ui::Bitmap& BackBuffer() const { return m_Img->Picture(); }
    const ui::Bitmap& MapPicture() const { return m_BmpMap; }
    // Which picture the scene set-up chose ("map_town2.bmp" ...).
    const std::string& MapPictureName() const { return m_PictureName; }

private:
    // One step of the walker; true at the end of the route. `switched` tells that the
    // maps were switched there.
    bool StepWalker(bool& switched);
    void PlanLeg(int node);
    void PlaceWalkerOn(int node);
    void DrawScene();
    void SwitchToLand();
    void SwitchToTown();
    void ClearHintOfOtherMap();
    // The node of the current place, held to the map's nodes.
    int HereNode() const;
    void RunTitleDialog(void (*dialog)(), bool placeMessageWindow);

    ui::Bitmap m_BmpMap;      // the map picture with its marks (24-bit)
    ui::Bitmap m_BmpChr[2];   // walker sheet, as drawn and mirrored, key blackened
    ui::Bitmap m_BmpMask[2];  // their masks: white where the map shows through
    std::string m_PictureName;
};

extern TMapFm* MapFm;

// Builds a sheet for masked drawing from a picture keyed on its top-left colour: the
// sheet (24-bit, key pixels black, mirrored left-right when asked) and its mask
// (white on key pixels, black elsewhere), drawn by mask AND then sheet OR.
void MakeMaskedSheet(const ui::Bitmap& source, bool mirror, ui::Bitmap& sheet, ui::Bitmap& mask);
