#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Big5.h"
#include "platform/Controls.h"
#include "platform/DevControls.h"
#include "platform/Form.h"
#include "platform/Menus.h"
#include "tests/support/HeadlessApp.h"

using ui::MouseButton;

namespace {

class Controls : public test::HeadlessTest {
protected:
    ui::Application& app = headless.App();
    ui::HeadlessBackend& backend = headless.Backend();
    ui::Form form;

    Controls() {
        form.SetBounds(0, 0, 320, 240);
        form.SetColor(ui::clSilver);
        form.Show();
    }
    std::uint32_t At(int x, int y) {
        app.Invalidate();
        app.Update();
        return app.GetScreen().At(x, y);
    }
    // The bounding box of the screen pixels in `area` that differ from `background`.
    ui::Rect Ink(const ui::Rect& area, std::uint32_t background) {
        app.Invalidate();
        app.Update();
        ui::Rect box{area.Right, area.Bottom, area.Left, area.Top};
        for (int y = area.Top; y < area.Bottom; ++y)
            for (int x = area.Left; x < area.Right; ++x)
                if (app.GetScreen().At(x, y) != background) {
                    box.Left = std::min(box.Left, x);
                    box.Top = std::min(box.Top, y);
                    box.Right = std::max(box.Right, x + 1);
                    box.Bottom = std::max(box.Bottom, y + 1);
                }
        return box;
    }
    void Run(std::uint32_t ms = 50) { headless.RunFor(ms); }
};

constexpr std::uint32_t kSilver = ui::Rgb(192, 192, 192);

TEST_F(Controls, LabelSizesAlignsClipsAndFillsUnlessTransparent) {
    ui::Label label(&form);
    label.SetBounds(10, 10, 0, 0);
    label.SetCaption(ui::Utf8ToBig5("藥坊"));
    EXPECT_EQ(label.Width(), 24);  // two full-width cells of the 12-pixel font
    EXPECT_EQ(label.Height(), 12);
    label.SetCaption("Lv.3\nAB");
    EXPECT_EQ(label.Width(), 24);
    EXPECT_EQ(label.Height(), 24);

    // Right-justified labels keep their right edge as they grow.
    ui::Label right(&form);
    right.SetAlignment(ui::Alignment::taRightJustify);
    right.SetBounds(100, 50, 30, 12);
    right.SetCaption("ABCDEFGH");
    EXPECT_EQ(right.Left() + right.Width(), 130);

    // A fixed, centred label: the text sits in the middle, clipped to the label.
    ui::Label centred(&form);
    centred.SetAutoSize(false);
    centred.SetBounds(10, 100, 100, 20);
    centred.SetAlignment(ui::Alignment::taCenter);
    centred.SetCaption("AB");
    centred.SetColor(ui::clWhite);
    const ui::Rect ink = Ink(ui::Rect{10, 100, 110, 120}, ui::Rgb(255, 255, 255));
    EXPECT_GE(ink.Left, 10 + 50 - 6 - 1);
    EXPECT_LE(ink.Right, 10 + 50 + 6 + 1);
    EXPECT_EQ(At(12, 115), ui::Rgb(255, 255, 255));  // not transparent: filled

    ui::Label clipped(&form);
    clipped.SetAutoSize(false);
    clipped.SetBounds(200, 150, 20, 14);
    clipped.SetCaption("WWWWWWWW");
    EXPECT_LE(Ink(ui::Rect{190, 140, 320, 170}, kSilver).Right, 220);

    centred.SetTransparent(true);
    EXPECT_EQ(At(12, 115), kSilver);
}

TEST_F(Controls, ImageDrawsSizesStretchesAndLeavesOutItsKeyColour) {
    ui::Bitmap pic(4, 2, ui::PixelFormat::pf8bit);
    ui::Palette pal = ui::DefaultPalette();
    pal[1] = ui::ToQuad(ui::clRed);
    pal[2] = ui::ToQuad(ui::clBlue);
    pic.SetColorTable(pal);
    for (int x = 0; x < 4; ++x) {
        pic.SetRaw(x, 0, 1);
        pic.SetRaw(x, 1, x < 2 ? 2 : 1);
    }
    ui::Image image(&form);
    image.SetBounds(10, 10, 50, 50);
    image.SetAutoSize(true);
    image.SetPicture(pic);
    EXPECT_EQ(image.Width(), 4);
    EXPECT_EQ(image.Height(), 2);
    EXPECT_EQ(At(10, 10), ui::Rgb(255, 0, 0));
    EXPECT_EQ(At(10, 11), ui::Rgb(0, 0, 255));

    // Transparent: the bottom-left colour (blue) is left out.
    image.SetTransparent(true);
    EXPECT_EQ(At(10, 11), kSilver);
    EXPECT_EQ(At(12, 11), ui::Rgb(255, 0, 0));

    // Stretched to 8x4: each pixel twice as big.
    image.SetTransparent(false);
    image.SetAutoSize(false);
    image.SetStretch(true);
    image.SetBounds(10, 10, 8, 4);
    EXPECT_EQ(At(13, 13), ui::Rgb(0, 0, 255));
    EXPECT_EQ(At(14, 13), ui::Rgb(255, 0, 0));
    EXPECT_EQ(At(17, 11), ui::Rgb(255, 0, 0));

    // Drawing on the canvas of an empty picture: a bitmap of the control's size.
    ui::Image blank(&form);
    blank.SetBounds(100, 100, 30, 20);
    ui::Canvas& c = blank.GetCanvas();
    EXPECT_EQ(blank.Picture().Width(), 30);
    c.Brush.Color = ui::clLime;
    c.FillRect(ui::Rect{0, 0, 5, 5});
    Run(10);  // repainted by the pump
    EXPECT_EQ(app.GetScreen().At(102, 102), ui::Rgb(0, 255, 0));
    EXPECT_EQ(app.GetScreen().At(110, 110), ui::Rgb(255, 255, 255));
}

// An owed picture is drawn at the first look, once: a paint of the screen, the picture
// itself, its canvas or a new picture; after a new picture nothing more is owed.
TEST_F(Controls, AnOwedPictureIsDrawnAtTheFirstLook) {
    ui::Image image(&form);
    image.SetBounds(10, 10, 4, 4);
    image.SetPicture(ui::Bitmap(4, 4));
    int draws = 0;
    const auto owe = [&](ui::TColor c) {
        image.Owe([&image, &draws, c] {
            ++draws;
            image.Picture().SetPixel(0, 0, c);
        });
    };
    owe(ui::clRed);
    EXPECT_EQ(At(10, 10), ui::Rgb(255, 0, 0));  // the screen's paint
    EXPECT_FALSE(image.Owed());
    owe(ui::clLime);
    EXPECT_EQ(image.Picture().GetPixel(0, 0), ui::clLime);
    owe(ui::clBlue);
    image.GetCanvas().SetPixel(1, 1, ui::clBlack);
    EXPECT_EQ(image.Picture().GetPixel(0, 0), ui::clBlue);
    owe(ui::clRed);
    image.SetPicture(ui::Bitmap(4, 4));
    EXPECT_EQ(image.Picture().GetPixel(0, 0), ui::clWhite);
    EXPECT_EQ(draws, 4);
}
TEST_F(Controls, PanelBevelsAndInnerRect) {
    ui::Panel panel(&form);
    panel.SetBounds(20, 20, 100, 60);
    panel.SetColor(ui::clWhite);
    EXPECT_EQ(At(20, 20), ui::Rgb(255, 255, 255));   // raised: light top-left
    EXPECT_EQ(At(119, 79), ui::Rgb(128, 128, 128));  // dark bottom-right
    panel.SetBevelOuter(ui::BevelCut::bvLowered);
    panel.SetBevelInner(ui::BevelCut::bvRaised);
    panel.SetBorderWidth(2);
    EXPECT_EQ(At(20, 20), ui::Rgb(128, 128, 128));
    EXPECT_EQ(panel.InnerRect(), (ui::Rect{4, 4, 96, 56}));
    EXPECT_EQ(At(23, 23), ui::Rgb(255, 255, 255));  // the inner raised bevel's light edge
    panel.SetCaption("X");
    const ui::Rect ink = Ink(ui::Rect{25, 25, 115, 75}, ui::Rgb(255, 255, 255));
    EXPECT_NEAR((ink.Top + ink.Bottom) / 2, 50, 3);  // vertically centred
}

// A push button drawn by its owner, as the skinned one is.
struct OwnerDrawn : ui::BitBtn {
    using ui::BitBtn::BitBtn;
    std::vector<DrawState> seen;
    void DrawButton(ui::Canvas& canvas, const DrawState& s) override {
        seen.push_back(s);
        canvas.Brush.Color = s.selected ? ui::clRed : ui::clBlue;
        canvas.FillRect(ClientRect());
    }
};

TEST_F(Controls, PushButtonsTakeFocusDefaultAndCancelKeys) {
    OwnerDrawn ok(&form);
    ok.SetBounds(10, 10, 60, 24);
    ok.Default = true;
    ui::Button cancel(&form);
    cancel.SetBounds(80, 10, 60, 24);
    cancel.Cancel = true;
    ui::Edit edit(&form);
    edit.SetBounds(10, 50, 100, 21);
    int okClicks = 0, cancelClicks = 0;
    ok.OnClick = [&](ui::Control&) { ++okClicks; };
    cancel.OnClick = [&](ui::Control&) { ++cancelClicks; };

    // Return with the focus on a field: the default button.
    edit.SetFocus();
    EXPECT_TRUE(ok.IsDefaultNow());
    backend.Key(ui::vk::Return);
    backend.Key(ui::vk::Escape);
    Run();
    EXPECT_EQ(okClicks, 1);
    EXPECT_EQ(cancelClicks, 1);

    // Tab moves the focus in creation order; a focused button is the default one.
    backend.Key(ui::vk::Tab);
    Run();
    EXPECT_TRUE(ok.Focused());
    backend.Key(ui::vk::Tab);
    Run();
    EXPECT_TRUE(cancel.Focused());
    EXPECT_FALSE(ok.IsDefaultNow());
    EXPECT_TRUE(cancel.IsDefaultNow());
    backend.Key(ui::vk::Space);
    Run();
    EXPECT_EQ(cancelClicks, 2);

    // Pressed with the mouse: selected while the mouse stays inside.
    ok.seen.clear();
    // (The headless screen is drawn when looked at: look first, then see how.)
    backend.MouseDown(20, 20);
    Run(10);
    EXPECT_EQ(At(20, 20), ui::Rgb(255, 0, 0));
    ASSERT_FALSE(ok.seen.empty());
    EXPECT_TRUE(ok.seen.back().selected);
    EXPECT_TRUE(ok.seen.back().focused);
    backend.Move(200, 200);
    Run(10);
    EXPECT_EQ(At(20, 20), ui::Rgb(0, 0, 255));
    EXPECT_FALSE(ok.seen.back().selected);
    backend.MouseUp(200, 200);
    Run(10);
    EXPECT_EQ(okClicks, 1);  // released outside: no click
    ok.SetEnabled(false);
    EXPECT_EQ(At(20, 20), ui::Rgb(0, 0, 255));
    EXPECT_TRUE(ok.seen.back().disabled);
}

TEST_F(Controls, AShownFormFocusesItsFirstFocusableControl) {
    ui::Form dialog;
    dialog.SetBounds(50, 50, 200, 100);
    ui::Label label(&dialog);
    ui::Panel panel(&dialog);  // panels take no focus; what lies on them may
    ui::Edit field(&panel);
    ui::Button button(&dialog);
    dialog.Show();
    EXPECT_TRUE(field.Focused());
    EXPECT_EQ(dialog.ActiveControl(), &field);
}

TEST_F(Controls, AControlOutsideItsFormsClientAreaTakesNoKeys) {
    // A box laid out right of the form's client area is out of sight: activating the
    // form does not focus it, Tab passes it by and Space does not tick it.
    ui::Form dialog;
    dialog.SetBounds(50, 50, 200, 100);
    ui::CheckBox hidden(&dialog);
    hidden.SetBounds(220, 8, 100, 18);
    ui::Button button(&dialog);
    button.SetBounds(10, 10, 60, 24);
    int clicks = 0;
    button.OnClick = [&](ui::Control&) { ++clicks; };
    dialog.Show();
    EXPECT_FALSE(hidden.CanFocus());
    EXPECT_TRUE(button.Focused());
    for (int key : {ui::vk::Tab, ui::vk::Space}) backend.Key(key);
    Run();
    EXPECT_TRUE(button.Focused());
    EXPECT_FALSE(hidden.Checked());
    EXPECT_EQ(clicks, 1);
    // Widened over it, the form lets it take the focus again.
    dialog.SetBounds(50, 50, 400, 100);
    EXPECT_TRUE(hidden.CanFocus());
}

TEST_F(Controls, TheBarOfAFormThatFillsTheScreenDragsTheProgramsWindow) {
    // A form over the whole screen with a bar: the bar's marked area drags the program's
    // window, its button and the rest of the form do not; on a smaller form nothing does.
    const int w = app.GetScreen().Width(), h = app.GetScreen().Height();
    ui::Form screen;
    screen.SetBounds(0, 0, w, h);
    ui::Panel bar(&screen);
    bar.SetBounds(0, 0, w, 20);
    bar.WindowDragArea = ui::Rect{4, 4, w - 4, 19};
    ui::Button close(&bar);
    close.SetBounds(w - 24, 2, 18, 16);
    screen.Show();
    EXPECT_TRUE(ui::DragsProgramWindow(100, 10));
    EXPECT_FALSE(ui::DragsProgramWindow(2, 10));       // outside the marked area
    EXPECT_FALSE(ui::DragsProgramWindow(w - 15, 10));  // the button
    EXPECT_FALSE(ui::DragsProgramWindow(100, 100));    // the form below its bar
    screen.SetBounds(10, 10, w - 20, h - 20);
    EXPECT_FALSE(ui::DragsProgramWindow(100, 20));
}

TEST_F(Controls, ButtonModalResultEndsTheModalLoop) {
    ui::Form dialog;
    dialog.SetBounds(50, 50, 100, 60);
    ui::Button yes(&dialog);
    yes.SetBounds(5, 5, 50, 20);
    yes.ModalResult = ui::mrYes;
    backend.Click(60, 60, MouseButton::mbLeft, 0, 20);
    EXPECT_EQ(dialog.ShowModal(), ui::mrYes);
}

TEST_F(Controls, RepaintPresentsAtOnceAndEraseBackgroundCanBeOff) {
    form.Repaint();
    const int presents = backend.PresentCount();
    form.Invalidate();
    form.Update();
    EXPECT_EQ(backend.PresentCount(), presents + 1);
    form.Update();  // nothing invalid: nothing presented
    EXPECT_EQ(backend.PresentCount(), presents + 1);

    // Without erasing, what was drawn on the form's canvas stays.
    form.EraseBackground = false;
    form.GetCanvas().Brush.Color = ui::clRed;
    form.GetCanvas().FillRect(ui::Rect{0, 0, 4, 4});
    form.Repaint();
    EXPECT_EQ(app.GetScreen().At(1, 1), ui::Rgb(255, 0, 0));
    form.EraseBackground = true;
    form.Repaint();
    EXPECT_EQ(app.GetScreen().At(1, 1), kSilver);
}

TEST_F(Controls, CheckBoxEditAndMemo) {
    ui::CheckBox box(&form);
    box.SetBounds(10, 10, 100, 17);
    int boxClicks = 0;
    box.OnClick = [&](ui::Control&) { ++boxClicks; };
    backend.Click(15, 18);
    Run();
    EXPECT_TRUE(box.Checked());
    backend.Key(ui::vk::Space);  // it has the focus now
    Run();
    EXPECT_FALSE(box.Checked());
    EXPECT_EQ(boxClicks, 2);
    box.SetChecked(true);
    EXPECT_EQ(boxClicks, 2);

    ui::Edit edit(&form);
    edit.SetBounds(10, 40, 120, 21);
    int changes = 0;
    edit.OnChange = [&](ui::Control&) { ++changes; };
    backend.Click(20, 50);
    for (int k : {'A', 'B', '7'}) backend.Key(k);
    backend.Key(ui::vk::Back);
    Run();
    EXPECT_EQ(edit.Text(), "ab");
    EXPECT_EQ(changes, 4);

    // A Big5 character is one step for the caret and the delete keys.
    edit.SetText("a" + ui::Utf8ToBig5("藥") + "b");
    edit.SetSelStart(1);
    backend.Key(ui::vk::Right);
    Run();
    EXPECT_EQ(edit.SelStart(), 3);
    backend.Key(ui::vk::Back);
    Run();
    EXPECT_EQ(edit.Text(), "ab");
    edit.MaxLength = 3;
    edit.SetText(ui::Utf8ToBig5("藥坊"));
    EXPECT_EQ(edit.Text(), ui::Utf8ToBig5("藥"));  // never half a character

    ui::Memo memo(&form);
    memo.SetBounds(10, 80, 200, 60);
    memo.Add("0:1: T");
    memo.Add("1:2: F");
    EXPECT_EQ(memo.Text(), "0:1: T\n1:2: F");
    memo.SetText("a\r\nb\nc");
    EXPECT_EQ(memo.Lines().size(), 3u);
    memo.Clear();
    EXPECT_TRUE(memo.Lines().empty());
    memo.SetFocus();
    for (int k : {int('A'), ui::vk::Return, int('B'), int('C'), ui::vk::Back}) backend.Key(k);
    Run();
    EXPECT_EQ(memo.Text(), "a\nb");
}

TEST_F(Controls, ComboUpDownScrollBarAndRadioGroup) {
    ui::ComboBox combo(&form);
    combo.SetBounds(10, 10, 100, 21);
    combo.Items = {"zero", "one", "two"};
    int comboChanges = 0;
    combo.OnChange = [&](ui::Control&) { ++comboChanges; };
    // The list drops down below the box; its second row is chosen.
    bool chose = false;
    backend.AddResponder([&] {
        if (chose || !ui::MenuOpen()) return false;
        backend.Click(30, 31 + ui::kMenuBorder + ui::kMenuItemHeight + 5);
        chose = true;
        return true;
    });
    backend.Click(20, 20);
    Run(200);
    EXPECT_EQ(combo.ItemIndex(), 1);
    EXPECT_EQ(combo.Text(), "one");
    EXPECT_EQ(comboChanges, 1);

    ui::Edit field(&form);
    field.SetBounds(10, 50, 40, 21);
    ui::UpDown updown(&form);
    updown.Min = 0;
    updown.Max = 9;
    updown.SetAssociate(&field);
    EXPECT_EQ(updown.Left(), 50);
    EXPECT_EQ(field.Text(), "0");
    backend.Click(55, 53);  // upper arrow
    backend.Click(55, 53);
    Run();
    EXPECT_EQ(updown.Position(), 2);
    EXPECT_EQ(field.Text(), "2");
    backend.Click(55, 68);  // lower arrow
    Run();
    EXPECT_EQ(updown.Position(), 1);
    updown.SetPosition(9);
    updown.Step(ui::UDBtnType::btNext);
    EXPECT_EQ(updown.Position(), 9);  // clamped
    updown.Wrap = true;
    updown.Step(ui::UDBtnType::btNext);
    EXPECT_EQ(updown.Position(), 0);
    updown.OnChanging = [](ui::Control&, bool& allow) { allow = false; };
    updown.Step(ui::UDBtnType::btNext);
    EXPECT_EQ(updown.Position(), 0);

    ui::ScrollBar bar(&form);
    bar.SetKind(ui::ScrollBarKind::sbVertical);
    bar.SetBounds(200, 10, 16, 200);
    bar.Max = 90;
    bar.LargeChange = 16;
    int barChanges = 0;
    bar.OnChange = [&](ui::Control&) { ++barChanges; };
    backend.Click(208, 205);  // the lower arrow
    backend.Click(208, 150);  // the track below the thumb
    Run();
    EXPECT_EQ(bar.Position(), 17);
    EXPECT_EQ(barChanges, 2);
    bar.SetPosition(500);
    EXPECT_EQ(bar.Position(), 90);

    ui::RadioGroup group(&form);
    group.SetBounds(10, 100, 150, 80);
    group.SetCaption("flag");
    group.Items = {"T", "F"};
    int groupClicks = 0;
    group.OnClick = [&](ui::Control&) { ++groupClicks; };
    const ui::Rect second = group.ItemRect(1);
    backend.Click(10 + second.Left + 5, 100 + second.Top + second.Height() / 2);
    Run();
    EXPECT_EQ(group.ItemIndex(), 1);
    EXPECT_EQ(groupClicks, 1);
}

TEST_F(Controls, OpenDialogAsksForAPath) {
    ui::OpenDialog dialog;
    dialog.Filter = "*.h";
    dialog.InitialDir = "/tmp";
    bool typed = false;
    backend.AddResponder([&] {
        ui::Form* w = ui::OpenDialog::Window();
        if (typed || !w) return false;
        auto* edit = dynamic_cast<ui::Edit*>(w->FindChild("FileNameEdit"));
        if (!edit) return false;
        EXPECT_EQ(edit->Text(), "/tmp/");
        EXPECT_TRUE(edit->Focused());
        edit->SetText("/tmp/flags.h");
        backend.Key(ui::vk::Return);
        typed = true;
        return true;
    });
    EXPECT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.FileName, "/tmp/flags.h");

    backend.Key(ui::vk::Escape);
    EXPECT_FALSE(dialog.Execute());
    EXPECT_EQ(dialog.FileName, "/tmp/flags.h");
    EXPECT_EQ(ui::OpenDialog::Window(), nullptr);
}

}  // namespace
