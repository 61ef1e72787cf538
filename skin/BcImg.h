#pragma once
#include "platform/Controls.h"
#include "skin/CHBmpCnt.h"

// A graphic control that shows part of a skin sheet through its own reader and drawer
// (the drawer's destination is the client rectangle). OnPainting and OnPainted run
// around the paint; with OnPaint set the handler paints (on PaintCanvas()) instead of
// the drawer.
class TBcImage : public ui::Control {
public:
    explicit TBcImage(ui::WinControl* parent = nullptr);
    ~TBcImage() override;

    TCHBcReader& BcReader() { return reader_; }
    TCHBcDrawer& BcDrawer() { return drawer_; }
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool on);
    // Whether the picture covers the whole control (decided when AutoSize is applied).
    bool Opaque() const { return opaque_; }
    // The sheet's colour table, or null.
    const ui::Palette* GetPalette() const;

    ui::NotifyEvent OnPaint;
    ui::NotifyEvent OnPainted;
    ui::NotifyEvent OnPainting;
    // The canvas of the paint under way (for OnPaint), else null.
    ui::Canvas* PaintCanvas() const { return paintCanvas_; }

    void Paint(ui::Canvas& canvas) override;

private:
    void Changed();
    void ApplyAutoSize();

    TCHBcReader reader_;
    TCHBcDrawer drawer_;
    bool autoSize_ = false;
    bool opaque_ = false;
    ui::Canvas* paintCanvas_ = nullptr;
};
