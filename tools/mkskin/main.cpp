// mkskin: draws the program's own skin art into resources/data (the shop's button
// sheets and the dialog backgrounds) as 8-bit BMP files in the generated palette.
// The files are kept in the source tree and compiled into the program; run this after
// changing how they look:
//
//     build/test/tools/mkskin resources/data
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/mkgamedata/Art.h"
#include "tools/mkgamedata/ClockArt.h"
#include "tools/mkgamedata/PictureWriter.h"

using namespace mkgamedata;

namespace {

// The skin's colours: lavender buttons with ink captions, deep violet headings and
// caption strips with white text, parchment dialogs.
constexpr std::uint8_t kFace = Cube(4, 4, 5);
constexpr std::uint8_t kFacePressed = Cube(3, 3, 5);
constexpr std::uint8_t kFaceHeld = Cube(2, 2, 4);
constexpr std::uint8_t kGreyFace = 250;   // light grey
constexpr std::uint8_t kGreyText = 241;   // mid grey
constexpr std::uint8_t kBevelDark = 236;  // dark grey
constexpr std::uint8_t kViolet = Cube(2, 1, 3);
constexpr std::uint8_t kVioletPressed = Cube(1, 0, 2);
constexpr std::uint8_t kParchment = Cube(5, 5, 4);
constexpr std::uint8_t kRowStripe = Cube(5, 5, 3);
constexpr std::uint8_t kRule = Cube(4, 4, 3);

enum Look { kButton, kHeading };

void Bevel(Picture& p, int x, int y, int w, int h, bool pressed) {
    const std::uint8_t tl = pressed ? kBevelDark : kWhite, br = pressed ? kWhite : kBevelDark;
    for (int i = x; i < x + w; ++i) p.Set(i, y, tl), p.Set(i, y + h - 1, br);
    for (int j = y; j < y + h; ++j) p.Set(x, j, tl), p.Set(x + w - 1, j, br);
}

// One glyph cell: 0 normal, 1 disabled, 2 pressed, 3 held down.
void Cell(Picture& p, int x, int y, int w, int h, int state, const std::string& caption, Look look,
          int size) {
    std::uint8_t face, ink;
    bool pressed = state >= 2;
    if (look == kHeading) {
        face = state == 1 ? kGreyFace : (pressed ? kVioletPressed : kViolet);
        ink = state == 1 ? kGreyText : kWhite;
    } else {
        face = state == 1 ? kGreyFace : state == 2 ? kFacePressed : state == 3 ? kFaceHeld : kFace;
        ink = state == 1 ? kGreyText : state == 3 ? kWhite : kInk;
    }
    p.Rect(x, y, w, h, face);
    Bevel(p, x, y, w, h, pressed);
    if (look == kButton && state != 1)
        p.Frame(x, y, w, h, kInk), Bevel(p, x + 1, y + 1, w - 2, h - 2, pressed);
    const int shift = pressed ? 1 : 0;
    p.TextCentred(x + shift, y + shift, w, h, caption, size, ink);
}

// A sheet of `cells` glyph cells of w x h side by side.
Picture ButtonSheet(int w, int h, int cells, const std::string& caption, Look look = kButton,
                    int size = 12) {
    Picture p(w * cells, h, kWhite);
    for (int c = 0; c < cells; ++c) Cell(p, c * w, 0, w, h, c, caption, look, size);
    return p;
}

struct Strip {
    int w;
    const char* caption;
};

// Strips of three cells stacked `h` apart, each as wide as its own button.
Picture StackedSheet(const std::vector<Strip>& strips, int h, int size) {
    int width = 0;
    for (const Strip& s : strips) width = std::max(width, s.w * 3);
    Picture p(width, h * int(strips.size()), kWhite);
    for (std::size_t i = 0; i < strips.size(); ++i)
        for (int c = 0; c < 3; ++c)
            Cell(p, c * strips[i].w, int(i) * h, strips[i].w, h, c, strips[i].caption, kButton,
                 size);
    return p;
}

// A dialog's background: parchment inside a violet frame, the caption strip (x0..x1,
// y0..y0 + 26, both ends inclusive) with the dialog's title, and `rows` table rows from
// `rowTop`, 17 px apart.
// The title is bold at 12 pixels; `plain` draws it at 14 without the doubled strokes,
// which blur a dense title such as 圖鑑.
Picture DialogBackground(int w, int h, int x0, int x1, int y0, const char* title, int rowTop = 0,
                         int rows = 0, bool plain = false) {
    Picture p(w, h, kParchment);
    p.Frame(0, 0, w, h, kInk);
    p.Frame(1, 1, w - 2, h - 2, kViolet);
    p.Frame(2, 2, w - 4, h - 4, kViolet);
    p.Rect(x0, y0, x1 - x0 + 1, 27, kViolet);
    p.Line(x0, y0 + 26, x1, y0 + 26, kInk);
    if (plain)
        p.Text(x0 + 8, y0 + 6, title, 14, kWhite);
    else
        p.Text(x0 + 8, y0 + 7, title, 12, kWhite, true);
    for (int r = 0; r < rows; ++r) {
        const int y = rowTop + 17 * r - 2;
        if (r % 2 == 1) p.Rect(8, y, w - 16, 17, kRowStripe);
        p.Line(8, y + 16, w - 9, y + 16, kRule);
    }
    return p;
}

// The market list: five rows under their column headings.
Picture MarketListBackground() {
    Picture p = DialogBackground(282, 190, 8, 273, 8, "市集", 63, 5);
    p.Text(32, 44, "名稱", 12, kInk, false);
    p.Text(146, 44, "屬性", 12, kInk, false);
    p.Text(190, 44, "價格", 12, kInk, false);
    p.Text(238, 44, "剩餘", 12, kInk, false);
    return p;
}

// A sheet of three 23 x 23 arrow buttons (normal, disabled, pressed) pointing left or
// right: Big5 has no arrow glyphs, so the triangle is drawn.
Picture ArrowSheet(bool right) {
    constexpr int kSide = 23;
    Picture p(kSide * 3, kSide, kWhite);
    for (int c = 0; c < 3; ++c) {
        Cell(p, c * kSide, 0, kSide, kSide, c, "", kButton, 12);
        const double x0 = c * kSide + (c == 2 ? 1 : 0), y0 = c == 2 ? 1 : 0;
        const double tip = right ? x0 + 16 : x0 + 7, back = right ? x0 + 8 : x0 + 15;
        p.Polygon({{back, y0 + 6}, {tip, y0 + 11.5}, {back, y0 + 17}}, c == 1 ? kGreyText : kInk);
    }
    return p;
}

// The shortage mark laid over a material's 64 x 64 icon: a red frame and a red plate
// reading 不足 on the colour key (the bottom-left pixel), so the icon shows through.
Picture ShortageMark() {
    constexpr std::uint8_t kKey = Cube(5, 0, 5), kRed = Cube(5, 0, 0);
    Picture p(64, 64, kKey);
    p.Frame(1, 1, 62, 62, kRed);
    p.Frame(2, 2, 60, 60, kRed);
    p.Rect(4, 42, 56, 18, kRed);
    p.TextCentred(4, 42, 56, 18, "不足", 12, kWhite, true);
    return p;
}

// Texts drawn on a dialog's background, in ink.
struct Caption {
    int x, y;
    const char* text;
};
Picture WithCaptions(Picture p, const std::vector<Caption>& captions) {
    for (const Caption& c : captions) p.Text(c.x, c.y, c.text, 12, kInk, false);
    return p;
}

// The mixing dialog: what the numbers beside the item and under the materials are.
Picture ItemMixBackground() {
    Picture p = WithCaptions(DialogBackground(419, 326, 8, 410, 8, "調配"), {{100, 48, "屬性"},
                                                                             {100, 64, "難度"},
                                                                             {100, 80, "說明"},
                                                                             {16, 118, "調配材料"},
                                                                             {16, 240, "調配數量"},
                                                                             {111, 240, "個"},
                                                                             {184, 240, "所需時間"},
                                                                             {279, 240, "小時"}});
    p.Line(72, 124, 410, 124, kRule);
    return p;
}

// The goods details: the material window's fields, the difficulty and the recipe.
Picture ItemDetails1Background() {
    Picture p = WithCaptions(
        DialogBackground(419, 262, 8, 410, 8, "資料"),
        {{100, 47, "屬性"}, {100, 65, "說明"}, {100, 101, "難度"}, {16, 118, "調配材料"}});
    p.Line(72, 124, 410, 124, kRule);
    return p;
}

// The slot dialogs: headings over the row of numbers.
Picture ExhibitionBackground(const char* title) {
    Picture p = DialogBackground(384, 157, 8, 371, 8, title);
    const struct {
        int x, w;
        const char* text;
    } heads[] = {{95, 90, "陳列位置"}, {188, 30, "屬性"}, {223, 42, "價格"},
                 {270, 32, "可售"},    {305, 32, "攜帶"}, {339, 32, "總數"}};
    for (const auto& h : heads) p.TextCentred(h.x, 48, h.w, 14, h.text, 12, kInk);
    p.Line(92, 63, 373, 63, kRule);
    return p;
}

// The sales list: the ten slots by name with their price rule, the columns headed.
Picture SalesListBackground() {
    Picture p = DialogBackground(579, 270, 8, 571, 8, "販售商品一覽", 63, 10);
    const struct {
        int x, w;
        const char* text;
    } heads[] = {{24, 48, "陳列位置"}, {128, 48, "計價方式"}, {332, 48, "商品名稱"},
                 {462, 44, "售價"},    {510, 32, "可售"},     {546, 28, "攜帶"}};
    for (const auto& h : heads) p.TextCentred(h.x, 44, h.w, 14, h.text, 12, kInk);
    const char* slots[10] = {"特惠商品區", "推薦商品區", "１號區", "２號區", "３號區",
                             "４號區",     "５號區",     "６號區", "７號區", "８號區"};
    for (int s = 0; s < 10; ++s) {
        const int y = 63 + 17 * s;
        p.Text(24, y, slots[s], 12, s == 0 ? Cube(4, 0, 0) : s == 1 ? Cube(0, 3, 0) : kInk);
        p.Text(128, y, s == 0 ? "定價的一半" : s == 1 ? "定價的四分之三" : "定價", 12, kInk);
    }
    return p;
}

// The bar of the recipe book over an item's recipe.
Picture BookBar() {
    Picture p(387, 16, Cube(4, 4, 5));
    p.Frame(0, 0, 387, 16, kViolet);
    return p;
}

// The option window: the caption strip, a label before each of its five buttons.
Picture OptionBackground() {
    Picture p = DialogBackground(215, 220, 8, 206, 8, "選項");
    const char* const labels[5] = {"時鐘", "指針動畫", "月曆", "視窗位置", "畫面模式"};
    for (int r = 0; r < 5; ++r) p.Text(20, 51 + 28 * r, labels[r], 12, kInk, false);
    p.Line(8, 184, 206, 184, kRule);
    return p;
}

// The option window's buttons: five strips 23 px apart of four cells (normal, disabled,
// pressed, held down); the held-down cell tells the other state.
Picture OptionButtonSheet() {
    constexpr int w = 88, h = 23;
    const char* const captions[5][2] = {
        {"顯示", "不顯示"}, {"有", "無"}, {"顯示", "不顯示"}, {"重設", "重設"}, {"視窗", "全螢幕"}};
    Picture p(4 * w, 5 * h, kWhite);
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c < 4; ++c)
            Cell(p, c * w, r * h, w, h, c, captions[r][c == 3 ? 1 : 0], kButton, 12);
    return p;
}

