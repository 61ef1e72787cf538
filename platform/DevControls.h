#pragma once
#include <functional>
#include <string>
#include <vector>

#include "platform/Controls.h"
#include "platform/Form.h"

// Plain controls for the developer's windows: check box, edit field, memo, combo
// box, up-down arrows, scroll bar, radio group, and an open-file dialog that asks for
// a path. Minimal by design: they draw in the classic style and take the mouse and
// the keys the developer windows need.
namespace ui {

// A box that is ticked or not; a click (or Space) toggles it, then OnClick runs.
// Setting Checked from code does not run OnClick.
class CheckBox : public WinControl {
public:
    explicit CheckBox(WinControl* parent = nullptr);
    bool Checked() const { return checked_; }
    void SetChecked(bool on);
    void Click() override;
    void KeyUp(int& key, ShiftState shift) override;
    void Paint(Canvas& canvas) override;

private:
    bool checked_ = false;
};

// One line of text (Big5 or ASCII); typed characters go in at the caret.
class Edit : public WinControl {
public:
    explicit Edit(WinControl* parent = nullptr);
    const std::string& Text() const { return Caption(); }
    void SetText(const std::string& text);  // runs OnChange when it changes
    bool ReadOnly = false;
    int MaxLength = 0;  // bytes; 0 = no limit
    int SelStart() const { return caret_; }
    void SetSelStart(int pos);
    NotifyEvent OnChange;

    void MouseDown(MouseButton button, ShiftState shift, int x, int y) override;
    void KeyDown(int& key, ShiftState shift) override;
    void KeyPress(char& ch) override;
    void Paint(Canvas& canvas) override;

private:
    int caret_ = 0;
};

// Lines of text shown from TopLine; typing adds to the last line.
class Memo : public WinControl {
public:
    explicit Memo(WinControl* parent = nullptr);
    const std::vector<std::string>& Lines() const { return lines_; }
    void Add(const std::string& line);
    void Clear();
    // All lines joined with line feeds; setting splits at line feeds.
    std::string Text() const;
    void SetText(const std::string& text);
    int TopLine() const { return topLine_; }
    void SetTopLine(int line);
    bool ReadOnly = false;
    NotifyEvent OnChange;

    void KeyDown(int& key, ShiftState shift) override;
    void KeyPress(char& ch) override;
    void Paint(Canvas& canvas) override;

private:
    void Changed();
    std::vector<std::string> lines_;
    int topLine_ = 0;
};

// A list to choose one entry from: a click drops the list down (as a menu).
class ComboBox : public WinControl {
public:
    explicit ComboBox(WinControl* parent = nullptr);
    std::vector<std::string> Items;
    int ItemIndex() const { return itemIndex_; }
    void SetItemIndex(int index);  // -1 for none; does not run OnChange
    std::string Text() const;
    NotifyEvent OnChange;
    // Drops the list down below the box and waits for a choice.
    void DropDown();

    void MouseDown(MouseButton button, ShiftState shift, int x, int y) override;
    void KeyDown(int& key, ShiftState shift) override;
    void Paint(Canvas& canvas) override;

private:
    void Choose(int index);
    int itemIndex_ = -1;
};

enum class UDBtnType { btNext, btPrev };

// Two arrows that step Position between Min and Max (wrapping with Wrap) and write it
// into the Associate edit field. OnChanging may refuse a step; OnClick follows one.
class UpDown : public WinControl {
public:
    explicit UpDown(WinControl* parent = nullptr);
    int Min = 0;
    int Max = 100;
    int Increment = 1;
    bool Wrap = false;
    int Position() const { return position_; }
    void SetPosition(int pos);
    Edit* Associate() const { return associate_; }
    void SetAssociate(Edit* edit);
    UDBtnType LastButton() const { return lastButton_; }
    std::function<void(Control& sender, bool& allow)> OnChanging;
    // One step up (btNext) or down, as a click on that arrow.
    void Step(UDBtnType button);

    void MouseDown(MouseButton button, ShiftState shift, int x, int y) override;
    void Paint(Canvas& canvas) override;

private:
    void WriteAssociate();
    int position_ = 0;
    Edit* associate_ = nullptr;
    LifeToken associateLife_;
    UDBtnType lastButton_ = UDBtnType::btNext;
};

enum class ScrollBarKind { sbHorizontal, sbVertical };

// Arrows step by SmallChange, the track pages by LargeChange, the thumb drags.
class ScrollBar : public WinControl {
public:
    explicit ScrollBar(WinControl* parent = nullptr);
    ScrollBarKind Kind() const { return kind_; }
    void SetKind(ScrollBarKind kind);
    int Min = 0;
    int Max = 100;
    int SmallChange = 1;
    int LargeChange = 1;
    int Position() const { return position_; }
    void SetPosition(int pos);  // clamped; runs OnChange when it changes
    NotifyEvent OnChange;

    void MouseDown(MouseButton button, ShiftState shift, int x, int y) override;
    void MouseMove(ShiftState shift, int x, int y) override;
    void MouseUp(MouseButton button, ShiftState shift, int x, int y) override;
    void Paint(Canvas& canvas) override;

private:
    int Length() const;     // along the bar
    int Thickness() const;  // across it
    Rect ThumbRect() const;
    int position_ = 0;
    ScrollBarKind kind_ = ScrollBarKind::sbHorizontal;
    bool draggingThumb_ = false;
    int dragOffset_ = 0;
};

// A framed group of round buttons, one of which is chosen.
class RadioGroup : public WinControl {
public:
    explicit RadioGroup(WinControl* parent = nullptr);
    std::vector<std::string> Items;
    int Columns = 1;
    int ItemIndex() const { return itemIndex_; }
    void SetItemIndex(int index);
    // The rectangle of item i (client coordinates).
    Rect ItemRect(int i) const;

    void MouseDown(MouseButton button, ShiftState shift, int x, int y) override;
    void Paint(Canvas& canvas) override;

private:
    int itemIndex_ = -1;
};

// Asks for the path of a file to open: a small modal window with the path field.
class OpenDialog {
public:
    std::string Title = "Open";
    std::string Filter;  // shown as a reminder, e.g. "*.h"
    std::string InitialDir;
    std::string FileName;
    // True when OK was chosen with a path (then in FileName).
    bool Execute();
    // The window while Execute runs (for tests), else null.
    static Form* Window();
};

}  // namespace ui
