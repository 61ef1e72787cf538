// The event pictures are drawn from a table of what each one shows. Every picture that
// a story event shows has its row, and the row names the events that show it; the
// test also lays every event picture out on one contact sheet (event_pictures.png in
// the test build folder, with each picture's number and events under it) to look at.
// What a scene is about stands above the message window's resting place (its page's
// top at y 340 of the stage): the named scenes' people, the backgrounds' subjects and
// the characters' figures.
#include "tools/mkgamedata/EventScenes.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/Screen.h"
#include "story/Dialogue.h"
#include "tools/mkgamedata/Art.h"
#include "tools/mkgamedata/PictureWriter.h"
#include "tools/mkgamedata/Scenery.h"
#include "town/EvPictures.h"

namespace {

using mkgamedata::EventSceneRow;
using mkgamedata::FindEventSceneRow;

constexpr int kEventKind = 3;
constexpr int kEventPictures = 50;

// The prince's ending picture, which the ending's code picks by who was lost
// (EvEnding001), rather than the story's texts.
const std::map<int, std::string> kShownByCode = {
    {0x323, "EvEnding001"}, {0x328, "EvEnding001"}, {0x329, "EvEnding001"}, {0x32A, "EvEnding001"}};

bool ShowsPicture(story::StepKind k) {
    using K = story::StepKind;
    return k == K::Picture || k == K::Dissolve || k == K::SetPicture || k == K::DissolveTo ||
           k == K::WhiteIn;
}

// Event picture number -> the scenes ("Ev:scene") of the story's texts that show it.
std::map<int, std::set<std::string>> ShownByTexts() {
    std::map<int, std::set<std::string>> shown;
    for (const story::Scene& sc : story::Scenes())
        for (const story::Step& st : sc.steps)
            if (ShowsPicture(st.kind) && (st.a >> 8) == kEventKind)
                shown[st.a & 0xFF].insert(sc.key);
    for (const auto& [code, event] : kShownByCode) shown[code & 0xFF].insert(event + ":main");
    return shown;
}

TEST(EventScenesTest, EveryPictureTheStoryShowsHasARowNamingItsEvents) {
    ASSERT_TRUE(story::DialogueErrors().empty());
    const auto shown = ShownByTexts();
    ASSERT_GE(shown.size(), 45u) << "the story's texts were not read";
    for (const auto& [index, scenes] : shown) {
        EXPECT_LT(index, kEventPictures) << "picture " << index << " is no event picture";
        const EventSceneRow* row = FindEventSceneRow(index);
        ASSERT_NE(row, nullptr) << "event picture " << index << " has no row";
        for (const std::string& key : scenes) {
            const std::string event = key.substr(0, key.find(':'));
            // Scenes shared by several events (Fele:song ...) name no event of their own.
            if (event.rfind("Ev", 0) != 0) continue;
            EXPECT_NE(std::string(row->shownBy).find(event), std::string::npos)
                << "picture " << index << " is shown by " << key << ", which its row omits";
        }
    }
}

TEST(EventScenesTest, RowsAreWholeAndFitTheStage) {
    std::set<int> seen;
    for (const EventSceneRow& r : mkgamedata::EventSceneRows()) {
        EXPECT_TRUE(seen.insert(r.index).second) << "two rows for picture " << r.index;
        EXPECT_GE(r.index, 0);
        EXPECT_LT(r.index, kEventPictures);
        EXPECT_STRNE(r.shownBy, "");
        EXPECT_STRNE(r.what, "");
        for (const mkgamedata::SceneFigure& f : r.figures) {
            EXPECT_GT(f.scale, 0.2) << r.index;
            EXPECT_LE(f.scale, 1.5) << r.index;
            EXPECT_GE(f.x, 0) << r.index;
            EXPECT_LT(f.x, 640) << r.index;
        }
    }
    for (int i = 0; i < kEventPictures; ++i) EXPECT_TRUE(seen.count(i)) << "picture " << i;
}

// Two rows that name different moments draw different pictures: no picture stands in
// for another's scene.
TEST(EventScenesTest, EachRowDrawsItsOwnPicture) {
    std::map<std::vector<std::uint8_t>, int> drawn;
    for (const EventSceneRow& r : mkgamedata::EventSceneRows()) {
        const mkgamedata::Picture p = mkgamedata::EventScene(r.index);
        ASSERT_EQ(p.Width(), 640);
        ASSERT_EQ(p.Height(), 480);
        const auto [it, fresh] = drawn.emplace(p.Pixels(), r.index);
        EXPECT_TRUE(fresh) << "pictures " << it->second << " and " << r.index << " are the same";
    }
}

constexpr int kWindowTop = 340;  // the message window's page, resting on the stage

// The stage height of a figure's row (of its 400: its head's middle is row 92), by pose.
double RowOnStage(const mkgamedata::SceneFigure& f, int row) {
    using mkgamedata::Pose;
    const double k = f.scale;
    switch (f.pose) {
        case Pose::Sit:
        case Pose::Fly:
        case Pose::Fallen:
            return f.base - 24 * k - (264 - row) * k;
        case Pose::Close:
            return f.base - (250 - row) * k;
        case Pose::InBed:
            return f.base - (150 - row) * k;
        case Pose::Lie:
            return f.base - 50 * k;  // lying on her side: the head a little above the ground
        default:
            return f.base - (400 - row) * k;
    }
}

// The scenes a player named as not showing their moment: everyone's face is above the
// window, and whoever is down (fallen, lying, sitting, in bed) is down above it too.
TEST(EventScenesTest, TheNamedScenesStandAboveTheMessageWindow) {
    using mkgamedata::Pose;
    for (int index : {9, 13, 15, 17, 21, 29}) {
        const EventSceneRow* row = FindEventSceneRow(index);
        ASSERT_NE(row, nullptr) << index;
        for (const mkgamedata::SceneFigure& f : row->figures) {
            EXPECT_LT(RowOnStage(f, 92), kWindowTop - 40) << "picture " << index;
            if (f.pose != Pose::Stand && f.pose != Pose::Close) {
                EXPECT_LE(f.base, kWindowTop)
                    << "picture " << index << " puts someone down under the window";
            }
        }
    }
    // The potion is held by the bedside: the heroine's hands near 芙蘿蕾's face, whose
    // eyes are shut.
    const EventSceneRow* potion = FindEventSceneRow(29);
    ASSERT_EQ(potion->figures.size(), 2u);
    const mkgamedata::SceneFigure& flo = potion->figures[0];
    const mkgamedata::SceneFigure& heroine = potion->figures[1];
    EXPECT_EQ(flo.face, mkgamedata::kEyesShut);
    ASSERT_GE(heroine.reachX, 0) << "the flask floats: nobody holds it";
    EXPECT_LT(std::abs(heroine.reachX - flo.x), 80);
    EXPECT_LT(std::abs(heroine.reachY - RowOnStage(flo, 92)), 60);
    // The fall over the root: her hands on her ankle, the root by her foot.
    const EventSceneRow* fall = FindEventSceneRow(17);
    ASSERT_EQ(fall->figures.size(), 1u);
    EXPECT_EQ(fall->figures[0].pose, Pose::Fallen);
    EXPECT_GE(fall->figures[0].reachX, fall->figures[0].x);
}

// Colour index counts of a picture in a box.
int CountIn(const mkgamedata::Picture& p, std::uint8_t c, int x0, int y0, int x1, int y1) {
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) n += p.Get(x, y) == c;
    return n;
}

