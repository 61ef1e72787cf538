// The event stage: pictures by code, the three figure layers, and the transitions
// built from the eight dither patterns.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "media/FileFaults.h"
#include "media/Qvpack.h"
#include "platform/Application.h"
#include "platform/Canvas.h"
#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/Transcript.h"
#include "resources/Resources.h"
#include "shop/GameState.h"
#include "story/Register.h"
#include "town/EvPictures.h"
#include "town/Evsrvfm.h"

namespace {

constexpr int kSteps = 8;
constexpr std::uint32_t kStepMs = 100;  // a step lasts more than this
constexpr int kShakeBand = 32;
constexpr int kShakeSwing = 8;
constexpr int kShakeSwings = 15;
constexpr int kSlideSteps = 2;

const char* LayerName(int layer) {
    static const char* const kNames[kFigureLayers] = {"left", "centre", "right"};
    return kNames[layer];
}

std::string Hex(int code) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%03X", code);
    return buf;
}

template <class F, class... A>
void Call(const F& hook, A&&... args) {
    if (hook) hook(std::forward<A>(args)...);
}

void Fill(ui::Bitmap& b, ui::TColor c) {
    ui::Canvas& cv = b.GetCanvas();
    cv.Brush = ui::TBrush{};
    cv.Brush.Color = c;
    cv.FillRect(ui::Rect{0, 0, b.Width(), b.Height()});
}

// A blit whose pattern is `pattern` (an 8x8 brush bitmap).
void PatBlit(ui::Bitmap& dst, int x, int y, int w, int h, const ui::Bitmap* src, int sx, int sy,
             const ui::Bitmap& pattern, std::uint32_t rop) {
    ui::Canvas& cv = dst.GetCanvas();
    const ui::TBrush keep = cv.Brush;
    cv.Brush.Pattern = &pattern;
    cv.BitBlt(x, y, w, h, src, sx, sy, rop);
    cv.Brush = keep;
}

}  // namespace

// --- Pixel steps ---

ui::Bitmap LoadBrushPattern(int k) {
    ui::Bitmap b;
    const std::string name = "BRUSH" + std::to_string(k) + ".bmp";
    const res::Resource* r = res::FindResource(name);
    if (!r || !b.LoadFromMemory(std::span<const std::uint8_t>(r->data, r->size)) ||
        b.Width() != 8 || b.Height() != 8)
        b = ui::Bitmap(8, 8);
    return b;
}

ui::Bitmap InverseBrushPattern(const ui::Bitmap& pattern) {
    // By colour, not by inverting the pixels' bytes: a pattern picture keeps its two
    // colours in a palette, whose inverted indices name no white at all.
    ui::Bitmap inv(pattern.Width(), pattern.Height());
    for (int y = 0; y < pattern.Height(); ++y)
        for (int x = 0; x < pattern.Width(); ++x)
            inv.SetPixel(x, y, pattern.GetPixel(x, y) == ui::clWhite ? ui::clBlack : ui::clWhite);
    return inv;
}

void DissolveOutStep(ui::Bitmap& work, const ui::Bitmap& pattern) {
    PatBlit(work, 0, 0, work.Width(), work.Height(), &work, 0, 0, pattern, ui::MERGECOPY);
}

void DissolveInStep(ui::Bitmap& work, const ui::Bitmap& source, const ui::Bitmap& inverse) {
    PatBlit(work, 0, 0, work.Width(), work.Height(), &source, 0, 0, inverse, ui::MERGECOPY);
}

void CrossDissolveStep(ui::Bitmap& work, ui::Bitmap& second, const ui::Bitmap& back,
                       const ui::Bitmap& pattern, const ui::Bitmap& inverse) {
    const int w = work.Width(), h = work.Height();
    if (second.Width() != w || second.Height() != h || second.Format() != work.Format())
        second = ui::Bitmap(w, h, work.Format());
    PatBlit(work, 0, 0, w, h, &work, 0, 0, pattern, ui::MERGECOPY);
    PatBlit(second, 0, 0, w, h, &back, 0, 0, inverse, ui::MERGECOPY);
    work.GetCanvas().BitBlt(0, 0, w, h, &second, 0, 0, ui::SRCPAINT);
}

