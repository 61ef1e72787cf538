#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/Application.h"
#include "platform/Transcript.h"
#include "platform/headless/InputScript.h"
#include "tests/support/HeadlessApp.h"

namespace {

using ui::InputType;
using ui::ScriptCommand;

std::vector<ScriptCommand> Parse(const std::string& text) {
    std::vector<ScriptCommand> out;
    std::string error;
    EXPECT_TRUE(ui::ParseInputScript(text, out, error)) << error;
    return out;
}

std::string ParseError(const std::string& text) {
    std::vector<ScriptCommand> out{ScriptCommand{}};
    std::string error;
    EXPECT_FALSE(ui::ParseInputScript(text, out, error)) << text;
    EXPECT_EQ(out.size(), 1u) << "a failed parse returns nothing";
    return error;
}

TEST(InputScriptParse, TimesAreRelativeAbsoluteOrWaited) {
    const auto c = Parse(
        "# comment only\n"
        "\n"
        "click 1 2\n"
        "+100 click 3 4   # trailing comment\n"
        "wait 50\n"
        "+25 key A\n"
        "@1000 move 5 6\n"
        "wait 10\n"
        "answer yes\n"
        "+5 stop\n");
    ASSERT_EQ(c.size(), 6u);
    const std::vector<std::uint32_t> after = {0, 100, 75, 825, 0, 15};
    for (std::size_t i = 0; i < c.size(); ++i) EXPECT_EQ(c[i].afterMs, after[i]) << i;
    EXPECT_EQ(c[4].kind, ScriptCommand::Kind::Answer);
    EXPECT_EQ(c[4].answer, ui::IDYES);
    EXPECT_EQ(c[5].kind, ScriptCommand::Kind::Stop);
    EXPECT_EQ(c[0].line, 3);
    EXPECT_EQ(c[1].text, "click 3 4");
}

TEST(InputScriptParse, MouseCommandsMakeTheirEvents) {
    const auto c = Parse(
        "click 10 20 right shift\n"
        "dblclick 7 8\n"
        "drag 1 2 30 40\n"
        "press 5 5 middle\n"
        "release 5 5 middle\n");
    ASSERT_EQ(c.size(), 5u);
    ASSERT_EQ(c[0].events.size(), 3u);
    EXPECT_EQ(c[0].events[0].type, InputType::MouseMove);
    EXPECT_EQ(c[0].events[1].type, InputType::MouseDown);
    EXPECT_EQ(c[0].events[1].button, ui::MouseButton::mbRight);
    EXPECT_EQ(c[0].events[1].shift, ui::ssShift | ui::ssRight);
    EXPECT_EQ(c[0].events[2].type, InputType::MouseUp);
    EXPECT_EQ(c[0].events[2].x, 10);
    EXPECT_EQ(c[0].events[2].y, 20);

    ASSERT_EQ(c[1].events.size(), 5u);
    EXPECT_EQ(c[1].events[3].type, InputType::DoubleClick);
    EXPECT_TRUE(c[1].events[3].shift & ui::ssDouble);

    ASSERT_EQ(c[2].events.size(), 4u);
    EXPECT_EQ(c[2].events[1].x, 1);
    EXPECT_EQ(c[2].events[2].type, InputType::MouseMove);
    EXPECT_EQ(c[2].events[2].x, 30);
    EXPECT_TRUE(c[2].events[2].shift & ui::ssLeft);
    EXPECT_EQ(c[2].events[3].y, 40);

    ASSERT_EQ(c[3].events.size(), 2u);
    EXPECT_EQ(c[3].events[1].type, InputType::MouseDown);
    EXPECT_EQ(c[4].events[1].type, InputType::MouseUp);
}

TEST(InputScriptParse, KeysAndTypedText) {
    const auto c = Parse("key Escape\nkey q ctrl\nkey F5\ntype Ab 1!\n");
    ASSERT_EQ(c.size(), 4u);
    ASSERT_EQ(c[0].events.size(), 2u);  // no character for Escape
    EXPECT_EQ(c[0].events[0].key, ui::vk::Escape);
    ASSERT_EQ(c[1].events.size(), 2u);  // none with Ctrl either
    EXPECT_EQ(c[1].events[0].key, 'Q');
    EXPECT_EQ(c[1].events[0].shift, ui::ssCtrl);
    EXPECT_EQ(c[2].events[0].key, ui::vk::F1 + 4);
    std::string typed;
    for (const auto& e : c[3].events)
        if (e.type == InputType::Char) typed += e.ch;
    EXPECT_EQ(typed, "Ab 1!");
    EXPECT_EQ(c[3].events[0].shift, ui::ssShift);  // the capital A
}

TEST(InputScriptParse, FaultsNameTheLine) {
    struct Case {
        const char* text;
        const char* says;
    };
    const Case cases[] = {
        {"click 1\n", "line 1: expected a point"},
        {"\n\nfly 1 2\n", "line 3: unknown command"},
        {"@500 click 1 1\n@100 click 2 2\n", "line 2: @100 lies before"},
        {"key Hyper\n", "unknown key"},
        {"+x click 1 1\n", "bad time"},
        {"+100\n", "needs a command"},
        {"wait\n", "wait takes milliseconds"},
        {"answer maybe\n", "answer takes"},
        {"click 1 2 sideways\n", "unexpected \"sideways\""},
        {"screenshot\n", "screenshot takes"},
        {"click 99999 1\n", "expected a point"},
        {"@2147483647 click 1 1\n+1 click 1 1\n", "runs too long"},
    };
    for (const Case& k : cases) {
        const std::string error = ParseError(k.text);
        EXPECT_NE(error.find(k.says), std::string::npos) << k.text << " -> " << error;
    }
}

class InputScriptPlay : public test::HeadlessTest {};

TEST_F(InputScriptPlay, InputArrivesAtItsVirtualTimes) {
    std::vector<std::pair<std::uint32_t, InputType>> seen;
    headless.App().OnInput = [&](const ui::InputEvent& e) {
        seen.push_back({headless.Now(), e.type});
    };
    ui::ScopedTranscript transcript;
    ui::InputScriptPlayer player(headless.Backend());
    player.Play(Parse("+100 click 5 6\n@400 key Space\n+50 stop\n"));
    headless.RunUntil([] { return false; });
    ASSERT_EQ(seen.size(), 6u);  // three for the click, three for the key
    EXPECT_EQ(seen[0], std::make_pair(100u, InputType::MouseMove));
    EXPECT_EQ(seen[2], std::make_pair(100u, InputType::MouseUp));
    EXPECT_EQ(seen[3], std::make_pair(400u, InputType::KeyDown));
    EXPECT_EQ(seen[4].second, InputType::Char);
    EXPECT_EQ(seen[5].second, InputType::KeyUp);
    EXPECT_TRUE(headless.App().Terminated());
    EXPECT_EQ(headless.Now(), 450u);
    const std::vector<std::string> want = {"100 input click 5 6", "400 input key Space",
                                           "450 input stop"};
    EXPECT_EQ(transcript->Lines(), want);
}

TEST_F(InputScriptPlay, AnswersGoToTheBoxesInOrderThenTheHarmlessOne) {
    std::vector<int> answers;
    headless.App().OnInput = [&](const ui::InputEvent& e) {
        if (e.type == InputType::KeyDown) {
            answers.push_back(headless.App().MessageBox("q", "c", ui::MB_YESNO));
            answers.push_back(headless.App().MessageBox("q", "c", ui::MB_RETRYCANCEL));
            answers.push_back(headless.App().MessageBox("q", "c", ui::MB_YESNO));
        }
    };
    ui::InputScriptPlayer player(headless.Backend());
    player.Play(Parse("answer no\n+10 answer retry\nkey A\nstop\n"));
    headless.RunUntil([] { return false; });
    EXPECT_EQ(answers, (std::vector<int>{ui::IDNO, ui::IDRETRY, ui::IDNO}));
}

TEST_F(InputScriptPlay, ScreenshotComesAfterTheInputBeforeIt) {
    const std::string dir = test::ScratchDir("input_script_shot");
    const std::string file = dir + "/shot.png";
    bool clicked = false;
    bool clickedBeforeShot = false;
    headless.App().OnInput = [&](const ui::InputEvent& e) {
        if (e.type == InputType::MouseUp) clicked = true;
    };
    headless.App().OnPaint = [&](ui::Screen&) { clickedBeforeShot = clicked; };
    ui::InputScriptPlayer player(headless.Backend());
    player.Play(Parse("+20 click 1 1\nscreenshot " + file + "\nstop\n"));
    headless.RunUntil([] { return false; });
    EXPECT_TRUE(std::filesystem::exists(file));
    EXPECT_EQ(player.Failures(), 0);
    EXPECT_TRUE(clickedBeforeShot);
}

TEST_F(InputScriptPlay, AScreenshotThatCannotBeWrittenCountsAsAFailure) {
    ui::InputScriptPlayer player(headless.Backend());
    player.Play(Parse("screenshot /nonexistent-folder/x.png\nstop\n"));
    headless.RunUntil([] { return false; });
    EXPECT_EQ(player.Failures(), 1);
}

}  // namespace