// The notebook: its five report buttons stand on a ruled page.
Picture NoteBackground() {
    Picture p = DialogBackground(215, 231, 8, 206, 8, "經營記事本");
    p.Frame(40, 42, 131, 151, kRule);
    for (int y = 131; y <= 133; ++y) p.Line(48, y, 166, y, y == 132 ? kRule : kParchment);
    return p;
}

// The sales report: ten rows under their column headings, the day's figures below.
Picture SalesBackground() {
    Picture p = DialogBackground(449, 358, 8, 440, 8, "營業報告", 71, 10);
    const struct {
        int x, w;
        const char* text;
    } heads[] = {{34, 120, "名稱"}, {158, 28, "屬性"}, {190, 40, "價格"}, {236, 36, "總數"},
                 {278, 36, "可售"}, {320, 36, "攜帶"}, {362, 24, "陳列"}, {392, 40, "售出"}};
    for (const auto& h : heads) p.TextCentred(h.x, 50, h.w, 14, h.text, 12, kInk);
    p.Line(8, 66, 440, 66, kInk);
    p.Frame(100, 270, 190, 56, kRule);
    p.Text(110, 276, "來客數", 12, kInk);
    p.Text(110, 293, "營業額", 12, kInk);
    p.Text(110, 310, "持有金額", 12, kInk);
    p.Text(274, 276, "人", 12, kInk);
    p.Text(274, 293, "Ｇ", 12, kInk);
    p.Text(274, 310, "Ｇ", 12, kInk);
    return p;
}

