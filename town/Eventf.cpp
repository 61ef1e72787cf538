// The tag-script player of the opening and ending sequences.
#include "town/Eventf.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "media/Qvbitmap.h"
#include "media/Qvpack.h"
#include "platform/Application.h"
#include "platform/Big5.h"
#include "platform/Canvas.h"
#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/Transcript.h"

TEventForm* EventForm = nullptr;
std::atomic<int> EventTickCount{0};
bool LyricsActive = false;
int LyricEndingFlag = 0;

namespace {

// Tags one Interpret call runs at most before it lets a tick pass: only a script that
// calls itself without ever waiting reaches it, and the player stays responsive.
constexpr int kTagBudget = 100000;
constexpr int kSurfaceW = 640;
constexpr int kSurfaceH = 480;

// A number as the scripts write it (optional sign, decimal digits); `def` when the
// text is empty or not a whole number.
int Number(const std::string& s, int def) {
    if (s.empty()) return def;
    errno = 0;
    char* end = nullptr;
    const long v = std::strtol(s.c_str(), &end, 10);
    if (end == s.c_str() || *end != 0 || errno != 0 || v < INT_MIN || v > INT_MAX) return def;
    if (std::isspace(static_cast<unsigned char>(s[0]))) return def;
    return static_cast<int>(v);
}

std::string Upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

// `name` with `ext` appended when it has no dot.
std::string WithExt(const std::string& name, const char* ext) {
    return name.find('.') == std::string::npos ? name + ext : name;
}

// Sets one of the 64 positions of the 8 x 8 tile (row p / 8, column p mod 8).
void SetTileBit(std::array<std::uint8_t, 8>& m, int p) {
    p &= 63;
    m[p / 8] |= static_cast<std::uint8_t>(0x80 >> (p % 8));
}

// The tile bits that stage s (0..7) of mask effect `base` (1..10) sets.
std::array<std::uint8_t, 8> StageBits(int base, int s) {
    static constexpr int kStride[6] = {9, 7, 13, 19, 21, 25};
    std::array<std::uint8_t, 8> m{};
    switch (base) {
        case 1:
            m[s] = 0xFF;
            break;
        case 2:
            m[7 - s] = 0xFF;
            break;
        case 3:
            for (auto& row : m) row = static_cast<std::uint8_t>(0x80 >> s);
            break;
        case 4:
            for (auto& row : m) row = static_cast<std::uint8_t>(1 << s);
            break;
        default:
            for (int i = 0; i < 8; ++i) SetTileBit(m, kStride[base - 5] * (8 * s + i));
            break;
    }
    return m;
}

bool IsMaskEffect(int e) {
    return (e >= 1 && e <= 10) || (e >= 101 && e <= 110) || (e >= 201 && e <= 210) || e == 310 ||
           (e >= 301 && e <= 304);
}
bool IsScrollEffect(int e) {
    const int b = e % 100;
    return e < 300 && b >= 11 && b <= 14;
}

}  // namespace

TEventForm::TEventForm() {
    Name = "EventForm";
    SetColor(ui::clBlack);
    SetBounds(0, 0, kSurfaceW, kSurfaceH);
    EventPanel = Make<ui::Panel>();
    EventPanel->SetBevelOuter(ui::BevelCut::bvNone);
    EventPanel->SetBounds(0, 0, kSurfaceW, kSurfaceH);
    EventPanel->SetColor(ui::clBlack);
    EventImage = EventPanel->Make<ui::Image>();
    EventImage->SetBounds(0, 0, kSurfaceW, kSurfaceH);
    EventDib = std::make_unique<TQvDib>(kSurfaceW, kSurfaceH);
    BGDib = std::make_unique<TQvDib>(kSurfaceW, kSurfaceH);
    EventDib->SetImage(EventImage);
    // The timer runs only while a script plays; each tick wakes the pump so the run
    // loop can sleep between ticks.
    EventTimer.SetEnabled(false);
    EventTimer.SetInterval(kTickMs);
    EventTimer.SetOnTimer([](TQvTimer&) {
        if (ui::HaveApp()) ui::App().GetBackend().Wake();
    });
    EventWave.SetSyncMode(smASync);
    subtitleFont_.Name = B5("新細明體");
    subtitleFont_.Height = -18;
    subtitleFont_.SetBold(true);
    auto mouse = [this](ui::Control&, ui::MouseButton b, ui::ShiftState s, int, int) {
        EventImageMouseDown(b, s);
    };
    OnMouseDown = mouse;
    EventImage->OnMouseDown = mouse;
    OnShow = [this](ui::Form&) { FormShow(); };
    OnMessage = [this](ui::Form&, const ui::Message& m) {
        if (m.msg == ui::WM_USER) SetModalResult(Play());
    };
    Hide();
    SetFullSize(true);
    if (EventForm == nullptr) EventForm = this;
}

