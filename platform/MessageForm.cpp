#include "platform/MessageForm.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "platform/Application.h"
#include "platform/Big5.h"
#include "platform/Controls.h"
#include "platform/Form.h"

namespace ui {

namespace {

constexpr int kMargin = 12;
constexpr int kSign = 32;  // the sign's square
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;
constexpr int kButtonGap = 8;

struct Answer {
    const char* caption;  // UTF-8
    int result;
};

std::vector<Answer> AnswersOf(unsigned buttons) {
    switch (buttons) {
        case MB_YESNO:
            return {{"是", IDYES}, {"否", IDNO}};
        case MB_RETRYCANCEL:
            return {{"重試", IDRETRY}, {"取消", IDCANCEL}};
        case MB_OKCANCEL:
            return {{"確定", IDOK}, {"取消", IDCANCEL}};
        default:
            return {{"確定", IDOK}};
    }
}

std::vector<std::string> LinesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::string::size_type from = 0;
    for (;;) {
        const std::string::size_type nl = text.find('\n', from);
        std::string line = text.substr(from, nl == std::string::npos ? nl : nl - from);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
        if (nl == std::string::npos) break;
        from = nl + 1;
    }
    return lines;
}

// The sign left of the text: a red disc with a white X for an error, a yellow
// triangle with "!" for a warning, a blue disc with "?" for a question and "i" for
// information.
void PaintSign(Canvas& c, unsigned icon, int x, int y) {
    const bool warning = icon == MB_ICONWARNING;
    const TColor fill = icon == MB_ICONERROR ? clRed : warning ? clYellow : clBlue;
    const double r = kSign / 2.0;
    for (int py = 0; py < kSign; ++py)
        for (int px = 0; px < kSign; ++px) {
            bool in;
            if (warning) {
                // A triangle standing on its base: the half width grows with the row.
                const double half = (py + 1) * r / kSign;
                in = std::abs(px + 0.5 - r) <= half;
            } else {
                const double dx = px + 0.5 - r, dy = py + 0.5 - r;
                in = dx * dx + dy * dy <= r * r;
            }
            if (in) c.SetPixel(x + px, y + py, fill);
        }
    Font f = c.Font;
    f.Height = -16;
    f.SetBold(true);
    f.Color = warning ? clBlack : clWhite;
    c.Font = f;
    c.Brush.Style = BrushStyle::bsClear;
    Rect box{x, y + (warning ? 6 : 0), x + kSign, y + kSign};
    const char* mark = icon == MB_ICONERROR      ? "X"
                       : warning                 ? "!"
                       : icon == MB_ICONQUESTION ? "?"
                                                 : "i";
    c.DrawText(mark, box, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

}  // namespace

int RunMessageForm(const MessageBoxRequest& request) {
    Form form;
    form.Name = "MessageForm";
    form.SetBorderStyle(BorderStyle::bsSingle);
    form.SetFormStyle(FormStyle::fsStayOnTop);
    form.SetCaption(request.caption);
    form.SetColor(clBtnFace);

    const std::vector<std::string> lines = LinesOf(request.text);
    const int lineHeight = TextHeight(form.GetFont()) + 4;
    int textWidth = 0;
    for (const std::string& l : lines)
        textWidth = std::max(textWidth, TextWidth(form.GetFont(), l));
    const bool sign = request.Icon() != 0;
    const int textLeft = kMargin + (sign ? kSign + kMargin : 0);
    const int textHeight = static_cast<int>(lines.size()) * lineHeight;
    const int bodyHeight = std::max(textHeight, sign ? kSign : 0);

    const std::vector<Answer> answers = AnswersOf(request.Buttons());
    const int buttonsWidth =
        static_cast<int>(answers.size()) * (kButtonWidth + kButtonGap) - kButtonGap;
    const int width = std::max(textLeft + textWidth + kMargin, buttonsWidth + 2 * kMargin);
    const int height = kMargin + bodyHeight + kMargin + kButtonHeight + kMargin;
    form.SetClientWidth(width);
    form.SetClientHeight(height);

    int y = kMargin + (bodyHeight - textHeight) / 2;
    for (const std::string& l : lines) {
        Label* label = form.Make<Label>();
        label->SetCaption(l);
        label->SetBounds(textLeft, y + 2, std::max(1, TextWidth(form.GetFont(), l)), lineHeight);
        y += lineHeight;
    }
    const unsigned icon = request.Icon();
    if (sign) form.OnPaint = [icon](Form& f) { PaintSign(f.GetCanvas(), icon, kMargin, kMargin); };

    int x = (width - buttonsWidth) / 2;
    const int buttonTop = kMargin + bodyHeight + kMargin;
    Button* first = nullptr;
    for (std::size_t i = 0; i < answers.size(); ++i) {
        Button* b = form.Make<Button>();
        b->Name = std::string("Answer") + std::to_string(i);
        b->SetCaption(Utf8ToBig5(answers[i].caption));
        b->SetBounds(x, buttonTop, kButtonWidth, kButtonHeight);
        b->ModalResult = answers[i].result;
        b->Default = i == 0;
        b->Cancel = i + 1 == answers.size();
        if (!first) first = b;
        x += kButtonWidth + kButtonGap;
    }

    const Screen& screen = App().GetScreen();
    form.SetBounds((screen.Width() - form.Width()) / 2, (screen.Height() - form.Height()) / 2,
                   form.Width(), form.Height());
    if (first) form.SetActiveControl(first);
    const int result = form.ShowModal();
    // Closed without an answer (the caption's close box): the harmless one.
    return result == mrNone ? request.DefaultAnswer() : result;
}

}  // namespace ui
