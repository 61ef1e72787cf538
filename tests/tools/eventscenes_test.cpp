// The event pictures are drawn from a table of what each one shows. Every picture that
// a story event shows has its row, and the row names the events that show it; the
// test also lays every event picture out on one contact sheet (event_pictures.png in
// the test build folder, with each picture's number and events under it) to look at.
#include "tools/mkgamedata/EventScenes.h"

#include <gtest/gtest.h>

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
