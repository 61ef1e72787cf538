#include "media/Qvfpat.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/Big5.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes PatternOf(const TFontPat& f) { return Bytes(f.Pattern(), f.Pattern() + f.Size() * f.Size()); }

int Count(const TFontPat& f, std::uint8_t v) {
    const Bytes p = PatternOf(f);
    return int(std::count(p.begin(), p.end(), v));
}

TEST(FontPat, StartsBlank) {
    TFontPat f;
    EXPECT_EQ(f.Size(), 32);
    EXPECT_EQ(f.Index(), 0);
    EXPECT_EQ(f.Foreground(), 0);
    EXPECT_EQ(f.Background(), 255);
    EXPECT_EQ(f.Font().Height, -32);
    EXPECT_EQ(f.Font().Name, ui::kFaceMing);
    EXPECT_EQ(Count(f, 255), 32 * 32);
}

TEST(FontPat, SingleByteThenPastTheEnd) {
    TFontPat f;
    int changes = 0;
    f.OnChange = [&](TFontPat* sender) {
        EXPECT_EQ(sender, &f);
        ++changes;
    };
    f.SetText("A");
    EXPECT_EQ(f.Index(), 1);
    EXPECT_GT(Count(f, 0), 10);
    EXPECT_EQ(Count(f, 0) + Count(f, 255), 32 * 32);
    EXPECT_EQ(f.NextLetter(), 0);
    EXPECT_EQ(Count(f, 255), 32 * 32);
    // Stepping ends there.
    EXPECT_EQ(f.NextLetter(), 0);
    EXPECT_EQ(changes, 2);
}

TEST(FontPat, TwoByteCharacterFromEitherByte) {
    TFontPat f;
    const std::string text = B5("藥坊");
    ASSERT_EQ(text.size(), 4u);
    f.SetText(text);
    const Bytes first = PatternOf(f);
    EXPECT_GT(Count(f, 0), 30);
    f.SetIndex(2);  // its trail byte
    EXPECT_EQ(PatternOf(f), first);
    f.SetIndex(1);
    EXPECT_EQ(f.NextLetter(), 3);
    EXPECT_NE(PatternOf(f), first);
    EXPECT_EQ(f.NextLetter(), 0);
    // Trail bytes that look like lead bytes are still trail bytes.
    const std::string high = B5("藥藥");
    ASSERT_TRUE(ui::IsBig5Lead(static_cast<unsigned char>(high[1])));
    f.SetText(high);
    f.SetIndex(2);
    EXPECT_EQ(PatternOf(f), first);
    EXPECT_EQ(f.NextLetter(), 3);
    EXPECT_EQ(PatternOf(f), first);
}

TEST(FontPat, LeadByteAtTheEndIsASingleByte) {
    TFontPat f;
    std::string text = "A";
    text += '\xA4';
    f.SetText(text);
    EXPECT_EQ(f.NextLetter(), 2);
    EXPECT_EQ(f.NextLetter(), 0);
    f.SetIndex(2);
    f.SetText(std::string(1, '\xA4'));
    EXPECT_EQ(f.NextLetter(), 0);
}

TEST(FontPat, ColoursRemapWithoutRedrawing) {
    TFontPat f;
    f.SetText("W");
    const Bytes before = PatternOf(f);
    f.SetForeground(7);
    f.SetBackground(9);
    const Bytes after = PatternOf(f);
    for (std::size_t i = 0; i < before.size(); ++i)
        ASSERT_EQ(after[i], before[i] == 0 ? 7 : 9) << i;
    // The cell itself was not drawn again: a font change shows only after a rebuild.
    ui::Font bold = f.Font();
    bold.SetBold(true);
    f.SetFont(bold);
    f.SetForeground(0);
    f.SetBackground(255);
    EXPECT_EQ(PatternOf(f), before);
    f.MakeFontPat();
    EXPECT_GE(Count(f, 0), int(std::count(before.begin(), before.end(), 0)));
}

TEST(FontPat, SizeAndFontHeight) {
    TFontPat f;
    f.SetText("A");
    for (int bad : {0, -5, TFontPat::kMaxSize + 1}) {
        f.SetSize(bad);
        EXPECT_EQ(f.Size(), 32) << bad;
    }
    f.SetSize(16);
    EXPECT_EQ(f.Size(), 16);
    EXPECT_EQ(f.Font().Height, -16);
    EXPECT_GT(Count(f, 0), 5);
    EXPECT_EQ(Count(f, 0) + Count(f, 255), 16 * 16);
    // A font of another pixel height resizes the cell; its colour stays black.
    ui::Font font = f.Font();
    font.Height = -24;
    font.Color = ui::clRed;
    f.SetFont(font);
    EXPECT_EQ(f.Size(), 24);
    EXPECT_EQ(f.Font().Color, ui::clBlack);
    EXPECT_EQ(Count(f, 0) + Count(f, 255), 24 * 24);
    // Index stays within the text.
    f.SetText("abc");
    f.SetIndex(9);
    EXPECT_EQ(f.Index(), 3);
    f.SetIndex(-2);
    EXPECT_EQ(f.Index(), 1);
    f.SetText("");
    EXPECT_EQ(f.Index(), 0);
    f.SetIndex(4);
    EXPECT_EQ(f.Index(), 0);
    EXPECT_EQ(Count(f, 255), 24 * 24);
}

}  // namespace
