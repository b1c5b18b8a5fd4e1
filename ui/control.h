// The base of every windowed component: a standard or own Win32 window wrapped thinly. The
// window holds the state (text, rows, selection); the object reads it back. Every message to a
// component's window passes through one dispatch point, which hands any exception a handler
// throws to the application's default error display, so no exception crosses into Windows.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "ui/align.h"

namespace ui {

class TObject {
 public:
  virtual ~TObject() = default;
};

using TNotifyEvent = std::function<void(TObject* sender)>;

// A colour as the platform's 0x00BBGGRR value.
using TColor = std::uint32_t;

// What a kind of windowed component is, beside its placement.
struct TWinControlOptions {
  bool tab_stop = false;  // Tab can stop here (a control that takes input)
};

class TWinControl : public TObject {
 public:
  ~TWinControl() override;
  TWinControl(const TWinControl&) = delete;
  TWinControl& operator=(const TWinControl&) = delete;

  HWND Handle() const { return handle_; }
  const std::string& Name() const { return name_; }
  const std::vector<TWinControl*>& Children() const { return children_; }

  // Bounds in the parent's client area (for a form: its outer rectangle on the screen).
  int Left() const { return Bounds().left; }
  int Top() const { return Bounds().top; }
  int Width() const { return Bounds().width; }
  int Height() const { return Bounds().height; }
  virtual TBounds Bounds() const;
  // Moves the window; does nothing when the bounds are unchanged.
  virtual void SetBounds(int left, int top, int width, int height);

  // Whether Tab stops here at all (the place among the siblings is the Tab order).
  bool TabStop() const { return tab_stop_; }
  // Whether the control can take the focus now: Tab stop, visible and enabled.
  bool CanFocus() const;

  void SetFocus();

  // The font the control draws with: its own, or its parent's.
  HFONT Font() const;
  void SetFont(HFONT font);

  // Places the aligned children inside AlignArea().
  void Realign();
  // The part of the client area that aligned children share (a panel keeps its bevel).
  virtual TBounds AlignArea() const;

  // The focusable controls below this one, in Tab order (depth first).
  std::vector<TWinControl*> TabList() const;
  // Asked by the message loop for a Tab key pressed in this window or one inside it, from the
  // key's window up through its parents: true when this control used the key (a form moves
  // the focus along its Tab order).
  virtual bool HandleTabKey(const MSG& /*key*/) { return false; }

  // The component whose window this is, or null.
  static TWinControl* FromHandle(HWND window);

 protected:
  TWinControl(TWinControl* parent, const TPlacement& placement, TWinControlOptions options);

  // Creates the window. A standard class (LISTBOX, EDIT, BUTTON, STATIC) is subclassed; an own
  // class (see RegisterOwnClass) sends its messages to WndProc from the start. The new child
  // is put on top of its earlier siblings, so later components lie over earlier ones.
  void CreateHandle(const char* window_class, DWORD style, DWORD ex_style, const char* text,
                    HWND parent_window);
  // Sets the window's text from the program's own code (the text of a control that no person
  // can reach is set too, while text set from outside is refused there).
  void SetOwnText(const std::string& text);
  // Registers a window class of ours (once) whose messages reach WndProc.
  static void RegisterOwnClass(const char* window_class, UINT class_style, HBRUSH background,
                               HICON icon = nullptr);

  // Handles one message of this control's window. The default passes it on to the standard
  // class, or to DefWindowProcA for an own class; containers forward child notifications.
  virtual LRESULT WndProc(UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT DefaultProc(UINT message, WPARAM wparam, LPARAM lparam);
  // A WM_COMMAND notification that this control sent its parent.
  virtual void CommandNotify(WORD /*code*/) {}
  // A WM_CTLCOLOR* message for this control: the brush to paint its background, or null for
  // the default.
  virtual HBRUSH CtlColor(HDC /*dc*/) { return nullptr; }

 private:
  static LRESULT CALLBACK DispatchProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  void AddTabList(std::vector<TWinControl*>& list) const;

  TWinControl* parent_;
  std::string name_;
  TAlign align_;
  TBounds design_bounds_;  // the bounds until the window exists
  int tab_order_;
  bool tab_stop_;
  HWND handle_ = nullptr;
  WNDPROC standard_proc_ = nullptr;
  bool setting_text_ = false;
  HFONT font_ = nullptr;
  std::vector<TWinControl*> children_;
};

}  // namespace ui