// The marks of yesterday's report: beside the title, and a stamp by the figures.
Picture SalesYesterdayTitle() {
    Picture p(96, 18, kViolet);
    p.Frame(0, 0, 96, 18, kWhite);
    p.TextCentred(0, 0, 96, 18, "昨天的報告", 12, kWhite, true);
    return p;
}
Picture SalesYesterdayStamp() {
    Picture p(64, 52, kParchment);
    p.Frame(0, 0, 64, 52, Cube(4, 0, 0));
    p.Frame(2, 2, 60, 48, Cube(4, 0, 0));
    p.TextCentred(0, 6, 64, 22, "昨天", 20, Cube(4, 0, 0), true);
    p.TextCentred(0, 30, 64, 16, "營業報告", 12, Cube(4, 0, 0));
    return p;
}

// The sales graph: the item's numbers under headings, the plot with the month under each
// month's column, the year's totals.
Picture GraphBackground() {
    Picture p = DialogBackground(481, 300, 8, 472, 8, "銷售圖表");
    p.Frame(15, 41, 66, 66, kRule);
    const struct {
        int x, w;
        const char* text;
    } heads[] = {{90, 30, "屬性"},  {126, 40, "價格"}, {172, 40, "總數"},
                 {218, 40, "可售"}, {264, 40, "攜帶"}, {310, 30, "陳列"}};
    for (const auto& h : heads) p.TextCentred(h.x, 66, h.w, 14, h.text, 12, kInk);
    p.Line(90, 81, 340, 81, kRule);
    // The year still to come: a tinted plot inside a frame; days are whitened as they pass.
    p.Rect(109, 145, 288, 79, kRowStripe);
    p.Frame(108, 144, 290, 81, kInk);
    p.Text(30, 150, "銷售數", 12, kInk);
    for (int m = 0; m < 12; ++m) {
        char label[8];
        std::snprintf(label, sizeof label, "%d", m + 1);
        p.TextCentred(109 + 24 * m, 227, 24, 12, label, 11, kInk);
    }
    p.Text(401, 227, "月", 12, kInk);
    p.Text(24, 252, "總銷售數", 12, kInk);
    p.Text(154, 252, "個", 12, kInk);
    p.Text(190, 252, "總營業額", 12, kInk);
    p.Text(340, 252, "Ｇ", 12, kInk);
    return p;
}