namespace {

// The mask (the key colour white, the figure black) and the ink (the figure with its
// key blackened) of a figure, at the target's format.
struct FigureMask {
    ui::Bitmap figure, mask, ink;  // `figure`: a copy of the one they were made from
};

bool SameBitmap(const ui::Bitmap& a, const ui::Bitmap& b) {
    return a.Width() == b.Width() && a.Height() == b.Height() && a.Format() == b.Format() &&
           a.Stride() == b.Stride() && a.ColorTable() == b.ColorTable() &&
           std::memcmp(a.Bits(), b.Bits(), static_cast<std::size_t>(a.Stride()) * a.Height()) == 0;
}

void MakeMask(FigureMask& m, const ui::Bitmap& figure, ui::PixelFormat format) {
    const int w = figure.Width(), h = figure.Height();
    m.figure = figure;
    m.mask = ui::Bitmap(w, h, format);
    m.ink = ui::Bitmap(w, h, format);
    if (format == ui::PixelFormat::pf8bit) {
        const ui::TColor key = figure.GetPixel(0, 0);
        for (int yy = 0; yy < h; ++yy)
            for (int xx = 0; xx < w; ++xx) {
                const ui::TColor c = figure.GetPixel(xx, yy);
                const bool clear = c == key;
                m.mask.SetPixel(xx, yy, clear ? ui::clWhite : ui::clBlack);
                m.ink.SetPixel(xx, yy, clear ? ui::clBlack : c);
            }
        return;
    }
    // Row by row in the pixels' bytes (blue, green, red and, at 32 bits, a zero).
    const int bytes = format == ui::PixelFormat::pf32bit ? 4 : 3;
    std::vector<std::uint32_t> colors(static_cast<std::size_t>(w));
    figure.RowColors(0, colors.data());
    const std::uint32_t key = colors[0];
    for (int yy = 0; yy < h; ++yy) {
        figure.RowColors(yy, colors.data());
        std::uint8_t* mp = m.mask.ScanLine(yy);
        std::uint8_t* kp = m.ink.ScanLine(yy);
        for (int xx = 0; xx < w; ++xx, mp += bytes, kp += bytes) {
            const bool clear = colors[xx] == key;
            const std::uint32_t mv = clear ? 0xFFFFFF : 0, kv = clear ? 0 : colors[xx];
            for (int b = 0; b < 3; ++b) {
                mp[b] = static_cast<std::uint8_t>(mv >> (8 * b));
                kp[b] = static_cast<std::uint8_t>(kv >> (8 * b));
            }
            if (bytes == 4) mp[3] = kp[3] = 0;
        }
    }
}

}  // namespace

void DrawTransparent(ui::Bitmap& target, const ui::Bitmap& figure, int x, int y) {
    if (figure.Empty()) return;
    // A scene shows the same few figures again and again: the masks of the last ones
    // are kept, each with a copy of its figure to be sure it is the same picture.
    static FigureMask made[kFigureLayers + 1];
    static int next = 0;
    const FigureMask* m = nullptr;
    for (const FigureMask& k : made)
        if (k.mask.Format() == target.Format() && SameBitmap(k.figure, figure)) m = &k;
    if (m == nullptr) {
        FigureMask& fresh = made[next];
        next = (next + 1) % std::size(made);
        MakeMask(fresh, figure, target.Format());
        m = &fresh;
    }
    const int w = figure.Width(), h = figure.Height();
    ui::Canvas& cv = target.GetCanvas();
    cv.BitBlt(x, y, w, h, &m->mask, 0, 0, ui::SRCAND);
    cv.BitBlt(x, y, w, h, &m->ink, 0, 0, ui::SRCPAINT);
}

// --- Loading ---

int TEventServerDbg::PlaceGrCode(int place, int hour) {
    const int variant = (hour >= 8 && hour <= 16) ? 0 : (hour >= 17 && hour <= 18) ? 1 : 2;
    const int index = (place & 31) * 4 + variant;
    // A land place carries the land base's bit (place::LandTown); the low bits are its node.
    return (place & place::LandTown) ? PictureCode(kLandKind, index)
                                     : PictureCode(kTownKind, index);
}

