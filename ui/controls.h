// The standard components the window is built from, each offering what the program uses of it.
#pragma once

#include <optional>
#include <string>

#include "ui/control.h"
#include "ui/frame_gate.h"
#include "ui/strings.h"

namespace ui {

struct TPanelOptions {
  const char* caption = "";
  bool bevel = false;  // a raised bevel of one pixel
};

// A container that paints itself: background, an optional raised bevel, and its caption
// centred.
class TPanel : public TWinControl {
 public:
  using Options = TPanelOptions;
  TPanel(TWinControl* parent, const TPlacement& placement, Options options = {});
  TBounds AlignArea() const override;

 protected:
  LRESULT WndProc(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  bool bevel_;
};

struct TListBoxOptions {
  // The width the rows scroll over horizontally, handed to the list control as given (whether
  // a scroll bar shows is the control's); none: no horizontal scroll bar, and a row longer than
  // the list is cut at its right edge.
  std::optional<int> horizontal_scroll = std::nullopt;
};

// A single-selection, unsorted list of text rows.
class TListBox : public TWinControl {
 public:
  using Options = TListBoxOptions;
  TListBox(TWinControl* parent, const TPlacement& placement, Options options = {});
  TStrings& Items() { return items_; }
  const TStrings& Items() const { return items_; }
  // The selected row, -1 for none. Setting reads first and sends nothing when equal; setting
  // from code raises no click event. A row the list lacks raises no error and leaves the list
  // with no selection, so it never shows another row as the one asked for.
  int ItemIndex() const;
  void SetItemIndex(int index);
  // The first visible row; set by the same read-first rule. A row beyond what the list can
  // scroll to raises no error: the list scrolls as far as it can, to its end.
  int TopIndex() const;
  void SetTopIndex(int index);
  // Repaints the list at once.
  void Update();
  // The user changed the selection (click, keys).
  TNotifyEvent OnClick;

 protected:
  void CommandNotify(WORD code) override;
  LRESULT WndProc(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  // The number of rows that fit into the list's height (at least 1).
  int PageRows() const;
  // Rows added between two turns of a message loop are drawn once, at the next turn that
  // paints (a pump paints at most once per display frame, ui/frame_pump.h): the system's list
  // box redraws its scroll bar for every single row it takes, which costs milliseconds a row,
  // while nothing can be seen of it before the loop runs again. At that turn only what changed
  // is painted: rows appended below the visible part change the scroll bar alone, rows that
  // come into view paint themselves, and the rest of the list stays.
  void HoldRedraw();
  // The scroll bar is drawn at its pace (DrawPace); Update draws what is owed at once.
  void ResumeRedraw();
  // Draws the scroll bar if it is owed a drawing and, when paced, its pace allows it. A drawing
  // left owed is made by the next resume that its pace allows, by Update, or by a timer should
  // no loop resume the list again.
  void SettleScrollBar(bool paced);
  bool redraw_held_ = false;
  bool bar_owed_ = false;  // the scroll bar looks different from what was last drawn of it
  bool bar_timer_ = false;
  DrawPace bar_pace_;
  struct Held {
    int count, top, selection;
    RECT client;
    bool cleared;  // the rows were emptied meanwhile
  } held_ = {};

  class Rows : public TStrings {
   public:
    explicit Rows(TListBox& owner) : owner_(owner) {}
    int Count() const override;
    std::string Get(int index) const override;
    void Add(const std::string& text) override;
    void Clear() override;

   private:
    TListBox& owner_;
  };
  Rows items_{*this};
};

// The selected characters of an edit box, [start, end); start == end is the caret alone.
// Counted in the control's own characters.
struct TEditSelection {
  int start;
  int end;
  bool operator==(const TEditSelection&) const = default;
};

struct TEditOptions {
  bool read_only = false;  // the user cannot change the text
  bool flat = false;       // a plain frame instead of a sunken edge (the box lies on a flat panel)
};

// A single-line edit box.
class TEdit : public TWinControl {
 public:
  using Options = TEditOptions;
  TEdit(TWinControl* parent, const TPlacement& placement, Options options = {});
  std::string Text() const;
  // Runs OnChange once, synchronously, when the text differs; does nothing for the same text.
  void SetText(const std::string& text);
  // The same, with the caret or selection put in the new text before OnChange runs.
  void SetText(const std::string& text, TEditSelection selection);
  // The length of the text and the selection, in the control's own characters.
  int Length() const;
  TEditSelection Selection() const;
  // The text changed (typing, pasting, deleting, or SetText).
  TNotifyEvent OnChange;

 protected:
  void CommandNotify(WORD code) override;
  HBRUSH CtlColor(HDC dc) override;

 private:
  bool read_only_;
  bool holding_change_ = false;  // a change is told only once the selection is in place
  bool change_held_ = false;
};

struct TButtonOptions {
  const char* caption = "";
};

class TButton : public TWinControl {
 public:
  using Options = TButtonOptions;
  TButton(TWinControl* parent, const TPlacement& placement, Options options = {});
  std::string Caption() const;
  TNotifyEvent OnClick;

 protected:
  void CommandNotify(WORD code) override;
};

struct TCheckBoxOptions {
  const char* caption = "";
};

class TCheckBox : public TWinControl {
 public:
  using Options = TCheckBoxOptions;
  TCheckBox(TWinControl* parent, const TPlacement& placement, Options options = {});
  std::string Caption() const;
  // True only in the ticked state.
  bool Checked() const;
  // For the tests, which tick the box without a click: the program only reads it.
  void SetChecked(bool checked);
};

struct TLabelOptions {
  const char* caption = "";
  HFONT font = nullptr;  // a font of the label's own (the caller keeps it); null: the parent's
};

// A text that sizes itself to its caption in its font.
class TLabel : public TWinControl {
 public:
  using Options = TLabelOptions;
  TLabel(TWinControl* parent, const TPlacement& placement, Options options = {});
  std::string Caption() const;
  void SetCaption(const std::string& caption);

 private:
  void AdjustSize();
};

// The text of a window, whatever its length.
std::string WindowText(HWND window);

}  // namespace ui
