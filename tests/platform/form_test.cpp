#include "platform/Form.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/Controls.h"
#include "platform/Hint.h"
#include "platform/Menus.h"
#include "platform/Region.h"
#include "platform/Timer.h"
#include "tests/support/HeadlessApp.h"

using ui::MouseButton;

namespace {

class Forms : public test::HeadlessTest {
protected:
    ui::Application& app = headless.App();
    ui::HeadlessBackend& backend = headless.Backend();

    static void Place(ui::Form& f, int x, int y, int w, int h, ui::TColor color) {
        f.SetBounds(x, y, w, h);
        f.SetColor(color);
    }
    // The screen as composed now, at a point (0x00RRGGBB).
    std::uint32_t ScreenAt(int x, int y) {
        app.Invalidate();
        app.Update();
        return app.GetScreen().At(x, y);
    }
};

TEST_F(Forms, StayOnTopFormStaysAboveNormalOnes) {
    ui::Form normal1, normal2, onTop;
    Place(normal1, 0, 0, 200, 200, ui::clRed);
    Place(normal2, 50, 50, 200, 200, ui::clLime);
    Place(onTop, 100, 100, 200, 200, ui::clBlue);
    onTop.SetFormStyle(ui::FormStyle::fsStayOnTop);
    onTop.Show();
    normal1.Show();
    normal2.Show();
    normal1.BringToFront();  // above normal2, still below the stay-on-top one

    EXPECT_EQ(ui::FormAt(120, 120), &onTop);
    EXPECT_EQ(ui::FormAt(60, 60), &normal1);
    EXPECT_EQ(ScreenAt(120, 120), ui::Rgb(0, 0, 255));
    EXPECT_EQ(ScreenAt(60, 60), ui::Rgb(255, 0, 0));
    EXPECT_EQ(ScreenAt(220, 80), ui::Rgb(0, 255, 0));
    const auto order = ui::Forms();
    ASSERT_GE(order.size(), 3u);
    EXPECT_EQ(order.back(), &onTop);

    // Made stay-on-top later, a form rises above the normal ones; made normal again,
    // it stays below the stay-on-top band whatever is brought to the front.
    normal2.SetFormStyle(ui::FormStyle::fsStayOnTop);
    EXPECT_EQ(ui::FormAt(120, 120), &normal2);
    normal2.SetFormStyle(ui::FormStyle::fsNormal);
    normal2.BringToFront();
    EXPECT_EQ(ui::FormAt(120, 120), &onTop);
    EXPECT_EQ(ui::FormAt(60, 60), &normal2);

    // Hidden forms are neither drawn nor hit.
    onTop.Hide();
    EXPECT_EQ(ui::FormAt(120, 120), &normal2);
    EXPECT_EQ(ScreenAt(120, 120), ui::Rgb(0, 255, 0));
}

TEST_F(Forms, ModalFormTakesAllInputWhileTimersRun) {
    ui::Form main;
    Place(main, 0, 0, 300, 300, ui::clSilver);
    ui::Button behind(&main);
    behind.SetBounds(10, 10, 80, 30);
    int behindClicks = 0;
    behind.OnClick = [&](ui::Control&) { ++behindClicks; };
    main.Show();

    ui::Form dialog;
    Place(dialog, 100, 100, 150, 100, ui::clSilver);
    dialog.Name = "TestDialog";
    ui::Button ok(&dialog);
    ok.SetBounds(10, 10, 60, 25);
    ok.ModalResult = ui::mrOk;

    ui::Timer timer;
    timer.SetInterval(50);
    int ticks = 0;
    timer.OnTimer = [&] { ++ticks; };

    int keysBehind = 0;
    main.KeyPreview = true;
    main.OnKeyDown = [&](ui::Control&, int&, ui::ShiftState) { ++keysBehind; };

    backend.Click(20, 20, MouseButton::mbLeft, 0, 100);    // the form behind: ignored
    backend.Key('A', 0, 100);                              // keys go to the modal form
    backend.Click(110, 110, MouseButton::mbLeft, 0, 300);  // OK on the dialog
    const int result = dialog.ShowModal();

    EXPECT_EQ(result, ui::mrOk);
    EXPECT_EQ(behindClicks, 0);
    EXPECT_EQ(keysBehind, 0);
    EXPECT_GE(ticks, 8);  // about 500 ms passed inside the modal loop
    EXPECT_FALSE(dialog.Visible());
    EXPECT_FALSE(dialog.Modal());

    // Afterwards the form behind takes clicks again.
    backend.Click(20, 20);
    headless.RunFor(50);
    EXPECT_EQ(behindClicks, 1);
}

TEST_F(Forms, ModalLoopEndsOnCloseAndKeepsRunningWhenCloseQueryRefuses) {
    ui::Form main;
    Place(main, 0, 0, 100, 100, ui::clSilver);
    main.Show();
    ui::Form dialog;
    Place(dialog, 10, 10, 100, 100, ui::clSilver);
    int queries = 0;
    dialog.OnCloseQuery = [&](ui::Form&, bool& can) { can = ++queries > 1; };
    ui::Timer closer;
    closer.SetInterval(100);
    closer.OnTimer = [&] { dialog.Close(); };
    EXPECT_EQ(dialog.ShowModal(), ui::mrCancel);
    EXPECT_EQ(queries, 2);  // the first close was refused, the loop went on
}

// A form made with new that notes its deletion.
struct Noting : ui::Form {
    bool* deleted;
    explicit Noting(bool* d) : deleted(d) {}
    ~Noting() override { *deleted = true; }
};

TEST_F(Forms, ReleaseInsideAClickHandlerDeletesTheFormAfterTheHandler) {
    bool deleted = false;
    auto* f = new Noting(&deleted);
    Place(*f, 0, 0, 100, 100, ui::clSilver);
    ui::Button* close = f->Make<ui::Button>();
    close->SetBounds(10, 10, 60, 25);
    bool aliveAfterRelease = false;
    int mouseUps = 0;
    close->OnClick = [&](ui::Control& sender) {
        f->Release();
        // Still here for the rest of the handler, even when it pumps.
        app.Delay(200, "test");
        aliveAfterRelease = !deleted && sender.Parent() == f;
    };
    close->OnMouseUp = [&](ui::Control&, MouseButton, ui::ShiftState, int, int) { ++mouseUps; };
    f->Show();
    backend.Click(20, 20);
    headless.RunUntil([&] { return deleted; });
    EXPECT_TRUE(aliveAfterRelease);
    EXPECT_EQ(mouseUps, 1);  // the mouse-up after the click still reached the button
    EXPECT_TRUE(deleted);
    EXPECT_EQ(ui::FormAt(20, 20), nullptr);
}

TEST_F(Forms, CaptionStripPressDragsTheFormUntilRelease) {
    ui::Form dialog;
    Place(dialog, 100, 100, 200, 150, ui::clSilver);
    ui::Image* image = dialog.Make<ui::Image>();
    image->SetBounds(0, 0, 200, 150);
    int clicks = 0;
    image->OnClick = [&](ui::Control&) { ++clicks; };
    image->OnMouseDown = [&](ui::Control&, MouseButton b, ui::ShiftState, int x, int y) {
        if (b == MouseButton::mbLeft && x >= 8 && x <= 190 && y >= 8 && y <= 34) dialog.DragMove();
    };
    dialog.Show();

    backend.MouseDown(120, 110);
    backend.Move(140, 130, 20);
    backend.Move(170, 150, 20);
    backend.MouseUp(170, 150, MouseButton::mbLeft, 0, 20);
    headless.RunUntil([&] { return backend.ScriptLeft() == 0 && !dialog.Dragging(); });
    EXPECT_EQ(dialog.Left(), 150);
    EXPECT_EQ(dialog.Top(), 140);
    EXPECT_EQ(clicks, 0);  // the release ended the move, it is no click

    // A press outside the strip does not move it.
    backend.MouseDown(200, 250);
    backend.Move(220, 260, 20);
    backend.MouseUp(220, 260, MouseButton::mbLeft, 0, 20);
    headless.RunFor(100);
    EXPECT_EQ(dialog.Left(), 150);
    EXPECT_EQ(clicks, 1);  // a plain click of the image
}

// A form shown with its drag strip wholly off the screen (a place kept from a larger
// screen, the centre of an owner dragged away, or a form placed in its OnShow) comes
// back the least that shows the whole strip; a strip partly on the screen, or a form
// without a strip, is left where it was put.
TEST_F(Forms, ShownWithItsDragStripOffTheScreenAFormIsPulledBack) {
    const int sw = app.GetScreen().Width(), sh = app.GetScreen().Height();
    struct Case {
        int left, top;
        bool strip;
        int wantLeft, wantTop;
    };
    const Case cases[] = {
        {-400, 100, true, -10, 100},                // strip x 10..199 ends left of the screen
        {sw + 5, sh + 5, true, sw - 200, sh - 30},  // beyond the right and bottom
        {50, -100, true, 50, -5},                   // above
        {-150, 100, true, -150, 100},               // partly on: left alone
        {-400, -400, false, -400, -400},            // no strip: left alone
    };
    for (const Case& c : cases) {
        ui::Form f;
        Place(f, 0, 0, 300, 200, ui::clSilver);
        if (c.strip) f.SetDragStrip(ui::Rect{10, 5, 200, 30});
        f.OnShow = [&](ui::Form& self) { self.SetBounds(c.left, c.top, 300, 200); };
        f.Show();
        EXPECT_EQ(f.Left(), c.wantLeft) << c.left << "," << c.top;
        EXPECT_EQ(f.Top(), c.wantTop) << c.left << "," << c.top;
    }
}

TEST_F(Forms, BorderedFormDragsByItsCaptionAndClosesByItsBox) {
    ui::Form main;
    Place(main, 0, 0, 10, 10, ui::clSilver);
    ui::Form dev;
    dev.SetBorderStyle(ui::BorderStyle::bsSingle);
    dev.SetBounds(50, 50, 200, 120);
    dev.SetClientWidth(200);
    EXPECT_EQ(dev.Width(), 200 + 2 * ui::kFrameWidth);
    EXPECT_EQ(dev.ClientOrigin(), (ui::Point{52, 50 + ui::kFrameWidth + ui::kCaptionHeight}));
    dev.Show();
    backend.MouseDown(100, 58);
    backend.Move(110, 68, 10);
    backend.MouseUp(110, 68, MouseButton::mbLeft, 0, 10);
    headless.RunFor(100);
    EXPECT_EQ(dev.Left(), 60);
    EXPECT_EQ(dev.Top(), 60);
    const int boxX = dev.Left() + dev.Width() - ui::kFrameWidth - 10;
    backend.Click(boxX, dev.Top() + ui::kFrameWidth + 8);
    headless.RunFor(50);
    EXPECT_FALSE(dev.Visible());
}

TEST_F(Forms, ShapedFormIgnoresClicksOutsideItsMaskAndIsDrawnOnlyInside) {
    ui::Form below;
    Place(below, 0, 0, 200, 200, ui::clRed);
    int belowClicks = 0;
    below.OnClick = [&](ui::Control&) { ++belowClicks; };
    below.Show();

    ui::Form shaped;
    Place(shaped, 20, 20, 40, 40, ui::clBlue);
    int shapedClicks = 0;
    shaped.OnClick = [&](ui::Control&) { ++shapedClicks; };
    // The mask: key colour green everywhere but a 10x10 square at (10, 10).
    ui::Bitmap mask(40, 40, ui::PixelFormat::pf24bit);
    mask.GetCanvas().Brush.Color = ui::clLime;
    mask.GetCanvas().FillRect(ui::Rect{0, 0, 40, 40});
    mask.GetCanvas().Brush.Color = ui::clBlack;
    mask.GetCanvas().FillRect(ui::Rect{10, 10, 20, 20});
    shaped.SetRegion(ui::Region::FromBitmap(mask, ui::clLime));
    shaped.Show();

    EXPECT_EQ(ScreenAt(35, 35), ui::Rgb(0, 0, 255));  // inside the mask
    EXPECT_EQ(ScreenAt(25, 25), ui::Rgb(255, 0, 0));  // outside: the form below shows

    backend.Click(25, 25);  // outside the mask: the form below gets it
    backend.Click(35, 35);  // inside
    headless.RunFor(50);
    EXPECT_EQ(belowClicks, 1);
    EXPECT_EQ(shapedClicks, 1);

    // An empty region: the form shows nothing and takes nothing.
    shaped.SetRegion(ui::Region{});
    EXPECT_EQ(ScreenAt(35, 35), ui::Rgb(255, 0, 0));
    EXPECT_EQ(ui::FormAt(35, 35), &below);
}

TEST_F(Forms, AFormOverTheWholeScreenHidesWhatIsUnderItUnlessItIsShaped) {
    const int w = app.GetScreen().Width(), h = app.GetScreen().Height();
    ui::Form below;
    Place(below, 0, 0, 100, 100, ui::clRed);
    below.Show();
    int belowPaints = 0;
    below.OnPaint = [&](ui::Form&) { ++belowPaints; };
    ui::Form cover;
    Place(cover, -8, -8, w + 16, h + 16, ui::clBlue);  // past every edge
    cover.Show();
    EXPECT_EQ(ScreenAt(10, 10), ui::Rgb(0, 0, 255));
    EXPECT_EQ(ScreenAt(w - 1, h - 1), ui::Rgb(0, 0, 255));
    const int paints = belowPaints;
    EXPECT_EQ(ScreenAt(10, 10), ui::Rgb(0, 0, 255));
    EXPECT_EQ(belowPaints, paints);  // hidden wholly: not painted for nothing

    // Shaped, it covers only its region: the form under it shows in the holes.
    // (A hole at window 8..58, the screen's 0..50.)
    ui::Region holed;
    holed.AddRect(ui::Rect{0, 0, w + 16, 8});
    holed.AddRect(ui::Rect{0, 8, 8, 58});
    holed.AddRect(ui::Rect{58, 8, w + 16, 58});
    holed.AddRect(ui::Rect{0, 58, w + 16, h + 16});
    cover.SetRegion(holed);
    EXPECT_EQ(ScreenAt(10, 10), ui::Rgb(255, 0, 0));
    EXPECT_EQ(ScreenAt(80, 80), ui::Rgb(0, 0, 255));

    // One short of the right edge: the desktop and the form under it are drawn again.
    cover.ClearRegion();
    Place(cover, 0, 0, w - 1, h, ui::clBlue);
    EXPECT_EQ(ScreenAt(10, 10), ui::Rgb(0, 0, 255));
    EXPECT_GT(belowPaints, paints);
}

TEST(RegionTest, RunsPerRowFromABitmapKeyAndUnions) {
    ui::Bitmap bm(5, 2, ui::PixelFormat::pf24bit);
    const ui::TColor key = ui::clLime;
    const ui::TColor row0[] = {key, ui::clBlack, ui::clBlack, key, ui::clRed};
    for (int x = 0; x < 5; ++x) {
        bm.SetPixel(x, 0, row0[x]);
        bm.SetPixel(x, 1, ui::clWhite);
    }
    const ui::Region r = ui::Region::FromBitmap(bm, key);
    ASSERT_EQ(r.Row(0).size(), 2u);
    EXPECT_EQ(r.Row(0)[0], (ui::Region::Span{1, 3}));
    EXPECT_EQ(r.Row(0)[1], (ui::Region::Span{4, 5}));
    EXPECT_EQ(r.Row(1), (std::vector<ui::Region::Span>{{0, 5}}));
    EXPECT_EQ(r.Bounds(), (ui::Rect{0, 0, 5, 2}));

    ui::Region u = r;
    u.AddRect(ui::Rect{2, 0, 4, 1});  // fills the gap: one run
    EXPECT_EQ(u.Row(0), (std::vector<ui::Region::Span>{{1, 5}}));
    ui::Region moved = u;
    moved.Offset(10, 5);
    EXPECT_TRUE(moved.Contains(11, 5));
    EXPECT_FALSE(moved.Contains(10, 5));
    ui::Bitmap allKey(3, 3, ui::PixelFormat::pf24bit);
    allKey.GetCanvas().Brush.Color = key;
    allKey.GetCanvas().FillRect(ui::Rect{0, 0, 3, 3});
    EXPECT_TRUE(ui::Region::FromBitmap(allKey, key).IsEmpty());
}

TEST_F(Forms, PopupMenuOpensOnRightClickAndReportsTheChosenTag) {
    ui::Form f;
    Place(f, 0, 0, 400, 300, ui::clSilver);
    ui::Image* scene = f.Make<ui::Image>();
    scene->SetBounds(0, 0, 400, 300);
    ui::PopupMenu menu;
    int chosenTag = -1;
    auto onClick = [&](ui::MenuItem& item) { chosenTag = item.Tag; };
    menu.Items.Add("\xBD\xD5\xB0\x74", 10, onClick);             // 調配
    ui::MenuItem* sub = menu.Items.Add("\xB3\xAF\xA6\x43", 20);  // 陳列, with a submenu
    for (int i = 0; i < 3; ++i) sub->Add("Slot", 100 + i, onClick);
    menu.Items.AddSeparator();
    ui::MenuItem* off = menu.Items.Add("Off", 30, onClick);
    off->Enabled = false;
    menu.Items.Add("End", 40, onClick);
    scene->SetPopupMenu(&menu);
    f.Show();

    // Rows from the top of the menu window at the click point.
    auto rowY = [](int y0, int row) {
        return y0 + ui::kMenuBorder + row * ui::kMenuItemHeight + 5;
    };
    bool sawOpen = false;
    backend.AddResponder([&] {
        sawOpen = sawOpen || ui::MenuOpen();
        return false;
    });
    backend.Click(50, 40, MouseButton::mbRight);
    // The last row: below two items, the separator and the disabled one.
    backend.Click(70, rowY(40, 4) - ui::kMenuItemHeight + ui::kMenuLineHeight, MouseButton::mbLeft,
                  0, 50);
    headless.RunFor(300);
    EXPECT_TRUE(sawOpen);
    EXPECT_FALSE(ui::MenuOpen());
    EXPECT_EQ(chosenTag, 40);
    ASSERT_NE(menu.LastChosen(), nullptr);
    EXPECT_EQ(menu.PopupComponent, scene);

    // A disabled item does not close the menu; a press outside dismisses it.
    chosenTag = -1;
    backend.Click(50, 40, MouseButton::mbRight);
    backend.Click(70, rowY(40, 3) - ui::kMenuItemHeight + ui::kMenuLineHeight, MouseButton::mbLeft,
                  0, 50);
    backend.Click(390, 290, MouseButton::mbLeft, 0, 50);
    headless.RunFor(300);
    EXPECT_EQ(chosenTag, -1);
    EXPECT_FALSE(ui::MenuOpen());

    // Into the submenu: hover its row; once the submenu is open, click its second entry.
    bool clickedSub = false;
    backend.AddResponder([&] {
        if (clickedSub || !ui::MenuOpen()) return false;
        const std::vector<ui::Form*> forms = ui::Forms();
        if (forms.size() < 2 || !forms[forms.size() - 2]->IsPopupWindow()) return false;
        ui::Form* subWindow = forms.back();
        backend.Click(subWindow->Left() + 20, rowY(subWindow->Top(), 1), MouseButton::mbLeft, 0,
                      10);
        clickedSub = true;
        return true;
    });
    backend.Click(50, 40, MouseButton::mbRight);
    backend.Move(70, rowY(40, 1), 50);
    headless.RunFor(300);
    EXPECT_TRUE(clickedSub);
    EXPECT_EQ(chosenTag, 101);

    // AutoPopup off: a right click shows nothing; Popup from code still works.
    menu.AutoPopup = false;
    chosenTag = -1;
    backend.Click(50, 40, MouseButton::mbRight);
    headless.RunFor(100);
    EXPECT_FALSE(ui::MenuOpen());
    backend.Key(ui::vk::Down, 0, 10);
    backend.Key(ui::vk::Return, 0, 10);
    menu.Popup(200, 100);
    EXPECT_EQ(chosenTag, 10);
}

TEST_F(Forms, SpeedButtonGroupKeepsOneDownAndAllowAllUpLetsItUp) {
    ui::Form f;
    Place(f, 0, 0, 200, 100, ui::clSilver);
    ui::SpeedButton a(&f), b(&f), c(&f), single(&f);
    a.SetBounds(0, 0, 30, 20);
    b.SetBounds(40, 0, 30, 20);
    c.SetBounds(80, 0, 30, 20);
    single.SetBounds(120, 0, 30, 20);
    for (ui::SpeedButton* s : {&a, &b, &c}) s->SetGroupIndex(1);
    int clicks = 0;
    b.OnClick = [&](ui::Control&) { ++clicks; };
    single.OnClick = [&](ui::Control&) { ++clicks; };
    f.Show();

    auto click = [&](int x) {
        backend.Click(x, 10);
        headless.RunFor(30);
    };
    click(10);
    EXPECT_TRUE(a.Down());
    click(50);
    EXPECT_TRUE(b.Down());
    EXPECT_FALSE(a.Down());
    EXPECT_EQ(clicks, 1);
    click(50);  // the last one down stays down, the click still comes
    EXPECT_TRUE(b.Down());
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(b.State(), ui::ButtonState::bsExclusive);

    c.SetAllowAllUp(true);  // spreads to the whole group
    EXPECT_TRUE(a.AllowAllUp());
    click(50);
    EXPECT_FALSE(b.Down());
    EXPECT_FALSE(a.Down() || c.Down());

    // A press that leaves the button before release is no click.
    backend.MouseDown(130, 10);
    backend.Move(180, 60, 10);
    backend.MouseUp(180, 60, MouseButton::mbLeft, 0, 10);
    headless.RunFor(50);
    EXPECT_EQ(clicks, 3);         // (b's last click only)
    EXPECT_FALSE(single.Down());  // no group: never stays down
    click(130);
    EXPECT_EQ(clicks, 4);
    EXPECT_FALSE(single.Down());
}

TEST_F(Forms, HintAppearsAfterTheMouseRestsAndGoesWhenItLeaves) {
    ui::Form f;
    Place(f, 0, 0, 300, 200, ui::clSilver);
    ui::SpeedButton button(&f);
    button.SetBounds(10, 10, 40, 20);
    button.Hint = "Next turn";
    button.ShowHint = true;
    ui::Label plain(&f);
    plain.SetBounds(100, 100, 40, 20);
    f.Show();
    ui::Hints().pause = 500;

    backend.Move(20, 15);
    headless.RunFor(400);
    EXPECT_FALSE(ui::HintShowing());
    headless.RunFor(200);
    ASSERT_TRUE(ui::HintShowing());
    EXPECT_EQ(ui::HintText(), "Next turn");
    EXPECT_GT(ui::HintBounds().Top, 15);  // below the pointer

    backend.Move(110, 110);  // onto a control without a hint
    headless.RunFor(1000);
    EXPECT_FALSE(ui::HintShowing());

    backend.Move(20, 15);  // back: rests again, then a press takes the hint away
    headless.RunFor(600);
    EXPECT_TRUE(ui::HintShowing());
    backend.MouseDown(20, 15);
    backend.MouseUp(20, 15);
    headless.RunFor(50);
    EXPECT_FALSE(ui::HintShowing());
}

TEST_F(Forms, DisabledPanelsChildrenGetNoClicks) {
    ui::Form f;
    Place(f, 0, 0, 300, 200, ui::clSilver);
    ui::Panel panel(&f);
    panel.SetBounds(10, 10, 200, 100);
    ui::Label label(&panel);
    label.SetAutoSize(false);
    label.SetBounds(10, 10, 80, 20);
    ui::SpeedButton button(&panel);
    button.SetBounds(100, 10, 40, 20);
    int labelClicks = 0, buttonClicks = 0, formClicks = 0;
    label.OnClick = [&](ui::Control&) { ++labelClicks; };
    button.OnClick = [&](ui::Control&) { ++buttonClicks; };
    f.OnClick = [&](ui::Control&) { ++formClicks; };
    f.Show();

    panel.SetEnabled(false);
    backend.Click(30, 30);
    backend.Click(120, 30);
    headless.RunFor(50);
    EXPECT_EQ(labelClicks + buttonClicks + formClicks, 0);

    panel.SetEnabled(true);
    backend.Click(30, 30);
    backend.Click(120, 30);
    headless.RunFor(50);
    EXPECT_EQ(labelClicks, 1);
    EXPECT_EQ(buttonClicks, 1);

    // A disabled plain control lets its parent have the click.
    label.SetEnabled(false);
    int panelClicks = 0;
    panel.OnClick = [&](ui::Control&) { ++panelClicks; };
    backend.Click(30, 30);
    headless.RunFor(50);
    EXPECT_EQ(labelClicks, 1);
    EXPECT_EQ(panelClicks, 1);
}

TEST_F(Forms, DisabledFormTakesNoInput) {
    ui::Form f;
    Place(f, 0, 0, 100, 100, ui::clSilver);
    int clicks = 0, keys = 0;
    f.OnClick = [&](ui::Control&) { ++clicks; };
    f.OnKeyDown = [&](ui::Control&, int&, ui::ShiftState) { ++keys; };
    f.Show();
    f.SetEnabled(false);
    backend.Click(50, 50);
    backend.Key('A');
    headless.RunFor(50);
    EXPECT_EQ(clicks + keys, 0);
    f.SetEnabled(true);
    backend.Click(50, 50);
    backend.Key('A');
    headless.RunFor(50);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(keys, 1);
}

TEST_F(Forms, MouseEventsCarryButtonShiftAndClientCoordinates) {
    ui::Form f;
    Place(f, 30, 40, 300, 200, ui::clSilver);
    ui::Panel panel(&f);
    panel.SetBounds(10, 10, 200, 100);
    ui::Image image(&panel);
    image.SetBounds(5, 5, 100, 50);
    struct Seen {
        MouseButton button;
        ui::ShiftState shift;
        int x, y;
    };
    std::vector<Seen> downs, ups;
    std::vector<ui::Point> moves;
    int dbl = 0, clicks = 0;
    image.OnMouseDown = [&](ui::Control&, MouseButton b, ui::ShiftState s, int x, int y) {
        downs.push_back({b, s, x, y});
    };
    image.OnMouseUp = [&](ui::Control&, MouseButton b, ui::ShiftState s, int x, int y) {
        ups.push_back({b, s, x, y});
    };
    image.OnMouseMove = [&](ui::Control&, ui::ShiftState, int x, int y) {
        moves.push_back({x, y});
    };
    image.OnDblClick = [&](ui::Control&) { ++dbl; };
    image.OnClick = [&](ui::Control&) { ++clicks; };
    f.Show();

    backend.MouseDown(50, 60, MouseButton::mbRight, ui::ssShift | ui::ssAlt);
    backend.Move(300, 300);  // outside, but the press holds the capture
    backend.MouseUp(300, 300, MouseButton::mbRight);
    backend.DoubleClick(60, 70, MouseButton::mbLeft, ui::ssCtrl);
    headless.RunFor(100);

    ASSERT_EQ(downs.size(), 3u);
    EXPECT_EQ(downs[0].button, MouseButton::mbRight);
    EXPECT_EQ(downs[0].shift, ui::ssShift | ui::ssAlt | ui::ssRight);
    EXPECT_EQ(downs[0].x, 50 - 30 - 10 - 5);
    EXPECT_EQ(downs[0].y, 60 - 40 - 10 - 5);
    ASSERT_FALSE(moves.empty());
    EXPECT_EQ(moves.front(), (ui::Point{300 - 45, 300 - 55}));  // captured: outside coordinates
    ASSERT_EQ(ups.size(), 3u);
    EXPECT_EQ(ups[0].button, MouseButton::mbRight);
    EXPECT_EQ(downs[2].shift & ui::ssDouble, ui::ssDouble);
    EXPECT_EQ(downs[2].shift & ui::ssCtrl, ui::ssCtrl);
    EXPECT_EQ(dbl, 1);
    EXPECT_EQ(clicks, 1);  // the first press of the double click; the second is the double click

    // Explicit capture: a control takes moves from anywhere until released.
    moves.clear();
    image.SetMouseCapture(true);
    EXPECT_EQ(ui::GetCapture(), &image);
    backend.Move(5, 5);
    headless.RunFor(20);
    ASSERT_EQ(moves.size(), 1u);
    ui::ReleaseCapture();
    backend.Move(6, 6);
    headless.RunFor(20);
    EXPECT_EQ(moves.size(), 1u);

    // Placing the cursor moves the mouse (a move event follows).
    ui::SetCursorPos(100, 80);
    headless.RunFor(20);
    EXPECT_EQ(ui::CursorPos(), (ui::Point{100, 80}));
    EXPECT_EQ(moves.size(), 2u);
}

TEST_F(Forms, FormEventsAndClosing) {
    ui::Form main;
    Place(main, 0, 0, 100, 100, ui::clSilver);
    std::vector<std::string> log;
    main.OnCreate = [&](ui::Form&) { log.push_back("create"); };
    main.DoCreate();
    main.DoCreate();  // once only
    main.OnShow = [&](ui::Form&) { log.push_back("show"); };
    main.OnHide = [&](ui::Form&) { log.push_back("hide"); };
    main.OnPaint = [&](ui::Form& f) {
        log.push_back("paint");
        f.GetCanvas().Brush.Color = ui::clRed;
        f.GetCanvas().FillRect(ui::Rect{0, 0, 10, 10});
    };
    main.Show();
    main.Repaint();  // composes and presents at once
    EXPECT_EQ(app.GetScreen().At(5, 5), ui::Rgb(255, 0, 0));
    EXPECT_EQ(app.GetScreen().At(50, 50), ui::Rgb(192, 192, 192));
    main.Hide();
    EXPECT_EQ(log, (std::vector<std::string>{"create", "show", "paint", "hide"}));
    main.Show();

    ui::Form other;
    Place(other, 0, 0, 50, 50, ui::clSilver);
    other.Show();
    other.OnClose = [](ui::Form&, ui::CloseAction& a) { a = ui::CloseAction::caHide; };
    other.Close();
    EXPECT_FALSE(other.Visible());
    EXPECT_FALSE(app.Terminated());

    // The main form: its close query refuses, then closing it ends the program; the
    // window manager's close request goes through it.
    bool allow = false;
    main.OnCloseQuery = [&](ui::Form&, bool& can) { can = allow; };
    backend.RequestClose();
    headless.RunFor(50);
    EXPECT_FALSE(app.Terminated());
    EXPECT_TRUE(main.Visible());
    allow = true;
    backend.RequestClose();
    headless.RunUntil([&] { return app.Terminated(); });
    EXPECT_TRUE(app.Terminated());
}

TEST_F(Forms, AltF4AsksTheActiveFormAndARefusalKeepsItOpen) {
    ui::Form main;
    Place(main, 0, 0, 100, 100, ui::clSilver);
    main.Show();
    ui::Form dialog;
    Place(dialog, 10, 10, 50, 50, ui::clSilver);
    int queries = 0;
    dialog.OnCloseQuery = [&](ui::Form&, bool& can) {
        ++queries;
        can = false;
    };
    dialog.Show();
    backend.Key(ui::vk::F1 + 3, ui::ssAlt);
    headless.RunFor(50);
    EXPECT_EQ(queries, 1);
    EXPECT_TRUE(dialog.Visible());
    EXPECT_FALSE(app.Terminated());
}

TEST_F(Forms, DrawingInAPaintHandlerDoesNotAskForEndlessRepaints) {
    ui::Form f;
    Place(f, 0, 0, 100, 100, ui::clSilver);
    ui::Image image(&f);
    image.SetBounds(0, 0, 20, 20);
    int paints = 0;
    f.OnPaint = [&](ui::Form&) {
        ++paints;
        image.GetCanvas().Brush.Color = ui::clRed;
        image.GetCanvas().FillRect(ui::Rect{0, 0, 20, 20});
    };
    f.Show();
    headless.RunFor(1000);
    EXPECT_LE(paints, 2);
    EXPECT_EQ(app.GetScreen().At(5, 5), ui::Rgb(255, 0, 0));  // drawn in the same pass
}

TEST_F(Forms, TheHeadlessScreenIsComposedWhenItsPixelsOrAFormsPictureAreLookedAt) {
    ui::Form f;
    Place(f, 0, 0, 40, 40, ui::clSilver);
    int paints = 0;
    f.OnPaint = [&](ui::Form& form) {
        ++paints;
        form.GetCanvas().Brush.Color = ui::clRed;
        form.GetCanvas().FillRect(ui::Rect{0, 0, 4, 4});
    };
    f.Show();
    headless.RunFor(1000);
    EXPECT_EQ(paints, 0);  // presented, nobody looked
    EXPECT_EQ(f.WindowBitmap().GetPixel(1, 1), ui::clRed);
    EXPECT_EQ(paints, 1);
    EXPECT_EQ(app.GetScreen().At(1, 1), ui::Rgb(255, 0, 0));  // the same composition
    EXPECT_EQ(paints, 1);

    // A copy is composed; a resize owes nothing (the screen is black until the next).
    f.Invalidate();
    headless.RunFor(10);
    const ui::Screen copy = app.GetScreen();
    EXPECT_EQ(paints, 2);
    EXPECT_EQ(copy.At(1, 1), ui::Rgb(255, 0, 0));
    f.Invalidate();
    headless.RunFor(10);
    ui::Screen& screen = app.GetScreen();
    screen.Resize(screen.Width(), screen.Height());
    EXPECT_EQ(screen.At(1, 1), 0u);
    EXPECT_EQ(paints, 2);
}

TEST_F(Forms, AProgramsOwnPainterStaysOnAsTheDesktop) {
    app.OnPaint = [](ui::Screen& s) { s.Fill(ui::Rgb(1, 2, 3)); };
    ui::Form f;
    Place(f, 0, 0, 10, 10, ui::clWhite);
    f.Show();
    EXPECT_EQ(ScreenAt(5, 5), ui::Rgb(255, 255, 255));
    EXPECT_EQ(ScreenAt(50, 50), ui::Rgb(1, 2, 3));
}

TEST_F(Forms, PostedUserMessagesReachTheForm) {
    ui::Form f;
    std::vector<std::intptr_t> got;
    f.OnMessage = [&](ui::Form&, const ui::Message& m) {
        if (m.msg == ui::WM_USER) got.push_back(m.wParam);
    };
    f.PostMessage(ui::WM_USER, 7);
    f.PostMessage(ui::WM_USER, 8);
    headless.RunFor(10);
    EXPECT_EQ(got, (std::vector<std::intptr_t>{7, 8}));
}

}  // namespace
