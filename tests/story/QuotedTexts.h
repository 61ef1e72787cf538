#pragma once
// The texts of the story's data that stand word for word as the game's own texts are
// written (choice captions, the commands' fixed lines, place titles): each with the
// scene that shows it. These keep their words and marks exactly, so the house-style
// checks pass them by; the quoted-texts test holds each one in its place.
#include <string>
#include <string_view>

namespace test {

enum QuotedKind { kLine, kOption };

struct QuotedText {
    const char* scene;  // "Ev:scene", the scene whose line or choice shows it
    QuotedKind kind;
    const char* text;  // UTF-8, exactly as shown
};

// Captions of one choice stand in the order the choice lists them.
inline constexpr QuotedText kQuotedTexts[] = {
    // Cocotte.txt: the nobleman's chocolates and the evening walk
    {"EvTurnStart020:main", kOption, "『讓蕾妮特幫忙。"},
    {"EvTurnStart020:main", kOption, "『不好意思所以婉拒。"},
    {"EvTurnStart023:main", kLine, "黑貓魔法店‧店頭"},
    {"EvTurnStart023:main", kOption, "『妳見到可可特了嗎？"},
    {"EvTurnStart023:main", kOption, "『妳在做什麼啊？"},
    {"EvTurnStart023:Scene03", kOption, "『有沒有見到可可特？"},
    {"EvTurnStart023:Scene03", kOption, "『你在這裡做什麼？"},
    // Commands.txt: the market, the bakery, the library and the visits
    {"Commands:RunPlaceCommand1", kLine, "今天是假日，市集也公休噢"},
    {"Commands:RunPlaceCommand2", kLine, "緹菈「今天有什麼東西呢？"},
    {"Commands:RunPlaceCommand3", kLine, "緹菈「市集好像還沒開的樣子。"},
    {"Commands:RunPlaceCommand4", kLine, "緹菈「今天的市集已經結束營業了。"},
    {"Commands:RunPlaceCommand5", kLine, "唉呀、圖書館已經關了啦。"},
    {"Commands:Enter2", kLine, "緹菈「商店已經關門了噢。"},
    {"Commands:Library1", kLine, "圖書館還沒有開噢。"},
    {"Commands:Library2", kLine, "時間太晚了，今天讀不成書了吧。"},
    {"Commands:Library3", kLine, "圖書館已經關了啦。"},
    {"Commands:VisitFlowerHouse5", kLine, "芙蘿蕾好像不在"},
    {"Commands:VisitFlowerHouse7", kLine, "芙蘿蕾好像不在"},
    {"Commands:VisitPalace3", kLine, "已經見不到她囉"},
    // DayStart.txt, Endings.txt: 黑皮's illness, the bad endings' caption
    {"EvDayStart001_Sub1:main", kOption, "『直接讓蕾妮特診治。"},
    {"EvDayStart001_Sub1:main", kOption, "『讓蕾妮特的父親診治。"},
    {"EvEnding010:message", kLine, "悲慘的結局　"},
    // Fever.txt: the cure and the forest maze
    {"EvMove002:main", kOption, "『使用痊癒藥劑！"},
    {"EvMove002:main", kOption, "『尋找水精靈石！"},
    {"EvForestMaze:ways", kOption, "『往左邊走。"},
    {"EvForestMaze:ways", kOption, "『往右邊走。"},
    {"EvForestMaze:ways", kOption, "『往後頭走。"},
    {"EvForestMaze:deadend", kOption, "『今天先回去。"},
    {"EvForestMaze:deadend", kOption, "『往後頭走。"},
    {"EvForestMaze_Node00:main", kOption, "『往左邊走。"},
    {"EvForestMaze_Node00:main", kOption, "『往右邊走。"},
    // GhostNight.txt: the shelves
    {"EvMove124:main", kOption, "『照芙蘿蕾所說，往北４格。"},
    {"EvMove124:main", kOption, "『不知道該怎麼辦，往西６格。"},
    {"EvMove124:main", kOption, "『還是只能往東３格。"},
    {"EvMove124:Scene02", kOption, "『往北１格。"},
    {"EvMove124:Scene02", kOption, "『往西７格。"},
    {"EvMove124:Scene02", kOption, "『往東６格。"},
    {"EvMove124:Scene03", kOption, "『往北３格。"},
    {"EvMove124:Scene03", kOption, "『往南５格。"},
    {"EvMove124:Scene03", kOption, "『往東２格。"},
    {"EvMove124:Scene04", kOption, "『往北４格。"},
    {"EvMove124:Scene04", kOption, "『往西１２格。"},
    {"EvMove124:Scene04", kOption, "『往東２格。"},
    {"EvMove124:Scene05", kOption, "『太晚了，回家吧。"},
    {"EvMove124:Scene05", kOption, "『先到那邊看看吧。"},
    {"EvMove124:Scene05", kOption, "『靜下來仔細地再聽一次。"},
    {"EvMove124:Scene06", kOption, "『往南邊逃！"},
    {"EvMove124:Scene06", kOption, "『往西邊逃！"},
    {"EvMove124:Scene06", kOption, "『往東邊逃！"},
    {"EvMove124:Scene07", kOption, "『往北邊逃！"},
    {"EvMove124:Scene07", kOption, "『往南邊逃！"},
    {"EvMove124:Scene07", kOption, "『往東邊逃！"},
    {"EvMove124:Scene10", kOption, "『照芙蘿蕾說的往北前進４格。"},
    {"EvMove124:Scene10", kOption, "『我想想看噢、往西６格好了。"},
    {"EvMove124:Scene10", kOption, "『還是往東吧，不過這次走３格。"},
    {"EvMove124:Scene12", kOption, "『往北１格。"},
    {"EvMove124:Scene12", kOption, "『往西７格。"},
    {"EvMove124:Scene12", kOption, "『往東６格。"},
    {"EvMove124:Scene14", kOption, "『往東２格。"},
    {"EvMove124:Scene14", kOption, "『往南５格。"},
    {"EvMove124:Scene14", kOption, "『往北３格。"},
    // Intros.txt: the place titles
    {"EvMove057:main", kLine, "微笑魔法店"},
    {"EvMove059:main", kLine, "活動會場"},
    {"EvMove060:main", kLine, "糕餅店‧特利亞儂儂"},
    {"EvMove061:main", kLine, "芙蘿蕾的家"},
    {"EvMove062:main", kLine, "達利姆森林"},
    {"EvMove063:main", kLine, "森林之泉"},
    {"EvMove064:main", kLine, "克拉貝爾瀑布"},
    {"EvMove065:main", kLine, "洞窟"},
    {"EvMove066:main", kLine, "伊斯特山‧山路"},
    {"EvMove067:main", kLine, "伊斯特山‧火山口"},
    {"EvMove068:main", kLine, "大樹丘"},
    {"EvMove069:main", kLine, "澄淨湖"},
    {"EvMove070:main", kLine, "沙灘"},
    {"EvMove071:main", kLine, "黑貓魔法店"},
    {"EvMove072:main", kLine, "沃爾特城"},
    {"EvMove073:main", kLine, "弗洛愛爾摩斯圖書館"},
    {"EvMove074:main", kLine, "弗洛愛爾摩斯大公園"},
    {"EvMove075:main", kLine, "中央噴水廣場"},
    {"EvMove076:main", kLine, "弗洛愛爾摩斯魔法學院"},
    // Prince.txt: the ring, the garden, the proposal
    {"EvMove009:main", kLine, "『取得？？戒指。"},
    {"EvMove011:main", kOption, "『我想見王子殿下。"},
    {"EvMove011:main", kOption, "『今天還是別去吧。"},
    {"EvBall:proposal", kOption, "『答應王子殿下的求婚"},
    {"EvBall:proposal", kOption, "『不放棄有著母親回憶的店"},
    // Renette.txt: the magic contest, the great wizard's house, the cave
    {"EvMove005:main", kOption, "『好、來個先發制人！"},
    {"EvMove005:main", kOption, "『先讓蕾妮特出招。"},
    {"EvMove005_Scene00:main", kOption, "『閃避！"},
    {"EvMove005_Scene00:main", kOption, "『施展反射魔法！"},
    {"EvMove005_Scene00:main", kOption, "『撲倒。"},
    {"EvMove005_Scene01:main", kOption, "『閃避！"},
    {"EvMove005_Scene01:main", kOption, "『施展反射魔法！"},
    {"EvMove005_Scene02:main", kOption, "『火燄魔法！"},
    {"EvMove005_Scene02:main", kOption, "『反射魔法！"},
    {"EvMove005_Scene02:main", kOption, "『閃避。"},
    {"EvMove005_Scene03:main", kOption, "『閃避！"},
    {"EvMove005_Scene03:main", kOption, "『施展反射魔法！"},
    {"EvMove005_Scene03:main", kOption, "『撲倒。"},
    {"EvMove005_Scene04:main", kOption, "『火燄魔法！"},
    {"EvMove005_Scene04:main", kOption, "『反射魔法！"},
    {"EvMove005_Scene04:main", kOption, "『閃避。"},
    {"EvMove005_Scene05:main", kOption, "『火燄魔法！"},
    {"EvMove005_Scene05:main", kOption, "『反射魔法！"},
    {"EvMove005_Scene05:main", kOption, "『加速魔法！"},
    {"EvTurnStart012:main", kLine, "大魔法師的家"},
    // The purification's twins say four lines a little differently.
    {"EvTurnStart029:main", kLine, "蕾妮特「呵呵呵‧妳想知道，\n這孩子為什麼會解開我的封印嗎？"},
    {"EvTurnStart029:main", kLine,
     "蕾妮特「呵呵呵、喜歡妳，卻又贏不了妳。\n那份痛苦，就是我最好的食物。"},
    {"EvTurnStart029:main", kLine, "黑皮「這種事，只有本人才知道。"},
    {"EvTurnStart029:main", kLine,
     "黑皮「我看，蕾妮特的事還是別管了。\n她一直瞞著妳父親的事啊。\n還有，是她自己要離開的。"},
    {"EvMove017:main", kLine, "蕾妮特「呵呵呵、妳想知道，\n這孩子為什麼會解開我的封印嗎？"},
    {"EvMove017:main", kLine,
     "蕾妮特「呵呵呵喜歡妳，卻又贏不了妳…。\n那份痛苦，就是我最好的食物。"},
    {"EvMove017:main", kLine, "黑皮「這種事，只有當事人才知道。"},
    {"EvMove017:main", kLine,
     "黑皮「我看，蕾妮特的事還是別管了。\n她一直瞞著妳父親的事啊。\n而且，是她自己要離開的。"},
    {"EvMove145:two", kOption, "『想跟蕾妮特保持朋友關係。"},
    {"EvMove145:two", kOption, "『我也很喜歡蕾妮特。"},
    {"EvMove145:three", kOption, "『想跟蕾妮特保持朋友關係。"},
    {"EvMove145:three", kOption, "『我也很喜歡蕾妮特。"},
    {"EvMove145:three", kOption, "『其實我喜歡可可特。"},
};

// Whether `utf8` is the text quoted for `scene`.
inline bool IsQuotedText(std::string_view scene, std::string_view utf8) {
    for (const QuotedText& q : kQuotedTexts)
        if (scene == q.scene && utf8 == q.text) return true;
    return false;
}

}  // namespace test