TEventForm::~TEventForm() {
    state_ = 0;
    EventTimer.SetEnabled(false);
    EventTimer.SetOnTimer(nullptr);
    EventWave.Stop();
    if (EventDib) EventDib->SetImage(nullptr);
    if (EventForm == this) EventForm = nullptr;
}

void TEventForm::SetFullSize(bool on) {
    if (on == fullSize_) return;
    fullSize_ = on;
    if (on) {
        SetBorderStyle(ui::BorderStyle::bsNone);
        SetFormStyle(ui::FormStyle::fsStayOnTop);
    } else {
        SetBorderStyle(ui::BorderStyle::bsSingle);
        SetFormStyle(ui::FormStyle::fsNormal);
        SetClientWidth(kSurfaceW);
        SetClientHeight(kSurfaceH);
        if (ui::HaveApp()) {
            const ui::Screen& s = ui::App().GetScreen();
            SetLeft((s.Width() - Width()) / 2);
            SetTop((s.Height() - Height()) / 2);
        }
    }
    EventPanel->SetBounds(0, 0, kSurfaceW, kSurfaceH);
}

void TEventForm::FormShow() {
    if (fullSize_ && ui::HaveApp()) {
        const ui::Screen& s = ui::App().GetScreen();
        SetBounds(0, 0, s.Width(), s.Height());
        EventPanel->SetBounds((s.Width() - kSurfaceW) / 2, (s.Height() - kSurfaceH) / 2, kSurfaceW,
                              kSurfaceH);
        ui::SetCursorPos(s.Width() - 1, 0);
    }
    PostMessage(ui::WM_USER);
}

void TEventForm::Open(TQvPack* pack) {
    if (open_) Close();
    pack_ = pack;
    EventDib->InitPal();
    EventDib->Cls();
    EventDib->OverlayFont = &subtitleFont_;
    BGDib->Cls();
    EventWave.SetSyncMode(smASync);
    wait_ = 0;
    anchor_ = 0;
    wait2_ = false;
    skip_ = false;
    clicked_ = rightClicked_ = false;
    text_.clear();
    position_ = 0;
    for (StackEntry& e : stack_) e = StackEntry{};
    depth_ = 0;
    state_ = 0;
    trans_ = Transition{};
    open_ = true;
}

void TEventForm::Close() {
    state_ = 0;
    // Called from inside the run loop's own pump, the loop leaves once this returns.
    if (!pumping_ && ui::HaveApp()) {
        ui::WaitScope scope("TEventForm::Close");
        while (playing_) {
            ui::App().ProcessMessages();
            if (playing_) ui::App().WaitUntil(ui::GetTickCount() + kTickMs);
        }
    }
    wait_ = 0;
    text_.clear();
    position_ = 0;
    trans_ = Transition{};
    pack_ = nullptr;
    open_ = false;
}

bool TEventForm::ReadScript(const std::string& name, std::string& out) {
    std::vector<std::uint8_t> bytes;
    if (pack_ != nullptr) {
        if (!pack_->IsOpen()) return false;
        std::unique_ptr<TMemoryStream> s = pack_->QvMakeStream(name.c_str());
        if (!s) return false;
        bytes = s->Bytes();
    } else if (!ui::ReadFile(name, bytes)) {
        return false;
    }
    out.assign(bytes.begin(), bytes.end());
    return true;
}

