// The loader's page check and speaker tag look at a character's two bytes, counting
// the page's cells as they go; they must say what the string-comparing check they
// replace said (tests/story/LineCheckReference.h), word for word, on every line of the
// story, every character in every place of a row, the lines that once tripped a
// check, and random lines that reach every verdict.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <vector>

#include "platform/Big5.h"
#include "story/Dialogue.h"
#include "tests/story/LineCheckReference.h"

namespace {

// Both checks of `big5`, and whether they agree with the reference.
::testing::AssertionResult AgreeOn(const std::string& big5) {
    const std::string problem = story::LineProblem(big5);
    const std::string expected = reference::LineProblem(big5);
    if (problem != expected)
        return ::testing::AssertionFailure()
               << "LineProblem says \"" << problem << "\", the reference \"" << expected << "\" of "
               << ui::Big5ToUtf8(big5);
    const std::string tag = story::SpeakerTag(big5);
    const std::string expectedTag = reference::SpeakerTag(big5);
    if (tag != expectedTag)
        return ::testing::AssertionFailure()
               << "SpeakerTag says " << ui::Big5ToUtf8(tag) << ", the reference "
               << ui::Big5ToUtf8(expectedTag) << " of " << ui::Big5ToUtf8(big5);
    return ::testing::AssertionSuccess();
}

std::string Repeat(const std::string& s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
}

TEST(LineCheck, AgreesOnEveryLineOfTheStoryAndOnLinesJoined) {
    std::vector<std::string> texts;
    for (const story::Scene& sc : story::Scenes())
        for (const story::Step& st : sc.steps)
            if (!st.text.empty()) texts.push_back(st.text);
    ASSERT_GT(texts.size(), 4000u);
    std::map<std::string, int> verdicts;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        EXPECT_TRUE(AgreeOn(texts[i]));
        // Two lines run together or set one under the other wrap, overrun the page and
        // start rows with the story's own marks.
        const std::string& next = texts[(i + 1) % texts.size()];
        for (const std::string& joined : {texts[i] + next, texts[i] + "\n" + next}) {
            EXPECT_TRUE(AgreeOn(joined));
            ++verdicts[story::LineProblem(joined)];
        }
    }
    EXPECT_GT(verdicts[""], 1000);
    EXPECT_GT(verdicts["more than 4 rows: the window cuts the line"], 20);
    EXPECT_GT(verdicts["the fourth row runs into the end button: the window cuts the line"], 5);
    EXPECT_GT(verdicts["a row of the window starts with a closing mark"], 10);
}

TEST(LineCheck, AgreesOnEveryByteCharacterInEveryPlaceOfARow) {
    const std::string letter = B5("花"), row = Repeat(letter, 23);
    for (int lead = 0; lead < 256; ++lead)
        for (int trail = 0; trail < 256; ++trail) {
            const std::string ch{static_cast<char>(lead), static_cast<char>(trail)};
            // The page's first cell, a row's first cell after a line break, and before
            // a speaker's 「.
            for (const std::string& line : {ch, letter + "\n" + ch, ch + B5("「")})
                ASSERT_TRUE(AgreeOn(line)) << std::hex << lead << " " << trail;
            // Every mark stands in the row of lead byte A1: its characters are tried
            // in every place of a row.
            if (lead != 0xA1) continue;
            for (const std::string& line : {"\n" + ch, letter + ch + letter, letter + ch + B5("『"),
                                            row + ch, row + letter + ch, row + ch + letter})
                ASSERT_TRUE(AgreeOn(line)) << std::hex << lead << " " << trail;
        }
}

TEST(LineCheck, AgreesOnTheLinesThatTripTheCheck) {
    const std::string row = B5(Repeat("花", 23));
    const std::string twenty = B5(Repeat("花", 20));
    struct Case {
        std::string big5;
        std::string problem;
    };
    const Case cases[] = {
        {"", ""},
        {B5("。"), ""},  // the page's first cell
        {B5("\n。"), "a row of the window starts with a closing mark"},
        {B5("花\n\n。"), "a row of the window starts with a closing mark"},
        {row + B5("。花"), "a row of the window starts with a closing mark"},
        {row + B5("花。"), "a row of the window holds a lone character"},
        {row + B5("花。\n花花"), "a row of the window holds a lone character"},
        {row + B5("。。"), "a row of the window starts with a closing mark"},
        {row + B5("花花"), ""},
        {row + row + B5("花」"), "a row of the window holds a lone character"},
        {row + row, ""},
        {row + row + row + twenty, ""},
        {row + row + row + twenty + B5("。"),
         "the fourth row runs into the end button: the window cuts the line"},
        {B5("花\n花\n花\n花\n花"), "more than 4 rows: the window cuts the line"},
        // A row-starting mark past the page is named as such, before the cut.
        {B5("花\n花\n花\n花\n。"), "a row of the window starts with a closing mark"},
        {row + row + row + row,
         "the fourth row runs into the end button: the window cuts the line"},
        // A line break right after a lead byte is taken as its second byte.
        {B5("花") + "\xA4\n" + B5("花"), ""},
        {B5("花") + "\xA4\n" + B5("。"), ""},
        {B5("花") + "\xA4", "a half-width character"},
        {B5("花a花"), "a half-width character"},
        {"\n", ""},
        {"\n\n\n\n\n", ""},
        {B5("緹菈「好"), ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(story::LineProblem(c.big5), c.problem) << ui::Big5ToUtf8(c.big5);
        EXPECT_TRUE(AgreeOn(c.big5));
    }
}

TEST(LineCheck, AgreesOnRandomLines) {
    // Pieces that make every verdict: letters, closing and opening marks, the blank,
    // breaks, a half-width letter and a lead byte whose second byte is a break.
    const std::vector<std::string> pieces = {
        B5("花"), B5("花"), B5("花"), B5("花"), B5("花"), B5("。"), B5("」"),
        B5("「"), B5("『"), B5("　"), "\n",     "a",      "\xA4\n", B5("緹菈"),
    };
    std::mt19937 random(57);
    std::map<std::string, int> verdicts;
    for (int n = 0; n < 4000; ++n) {
        std::string line;
        const int length = static_cast<int>(random() % 120);
        for (int k = 0; k < length; ++k) {
            // Breaks and odd bytes are rare, so that rows fill and wrap.
            const std::size_t p = random() % 40 < 34 ? random() % 5 : random() % pieces.size();
            line += pieces[p];
        }
        if (random() % 8 == 0) line += "\xA4";  // a lead byte ends the line
        ASSERT_TRUE(AgreeOn(line));
        ++verdicts[story::LineProblem(line)];
    }
    for (const char* verdict :
         {"", "a half-width character", "a row of the window starts with a closing mark",
          "a row of the window holds a lone character",
          "more than 4 rows: the window cuts the line",
          "the fourth row runs into the end button: the window cuts the line"})
        EXPECT_GT(verdicts[verdict], 20) << verdict;
}

}  // namespace