// The graph's scale marks for 1, 2 or 4 px per unit: the number of units at each black
// grid line (20, 40 and 60 px over the base) and 0 at the base, right-aligned.
Picture GraphScale(int pixelsPerUnit) {
    Picture p(28, 90, kParchment);
    for (int k = 0; k <= 3; ++k) {
        const int units = 20 * k / pixelsPerUnit;
        const int row = 84 - 20 * k;  // the line's row in the picture (plot row 224 - 20k)
        char label[8];
        std::snprintf(label, sizeof label, "%d", units);
        const int w = TextWidthUtf8(label, 11);
        p.Text(24 - w, row - 6, label, 11, kInk);
        p.Line(25, row, 27, row, kInk);
    }
    return p;
}

// The status window: the face in a frame, her numbers under their captions.
Picture StatusBackground() {
    Picture p = DialogBackground(320, 213, 8, 311, 8, "狀態");
    p.Frame(15, 47, 122, 122, kInk);
    const struct {
        int y;
        const char* text;
    } rows[] = {{49, "狀態"}, {65, "等級"}, {81, "經驗值"}, {113, "金錢"}, {129, "名聲"}};
    for (const auto& r : rows) {
        p.Text(156, r.y, r.text, 12, kInk);
        p.Line(156, r.y + 14, 306, r.y + 14, kRule);
    }
    return p;
}