bool TEventForm::RunText(const std::string& text) {
    if (!open_ || state_ != 0) return false;
    text_ = text;
    position_ = 1;
    wait_ = 0;
    anchor_ = 0;
    wait2_ = false;
    skip_ = false;
    clicked_ = rightClicked_ = false;
    depth_ = 0;  // a new run starts at the bottom of the stack
    state_ = 1;
    Tick();
    return true;
}

bool TEventForm::RunFile(const std::string& name) {
    if (!open_ || state_ != 0) return false;
    std::string text;
    if (!ReadScript(name, text)) return false;
    return RunText(text);
}

bool TEventForm::LoadFile(const std::string& name) {
    std::string text;
    if (!ReadScript(name, text)) return false;
    text_ = std::move(text);
    position_ = 1;
    return true;
}

void TEventForm::Tick() {
    if (!open_) return;
    if (SkipClicked()) state_ = 0;
    if (state_ == 0) return;
    ++anchor_;
    ++EventTickCount;
    if (state_ == 2) {
        TransitionStep();
        return;
    }
    if (wait_ > 0) {
        if (!wait2_) {
            --wait_;
        } else if (wait_ <= anchor_) {
            anchor_ -= wait_;
            wait_ = 0;
            wait2_ = false;
        }
    }
    if (wait_ == 0) {
        wait_ = Interpret();
        clicked_ = rightClicked_ = false;
    }
}

int TEventForm::Interpret() {
    if (!open_) return 0;
    if (SkipClicked()) state_ = 0;
    int wait = 0;
    int budget = kTagBudget;
    while (position_ > 0 && state_ == 1 && wait == 0) {
        const int length = static_cast<int>(text_.size());
        if (length <= position_) {
            if (depth_ > 0) {
                --depth_;
                text_ = std::move(stack_[depth_].text);
                position_ = stack_[depth_].position;
                stack_[depth_] = StackEntry{};
                Trace(depth_ > 0 ? "EventForm Stack" + std::to_string(depth_) : "EventForm");
            } else {
                position_ = 0;
                state_ = 0;
            }
            continue;
        }
        const unsigned char c = static_cast<unsigned char>(text_[position_ - 1]);
        if (c != '<') {
            position_ += ui::IsBig5Lead(c) ? 2 : 1;
            continue;
        }
        const std::size_t close = text_.find('>', position_ - 1);
        const int k = close == std::string::npos ? -1 : static_cast<int>(close) - (position_ - 1);
        if (k < 2) {
            position_ += 1;
            continue;
        }
        const std::string body = text_.substr(position_, k - 1);
        position_ += k;
        wait = RunTag(body);
        PumpMessages();
        if (--budget == 0 && wait == 0 && state_ == 1) wait = 1;
    }
    return wait;
}

