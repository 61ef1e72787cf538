#pragma once
#include <array>

#include "platform/Controls.h"
#include "platform/DevControls.h"
#include "platform/Form.h"

// The developer's fashion window (流行): the demand model of one goods. Two up-down
// arrows and a number field choose the goods; the window shows its 8 x 8 grid of
// cells, its six parameters, its name, the game's variant and a graph of its
// popularity from the first day to today. ViLabel seeds a wanting cell, VaLabel an
// immune one, a click on the graph redraws. Made from the shop's developer menu, freed
// when it is closed; the next-turn button redraws it while it is open.
class TFsCtrlForm : public ui::Form {
public:
    TFsCtrlForm();
    ~TFsCtrlForm() override;
    TFsCtrlForm(const TFsCtrlForm&) = delete;
    TFsCtrlForm& operator=(const TFsCtrlForm&) = delete;

    static constexpr int kGraphWidth = 288;  // one column a day
    static constexpr int kGraphHeight = 80;

    void Disp();
    void Redraw();
    // The goods chosen in the number field: a text that is not a number counts as 0, a
    // number past either end as that end.
    int Goods() const;
    // The grid row r (0..7) as eight two-byte marks: none, wants, immune.
    static std::string GridRowText(int goods, int r);

    // --- Components ---
    ui::Edit* GoodsBox = nullptr;
    ui::UpDown* GoodsUD1 = nullptr;
    ui::UpDown* GoodsUD2 = nullptr;
    ui::Label* GoodsName = nullptr;
    ui::Label* VariantLabel = nullptr;
    std::array<ui::Label*, 8> GridRows{};
    std::array<ui::Label*, 6> Params{};
    ui::Label* ViLabel = nullptr;
    ui::Label* VaLabel = nullptr;
    ui::Image* Image1 = nullptr;

    // --- Handlers ---
    void GoodsUDClick(ui::UpDown& sender);
    void GoodsBoxChange();
    void ViLabelClick();
    void VaLabelClick();
    void Image1Click() { Redraw(); }

private:
    void DrawGraph(int goods);
};

extern TFsCtrlForm* FsCtrlForm;