bool TEventServerDbg::LoadPicture(ui::Bitmap& target, int code) {
    // Codes that name nothing load nothing and change nothing.
    const std::string name = PictureMemberName(code, TestFlg(flag::NightSearch));
    if (name.empty()) return false;
    const int kind = code >> 8;
    const int index = code & 255;
    if (kind != kFigureKind) m_CurBg = code;
    const std::string pack = ui::ProgramFolder() + m_ArtFolder + "\\evpack\\" + GrPackNames[kind];
    std::unique_ptr<TMemoryStream> member;
    const bool opened = m_Pack->OpenPack(pack);
    const bool listed = opened && m_Pack->CheckFileName(name.c_str()) >= 0;
    if (listed) member = m_Pack->QvMakeStream(name.c_str());
    m_Pack->ClosePack();
    ui::Record("picture", Hex(code) + " " + name);
    if (kind == kEventKind) {
        if (index < kSeenPictureCount) SetFlg(kFirstPersistentFlag + index, true);
        if (EventServerHooks.ClockVisible && EventServerHooks.ClockVisible()) {
            Call(EventServerHooks.ShowClock, false);
            m_ClockHidden = 1;
        }
        if (EventServerHooks.CalendarVisible && EventServerHooks.CalendarVisible()) {
            Call(EventServerHooks.ShowCalendar, false);
            m_CalendarHidden = 1;
        }
        RefreshStage();
    }
    bool loaded = false;
    if (member) {
        ui::Bitmap picture;
        if (picture.LoadFromMemory(member->Bytes())) {
            target.SetSize(picture.Width(), picture.Height());
            target.GetCanvas().Draw(0, 0, picture);
            loaded = true;
        }
    }
    // The picture stays as it was. A pack or picture that is not there is no news to
    // the player (a folder may leave out what it does not use); one that is there but
    // cannot be read is told. The tables' stand-in names are in no pack.
    const bool standIn = name == "dmy" || name.front() == '\\';
    if (!loaded && !standIn && !m_ArtFolder.empty())
        NoteFileFault(pack, opened ? name : std::string(), listed);
    if (!m_AlbumMode) ShowStageForm();
    return loaded;
}

// --- Showing the work ---

void TEventServerDbg::ShowStageForm() {
    if (!Visible()) ShowStage();
    Call(EventServerHooks.ShowShop, false);
}

void TEventServerDbg::ShowWork() {
    m_Img->GetCanvas().Draw(0, 0, m_Work);
    m_Img->Invalidate();
    m_Img->Update();
}

void TEventServerDbg::StepWork(std::function<void()> step) {
    if (!ui::HaveApp() || !ui::App().GetBackend().ComposesOnLook()) {
        step();
        ShowWork();
        return;
    }
    m_OwedSteps.push_back(std::move(step));
    m_Img->Owe([this] { PayOwedSteps(); });
    m_Img->Invalidate();
    m_Img->Update();
}

void TEventServerDbg::PayOwedSteps() {
    m_Img->Owe(nullptr);
    const std::vector<std::function<void()>> steps = std::move(m_OwedSteps);
    m_OwedSteps.clear();
    for (const std::function<void()>& step : steps) step();
    if (!steps.empty()) m_Img->GetCanvas().Draw(0, 0, m_Work);
}

void TEventServerDbg::DropOwedSteps() {
    m_OwedSteps.clear();
    m_Img->Owe(nullptr);
}

void TEventServerDbg::WaitStep() {
    if (!ui::HaveApp()) return;
    ui::Application& app = ui::App();
    ui::WaitScope scope("transition");
    const std::uint32_t from = m_LastStepTick;
    for (;;) {
        app.ProcessMessages();
        if (app.Terminated() || ui::GetTickCount() - from > kStepMs) break;
        app.WaitUntil(from + kStepMs + 1);
    }
    m_LastStepTick = ui::GetTickCount();
}

