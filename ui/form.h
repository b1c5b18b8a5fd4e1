// A top-level window that holds components: caption, stored place and client size, fixed
// border, the font its components take, the first focus, and the Tab order.
#pragma once

#include <string>

#include "common/handles.h"
#include "ui/control.h"

namespace ui {

struct TFormParams {
  const char* window_class;  // the class name of the form's window
  const char* caption;
  int left, top;  // the stored place of the outer top-left corner on the screen
  int client_width, client_height;
  const char* font_name;
  int font_height;  // negative: the character height in pixels
  BYTE font_charset;
  const char* icon;  // the icon resource's name
};

class TForm : public TWinControl {
 public:
  explicit TForm(std::string name, const TFormParams& params);
  ~TForm() override;

  // A font of the form's own values (for a component that carries a font of its own).
  static vorlund::GdiObject<HFONT> MakeFont(const TFormParams& params);

  std::string Caption() const;

  // The outer rectangle on the screen; while minimized, the one the window returns to.
  TBounds Bounds() const override;
  void SetBounds(int left, int top, int width, int height) override;
  void SetWidth(int width) { SetBounds(Left(), Top(), width, Height()); }
  void SetHeight(int height) { SetBounds(Left(), Top(), Width(), height); }

  void Show(int show_command);
  // True while the user's keys come to this window: it is the active window of its thread and
  // the system's foreground window, and it is enabled (no modal window of the program is open).
  bool Active() const;
  // For the main loop, where no handler runs: clears what frames left without unwinding left
  // of the form's own bookkeeping. Returns what was cleared, for a debug log line, or an empty
  // text.
  virtual std::string ClearLeftBehind() { return std::string(); }
  // Tab and Shift+Tab move along the Tab order, unless the focused control takes Tab itself.
  bool HandleTabKey(const MSG& key) override;

 protected:
  LRESULT WndProc(UINT message, WPARAM wparam, LPARAM lparam) override;
  // Runs a creation handler: an error it raises is shown, and the window is still built.
  void RunCreateHandler(const TNotifyEvent& handler);

 private:
  // Moves the focus to the next (or previous) control of the Tab order.
  void SelectNext(bool forward);

  vorlund::GdiObject<HFONT> font_;
  HWND last_focus_ = nullptr;
};

}  // namespace ui
