#include "shop/Fsctrl.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <string>

#include "platform/Big5.h"
#include "platform/Transcript.h"
#include "shop/Catalog.h"
#include "shop/Fashion.h"
#include "shop/GameState.h"

TFsCtrlForm* FsCtrlForm = nullptr;

namespace {

// The grid's marks, in Big5: none, wants, immune (○ ● ☆).
constexpr char kMarks[3][3] = {"\xA1\xB3", "\xA1\xB4", "\xA1\xB8"};

const char* const kParamNames[6] = {"WantRate",   "WantLife",     "ImmuneRate",
                                    "ImmuneLife", "ImmunePeriod", "ImmuneTimer"};

}  // namespace

TFsCtrlForm::TFsCtrlForm() {
    Name = "FsCtrlForm";
    SetCaption(B5("流行"));
    SetBorderStyle(ui::BorderStyle::bsSingle);
    SetFormStyle(
        ui::FormStyle::fsStayOnTop);  // over the clock, the calendar and the message window
    SetClientWidth(kGraphWidth + 16);
    SetClientHeight(180 + kGraphHeight + 8);
    SetBounds(336, 40, Width(), Height());
    SetVisible(false);

    auto label = [this](const char* name, int x, int y, int w, const std::string& caption = {}) {
        ui::Label* l = Make<ui::Label>();
        l->Name = name;
        l->SetAutoSize(false);
        l->SetBounds(x, y, w, 14);
        l->SetCaption(caption);
        return l;
    };

    GoodsBox = Make<ui::Edit>();
    GoodsBox->Name = "GoodsBox";
    GoodsBox->SetBounds(8, 8, 40, 20);
    GoodsBox->SetText("0");
    GoodsBox->OnChange = [this](ui::Control&) { GoodsBoxChange(); };
    int x = 50;
    for (ui::UpDown** ud : {&GoodsUD1, &GoodsUD2}) {
        *ud = Make<ui::UpDown>();
        (*ud)->Name = ud == &GoodsUD1 ? "GoodsUD1" : "GoodsUD2";
        (*ud)->Min = 0;
        (*ud)->Max = kGoodsCount - 1;
        (*ud)->SetBounds(x, 8, 16, 20);
        (*ud)->OnClick = [this](ui::Control& s) { GoodsUDClick(static_cast<ui::UpDown&>(s)); };
        x += 18;
    }
    GoodsName = label("GoodsName", 94, 11, 140);
    VariantLabel = label("VariantLabel", 238, 11, 60);

    for (int r = 0; r < 8; ++r)
        GridRows[static_cast<std::size_t>(r)] =
            label(("Grid" + std::to_string(r)).c_str(), 8, 38 + r * 16, 100);
    for (int k = 0; k < 6; ++k)
        Params[static_cast<std::size_t>(k)] = label(kParamNames[k], 120, 38 + k * 16, 120);
    ViLabel = label("ViLabel", 120, 38 + 6 * 16 + 4, 80, B5("流行＋１"));
    ViLabel->OnClick = [this](ui::Control&) { ViLabelClick(); };
    VaLabel = label("VaLabel", 204, 38 + 6 * 16 + 4, 80, B5("免疫＋１"));
    VaLabel->OnClick = [this](ui::Control&) { VaLabelClick(); };
    for (ui::Label* l : {ViLabel, VaLabel}) l->SetFontColor(ui::clBlue);

    Image1 = Make<ui::Image>();
    Image1->Name = "Image1";
    Image1->SetAutoSize(false);
    Image1->SetBounds(8, 180, kGraphWidth, kGraphHeight);
    Image1->OnClick = [this](ui::Control&) { Image1Click(); };

    OnClose = [](ui::Form&, ui::CloseAction& action) { action = ui::CloseAction::caFree; };
    FsCtrlForm = this;
}

TFsCtrlForm::~TFsCtrlForm() {
    if (FsCtrlForm == this) FsCtrlForm = nullptr;
}