bool Write(const std::filesystem::path& dir, const std::string& name, const Picture& p) {
    return WriteBytes(dir / name, PictureBmp8(p));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: mkskin DIR\n");
        return 2;
    }
    const std::filesystem::path dir = argv[1];
    struct Sheet {
        const char* name;
        Picture picture;
    };
    std::vector<Sheet> sheets = {
        // List column headings (19 px high, as wide as their columns).
        {"ChName", ButtonSheet(120, 19, 3, "名稱", kHeading)},
        {"ChGoods", ButtonSheet(28, 19, 3, "商品", kHeading)},
        {"ChMaterial", ButtonSheet(28, 19, 3, "材料", kHeading)},
        {"ChAttribute", ButtonSheet(32, 19, 3, "屬性", kHeading)},
        {"ChPrice", ButtonSheet(46, 19, 3, "價格", kHeading)},
        {"ChStock", ButtonSheet(40, 19, 3, "可售", kHeading)},
        {"ChReserve", ButtonSheet(40, 19, 3, "攜帶", kHeading)},
        {"ChTotal", ButtonSheet(40, 19, 3, "總數", kHeading)},
        {"ChExhibition", ButtonSheet(30, 19, 3, "陳列", kHeading)},
        // Dialog buttons.
        {"ChBtBack", ButtonSheet(75, 23, 3, "上一頁")},
        {"ChBtNext", ButtonSheet(75, 23, 3, "下一頁")},
        {"ChBtClose", ButtonSheet(75, 23, 3, "關閉")},
        {"ChBtMix", ButtonSheet(75, 23, 3, "調配")},
        {"Mix10", ButtonSheet(75, 23, 4, "10個")},
        {"Mix20", ButtonSheet(75, 23, 4, "20個")},
        {"Mix30", ButtonSheet(75, 23, 4, "30個")},
        {"Mix40", ButtonSheet(75, 23, 4, "40個")},
        {"ChBtExhibition", ButtonSheet(75, 23, 3, "陳列")},
        {"ChBtPutAway", ButtonSheet(75, 23, 3, "收回")},
        {"ChBtLeft", ArrowSheet(false)},
        {"ChBtRight", ArrowSheet(true)},
        {"ChBtDecide", ButtonSheet(75, 23, 3, "決定")},
        {"ChBtCancel", ButtonSheet(75, 23, 3, "取消")},
        {"ChBtMagicItem", ButtonSheet(75, 23, 4, "魔法道具")},
        {"ChBtMaterialItem", ButtonSheet(75, 23, 4, "材料")},
        {"ChBtTreasure", ButtonSheet(75, 23, 4, "寶物")},
        {"ChAt0", ButtonSheet(40, 23, 4, "光")},
        {"ChAt1", ButtonSheet(40, 23, 4, "火")},
        {"ChAt2", ButtonSheet(40, 23, 4, "水")},
        {"ChAt3", ButtonSheet(40, 23, 4, "風")},
        {"ChAt4", ButtonSheet(40, 23, 4, "土")},
        {"ChAt5", ButtonSheet(40, 23, 4, "闇")},
        {"ChBtReturn", ButtonSheet(75, 23, 3, "返回")},
        {"ChBtBuy", ButtonSheet(75, 23, 3, "購買")},
        {"ChBtMiniUp", ButtonSheet(16, 12, 3, "▲", kButton, 11)},
        {"ChBtMiniDown", ButtonSheet(16, 12, 3, "▼", kButton, 11)},
        // The top bar: minimise and close strips 10 px apart, the fast-mode button, and
        // the six menu strips 17 px apart.
        {"MainMinCloseButton", StackedSheet({{12, "_"}, {12, "x"}}, 10, 11)},
        {"SpeedChangeButton", ButtonSheet(22, 13, 3, ">>", kButton, 11)},
        {"MainMenuImg", StackedSheet({{50, "系統"},
                                      {61, "狀態"},
                                      {66, "記事本"},
                                      {66, "下一回合"},
                                      {83, "跳過回合"},
                                      {65, "選項"}},
                                     17, 12)},
        // Dialog backgrounds.
        {"DlgItemList", DialogBackground(461, 372, 8, 452, 8, "物品一覽", 63, 16)},
        {"DlgItemMixList", WithCaptions(DialogBackground(461, 372, 8, 452, 8, "調配魔法", 63, 16),
                                        {{402, 44, "材料"}})},
        {"DlgExhibitionList", DialogBackground(461, 372, 8, 452, 8, "陳列商品", 63, 16)},
        {"DlgItemMix", ItemMixBackground()},
        {"DlgItemMixConfirm", DialogBackground(384, 157, 8, 371, 8, "完成")},
        {"DlgExhibition", ExhibitionBackground("陳列")},
        {"DlgExhibitionConfirm", ExhibitionBackground("確認")},
        {"DlgItemDetails0", WithCaptions(DialogBackground(419, 156, 8, 410, 8, "資料"),
                                         {{100, 47, "屬性"}, {100, 65, "說明"}})},
        {"DlgItemDetails1", ItemDetails1Background()},
        {"Tarinai", ShortageMark()},
        {"BookBar", BookBar()},
        {"DlgSalesList", SalesListBackground()},
        {"DlgBook", DialogBackground(435, 359, 16, 418, 16, "圖鑑", 0, 0, true)},
        {"DlgNote", NoteBackground()},
        {"DlgSales", SalesBackground()},
        {"DlgStatus", StatusBackground()},
        // The notebook's report buttons (strips 23 px apart), the sales report's marks
        // of yesterday, the graph and its scale marks.
        {"NoteButtonImg", StackedSheet({{107, "今日營業報告"},
                                        {107, "昨日營業報告"},
                                        {107, "銷售圖表"},
                                        {107, "客人的意見"},
                                        {107, "訂單一覽"}},
                                       23, 12)},
        {"SalesYesterdayTitle", SalesYesterdayTitle()},
        {"SalesYesterdayStamp", SalesYesterdayStamp()},
        {"DlgGraph", GraphBackground()},
        {"GraphScale1", GraphScale(1)},
        {"GraphScale2", GraphScale(2)},
        {"GraphScale4", GraphScale(4)},
        {"DlgSystemM", DialogBackground(215, 169, 8, 206, 8, "系統")},
        // The save and load windows: backgrounds, Yes and No, the save tag.
        {"DlgSaveLoadMsg", DialogBackground(276, 150, 8, 268, 8, "進度")},
        {"DlgSaveLoadList", DialogBackground(238, 300, 8, 230, 8, "進度欄位")},
        {"ChBtYes", ButtonSheet(75, 23, 3, "是")},
        {"ChBtNo", ButtonSheet(75, 23, 3, "否")},
        {"SaveTag", ButtonSheet(48, 20, 1, "存檔")},
        // The system menu's buttons: three strips 23 px apart.
        {"SystemButtonImg",
         StackedSheet({{107, "讀取進度"}, {107, "回到標題"}, {107, "結束遊戲"}}, 23, 12)},
        {"DlgMarketList", MarketListBackground()},
        {"DlgMarketBuy", DialogBackground(400, 200, 8, 391, 8, "購買")},
        // The clock and the calendar (shaped by their green key) and the option window.
        {"WatchBack", WatchBackground()},
        {"WatchOpenSign", WatchOpenSign()},
        {"CalenderBack", CalenderBackground()},
        {"DlgOption", OptionBackground()},
        {"OptionButtonImg", OptionButtonSheet()},
    };
    bool ok = true;
    for (const Sheet& s : sheets) ok = Write(dir, std::string(s.name) + ".bmp", s.picture) && ok;
    return ok ? 0 : 1;
}