int TEventForm::RunTag(const std::string& body) {
    if (!body.empty() && body[0] == '#') return 0;
    // The command and up to five arguments, split at single blanks; the fifth keeps
    // whatever blanks follow.
    std::string part[6];
    std::size_t from = 0;
    for (int i = 0; i < 6; ++i) {
        if (i == 5) {
            part[i] = body.substr(from);
            break;
        }
        const std::size_t blank = body.find(' ', from);
        if (blank == std::string::npos) {
            part[i] = body.substr(from);
            break;
        }
        part[i] = body.substr(from, blank - from);
        from = blank + 1;
    }
    const std::string cmd = Upper(part[0]);
    if (cmd == "WAIT") {
        const int n = Number(part[1], 10);
        return SkipClicked() ? 0 : std::max(n, 0);
    }
    if (cmd == "ANCHOR") {
        anchor_ = 0;
        EventTimer.CountClear();
        return 0;
    }
    if (cmd == "WAIT2") {
        const int n = Number(part[1], 10);
        if (n > 0) {
            wait2_ = true;
            return n;
        }
        if (!SkipClicked()) {
            anchor_ = 0;
            EventTimer.CountClear();
        }
        return 0;
    }
    if (cmd == "PALETTE") {
        const std::string name = WithExt(part[1], ".ACT");
        // A palette that does not load leaves the one in use.
        const bool loaded =
            pack_ != nullptr ? EventDib->SetActPack(pack_, name) : EventDib->SetActFile(name);
        if (!loaded) ui::Record("error", "palette " + name + " not loaded");
        return 0;
    }
    if (cmd == "BGLOAD" || cmd == "BGTRANS") {
        std::vector<std::uint8_t> px;
        int w = 0, h = 0;
        if (!LoadPicture(part[1], px, w, h)) return 0;
        const int x = Number(part[2], 0), y = Number(part[3], 0);
        if (cmd == "BGLOAD")
            BGDib->PutPat(x, y, w, h, px.data());
        else
            BGDib->PasPat(x, y, w, h, px.data(), px[0]);
        return 0;
    }
    if (cmd == "PICTURE" || cmd == "PICTRANS") {
        std::vector<std::uint8_t> px;
        int w = 0, h = 0;
        if (!LoadPicture(part[1], px, w, h)) return 0;
        const int effect = Number(part[2], 0);
        const int x = Number(part[3], 0), y = Number(part[4], 0);
        if (cmd == "PICTRANS") {
            // The key colour lets the background show through.
            const std::uint8_t key = px[0];
            for (int j = 0; j < h; ++j)
                for (int i = 0; i < w; ++i) {
                    std::uint8_t& p = px[std::size_t(j) * w + i];
                    const int bx = x + i, by = y + j;
                    if (p == key && bx >= 0 && by >= 0 && bx < BGDib->Width() &&
                        by < BGDib->Height())
                        p = BGDib->PGet(bx, by);
                }
        }
        trans_.pixels = std::move(px);
        trans_.x = x;
        trans_.y = y;
        trans_.w = w;
        trans_.h = h;
        ui::Record("picture", part[1] + (effect ? " effect " + std::to_string(effect) : ""));
        StartTransition(effect);
        return 0;
    }
    if (cmd == "BGSHOW") {
        const int effect = Number(part[1], 0);
        int x = Number(part[2], 0), y = Number(part[3], 0);
        int w = Number(part[4], kSurfaceW), h = Number(part[5], kSurfaceH);
        // The rectangle, clipped to both surfaces.
        const int right = std::min({x + std::max(w, 0), BGDib->Width(), EventDib->Width()});
        const int bottom = std::min({y + std::max(h, 0), BGDib->Height(), EventDib->Height()});
        x = std::max(x, 0);
        y = std::max(y, 0);
        w = right - x;
        h = bottom - y;
        if (w <= 0 || h <= 0) return 0;
        trans_.pixels.assign(std::size_t(w) * h, 0);
        BGDib->GetPat(x, y, w, h, trans_.pixels.data());
        trans_.x = x;
        trans_.y = y;
        trans_.w = w;
        trans_.h = h;
        ui::Record("picture", "background" + (effect ? " effect " + std::to_string(effect) : ""));
        StartTransition(effect);
        return 0;
    }
    if (cmd == "CLEAR") {
        const auto c = static_cast<std::uint8_t>(Number(part[1], 0));
        EventDib->BoxFill(0, 0, kSurfaceW - 1, kSurfaceH - 1, c);
        BGDib->BoxFill(0, 0, kSurfaceW - 1, kSurfaceH - 1, c);
        return 0;
    }
    if (cmd == "WAVE") {
        if (part[1].empty()) {
            EventWave.Stop();
            return 0;
        }
        const std::string name = WithExt(part[1], ".Wav");
        if (!SkipClicked()) {
            if (pack_ != nullptr)
                EventWave.Play(pack_, name);
            else
                EventWave.Play(name);
            ui::Record("sound", name);
            FoldTimerIntoAnchor();
        }
        return 0;
    }
    if (cmd == "CDPLAY") {
        CdPlay(Number(part[1], 0), part[2] == "ON");
        return 0;
    }
    if (cmd == "CDSTOP") {
        CdStop();
        return 0;
    }
    if (cmd == "SCRIPT") {
        if (depth_ < kStackDepth) {
            stack_[depth_] = StackEntry{text_, position_};
            ++depth_;
            Trace("EventForm Stack" + std::to_string(depth_));
        } else {
            Trace("EventForm StackOverflow");
        }
        if (!part[1].empty() && !LoadFile(part[1])) {
            position_ = 0;
            state_ = 0;
        }
        return 0;
    }
    if (cmd == "SKIP") {
        if (part[1] == "ON") {
            skip_ = true;
            clicked_ = false;
        } else {
            skip_ = false;
        }
        return 0;
    }
    if (cmd == "QUIT") {
        position_ = static_cast<int>(text_.size());
        return 0;
    }
    if (cmd == "END") {
        position_ = 0;
        state_ = 0;
        return 0;
    }
    Trace("EventForm TagErr<" + cmd + ">");
    return 0;
}

