// Feeds arbitrary byte strings (any length, any marks, broken Big5) to the message
// window's page drawer, with and without the end button to stop at: nothing may be
// drawn outside the text area and the drawing must always come to an end.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "platform/Application.h"
#include "platform/Bitmap.h"
#include "platform/headless/HeadlessBackend.h"
#include "town/Srcdbtxtform21.h"

namespace {

std::unique_ptr<ui::HeadlessBackend> QuietBackend() {
    auto backend = std::make_unique<ui::HeadlessBackend>();
    // Without game data the window says its pictures are missing, and goes on.
    backend->SetMessageBoxResponder([](const ui::MessageBoxRequest&) { return ui::IDOK; });
    return backend;
}

struct Fixture {
    Fixture() : app(QuietBackend()) {
        win = std::make_unique<TDbTxtForm2>();  // without game data: the plain pictures
        win->LoadFaces();
        // Face marks name no picture here, so the drawer never reads the disk.
        for (std::string& name : win->m_FaceNames) name.clear();
    }
    ui::Application app;
    std::unique_ptr<TDbTxtForm2> win;
};

// Whether columns x0..x1 - 1 of row y are alike in both pictures. The page is a copy
// of the background in its format, so alike bytes are alike pixels: a row is compared
// at once, not a pixel at a time.
bool SameRun(const ui::Bitmap& a, const ui::Bitmap& b, int y, int x0, int x1) {
    if (x0 >= x1) return true;
    const std::size_t bytes = static_cast<std::size_t>(a.BitsPerPixel() / 8);
    return std::memcmp(a.ScanLine(y) + x0 * bytes, b.ScanLine(y) + x0 * bytes,
                       static_cast<std::size_t>(x1 - x0) * bytes) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Fixture f;
    TDbTxtForm2& w = *f.win;
    const bool endButton = size > 0 && (data[0] & 1) != 0;
    w.SetText(std::string(reinterpret_cast<const char*>(data), size));
    w.SetState(kMsgEndButton, endButton);
    w.m_BtnEnd->Hide();
    int calls = 0;
    while (!w.TestState(kMsgAllTyped) && !w.TestState(kMsgPageFull)) {
        const int before = w.m_TypePos;
        w.DrawOne();
        // Every call moves on through the text or ends the page.
        if (w.m_TypePos <= before && !w.TestState(kMsgPageFull) && !w.TestState(kMsgAllTyped))
            std::abort();
        if (++calls > static_cast<int>(size) + 2) std::abort();
    }
    // The text area: from (origin - 1) to the page's width and its height less the margin.
    const ui::Bitmap& page = w.TextBitmap();
    const ui::Bitmap& back = w.PageBackground();
    const int left = w.m_OriginX - 1, top = w.m_OriginY - 1;
    const int right = back.Width(), bottom = back.Height() - (w.m_OriginY - 1);
    if (page.Format() != back.Format() || page.Width() != back.Width() ||
        page.Height() != back.Height() || page.BitsPerPixel() < 8)
        std::abort();
    const int width = back.Width();
    for (int y = 0; y < back.Height(); ++y) {
        const bool outside = y < top || y >= bottom;
        if (!SameRun(page, back, y, 0, outside ? width : std::clamp(left, 0, width)) ||
            (!outside && !SameRun(page, back, y, std::clamp(right, 0, width), width)))
            std::abort();
    }
    if (endButton) {
        const ui::Rect r = w.EndButtonPageRect();
        for (int y = std::max(r.Top, 0); y < std::min(r.Bottom, back.Height()); ++y)
            if (!SameRun(page, back, y, std::clamp(r.Left, 0, width),
                         std::clamp(r.Right, 0, width)))
                std::abort();
    }
    return 0;
}