void TEventServerDbg::DissolveOut() {
    m_TransitionRunning = 1;
    m_LastStepTick = ui::GetTickCount();
    for (int k = m_TransitionStep; k < kSteps; ++k) {
        m_TransitionStep = k;
        StepWork([this, k] { DissolveOutStep(m_Work, m_Brush[k]); });
        WaitStep();
    }
    DropOwedSteps();  // the work ends black whatever the steps left
    PatBlit(m_Work, 0, 0, m_Work.Width(), m_Work.Height(), nullptr, 0, 0, m_BrushBlack,
            ui::PATANDDEST);
    ShowWork();
    m_TransitionStep = 0;
    m_TransitionRunning = 0;
}

void TEventServerDbg::DissolveIn() {
    m_TransitionRunning = 1;
    m_LastStepTick = ui::GetTickCount();
    if (m_Work.Width() != m_Src.Width() || m_Work.Height() != m_Src.Height())
        m_Work.SetSize(m_Src.Width(), m_Src.Height());
    for (int k = m_TransitionStep; k < kSteps; ++k) {
        m_TransitionStep = k;
        StepWork([this, k] { DissolveInStep(m_Work, m_Src, m_BrushInv[k]); });
        WaitStep();
    }
    DropOwedSteps();  // the source covers the whole work
    m_Work.GetCanvas().Draw(0, 0, m_Src);
    m_TransitionStep = 0;
    m_TransitionRunning = 0;
    ShowWork();
    if (ui::HaveApp()) ui::App().ProcessMessages();
}

void TEventServerDbg::CrossDissolve() {
    m_TransitionRunning = 1;
    m_TransitionStep = 0;
    m_LastStepTick = ui::GetTickCount();
    if (m_Back.Width() != m_Work.Width() || m_Back.Height() != m_Work.Height())
        m_Back.SetSize(m_Work.Width(), m_Work.Height());
    for (int k = m_TransitionStep; k < kSteps; ++k) {
        m_TransitionStep = k;
        StepWork(
            [this, k] { CrossDissolveStep(m_Work, m_Work2, m_Back, m_Brush[k], m_BrushInv[k]); });
        WaitStep();
    }
    DropOwedSteps();  // the back covers the whole work
    m_Work.GetCanvas().Draw(0, 0, m_Back);
    m_TransitionRunning = 0;
    m_TransitionStep = 0;
    ShowWork();
    if (ui::HaveApp()) ui::App().ProcessMessages();
}

// --- Figures ---

int TEventServerDbg::FigureOf(int layer) const {
    return (layer >= 0 && layer < kFigureLayers) ? m_FigNo[layer] : -1;
}

int TEventServerDbg::FigureX(int layer) const {
    const int w = m_FigBmp[layer].Width();
    switch (layer) {
        case 0:
            return 0;
        case 1:
            return (m_Work.Width() - w) / 2;
        default:
            return m_Work.Width() - w;
    }
}

void TEventServerDbg::DrawFigure(ui::Bitmap& target, int layer, int x) const {
    if (m_FigNo[layer] < 0) return;
    const ui::Bitmap& fig = m_FigBmp[layer];
    DrawTransparent(target, fig, x, target.Height() - fig.Height());
}

void TEventServerDbg::ComposeStage(ui::Bitmap& out, int skip) const {
    out = m_Src;
    for (int layer = 0; layer < kFigureLayers; ++layer)
        if (layer != skip) DrawFigure(out, layer, FigureX(layer));
}

void TEventServerDbg::RemoveFigures() {
    for (int layer = 0; layer < kFigureLayers; ++layer) {
        m_FigNo[layer] = -1;
        m_FigBmp[layer] = ui::Bitmap();
    }
}