bool TEventForm::LoadPicture(const std::string& name, std::vector<std::uint8_t>& pixels, int& w,
                             int& h) {
    if (name.empty()) return false;
    const std::string file = WithExt(name, ".BMP");
    RGBQUAD* pal = nullptr;
    std::uint8_t* px = nullptr;
    w = h = 0;
    const bool ok = pack_ != nullptr ? LoadBmpPack(pack_, file, &pal, &px, &w, &h)
                                     : LoadBmpFile(file, &pal, &px, &w, &h);
    if (!ok || px == nullptr || w <= 0 || h <= 0) {
        QvFree(pal);
        QvFree(px);
        return false;
    }
    pixels.assign(px, px + std::size_t(w) * h);
    QvFree(pal);
    QvFree(px);
    return true;
}

void TEventForm::ShowNow() {
    if (!trans_.pixels.empty())
        EventDib->PutPat(trans_.x, trans_.y, trans_.w, trans_.h, trans_.pixels.data());
    trans_ = Transition{};
}

void TEventForm::StartTransition(int effect) {
    if (effect == 0 || effect == 100 || SkipClicked()) {
        ShowNow();
        return;
    }
    bool known = IsMaskEffect(effect) || IsScrollEffect(effect);
    if (IsScrollEffect(effect)) {
        // The vertical scrolls take only full-width pictures, the sideways ones only
        // full-height ones; others come in at once.
        const int b = effect % 100;
        if ((b <= 12 && trans_.w != kSurfaceW) || (b >= 13 && trans_.h != kSurfaceH)) {
            ShowNow();
            return;
        }
    }
    if (!known) {
        trans_ = Transition{};
        return;
    }
    trans_.effect = effect;
    trans_.step = 0;
    trans_.mask = {};
    state_ = 2;
    ui::Record("transition", std::to_string(effect));
    FoldTimerIntoAnchor();
}

void TEventForm::FoldTimerIntoAnchor() {
    anchor_ += EventTimer.Count();
    EventTimer.CountClear();
}

void TEventForm::EndTransition() {
    state_ = 1;
    trans_ = Transition{};
    FoldTimerIntoAnchor();
}

