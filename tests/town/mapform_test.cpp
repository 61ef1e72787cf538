// The map screen through the real form on the headless back end: the picture chosen
// by season and hour, travel with its charge, the switch between the two maps, the
// night search, the hover hints and the place menu.
#include "town/Mapform.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "platform/Audio.h"
#include "platform/Big5.h"
#include "platform/Files.h"
#include "platform/Screen.h"
#include "platform/Transcript.h"
#include "platform/headless/HeadlessAudio.h"
#include "shop/GameState.h"
#include "story/Register.h"
#include "tests/support/HeadlessApp.h"
#include "tests/support/Scratch.h"
#include "town/Debugformnk.h"
#include "town/EvControler.h"
#include "town/Evsrvfm.h"
#include "town/MapTables.h"
#include "town/Mdpform.h"
#include "town/Srcdbtxtform21.h"

namespace {

// Screen points inside the marks of some places (the mark's top-left + 11).
constexpr ui::Point MarkOf(const MapPlace& p) { return {p.markX + 11, p.markY + 11}; }
constexpr ui::Point kTownShop = MarkOf(kTownPlaces[0]);
constexpr ui::Point kTownSquare = MarkOf(kTownPlaces[3]);
constexpr ui::Point kTownRival = MarkOf(kTownPlaces[2]);
constexpr ui::Point kTownOutskirts = MarkOf(kTownPlaces[8]);
constexpr ui::Point kLandTown = MarkOf(kLandPlaces[0]);
// The crater's mark lies in the rows where the pointer brings the title strip up over a
// full-screen map: it is reached on its name.
constexpr ui::Point kLandCrater{kLandPlaces[6].labelX, kLandPlaces[6].labelY};
constexpr ui::Point kLandForest = MarkOf(kLandPlaces[1]);
constexpr ui::Point kLandHotSpring = MarkOf(kLandPlaces[10]);  // closed at a new game
// A point of both maps that is no place (under the calendar).
constexpr ui::Point kNowhere{600, 120};

class MapFormTest : public test::HeadlessTest {
protected:
    void SetUp() override {
        InitGameState();
        ui::SetAudio(std::make_unique<ui::RecordingAudio>());
        GameFlow = new TEvControler();  // makes the message window, the map and the music form
        ASSERT_NE(MapFm, nullptr);
        DbTxtForm2->m_FaceFolder = "\\col24b\\palFace";
        DbTxtForm2->LoadFaces();
        DbTxtForm2->SetLeft(0);  // out of the way of the places hovered below
        DbTxtForm2->SetTop(0);
        DbTxtForm2->Show();
        ASSERT_TRUE(MdpFm->OpenCdAudio());
        TMapFm::s_LastRegion = 0;
    }
    void TearDown() override {
        delete GameFlow;
        GameFlow = nullptr;
        ui::SetAudio(nullptr);
    }
    void At(int day, int hour) {
        SetGameDay(day);
        SetGameHour(hour);
    }
    void ShowAt(int place) {
        GameFlow->Place = place;
        MapFm->Show();
    }
    // The mouse comes to the point first, as a player's does, so a message window that
    // lies over it gets out of the way.
    void Click(ui::Point p) {
        Hover(p);
        headless.App().DispatchInput({.type = ui::InputType::MouseDown, .x = p.x, .y = p.y});
        headless.App().DispatchInput({.type = ui::InputType::MouseUp, .x = p.x, .y = p.y});
    }
    // A move onto a point that the message window covers makes the window dodge; the
    // map feels the pointer once it is uncovered.
    void Hover(ui::Point p) {
        for (int i = 0; i < 2; ++i)
            headless.App().DispatchInput({.type = ui::InputType::MouseMove, .x = p.x, .y = p.y});
    }
    // Runs the walk ticks (as the command-menu steps do) until she stands still.
    void Walk() {
        for (int i = 0; i < 400 && MapFm->m_WalkState == 1; ++i) {
            headless.Clock().Advance(kWalkTickMs);
            MapFm->WalkTick();
        }
        ASSERT_EQ(MapFm->m_WalkState, 0);
    }
    std::vector<std::string> Messages() { return transcript->Texts("message"); }
    std::string Last(const char* kind) {
        const std::vector<std::string> t = transcript->Texts(kind);
        return t.empty() ? std::string() : t.back();
    }

