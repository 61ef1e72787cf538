// The texts the game shows word for word: each quoted text of the story's data stands
// in its scene with its words and marks, each choice lists its captions in order, and
// the texts the code builds (the fashion remark, the order titles) are as written.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/Big5.h"
#include "shop/Catalog.h"
#include "story/Dialogue.h"
#include "story/Looks.h"
#include "tests/story/QuotedTexts.h"
#include "town/Orders.h"

namespace {

const story::Scene* FindScene(const std::string& key) {
    for (const story::Scene& sc : story::Scenes())
        if (sc.key == key) return &sc;
    return nullptr;
}

std::string Big5Name(int item) { return ItemName(item); }

TEST(QuotedTexts, EachStandsInItsSceneWordForWord) {
    for (const test::QuotedText& q : test::kQuotedTexts) {
        const story::Scene* sc = FindScene(q.scene);
        ASSERT_NE(sc, nullptr) << q.scene;
        const story::StepKind kind =
            q.kind == test::kOption ? story::StepKind::Option : story::StepKind::Line;
        bool found = false;
        for (const story::Step& st : sc->steps)
            found = found || (st.kind == kind && st.text == ui::Utf8ToBig5(q.text));
        EXPECT_TRUE(found) << sc->file << ": " << q.scene << " shows no \"" << q.text << "\"";
    }
}

TEST(QuotedTexts, EachChoiceListsItsCaptionsInOrder) {
    // The captions of a choice, as the choice window lists them.
    std::map<std::string, std::string> captions;
    for (const test::QuotedText& q : test::kQuotedTexts)
        if (q.kind == test::kOption) captions[q.scene] += std::string(q.text) + " / ";
    for (const auto& [key, expected] : captions) {
        const story::Scene* sc = FindScene(key);
        ASSERT_NE(sc, nullptr) << key;
        std::string shown;
        for (const story::Step& st : sc->steps)
            if (st.kind == story::StepKind::Option) shown += ui::Big5ToUtf8(st.text) + " / ";
        EXPECT_EQ(shown, expected) << sc->file << ": " << key;
    }
    // Every caption of the story is a quoted one: a choice nobody wrote down has none.
    for (const story::Scene& sc : story::Scenes()) {
        if (sc.file == "Test.txt") continue;
        for (const story::Step& st : sc.steps)
            if (st.kind == story::StepKind::Option) {
                EXPECT_TRUE(test::IsQuotedText(sc.key, ui::Big5ToUtf8(st.text)))
                    << sc.file << ":" << st.line << ": " << ui::Big5ToUtf8(st.text);
            }
    }
}

// The lines a scene shows, each with the voice played before it, with the scenes it
// plays in their places.
void LinesOf(const std::string& key, std::vector<std::pair<int, std::string>>& out) {
    const story::Scene* sc = FindScene(key);
    ASSERT_NE(sc, nullptr) << key;
    for (const story::Step& st : sc->steps) {
        if (st.kind == story::StepKind::Line) out.emplace_back(st.voice, ui::Big5ToUtf8(st.text));
        if (st.kind == story::StepKind::Play) LinesOf(st.name, out);
    }
}

TEST(QuotedTexts, ThePurificationsTwinsDifferInFourLinesOnly) {
    std::vector<std::pair<int, std::string>> shop, home;
    LinesOf("EvTurnStart029:main", shop);
    LinesOf("EvMove017:main", home);
    ASSERT_EQ(shop.size(), 48u);
    ASSERT_EQ(home.size(), shop.size());
    std::vector<int> differ;
    for (std::size_t i = 0; i < shop.size(); ++i) {
        EXPECT_EQ(shop[i].first, home[i].first) << i;
        if (shop[i].second != home[i].second) differ.push_back(shop[i].first);
    }
    EXPECT_EQ(differ, (std::vector<int>{1225, 1228, 1255, 1259}));
}

TEST(QuotedTexts, TheFashionRemarkFillsItsFourTemplates) {
    const std::string a = Big5Name(3), b = Big5Name(10), c = Big5Name(20);
    EXPECT_EQ(story::FashionRemarkLine(-1, -1, -1),
              ui::Utf8ToBig5("緹菈「嗯～…沒什麼特別的消息啊…可惜。"));
    EXPECT_EQ(story::FashionRemarkLine(3, -1, -1),
              ui::Utf8ToBig5("緹菈「現在最流行的是\n『") + a + ui::Utf8ToBig5("』噢。"));
    EXPECT_EQ(story::FashionRemarkLine(3, 10, -1), ui::Utf8ToBig5("緹菈「最近流行『") + a +
                                                       ui::Utf8ToBig5("』和\n『") + b +
                                                       ui::Utf8ToBig5("』呢。"));
    EXPECT_EQ(story::FashionRemarkLine(3, 10, 20),
              ui::Utf8ToBig5("緹菈「『") + a + ui::Utf8ToBig5("』和\n『") + b +
                  ui::Utf8ToBig5("』還有\n『") + c + ui::Utf8ToBig5("』，是現在的流行噢。"));
}

TEST(QuotedTexts, TheOrderTitlesAreAsWritten) {
    // Id 14's title names its goods and quantity in words of our own.
    const std::map<int, const char*> titles = {
        {0, "目前沒有訂單"},
        {1, "願望秘石２０個"},
        {2, "黑貓魔法杖１０支"},
        {3, "天使之翼２０個"},
        {4, "水魔法石２０個"},
        {5, "清新香水４０瓶"},
        {6, "加速咒文藥劑６０瓶"},
        {7, "魅力香水６０瓶"},
        {8, "土魔法石３０瓶"},
        {9, "反射咒文藥劑３０瓶"},
        {10, "冰結咒文藥劑２０瓶"},
        {11, "闇魔法石４０個"},
        {12, "光魔法石１０個"},
        {13, "所羅門秘藥３０瓶"},
        {15, "火燄咒文藥劑４０瓶"},
        {16, "空浮藥劑５０瓶"},
        {17, "火魔法石３０個"},
        {18, "烈火咒文藥劑２０瓶"},
        {19, "測試０"},
        {20, "測試１"},
        {21, "使用冰河礫石，阻止火山爆發"},
        {22, "尋找傾國媚藥"},
    };
    for (const auto& [id, title] : titles) EXPECT_EQ(ui::Big5ToUtf8(OrderTexts()[id]), title) << id;
}

}  // namespace