void TEventServerDbg::ShowFigure(int figure, int layer) {
    if (layer < 0 || layer >= kFigureLayers) return;
    if (figure < 0 || PictureMemberName(PictureCode(kFigureKind, figure), false).empty()) return;
    bool samePose = false;
    if (m_FigNo[layer] >= 0) {
        if (FigureGroupOf(m_FigNo[layer]) == FigureGroupOf(figure)) {
            // Another pose of the same character: swapped in place, no transition.
            m_FigNo[layer] = -1;
            m_FigBmp[layer] = ui::Bitmap();
            ComposeStage(m_Work, -1);
            samePose = true;
        } else {
            ClearFigure(layer);
        }
    }
    if ((layer == 0 || layer == 2) && m_FigNo[0] < 0 && m_FigNo[2] < 0 && m_FigNo[1] >= 0) {
        // The centre figure steps aside to the other side first.
        const int to = layer == 0 ? 2 : 0;
        const int x0 = FigureX(1);
        m_FigBmp[to] = std::move(m_FigBmp[1]);
        m_FigNo[to] = m_FigNo[1];
        m_FigNo[1] = -1;
        m_FigBmp[1] = ui::Bitmap();
        const int x1 = FigureX(to);
        ui::Record("transition", std::string("slide centre to ") + LayerName(to));
        m_LastStepTick = ui::GetTickCount();
        int x = x0;
        for (int step = 0; step < kSlideSteps; ++step) {
            x += (x1 - x0) / 4;
            ComposeStage(m_Work, to);
            DrawFigure(m_Work, to, x);
            ShowWork();
            WaitStep();
        }
        ComposeStage(m_Work, -1);
        ShowWork();
    }
    ui::Bitmap pose;
    if (!LoadPicture(pose, PictureCode(kFigureKind, figure))) return;
    m_FigBmp[layer] = std::move(pose);
    m_FigNo[layer] = figure;
    ui::Record("figure", "show " + std::to_string(figure) + " " + LayerName(layer));
    if (samePose) {
        DrawFigure(m_Work, layer, FigureX(layer));
        ShowWork();
    } else {
        m_Back = m_Work;
        DrawFigure(m_Back, layer, FigureX(layer));
        ui::Record("transition", "cross-dissolve");
        CrossDissolve();
    }
}

void TEventServerDbg::ClearFigure(int layer) {
    if (layer < 0 || layer >= kFigureLayers) return;
    ComposeStage(m_Back, layer);
    ui::Record("figure", std::string("clear ") + LayerName(layer));
    ui::Record("transition", "cross-dissolve");
    CrossDissolve();
    m_FigBmp[layer] = ui::Bitmap();
    m_FigNo[layer] = -1;
}

// --- Pictures ---

void TEventServerDbg::DspGr(int code) {
    if (code < 0) code = m_CurBg;
    if (PictureMemberName(code, false).empty()) return;
    RemoveFigures();
    if (m_TransitionOn) {
        LoadPicture(m_Src, code);
        ui::Record("transition", "dissolve-in");
        DissolveIn();
        m_TransitionOn = 0;
    } else {
        DissolveToGr(code);
    }
    DebugStep("DspGr");
}

void TEventServerDbg::DspGrDissolve(int code) {
    m_TransitionOn = 1;
    DspGr(code);
}

bool TEventServerDbg::ClearGr() {
    if (m_TransitionRunning) return false;
    m_Work = m_Src;
    ShowWork();
    ui::Record("transition", "dissolve-out");
    DissolveOut();
    return true;
}

bool TEventServerDbg::DissolveToGr(int code) {
    if (m_TransitionRunning) return false;
    if (code < 0) code = m_CurBg;
    if (PictureMemberName(code, false).empty()) return false;
    m_Back = m_Work;
    LoadPicture(m_Back, code);
    ui::Record("transition", "cross-dissolve");
    CrossDissolve();
    m_Src = m_Back;
    return true;
}

void TEventServerDbg::WhiteOut() {
    m_Back = ui::Bitmap(m_Work.Width(), m_Work.Height());
    ui::Record("transition", "white-out");
    CrossDissolve();
}

void TEventServerDbg::WhiteIn(int code) {
    if (code < 0) code = m_CurBg;
    if (PictureMemberName(code, false).empty()) return;
    RemoveFigures();
    m_Back = m_Src;
    LoadPicture(m_Back, code);
    Fill(m_Work, ui::clWhite);
    ui::Record("transition", "white-in");
    CrossDissolve();
    m_Src = m_Back;
}

