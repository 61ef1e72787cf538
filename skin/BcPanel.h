#pragma once
#include "platform/Controls.h"
#include "skin/CHBmpCnt.h"

// A panel that shows part of a skin sheet inside its bevels through its own reader and
// drawer (the drawer's destination is the rectangle inside the bevels, as of the last
// paint), with its caption over it. Its background is erased only with EraseBkGnd.
class TBcCustomPanel : public ui::Panel {
public:
    explicit TBcCustomPanel(ui::WinControl* parent = nullptr);
    ~TBcCustomPanel() override;

    TCHBcReader& BcReader() { return reader_; }
    TCHBcDrawer& BcDrawer() { return drawer_; }
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool on);
    bool Locked() const { return locked_; }
    void SetLocked(bool on) { locked_ = on; }
    bool EraseBkGnd() const { return eraseBkGnd_; }
    void SetEraseBkGnd(bool on);
    // The rectangle inside the bevels, as of the last paint.
    const ui::Rect& InnerRectPainted() const { return inner_; }
    const ui::Palette* GetPalette() const;

    ui::NotifyEvent OnPaint;
    ui::NotifyEvent OnPainted;
    ui::NotifyEvent OnPainting;
    ui::Canvas* PaintCanvas() const { return paintCanvas_; }

    void Paint(ui::Canvas& canvas) override;

private:
    void Changed();
    void ApplyAutoSize();

    ui::Rect inner_;  // before the drawer, which reads it when made
    TCHBcReader reader_;
    TCHBcDrawer drawer_;
    bool autoSize_ = false;
    bool locked_ = false;
    bool eraseBkGnd_ = true;
    ui::Canvas* paintCanvas_ = nullptr;
};

class TBcPanel : public TBcCustomPanel {
public:
    using TBcCustomPanel::TBcCustomPanel;
};