void TEventForm::TransitionStep() {
    Transition& t = trans_;
    const int e = t.effect;
    const int s = t.step++;
    TQvDib& dib = *EventDib;
    const std::uint8_t* pic = t.pixels.data();
    bool done = false;
    dib.ModifiedOff();
    if (IsMaskEffect(e) && e < 300) {
        // Blinds and ordered dissolves: stages of 8 tile positions, one a step, two a
        // step at double pace, one every 8th tick at the slow pace.
        const int base = e % 100;
        std::array<std::uint8_t, 8> add{};
        int steps = 8;
        auto stage = [&](int k) {
            const auto m = StageBits(base, k);
            for (int i = 0; i < 8; ++i) add[i] |= m[i];
        };
        if (e < 100) {
            stage(s);
        } else if (e < 200) {
            steps = 4;
            stage(2 * s);
            stage(2 * s + 1);
        } else {
            steps = 64;
            if (s % 8 == 0) stage(s / 8);
        }
        if (add != std::array<std::uint8_t, 8>{})
            dib.QvPutPatM(t.x, t.y, t.w, t.h, pic, t.w, add.data(), 8, 8);
        done = t.step >= steps;
    } else if (e == 310) {
        std::array<std::uint8_t, 8> add{};
        for (int i = 0; i < 4; ++i) SetTileBit(add, 25 * (4 * s + i));
        dib.QvPutPatM(t.x, t.y, t.w, t.h, pic, t.w, add.data(), 8, 8);
        done = t.step >= 16;
    } else if (e >= 301 && e <= 304) {
        // Diagonal wipes: tiles on the same diagonal from the effect's corner start
        // together, each diagonal one step after the one before, and every tile runs
        // a 16-step dissolve of 4 positions a step. The tiles of a row that are in
        // their 16 steps lie side by side: one masked blit draws them, its mask holding
        // each tile's positions (the event surface is never mirrored, so every pixel
        // lands where a blit of its own tile would put it).
        static constexpr int kStride[4] = {5, 7, 3, 1};
        const int diagonals = std::max(1, t.w / 8 + t.h / 8 - 1);
        const int tilesX = (t.w + 7) / 8, tilesY = (t.h + 7) / 8;
        const bool fromRight = e == 302 || e == 304;
        const bool fromBottom = e == 303 || e == 304;
        std::vector<std::uint8_t> mask(std::size_t(tilesX) * 8);
        // A tile's diagonal d is cx + cy, the last one taking every tile beyond it; the
        // tile runs from step d to d + 15.
        for (int ty = 0; ty < tilesY && s - 15 <= diagonals - 1; ++ty) {
            const int cy = fromBottom ? tilesY - 1 - ty : ty;
            const int lo = std::max(0, s - 15 - cy);
            const int hi = diagonals - 1 <= s ? tilesX - 1 : std::min(tilesX - 1, s - cy);
            if (lo > hi) continue;
            const int first = fromRight ? tilesX - 1 - hi : lo;
            const int count = hi - lo + 1;
            std::fill(mask.begin(), mask.begin() + std::ptrdiff_t(count) * 8, 0);
            for (int k = 0; k < count; ++k) {
                const int tx = first + k;
                const int cx = fromRight ? tilesX - 1 - tx : tx;
                const int d = std::min(cx + cy, diagonals - 1);
                const int local = s - d;
                if (local < 0 || local >= 16) continue;
                std::array<std::uint8_t, 8> add{};
                for (int i = 0; i < 4; ++i) SetTileBit(add, kStride[d % 4] * (4 * local + i));
                for (int r = 0; r < 8; ++r) mask[std::size_t(r) * count + k] = add[r];
            }
            const int px = first * 8, py = ty * 8;
            dib.QvPutPatM(t.x + px, t.y + py, std::min(count * 8, t.w - px), std::min(8, t.h - py),
                          pic + std::size_t(py) * t.w + px, t.w, mask.data(), count * 8, 8);
        }
        done = t.step >= diagonals + 15;
    } else {
        // Scrolls: the surface moves by `pace` pixels and the next rows or columns of
        // the picture come in at the edge; never past the picture's own end.
        const int base = e % 100;
        const int pace = (e >= 100 && e < 200) ? 4 : 2;
        const int period = e >= 200 ? 4 : 1;
        const bool vertical = base <= 12;
        const int size = vertical ? t.h : t.w;
        const int shifts = (size + pace - 1) / pace;
        if (s % period == 0 && s / period < shifts) {
            const int j = s / period;
            const int c = std::min(pace, size - j * pace);
            std::uint8_t* px = dib.ImagePtr();
            const int stride = dib.Stride();
            const int W = dib.Width(), H = dib.Height();
            if (px != nullptr && c > 0) {
                // The surface moves a row (or a row's part) at a time: rows apart never
                // overlap, and a copy is cheaper than a move over the whole surface.
                if (base == 11) {
                    for (int y = 0; y + c < H; ++y)
                        std::memcpy(px + std::size_t(y) * stride, px + std::size_t(y + c) * stride,
                                    std::size_t(stride));
                    for (int r = 0; r < c; ++r)
                        dib.QvPutPat(t.x, H - c + r, t.w, 1, pic + std::size_t(j * pace + r) * t.w,
                                     t.w, false, 0);
                } else if (base == 12) {
                    for (int y = H - 1; y - c >= 0; --y)
                        std::memcpy(px + std::size_t(y) * stride, px + std::size_t(y - c) * stride,
                                    std::size_t(stride));
                    for (int r = 0; r < c; ++r) {
                        const int src = size - j * pace - c + r;
                        dib.QvPutPat(t.x, r, t.w, 1, pic + std::size_t(src) * t.w, t.w, false, 0);
                    }
                } else if (base == 13) {
                    std::vector<std::uint8_t> row(std::size_t(std::max(W - c, 0)));
                    for (int y = 0; y < H && !row.empty(); ++y) {
                        std::memcpy(row.data(), px + y * stride + c, row.size());
                        std::memcpy(px + y * stride, row.data(), row.size());
                    }
                    dib.QvPutPat(W - c, t.y, c, t.h, pic + j * pace, t.w, false, 0);
                } else {
                    std::vector<std::uint8_t> row(std::size_t(std::max(W - c, 0)));
                    for (int y = 0; y < H && !row.empty(); ++y) {
                        std::memcpy(row.data(), px + y * stride, row.size());
                        std::memcpy(px + y * stride + c, row.data(), row.size());
                    }
                    dib.QvPutPat(0, t.y, c, t.h, pic + (size - j * pace - c), t.w, false, 0);
                }
            }
        }
        done = t.step >= shifts * period;
    }
    dib.SetModified();
    dib.ModifiedOn();
    if (done) EndTransition();
}