TEST(EventScenesTest, BackgroundSubjectsStandAboveTheWindowAndBesideTheMiddleFigure) {
    using mkgamedata::Cube;
    using mkgamedata::Hour;
    // The forest spring's water lies above the window.
    const mkgamedata::Picture spring = mkgamedata::LandScene(34, Hour::Day);
    const std::uint8_t water = Cube(2, 4, 5);
    const int above = CountIn(spring, water, 0, 180, 640, kWindowTop);
    const int below = CountIn(spring, water, 0, kWindowTop, 640, 480);
    EXPECT_GT(above, 20000);
    EXPECT_LT(below, above / 20) << "the pond lies under the message window";
    // The mixing room's cauldron stands clear of the middle figure (x 220..420).
    const mkgamedata::Picture mixing = mkgamedata::TownScene(11, Hour::Day);
    const std::uint8_t iron = Cube(1, 1, 1), brew = Cube(1, 4, 1);
    EXPECT_EQ(CountIn(mixing, iron, 220, 80, 420, 300) + CountIn(mixing, brew, 220, 80, 420, 300),
              0);
    EXPECT_GT(CountIn(mixing, iron, 0, 0, 640, kWindowTop), 3000) << "no cauldron";
}

// Characters' figures stand on the stage's bottom edge (top at 480 - 400 = 80): the
// face and shoulders are above the window, and 黑皮 reads as a cat, not a black blob.
TEST(EventScenesTest, FiguresShowTheirFaceAboveTheWindowAndTheCatHisShape) {
    using mkgamedata::kSkin;
    constexpr std::uint8_t kKey = mkgamedata::Cube(5, 0, 5);
    constexpr int kTopOnStage = 80, kWindowRow = kWindowTop - kTopOnStage;
    for (int pose : {5, 8, 12, 23, 35, 43}) {  // 斐爾, the prince, 蕾妮特, 可可特, ...
        const mkgamedata::Picture f =
            mkgamedata::FigureScene(pose, PictureCaption(PictureCode(kFigureKind, pose)), kKey);
        ASSERT_EQ(f.Height(), 400);
        int skinAbove = 0, skinBelow = 0;
        for (int y = 0; y < f.Height(); ++y)
            for (int x = 0; x < f.Width(); ++x)
                if (f.Get(x, y) == kSkin) ++(y < kWindowRow ? skinAbove : skinBelow);
        // The face is large and wholly above; hands, if any, may be below.
        EXPECT_GE(skinAbove, 4400) << "figure " << pose;
    }
    const mkgamedata::Picture cat = mkgamedata::FigureScene(0, "", kKey);
    int edge = 0, inked = 0, eyesAbove = 0;
    for (int y = 1; y + 1 < cat.Height(); ++y)
        for (int x = 1; x + 1 < cat.Width(); ++x) {
            const std::uint8_t c = cat.Get(x, y);
            if (c == kKey) continue;
            if (c == mkgamedata::Cube(4, 5, 1)) eyesAbove += y < kWindowRow;
            const bool onEdge = cat.Get(x - 1, y) == kKey || cat.Get(x + 1, y) == kKey ||
                                cat.Get(x, y - 1) == kKey || cat.Get(x, y + 1) == kKey;
            if (!onEdge) continue;
            ++edge;
            inked += c == mkgamedata::kInk;
        }
    EXPECT_LT(inked * 5, edge) << "黑皮's outline is lost against the dark";
    EXPECT_GE(eyesAbove, 400) << "黑皮's eyes are under the window";
}