    ui::ScopedTranscript transcript;
};

TEST_F(MapFormTest, TownPictureFollowsSeasonAndHour) {
    struct Case {
        int day, hour;
        const char* picture;
    } cases[] = {
        {0, 17, "map_town1.bmp"},   // winter, 17:30 reads as hour 17
        {0, 12, "map_town2.bmp"},   // winter day
        {0, 3, "map_town3.bmp"},    // night
        {48, 12, "map_town0.bmp"},  // month 3: spring day
        {192, 9, "map_town1.bmp"},  // month 9: autumn day
        {120, 18, "map_town1.bmp"}, {120, 19, "map_town3.bmp"}, {120, 8, "map_town0.bmp"},
    };
    for (const Case& c : cases) {
        At(c.day, c.hour);
        ShowAt(3);
        EXPECT_EQ(MapFm->MapPictureName(), c.picture) << c.day << " " << c.hour;
        MapFm->Hide();
    }
}

// With the window's layout inside the program's frame, the map arms the message
// window's dodge: it rests at the bottom and gets out of the pointer's way.
TEST_F(MapFormTest, TheMapArmsTheMessageWindowsDodge) {
    for (int place : {0, 32}) {
        DbTxtForm2->m_Dodge = false;
        ShowAt(place);
        EXPECT_TRUE(DbTxtForm2->m_Dodge) << place;
        MapFm->Hide();
    }
}

TEST_F(MapFormTest, ShopRoomsStartAtTheShopsStreetNode) {
    for (int room : {10, 11, 20}) {
        At(30, 10);
        ShowAt(room);
        EXPECT_EQ(GameFlow->Place, 0);
        EXPECT_EQ(MapFm->m_Dest, 0);
        EXPECT_EQ(MapFm->m_Land, 0);
        MapFm->Hide();
    }
}

TEST_F(MapFormTest, ClickingHerOwnNodeEntersWithoutCharge) {
    At(30, 10);
    ShowAt(3);
    Click(kTownSquare);
    EXPECT_FALSE(MapFm->Visible());
    EXPECT_EQ(GameHour(), 10);
    EXPECT_EQ(GameFlow->Place, 3);
    EXPECT_TRUE(EventServerDbg->Visible()) << "the stage shows the square";
}

TEST_F(MapFormTest, TownWalkCostsOneHourAndArrives) {
    At(30, 10);
    ShowAt(0);
    Click(kTownRival);  // two hops away (0 -> 3 -> 2), one hour in town
    EXPECT_EQ(MapFm->m_WalkState, 1);
    EXPECT_EQ(GameHour(), 11);
    EXPECT_EQ(GameFlow->Place, 2);
    Walk();
    EXPECT_FALSE(MapFm->Visible());
    EXPECT_TRUE(EventServerDbg->Visible()) << "the stage shows the rival shop";
    EXPECT_EQ(EventServerDbg->CurrentBackground(), TEventServerDbg::PlaceGrCode(2, 11));
}

TEST_F(MapFormTest, OutskirtsSwitchToTheLandMapAndTheHopsChargeBack) {
    At(60, 10);  // spring
    ShowAt(0);
    Click(kTownOutskirts);
    EXPECT_EQ(GameHour(), 11);
    Walk();
    EXPECT_TRUE(MapFm->Visible()) << "the land map comes up in place of the town";
    EXPECT_EQ(MapFm->m_Land, 1);
    EXPECT_EQ(GameFlow->Place, 32);
    EXPECT_EQ(MapFm->m_Dest, 0);
    EXPECT_EQ(MapFm->MapPictureName(), "map_land0.bmp");
    // The walker stands on the town node of the land map.
    EXPECT_EQ(MapFm->m_X, MapFm->m_Graph.Node(0)->x - 20);
    EXPECT_EQ(MapFm->m_Y, MapFm->m_Graph.Node(0)->y - 32);

    Click(kLandCrater);
    EXPECT_EQ(GameHour(), 14) << "three hops, three hours";
    Walk();
    EXPECT_FALSE(MapFm->Visible());
    EXPECT_EQ(GameFlow->Place, 38);

    MapFm->Show();
    Click(kLandTown);
    EXPECT_EQ(GameHour(), 17);
    Walk();
    EXPECT_TRUE(MapFm->Visible());
    EXPECT_EQ(MapFm->m_Land, 0);
    EXPECT_EQ(GameFlow->Place, 8);
    EXPECT_EQ(MapFm->MapPictureName(), "map_town1.bmp");
}

TEST_F(MapFormTest, StandingOnTheSwitchNodesSwitchesAtOnce) {
    At(30, 10);
    ShowAt(8);
    Click(kTownOutskirts);
    EXPECT_EQ(MapFm->m_Land, 1);
    EXPECT_EQ(GameFlow->Place, 32);
    Click(kLandTown);
    EXPECT_EQ(MapFm->m_Land, 0);
    EXPECT_EQ(GameFlow->Place, 8);
    EXPECT_EQ(GameHour(), 10);
}

TEST_F(MapFormTest, ClosedPlaceTakesNoClickAndNoTime) {
    At(30, 10);
    ShowAt(32);
    Click(kLandHotSpring);
    EXPECT_EQ(MapFm->m_WalkState, 0);
    EXPECT_EQ(GameHour(), 10);
    EXPECT_EQ(GameFlow->Place, 32);
}

TEST_F(MapFormTest, HoverHints) {
    At(30, 10);
    ShowAt(0);
    Hover(kNowhere);
    Hover(kTownRival);
    Hover(kTownShop);
    ShowAt(32);
    MapFm->Hide();
    GameFlow->Place = place::LandTown;
    MapFm->Show();
    Hover(kLandCrater);
    Hover(kLandForest);
    Hover(kLandTown);
    Hover(kLandHotSpring);  // closed: no change
    Hover(kNowhere);
    const std::vector<std::string> want = {
        "到哪兒去好呢？",
        "到微笑魔法店\n需要１個小時",
        "黑貓魔法店",
        "到伊斯特山‧火山口\n需要３小時",
        "到達利姆森林\n需要１小時",
        "鎮上",
        "到哪兒去好呢？",
    };
    EXPECT_EQ(Messages(), want);
}

// A hint belongs to the map it was shown on: after a switch between the maps the
// window no longer names a place of the other map, and a place whose number on the new
// map equals the one last hovered on the old map gets its hint.
TEST_F(MapFormTest, HintsStartAfreshOnEachMap) {
    At(30, 10);
    ShowAt(0);
    Click(kTownOutskirts);
    ASSERT_EQ(Last("message"), "到郊外\n需要１個小時");
    Walk();
    ASSERT_EQ(MapFm->m_Land, 1);
    EXPECT_EQ(Last("message"), "到哪兒去好呢？") << "the town's hint stays on the land map";
    Hover(MarkOf(kLandPlaces[8]));  // the lake: region 8, as the outskirts were in town
    EXPECT_EQ(Last("message"), "到澄淨湖\n需要２小時");
    Click(kLandTown);
    Walk();
    ASSERT_EQ(MapFm->m_Land, 0);
    EXPECT_EQ(Last("message"), "到哪兒去好呢？");
    Hover(kTownShop);  // region 0, as the town node on the land map
    EXPECT_EQ(Last("message"), "到黑貓魔法店\n需要１個小時");
    // A map shown again feels the place under the pointer, whatever was hovered last.
    const std::size_t shown = Messages().size();
    MapFm->Hide();
    GameFlow->Place = place::Outskirts;
    MapFm->Show();
    Hover(kTownShop);
    EXPECT_EQ(Messages().size(), shown + 1) << "the hint of the place under the pointer";
}

// The map's buttons are named as the shop's top bar names the same dialogs.
TEST_F(MapFormTest, TitleButtonsAreNamedAsTheShopsBar) {
    EXPECT_EQ(ui::Big5ToUtf8(MapFm->m_BtnStatus->Caption()), "狀態");
    EXPECT_EQ(ui::Big5ToUtf8(MapFm->m_BtnNote->Caption()), "記事本");
    EXPECT_EQ(ui::Big5ToUtf8(MapFm->m_BtnOpt->Caption()), "選項");
}

TEST_F(MapFormTest, NightSearchOnTheLandMap) {
    At(30, 22);
    EventServerDbg->SetFlg(flag::NightSearch, true);
    ShowAt(33);
    EXPECT_EQ(MapFm->MapPictureName(), "map_land3.bmp");
    EXPECT_EQ(Last("music"), "track 20 loop");
    Hover(kNowhere);
    EXPECT_EQ(Last("message"), "該找什麼地方好呢？");
    Click(kLandTown);
    EXPECT_EQ(MapFm->m_WalkState, 0);
    EXPECT_EQ(GameHour(), 22);
    EXPECT_EQ(Last("face"), "1");
    EXPECT_EQ(Last("message"), "緹菈「鎮上就交給可可特去找吧。\n我還是到郊外去……。");
}

TEST_F(MapFormTest, MusicAndMarksOfTheTwoMaps) {
    At(30, 12);  // month 2, winter
    ShowAt(3);
    EXPECT_EQ(Last("music"), "track 10 loop");
    EXPECT_EQ(Last("sound"), "Syspar16.wav");  // sound 56 (41 is Syspar01)
    MapFm->Hide();
    ShowAt(40);
    EXPECT_EQ(Last("music"), "track 11 loop");
    EXPECT_EQ(MapFm->MapPictureName(), "map_land2.bmp");
    // The mark of an open place is drawn; a closed place keeps the bare picture.
    ui::Bitmap bare;
    EXPECT_NE(MapFm->MapPicture().GetPixel(kLandTown.x, kLandTown.y),
              MapFm->MapPicture().GetPixel(kLandHotSpring.x, kLandHotSpring.y));
}

TEST_F(MapFormTest, PlaceMenuListsTheOpenPlacesAndTravels) {
    At(30, 10);
    ShowAt(32);
    std::vector<std::string> items;
    for (int i = 0; i < MapFm->m_Ppm.Items.Count(); ++i)
        items.push_back(ui::Big5ToUtf8(MapFm->m_Ppm.Items.Item(i)->Caption));
    const std::vector<std::string> want = {"鎮上",     "森林裡", "森林之泉", "瀑布",
                                           "洞窟入口", "山路",   "火山口",   "大木（周圍是原野）",
                                           "湖泊",     "沙灘"};
    EXPECT_EQ(items, want);
    MapFm->m_Ppm.Items.Item(1)->Click();
    EXPECT_EQ(GameHour(), 11);
    EXPECT_EQ(GameFlow->Place, 33);
}

TEST_F(MapFormTest, PlacePastTheMapsNodesStartsAtNodeZero) {
    At(30, 10);
    ShowAt(31);
    EXPECT_EQ(MapFm->m_Dest, 0);
    EXPECT_EQ(MapFm->m_X, MapFm->m_Graph.Node(0)->x - 20);
    Click(kTownRival);  // the route starts at node 0 too
    EXPECT_EQ(MapFm->m_WalkState, 1);
    EXPECT_EQ(GameFlow->Place, 2);
}

// The hidden press on the title strip: another button than the left with Shift and Alt
// held, at 295..303 x 10..18, shows the developer's debug window.
TEST_F(MapFormTest, ShiftAltPressOnTheStripShowsTheDebugWindow) {
    std::unique_ptr<TDbgFm> own;
    if (!DbgFm) {
        own = std::make_unique<TDbgFm>();
        DbgFm = own.get();
    }
    DbgFm->Hide();
    At(30, 10);
    headless.App().GetScreen().Resize(648, 520);  // the window mode, where the strip shows
    MapFm->LayoutForScreen(true);
    ShowAt(3);
    const ui::Point at = MapFm->m_PnlTitle->ClientToScreen({299, 14});
    auto press = [&](ui::MouseButton b, ui::ShiftState s, ui::Point p) {
        headless.App().DispatchInput(
            {.type = ui::InputType::MouseDown, .x = p.x, .y = p.y, .button = b, .shift = s});
        headless.App().DispatchInput(
            {.type = ui::InputType::MouseUp, .x = p.x, .y = p.y, .button = b, .shift = s});
    };
    press(ui::MouseButton::mbRight, ui::ssShift, at);                             // Alt missing
    press(ui::MouseButton::mbRight, ui::ssShift | ui::ssAlt, {at.x + 20, at.y});  // off the spot
    EXPECT_FALSE(DbgFm->Visible());
    press(ui::MouseButton::mbRight, ui::ssShift | ui::ssAlt, at);
    EXPECT_TRUE(DbgFm->Visible());
    DbgFm->Hide();
    if (own) DbgFm = nullptr;
    headless.App().GetScreen().Resize(640, 480);
}

TEST_F(MapFormTest, RefusesToClose) {
    At(30, 10);
    ShowAt(3);
    MapFm->Close();
    EXPECT_TRUE(MapFm->Visible());
}

// The screen as a player sees it, written for a look when MAP_SCREENSHOT names a file.
TEST_F(MapFormTest, ScreenShowsTheMapWithTheWalker) {
    At(60, 11);
    ShowAt(0);
    Hover(kTownSquare);
    headless.Clock().Advance(kWalkTickMs);
    MapFm->WalkTick();
    headless.RunFor(500);
    if (const char* path = std::getenv("MAP_SCREENSHOT"))
        ui::WritePng(path, headless.App().GetScreen());
    // The walker stands over the shop's mark: her hat's dark purple is there.
    const ui::Bitmap& back = MapFm->BackBuffer();
    EXPECT_NE(back.GetPixel(kTownShop.x, kTownShop.y - 24),
              MapFm->MapPicture().GetPixel(kTownShop.x, kTownShop.y - 24));
}

// A map pack cut short or zeroed shows a blank map; the player is told which file is
// damaged (once a run), as a missing file is named.
TEST(MapFormDamagedPack, TheDamagedFileIsNamed) {
    namespace fs = std::filesystem;
    const fs::path game = ui::DefaultGameFolder();
    const fs::path pack = game / "col24b" / "mapPack" / "mapPack.pak";
    const auto size = fs::file_size(pack);
    for (const char* damage : {"cut", "zeroed"}) {
        SCOPED_TRACE(damage);
        // The game folder seen through links, but for a damaged copy of the map pack.
        const fs::path dir = test::ScratchDir(std::string("map_damaged_") + damage);
        for (const fs::directory_entry& e : fs::directory_iterator(game))
            if (e.path().filename() != "col24b")
                fs::create_symlink(e.path(), dir / e.path().filename());
        fs::create_directories(dir / "col24b" / "mapPack");
        for (const char* sub : {"evpack", "palFace"})
            fs::create_symlink(game / "col24b" / sub, dir / "col24b" / sub);
        std::vector<char> bytes(size);
        std::ifstream(pack, std::ios::binary)
            .read(bytes.data(), static_cast<std::streamsize>(size));
        if (std::string(damage) == "cut")
            bytes.resize(size / 2);
        else
            std::fill(bytes.begin(), bytes.end(), 0);
        std::ofstream(dir / "col24b" / "mapPack" / "mapPack.pak", std::ios::binary)
            .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));

        test::HeadlessApp headless;
        std::vector<std::string> boxes;
        headless.Backend().SetMessageBoxResponder([&](const ui::MessageBoxRequest& r) {
            boxes.push_back(ui::Big5ToUtf8(r.text));
            return ui::IDOK;
        });
        ui::SetProgramFolder(dir.string());
        ui::SetAudio(std::make_unique<ui::RecordingAudio>());
        InitGameState();
        GameFlow = new TEvControler();
        GameFlow->Place = place::ShopFront;
        MapFm->Show();
        MapFm->Hide();
        MapFm->Show();
        delete GameFlow;
        GameFlow = nullptr;
        ui::SetAudio(nullptr);
        ui::SetProgramFolder(game.string());
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].rfind("檔案已經損壞\ncol24b\\mapPack\\mapPack.pak", 0), 0u) << boxes[0];
    }
}

}  // namespace
