#include "platform/Big5.h"

#include <gtest/gtest.h>

TEST(Big5, ConvertsBothWays) {
    const std::string b5 = B5("露米亞藥坊");
    EXPECT_EQ(b5, "\xC5\x53\xA6\xCC\xA8\xC8\xC3\xC4\xA7\x7B");
    EXPECT_EQ(ui::Big5ToUtf8(b5), "露米亞藥坊");
    EXPECT_EQ(B5("ab1"), "ab1");
}

TEST(Big5, BadInputIsReplacedNotDropped) {
    EXPECT_EQ(ui::Big5ToUtf8("a\xC5"), "a\xEF\xBF\xBD");  // lead byte at the end
    EXPECT_FALSE(ui::FitsBig5("😀"));
    EXPECT_TRUE(ui::FitsBig5("緹菈"));
}

namespace {

// The one lead-byte test that every Big5 walker asks: 0x81..0xFE lead a pair.
TEST(Big5, LeadBytes) {
    const struct {
        unsigned char byte;
        bool lead;
    } cases[] = {{0x00, false}, {'A', false}, {0x7F, false}, {0x80, false},
                 {0x81, true},  {0xA4, true}, {0xFE, true},  {0xFF, false}};
    for (const auto& c : cases) EXPECT_EQ(ui::IsBig5Lead(c.byte), c.lead) << int(c.byte);
}

}  // namespace
