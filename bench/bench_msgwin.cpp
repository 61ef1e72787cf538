// The message window's page: typing a full page of Big5 cells (each a letter written
// into the cell and three raster blits onto the page), against the plain copy of the
// page background that resetting the page costs.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "platform/Application.h"
#include "platform/Big5.h"
#include "platform/Files.h"
#include "platform/headless/HeadlessBackend.h"
#include "town/Srcdbtxtform21.h"

namespace {

struct Window {
    Window() : app(std::make_unique<ui::HeadlessBackend>()) {
        ui::SetProgramFolder(ui::DefaultGameFolder());
        win = std::make_unique<TDbTxtForm2>();
        win->m_FaceFolder = "\\col24b\\palFace";
        win->LoadFaces();
    }
    ui::Application app;
    std::unique_ptr<TDbTxtForm2> win;
};

// Four lines of 23 cells: everything a plain message can put on the page.
std::string FullPage() {
    const std::string line = ui::Utf8ToBig5("今天天氣真好，去森林採些藥草，再回店裡調配魔法藥吧。");
    std::string text;
    while (text.size() < 4 * 23 * 2) text += line;
    return text.substr(0, 4 * 23 * 2);
}

void BM_DrawFullPage(benchmark::State& state) {
    Window w;
    const std::string text = FullPage();
    for (auto _ : state) {
        w.win->SetText(text);
        w.win->SetState(kMsgEndButton, false);
        w.win->DrawRest();
        benchmark::DoNotOptimize(w.win->TextBitmap().Bits());
    }
    state.SetItemsProcessed(state.iterations() * 4 * 23);  // cells
}
BENCHMARK(BM_DrawFullPage)->Unit(benchmark::kMicrosecond);

void BM_CopyPageBitmap(benchmark::State& state) {
    Window w;
    ui::Bitmap page;
    for (auto _ : state) {
        page = w.win->PageBackground();
        benchmark::DoNotOptimize(page.Bits());
    }
}
BENCHMARK(BM_CopyPageBitmap)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