int TEventForm::Play() {
    playing_ = true;
    EventTimer.SetEnabled(true);
    EventTimer.CountClear();
    {
        ui::WaitScope scope("TEventForm::Play");
        while (state_ != 0) {
            if (EventTimer.Count() > 0) {
                EventTimer.CountDec();
                Tick();
            }
            PumpMessages();
            if (!ui::HaveApp() || ui::App().Terminated()) {
                state_ = 0;
                break;
            }
            // Sleep until the next tick (the timer wakes the pump) or input.
            if (state_ != 0 && EventTimer.Count() == 0) {
                ui::App().NoteProgress();
                ui::App().WaitUntil(ui::GetTickCount() + kTickMs);
            }
        }
    }
    EventTimer.SetEnabled(false);
    EventWave.Stop();
    CdStop();
    playing_ = false;
    return 1;
}

void TEventForm::EventImageMouseDown(ui::MouseButton button, ui::ShiftState shift) {
    if (button == ui::MouseButton::mbLeft) clicked_ = true;
    if (button == ui::MouseButton::mbRight) {
        rightClicked_ = true;
        if ((shift & ui::ssAlt) && (shift & ui::ssCtrl)) state_ = 0;
    }
}

void TEventForm::Trace(const std::string& text) {
    if (TraceOn) SetCaption(text);
}

void TEventForm::PumpMessages() {
    if (pumping_ || !ui::HaveApp()) return;
    pumping_ = true;
    ui::App().ProcessMessages();
    pumping_ = false;
}

void TEventForm::CdPlay(int n, bool on) {
    if (OnCDPlay)
        OnCDPlay(n, on);
    else
        PlaySong(n);
}

void TEventForm::CdStop() {
    if (OnCDPlay)
        OnCDPlay(0, false);
    else
        PlaySong(0);
}