void TEventServerDbg::ShakeGr(int sound) {
    const ui::Bitmap keep = m_Work;
    const int w = m_Work.Width(), h = m_Work.Height();
    ui::Record("transition", "shake");
    m_LastStepTick = ui::GetTickCount();
    for (int k = 0; k < kSteps; ++k) {
        PatBlit(m_Work, 0, 0, w, kShakeBand, &m_Work, 0, 0, m_Brush[k], ui::MERGECOPY);
        PatBlit(m_Work, 0, h - kShakeBand, w, kShakeBand, &m_Work, 0, h - kShakeBand, m_Brush[k],
                ui::MERGECOPY);
        ShowWork();
        WaitStep();
    }
    // The last pattern still keeps a few dots: the margins end black, as a dissolve does.
    PatBlit(m_Work, 0, 0, w, kShakeBand, nullptr, 0, 0, m_BrushBlack, ui::PATANDDEST);
    PatBlit(m_Work, 0, h - kShakeBand, w, kShakeBand, nullptr, 0, 0, m_BrushBlack, ui::PATANDDEST);
    ShowWork();
    m_TransitionRunning = 1;
    if (sound >= 0) PlaySound(sound);
    const int bandH = h - 2 * kShakeBand;
    int offset = kShakeSwing;
    for (int i = 0; i < kShakeSwings; ++i) {
        m_Img->GetCanvas().BitBlt(0, kShakeBand + offset, w, bandH, &m_Work, 0, kShakeBand,
                                  ui::SRCCOPY);
        m_Img->Invalidate();
        m_Img->Update();
        WaitStep();
        offset = -offset;
    }
    m_Img->GetCanvas().BitBlt(0, kShakeBand, w, bandH, &m_Work, 0, kShakeBand, ui::SRCCOPY);
    m_Img->Invalidate();
    if (ui::HaveApp()) ui::App().ProcessMessages();
    m_Back = keep;
    CrossDissolve();
    m_Work = keep;
    ShowWork();
    m_TransitionRunning = 0;
}

void TEventServerDbg::ShowPlaceGr(int place) { DspGr(PlaceGrCode(place, GameHour())); }

void TEventServerDbg::SetPlaceGr(int place) { SetGr(PlaceGrCode(place, GameHour())); }

void TEventServerDbg::SetGr(int code) {
    if (code < 0 || PictureMemberName(code, false).empty()) return;
    RemoveFigures();
    LoadPicture(m_Src, code);
    m_Work = m_Src;
    ShowWork();
}

void TEventServerDbg::ShowBlankStage(bool show) {
    Fill(m_Img->Picture(), ui::clBlack);
    m_Img->Invalidate();
    if (show)
        ShowStageForm();
    else
        HideStage();
}

void TEventServerDbg::HideStage() {
    if (Visible()) ui::Record("stage", "hide");
    Hide();
}

void TEventServerDbg::ReleaseStageBitmaps() {
    for (ui::Bitmap* b : {&m_Work, &m_Src}) {
        *b = ui::Bitmap(kStageWidth, kStageHeight);
        Fill(*b, ui::clBlack);
    }
    m_Work2 = ui::Bitmap();
    m_Back = ui::Bitmap();
}

void TEventServerDbg::ShowStage() {
    if (!Visible()) ui::Record("stage", "show");
    Show();
}

void TEventServerDbg::ShowAlbumPicture(ui::Image* image, int k) {
    if (!image || k < 0 || k >= kEvGrCount) return;
    m_AlbumMode = 1;
    ui::Bitmap picture;
    const bool loaded = LoadPicture(picture, PictureCode(kEventKind, k));
    m_AlbumMode = 0;
    if (!loaded) return;
    ui::Bitmap& shown = image->Picture();
    if (shown.Empty()) shown = ui::Bitmap(image->Width(), image->Height());
    ui::Bitmap back(shown.Width(), shown.Height(), shown.Format());
    back.GetCanvas().StretchDraw(ui::Rect{0, 0, back.Width(), back.Height()}, picture);
    ui::Bitmap second;
    ui::Record("transition", "album cross-dissolve");
    m_LastStepTick = ui::GetTickCount();
    for (int step = 0; step < kSteps; ++step) {
        CrossDissolveStep(shown, second, back, m_Brush[step], m_BrushInv[step]);
        image->Invalidate();
        image->Update();
        WaitStep();
    }
    shown = back;
    image->Invalidate();
}
