// A player's ways through the real program, played by input scripts of tests/scripts:
// keys in a scene (scene_keys.txt): Space after a click on the picture leaves the scene
// answering 繼續, and Space and Return each answer one line, from the first on; the
// places under the message window on the maps (map_places_under_window.txt), reached
// by a left click once the window has dodged the pointer; the README's example
// (first_hour.txt), from the start to the shop and an hour on; and where every script
// writes its pictures.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Transcript.h"
#include "platform/headless/InputScript.h"
#include "shop/Main.h"
#include "shop/Shop.h"
#include "tests/support/HeadlessApp.h"
#include "tests/support/ScriptedGame.h"
#include "town/MapTables.h"
#include "town/Mapform.h"
#include "town/Srcdbtxtform21.h"

namespace {

// Run from the checkout as the README shows, a script's pictures go into the build
// folder, which git ignores, never into the folder it is run from.
TEST(PlayerScripts, EveryScriptWritesItsPicturesIntoTheBuildFolder) {
    int scripts = 0;
    for (const auto& e :
         std::filesystem::directory_iterator(std::string(LUMIA_SOURCE_DIR) + "/tests/scripts")) {
        if (e.path().extension() != ".txt") continue;
        ++scripts;
        std::ifstream in(e.path());
        std::stringstream text;
        text << in.rdbuf();
        std::vector<ui::ScriptCommand> commands;
        std::string error;
        ASSERT_TRUE(ui::ParseInputScript(text.str(), commands, error)) << e.path() << error;
        for (const ui::ScriptCommand& c : commands) {
            if (c.kind != ui::ScriptCommand::Kind::Screenshot) continue;
            EXPECT_EQ(c.text.rfind("build/", 0), 0u)
                << e.path().filename() << " line " << c.line << ": " << c.text;
        }
    }
    EXPECT_GT(scripts, 0);
}

using SceneKeysScriptTest = test::ScriptedGameTest;

TEST_F(SceneKeysScriptTest, SpaceOnThePictureLeavesTheSceneGoingAndKeysAnswerLines) {
    ui::ScopedTranscript transcript;
    CreateStartupForms();
    EXPECT_EQ(test::PlayScript(headless, test::ReadScript("scene_keys.txt", dir)), 0);
    // Four lines answered (two clicks, Space, Return): the fifth waits when the script
    // stops.
    std::vector<std::string> lines;
    for (const ui::TranscriptEntry& e : transcript->Entries()) {
        if (e.kind == "input" && e.text == "stop") break;
        if (e.kind == "line") lines.push_back(e.text);
    }
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[4].substr(0, lines[4].find('\n')), "緹菈「啦啦～月光草兩把，星星砂一小匙，");
}

// Space and Return answer a scene's lines from its very first one, before 繼續 has
// ever been clicked, one line a key.
TEST_F(SceneKeysScriptTest, KeysAnswerLinesFromTheFirstOne) {
    ui::ScopedTranscript transcript;
    CreateStartupForms();
    const std::string script =
        "@100 click 320 200\n@200 click 320 200\n@500 click 320 200\n+300 click 321 392\n"
        "+2400 key space\n+1000 key return\n+1000 key space\n+1000 stop\n";
    EXPECT_EQ(test::PlayScript(headless, script), 0);
    std::vector<std::string> lines;
    for (const ui::TranscriptEntry& e : transcript->Entries()) {
        if (e.kind == "input" && e.text == "stop") break;
        if (e.kind == "line") lines.push_back(e.text.substr(0, e.text.find('\n')));
    }
    // Three keys, three lines answered: the fourth waits when the script stops.
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[3], "緹菈『從今天起的這一年，");
}

using MapPlacesScriptTest = test::ScriptedGameTest;

TEST_F(MapPlacesScriptTest, PlacesUnderTheMessageWindowTakeALeftClick) {
    ui::ScopedTranscript transcript;
    CreateStartupForms();
    EXPECT_EQ(test::PlayScript(headless, test::ReadScript("map_places_under_window.txt", dir)), 0);
    EXPECT_EQ(transcript->Texts("travel"),
              (std::vector<std::string>{"微笑魔法店 1h", "郊外 1h", "沙灘 1h"}));
    // Each of them lies where the window rests at the bottom of the map (the place the
    // map stored for it): the window dodged the pointer.
    ASSERT_NE(MapFm, nullptr);
    ASSERT_NE(DbTxtForm2, nullptr);
    const ui::Rect window = ui::Bounds(DbTxtForm2->m_DodgeA.x, DbTxtForm2->m_DodgeA.y,
                                       DbTxtForm2->Width(), DbTxtForm2->Height());
    const ui::Point picture = MapFm->m_Img->ClientToScreen(ui::Point{0, 0});
    const auto find = [](const auto& places, std::string_view name) {
        for (const MapPlace& p : places)
            if (name == p.name) return p;
        ADD_FAILURE() << name;
        return MapPlace{};
    };
    for (const MapPlace& place :
         {find(kTownPlaces, "微笑魔法店"), find(kTownPlaces, "郊外"), find(kLandPlaces, "沙灘")}) {
        const int x = picture.x + place.markX + kMarkSize / 2;
        const int y = picture.y + place.markY + kMarkSize / 2;
        EXPECT_TRUE(window.Contains(x, y)) << place.name;
    }
}

using FirstHourScriptTest = test::ScriptedGameTest;

TEST_F(FirstHourScriptTest, TheReadmesExampleLooksAtTheShopAndAnHourLater) {
    ui::ScopedTranscript transcript;
    CreateStartupForms();
    EXPECT_EQ(test::PlayScript(headless, test::ReadScript("first_hour.txt", dir)), 0);
    // The hours the pictures were taken at.
    std::vector<std::string> seen;
    std::string hour;
    for (const ui::TranscriptEntry& e : transcript->Entries()) {
        if (e.kind == "hour") hour = e.text;
        if (e.kind == "input" && e.text.rfind("screenshot", 0) == 0) seen.push_back(hour);
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"day 0 09:00", "day 0 10:00"}));
    ASSERT_NE(ShopForm, nullptr);
    EXPECT_TRUE(ShopForm->Visible());
    EXPECT_TRUE(ShopForm->IsShopOpen());
    for (const char* png : {"shop.png", "next-hour.png"})
        EXPECT_TRUE(std::filesystem::exists(dir + "/" + png)) << png;
}

}  // namespace