void TEventForm::PlaySong(int n) {
    if (ui::music::IsPlaying()) ui::music::Stop();
    if (n <= 0) return;
    if (n == 1)
        songFile_ = "QDVOP_S.wav";
    else if (n == 2)
        songFile_ = "QDVOP_L.wav";
    if (songFile_.empty()) return;  // no song played before: nothing to repeat
    if (ui::music::PlayFile(songFile_, false)) ui::Record("music", songFile_);
}

// ---------------------------------------------------------------------------------------
// Lyric subtitles of the opening and ending songs. Nothing in the game switches them on
// (LyricsActive stays false); the routine keeps the lines and their timing ready.

namespace {

struct LyricLine {
    int start;  // event ticks
    int end;
    const char* utf8;
};

constexpr int kLyricLines = 14;
constexpr LyricLine kLyrics[2][kLyricLines] = {
    {{100, 400, "春風吹過小小的藥坊"},
     {450, 750, "窗邊的瓶子閃著微光"},
     {800, 1100, "一年的時光從今天開始"},
     {1150, 1450, "學徒的夢想慢慢生長"},
     {1500, 1800, "採來的花草放進鍋裡"},
     {1850, 2150, "攪一攪就有新的希望"},
     {2200, 2500, "夏天的雨敲著屋頂"},
     {2550, 2850, "客人的笑聲在門口迴響"},
     {2900, 3200, "秋天的葉子寫著信"},
     {3250, 3550, "寄給遠方的師父看"},
     {3600, 3900, "冬天的雪鋪滿小路"},
     {3950, 4250, "爐火把夜晚照亮"},
     {4300, 4700, "明天還要再努力"},
     {4750, 5150, "魔法就在我手上"}},
    {{100, 400, "一年走到了盡頭"},
     {450, 750, "架上的藥瓶排成一行"},
     {800, 1100, "每一位客人的名字"},
     {1150, 1450, "都記在心裡的本子上"},
     {1500, 1800, "失敗的那一鍋藥"},
     {1850, 2150, "也教會了我堅強"},
     {2200, 2500, "春天的種子已經發芽"},
     {2550, 2850, "夏天的星星還在天上"},
     {2900, 3200, "秋天的風說再見"},
     {3250, 3550, "冬天的雪說晚安"},
     {3600, 3900, "謝謝你陪我一年"},
     {3950, 4250, "藥坊的門永遠為你開"},
     {4300, 4800, "下一個春天"},
     {4850, 5400, "我們再見面"}},
};
constexpr int kLyricsEnd[2] = {5250, 5550};

int g_lyricShown = -1;
std::string g_lyricText;

void EraseLyric() {
    if (EventForm == nullptr || g_lyricShown < 0) return;
    TQvDib& dib = *EventForm->EventDib;
    dib.OverlayText = nullptr;
    dib.backcopy(dib.OverlayY);
    dib.SetModified();
    g_lyricShown = -1;
}

}  // namespace

void LyricsReset() {
    EraseLyric();
    EventTickCount = 0;
    LyricsActive = false;
    LyricEndingFlag = 0;
}

void LyricSubtitleTick() {
    if (!LyricsActive || EventForm == nullptr) return;
    const int song = LyricEndingFlag ? 1 : 0;
    const int t = EventTickCount;
    if (t >= kLyricsEnd[song]) {
        LyricsReset();
        return;
    }
    int due = -1;
    for (int i = 0; i < kLyricLines; ++i)
        if (t >= kLyrics[song][i].start && t < kLyrics[song][i].end) due = i;
    if (due == g_lyricShown) return;
    EraseLyric();
    if (due < 0) return;
    TQvDib& dib = *EventForm->EventDib;
    g_lyricText = ui::Utf8ToBig5(kLyrics[song][due].utf8);
    dib.OverlayText = g_lyricText.c_str();
    dib.OverlayX = kSurfaceW / 2 - static_cast<int>(g_lyricText.size()) * 18 / 4;
    dib.OverlayY = kQvStripRow;
    dib.SetModified();
    g_lyricShown = due;
}
