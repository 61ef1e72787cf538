#include "shop/Option.h"

#include <cstdint>

#include "platform/Application.h"
#include "platform/Big5.h"
#include "shop/Shop.h"

namespace {

// The flag while no shop window exists.
std::uint8_t g_FullScreen = 0;

std::uint8_t& FullScreenFlag() { return ShopForm ? ShopForm->FullScreen : g_FullScreen; }

void DesktopSize(int& w, int& h) {
    w = 1024;
    h = 768;
    if (ui::HaveApp()) ui::App().DesktopSize(w, h);
}

// The shop window re-lays itself out for the mode and repaints. The event server's
// stage and the map screen take the new screen size when they are next shown.
void Relayout(bool full) {
    if (!ShopForm) return;
    int w = 0, h = 0;
    DesktopSize(w, h);
    if (full)
        ShopForm->LayoutForScreen(640, 480);
    else
        ShopForm->LayoutForScreen(w, h);
    ShopForm->Invalidate();
}

// Disables the shop window for the switch and enables it again.
struct ShopDisabled {
    ShopDisabled() {
        if (ShopForm) ShopForm->SetEnabled(false);
    }
    ~ShopDisabled() {
        if (ShopForm) ShopForm->SetEnabled(true);
    }
};

}  // namespace

int IsFullScreenMode() { return FullScreenFlag(); }

bool ChangeResolution(int width, int height) {
    const bool full = width == 640 && height == 480;
    if (ui::HaveApp() && ui::App().SetFullScreen(full)) return true;
    if (ui::HaveApp())
        ui::App().MessageBox(B5("好像不能用這個解析度進行遊戲的樣子"), B5("緹菈"), 0);
    return false;
}

bool SetFullScreen() {
    ShopDisabled off;
    int w = 0, h = 0;
    DesktopSize(w, h);
    if (FullScreenFlag() != 0 || w == 640 || h == 480) return false;
    if (!ChangeResolution(640, 480)) return false;
    Relayout(true);
    FullScreenFlag() = 1;
    return true;
}

bool RestoreDisplayMode() {
    ShopDisabled off;
    if (FullScreenFlag() != 1) return false;
    int w = 0, h = 0;
    DesktopSize(w, h);
    if (!ChangeResolution(w, h)) return false;
    Relayout(false);
    FullScreenFlag() = 0;
    return true;
}