bool WritePicturePng(const mkgamedata::Picture& p, const std::string& path) {
    const std::vector<RGBQUAD> pal = mkgamedata::GeneratedPalette();
    std::vector<std::uint32_t> rgb;
    for (std::uint8_t c : p.Pixels())
        rgb.push_back(std::uint32_t(pal[c].rgbRed) << 16 | pal[c].rgbGreen << 8 | pal[c].rgbBlue);
    return ui::WritePng(path, rgb.data(), p.Width(), p.Height(), p.Width());
}

// The contact sheet: every event picture at a quarter of its size, its number and the
// events that show it underneath; and each picture whole, in event_pictures/.
TEST(EventScenesTest, WritesTheContactSheet) {
    const std::string dir = std::string(LUMIA_BINARY_DIR) + "/event_pictures";
    std::filesystem::create_directories(dir);
    constexpr int kCols = 8, kCellW = 160, kPicH = 120, kCellH = kPicH + 30;
    const int rows = (kEventPictures + kCols - 1) / kCols;
    mkgamedata::Picture sheet(kCols * kCellW, rows * kCellH, mkgamedata::kWhite);
    for (const EventSceneRow& r : mkgamedata::EventSceneRows()) {
        const mkgamedata::Picture p = mkgamedata::EventScene(r.index);
        EXPECT_TRUE(WritePicturePng(p, dir + "/" + std::to_string(r.index) + ".png"));
        const int cx = (r.index % kCols) * kCellW, cy = (r.index / kCols) * kCellH;
        for (int y = 0; y < kPicH; ++y)
            for (int x = 0; x < kCellW - 4; ++x) sheet.Set(cx + 2 + x, cy + y, p.Get(x * 4, y * 4));
        const std::string label = std::to_string(r.index) + " " + r.shownBy;
        sheet.Text(cx + 2, cy + kPicH + 2, label.substr(0, 30), 10, mkgamedata::kInk);
        if (label.size() > 30)
            sheet.Text(cx + 2, cy + kPicH + 15, label.substr(30, 30), 10, mkgamedata::kInk);
    }
    EXPECT_TRUE(WritePicturePng(sheet, std::string(LUMIA_BINARY_DIR) + "/event_pictures.png"));
}

}  // namespace