void TFsCtrlForm::Disp() {
    Redraw();
    Show();
    ui::Record("window", "流行");
}

int TFsCtrlForm::Goods() const {
    const std::string& t = GoodsBox->Text();
    if (t.empty()) return 0;
    errno = 0;
    char* end = nullptr;
    const long n = std::strtol(t.c_str(), &end, 10);
    if (end == t.c_str() || *end != 0 || errno != 0) return 0;
    return static_cast<int>(std::clamp<long>(n, 0, kGoodsCount - 1));
}

std::string TFsCtrlForm::GridRowText(int goods, int r) {
    std::string s;
    for (int c = 0; c < 8; ++c) {
        const int state = Fashions[goods].CellState(r * 8 + c);
        s += kMarks[state >= 0 && state < 3 ? state : 0];
    }
    return s;
}

void TFsCtrlForm::GoodsUDClick(ui::UpDown& sender) {
    GoodsBox->SetText(std::to_string(sender.Position()));  // its change handler redraws
}

void TFsCtrlForm::GoodsBoxChange() {
    const int g = Goods();
    GoodsUD1->SetPosition(g);
    GoodsUD2->SetPosition(g);
    Redraw();
}

void TFsCtrlForm::ViLabelClick() {
    Fashions[Goods()].SeedWant();
    Redraw();
}

void TFsCtrlForm::VaLabelClick() {
    Fashions[Goods()].SeedImmune();
    Redraw();
}

void TFsCtrlForm::Redraw() {
    const int g = Goods();
    const Fashion& f = Fashions[g];
    GoodsName->SetCaption(ItemName(g));
    VariantLabel->SetCaption(B5(GameVariant() == 0 ? "季節Ａ" : "季節Ｂ"));
    for (int r = 0; r < 8; ++r)
        GridRows[static_cast<std::size_t>(r)]->SetCaption(GridRowText(g, r));
    const std::uint32_t values[6] = {f.WantRate(),   f.WantLife(),     f.ImmuneRate(),
                                     f.ImmuneLife(), f.ImmunePeriod(), f.ImmuneTimer()};
    for (int k = 0; k < 6; ++k)
        Params[static_cast<std::size_t>(k)]->SetCaption(std::string(kParamNames[k]) + " " +
                                                        std::to_string(values[k]));
    DrawGraph(g);
}

void TFsCtrlForm::DrawGraph(int goods) {
    const Fashion& f = Fashions[goods];
    ui::Canvas& c = Image1->GetCanvas();
    const int bottom = kGraphHeight - 1;
    c.Brush.Style = ui::BrushStyle::bsSolid;
    c.Brush.Color = ui::clWhite;
    c.FillRect(ui::Rect{0, 0, kGraphWidth, kGraphHeight});

    const int today = std::clamp(GameDay(), 0, kGameDays - 1);
    // One silver column a day, as high as the day's popularity.
    c.Pen.Color = ui::clSilver;
    for (int d = 0; d <= today; ++d) {
        const int h = std::clamp(f.HistoryOf(d), 0, bottom);
        if (h == 0) continue;
        c.MoveTo(d, bottom);
        c.LineTo(d, bottom - h);
    }
    // Guide lines every 10 pixels from the bottom: purple every 20, blue between.
    for (int y = 0; y <= bottom; y += 10) {
        c.Pen.Color = y % 20 == 0 ? ui::clPurple : ui::clBlue;
        c.MoveTo(0, bottom - y);
        c.LineTo(kGraphWidth, bottom - y);
    }
    // A red dot at the running average of the days so far.
    int sum = 0;
    for (int d = 0; d <= today; ++d) {
        sum += f.HistoryOf(d);
        const int avg = std::clamp(sum / (d + 1), 0, bottom);
        c.SetPixel(d, bottom - avg, ui::clRed);
    }
    Image1->PictureChanged();
}
