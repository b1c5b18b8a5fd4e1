#include "ui/controls.h"

#include <algorithm>

#include "common/errors.h"
#include "common/handles.h"
#include "ui/list_rules.h"
#include "ui/messages.h"

namespace ui {
namespace {

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
// Rows of the lists are 12 pixels high, the height of the window's text.
constexpr int kListRowHeight = 12;

HWND ParentWindow(TWinControl* parent) { return parent ? parent->Handle() : nullptr; }

// What the user sees of a window's vertical scroll bar: where it lies, its thumb, its state.
struct ScrollBarLook {
  RECT bar;
  int thumb_top, thumb_bottom;
  DWORD state;
  bool operator==(const ScrollBarLook& o) const {
    return EqualRect(&bar, &o.bar) && thumb_top == o.thumb_top && thumb_bottom == o.thumb_bottom &&
           state == o.state;
  }
};

ScrollBarLook LookOfScrollBar(HWND window) {
  SCROLLBARINFO info = {};
  info.cbSize = sizeof info;
  if (!GetScrollBarInfo(window, OBJID_VSCROLL, &info)) return {{-1, -1, -1, -1}, -1, -1, 0};
  return {info.rcScrollBar, info.xyThumbTop, info.xyThumbBottom, info.rgstate[0]};
}

// The timer that draws a list's scroll bar left owed by its pace.
constexpr UINT_PTR kOwedScrollBarTimer = 0x564C;

// Draws the vertical scroll bar anew, and nothing else of the window.
void RedrawScrollBar(HWND window) {
  SCROLLINFO info = {};
  info.cbSize = sizeof info;
  info.fMask = SIF_POS;
  if (GetScrollInfo(window, SB_VERT, &info)) SetScrollInfo(window, SB_VERT, &info, TRUE);
}

}  // namespace

std::string WindowText(HWND window) {
  int len = GetWindowTextLengthA(window);
  std::string text(static_cast<size_t>(len) + 1, '\0');
  len = GetWindowTextA(window, text.data(), len + 1);
  text.resize(static_cast<size_t>(len));
  return text;
}

// --- TPanel ---

TPanel::TPanel(TWinControl* parent, const TPlacement& placement, Options options)
    : TWinControl(parent, placement, {}), bevel_(options.bevel) {
  RegisterOwnClass("TPanel", CS_HREDRAW | CS_VREDRAW, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
  CreateHandle("TPanel", kChild | WS_CLIPCHILDREN, 0, options.caption, ParentWindow(parent));
}

TBounds TPanel::AlignArea() const {
  TBounds area = TWinControl::AlignArea();
  if (!bevel_) return area;
  return {area.left + 1, area.top + 1, area.width - 2, area.height - 2};
}

LRESULT TPanel::WndProc(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(Handle(), &ps);
    RECT r;
    GetClientRect(Handle(), &r);
    FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    if (bevel_) DrawEdge(dc, &r, BDR_RAISEDOUTER, BF_RECT);
    std::string caption = WindowText(Handle());
    if (!caption.empty()) {
      vorlund::Selection font(dc, Font());
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
      DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &r,
                DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    EndPaint(Handle(), &ps);
    return 0;
  }
  return TWinControl::WndProc(message, wparam, lparam);
}

// --- TListBox ---

TListBox::TListBox(TWinControl* parent, const TPlacement& placement, Options options)
    : TWinControl(parent, placement, {.tab_stop = true}) {
  DWORD style = kChild | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
  if (options.horizontal_scroll) style |= WS_HSCROLL;
  CreateHandle("LISTBOX", style, WS_EX_CLIENTEDGE, "", ParentWindow(parent));
  SendMessageA(Handle(), LB_SETITEMHEIGHT, 0, kListRowHeight);
  if (options.horizontal_scroll)
    SendMessageA(Handle(), LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(*options.horizontal_scroll),
                 0);
}

int TListBox::ItemIndex() const {
  return static_cast<int>(SendMessageA(Handle(), LB_GETCURSEL, 0, 0));
}

void TListBox::SetItemIndex(int index) {
  const int wanted = SelectionFor(index, items_.Count());
  if (ItemIndex() == wanted) return;
  SendMessageA(Handle(), LB_SETCURSEL, static_cast<WPARAM>(wanted), 0);
}

int TListBox::TopIndex() const {
  return static_cast<int>(SendMessageA(Handle(), LB_GETTOPINDEX, 0, 0));
}

void TListBox::SetTopIndex(int index) {
  const int wanted = TopRowFor(index, items_.Count(), PageRows());
  if (TopIndex() == wanted) return;
  SendMessageA(Handle(), LB_SETTOPINDEX, static_cast<WPARAM>(wanted), 0);
}

int TListBox::PageRows() const {
  RECT client;
  GetClientRect(Handle(), &client);
  const LRESULT row_height = SendMessageA(Handle(), LB_GETITEMHEIGHT, 0, 0);
  if (row_height <= 0 || row_height == LB_ERR) return 1;
  return std::max(1, static_cast<int>(client.bottom / row_height));
}

void TListBox::Update() {
  ResumeRedraw();
  SettleScrollBar(false);
  UpdateWindow(Handle());
}

void TListBox::HoldRedraw() {
  if (redraw_held_) return;
  redraw_held_ = true;
  held_ = {Items().Count(), TopIndex(), ItemIndex(), {}, false};
  GetClientRect(Handle(), &held_.client);
  SendMessageA(Handle(), WM_SETREDRAW, FALSE, 0);
  PostMessageA(Handle(), kResumeRedraw, 0, 0);
}

void TListBox::ResumeRedraw() {
  if (!redraw_held_) return;
  redraw_held_ = false;
  HWND list = Handle();
  // What waited to be painted before the rows came, kept apart from what the list invalidates
  // when it takes its redraw back (its scroll bar it brings up to date at once).
  vorlund::GdiObject<HRGN> waiting(CreateRectRgn(0, 0, 0, 0));
  const int waiting_kind = waiting ? GetUpdateRgn(list, waiting.Get(), FALSE) : ERROR;
  // The list brings its scroll bar up to date when it takes its redraw back, and draws it,
  // which costs a few milliseconds here. It is drawn only when it looks different (for a long
  // list that grows below its visible part, once its thumb is as small as it gets, never), and
  // at its pace.
  const ScrollBarLook bar_before = LookOfScrollBar(list);
  DefWindowProcA(list, WM_SETREDRAW, FALSE, 0);
  SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  DefWindowProcA(list, WM_SETREDRAW, TRUE, 0);
  if (!(LookOfScrollBar(list) == bar_before)) bar_owed_ = true;

  RECT client;
  GetClientRect(list, &client);
  const int count = Items().Count();
  const bool appended_only = !held_.cleared && count >= held_.count && TopIndex() == held_.top &&
                             ItemIndex() == held_.selection && EqualRect(&client, &held_.client) &&
                             waiting_kind != ERROR;
  if (!appended_only) {
    // Rows went, the list scrolled or its scroll bar came or went: all of it shows anew, the
    // scroll bar with the frame.
    RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
    bar_owed_ = false;
    return;
  }
  SettleScrollBar(true);
  // Rows were only appended: those of them that show are painted, and nothing else.
  ValidateRect(list, nullptr);
  if (waiting_kind != NULLREGION) InvalidateRgn(list, waiting.Get(), TRUE);
  if (count == held_.count) return;
  RECT first = {}, last = {};
  if (SendMessageA(list, LB_GETITEMRECT, static_cast<WPARAM>(held_.count),
                   reinterpret_cast<LPARAM>(&first)) == LB_ERR ||
      SendMessageA(list, LB_GETITEMRECT, static_cast<WPARAM>(count - 1),
                   reinterpret_cast<LPARAM>(&last)) == LB_ERR)
    return;
  RECT rows = {client.left, first.top, client.right, last.bottom};
  RECT shown;
  if (IntersectRect(&shown, &rows, &client)) InvalidateRect(list, &shown, TRUE);
}

void TListBox::SettleScrollBar(bool paced) {
  const HWND list = Handle();
  if (bar_owed_) {
    const std::uint64_t start = DrawNow();
    if (paced && !bar_pace_.Due(start)) {
      // Later than any wait of the pace: while loops resume the list, one of them draws it.
      constexpr UINT kOwedBarDelayMs = DrawPace::kLongestDrawWait / 1000 + 50;
      bar_timer_ = SetTimer(list, kOwedScrollBarTimer, kOwedBarDelayMs, nullptr) != 0;
      return;
    }
    RedrawScrollBar(list);
    bar_pace_.Drawn(start, DrawNow());
    bar_owed_ = false;
  }
  if (bar_timer_) {
    KillTimer(list, kOwedScrollBarTimer);
    bar_timer_ = false;
  }
}

LRESULT TListBox::WndProc(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == kResumeRedraw) {
    ResumeRedraw();
    return 0;
  }
  if (message == WM_TIMER && wparam == kOwedScrollBarTimer) {
    SettleScrollBar(false);
    return 0;
  }
  return TWinControl::WndProc(message, wparam, lparam);
}

void TListBox::CommandNotify(WORD code) {
  if (code == LBN_SELCHANGE && OnClick) OnClick(this);
}

int TListBox::Rows::Count() const {
  return static_cast<int>(SendMessageA(owner_.Handle(), LB_GETCOUNT, 0, 0));
}

std::string TListBox::Rows::Get(int index) const {
  LRESULT len = SendMessageA(owner_.Handle(), LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  if (index < 0 || len == LB_ERR)
    throw vorlund::EListError(vorlund::FormatIntError(vorlund::kListIndexError, index));
  std::string text(static_cast<size_t>(len) + 1, '\0');
  len = SendMessageA(owner_.Handle(), LB_GETTEXT, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(text.data()));
  if (len == LB_ERR)
    throw vorlund::EListError(vorlund::FormatIntError(vorlund::kListIndexError, index));
  text.resize(static_cast<size_t>(len));
  return text;
}

void TListBox::Rows::Add(const std::string& text) {
  owner_.HoldRedraw();
  LRESULT result =
      SendMessageA(owner_.Handle(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  if (result == LB_ERR || result == LB_ERRSPACE)
    throw vorlund::EListError(vorlund::kListInsertError);
}

void TListBox::Rows::Clear() {
  if (owner_.redraw_held_) owner_.held_.cleared = true;
  SendMessageA(owner_.Handle(), LB_RESETCONTENT, 0, 0);
}

// --- TEdit ---

TEdit::TEdit(TWinControl* parent, const TPlacement& placement, Options options)
    : TWinControl(parent, placement, {.tab_stop = true}), read_only_(options.read_only) {
  DWORD style = kChild | WS_TABSTOP | ES_AUTOHSCROLL | (read_only_ ? ES_READONLY : 0);
  if (options.flat) style |= WS_BORDER;
  CreateHandle("EDIT", style, options.flat ? 0 : WS_EX_CLIENTEDGE, "", ParentWindow(parent));
}

std::string TEdit::Text() const { return WindowText(Handle()); }

void TEdit::SetText(const std::string& text) {
  if (Text() == text) return;
  SetOwnText(text);
}

void TEdit::SetText(const std::string& text, TEditSelection selection) {
  if (Text() == text) return;
  // The control tells its change while it sets the text, with the caret at the start: the
  // notice is held until the selection is in place, then told as the control tells it.
  holding_change_ = true;
  change_held_ = false;
  SetOwnText(text);
  holding_change_ = false;
  SendMessageA(Handle(), EM_SETSEL, static_cast<WPARAM>(selection.start),
               static_cast<LPARAM>(selection.end));
  SendMessageA(Handle(), EM_SCROLLCARET, 0, 0);
  if (change_held_) {
    change_held_ = false;
    SendMessageA(GetParent(Handle()), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(Handle()), EN_CHANGE),
                 reinterpret_cast<LPARAM>(Handle()));
  }
}

int TEdit::Length() const { return static_cast<int>(SendMessageA(Handle(), EM_LINELENGTH, 0, 0)); }

TEditSelection TEdit::Selection() const {
  DWORD start = 0, end = 0;
  SendMessageA(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
               reinterpret_cast<LPARAM>(&end));
  return {static_cast<int>(start), static_cast<int>(end)};
}

void TEdit::CommandNotify(WORD code) {
  if (code != EN_CHANGE) return;
  if (holding_change_) {
    change_held_ = true;
    return;
  }
  if (OnChange) OnChange(this);
}

HBRUSH TEdit::CtlColor(HDC dc) {
  if (!read_only_) return nullptr;
  // A read-only box keeps the colour of an editable one.
  SetBkColor(dc, GetSysColor(COLOR_WINDOW));
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  return GetSysColorBrush(COLOR_WINDOW);
}

// --- TButton ---

TButton::TButton(TWinControl* parent, const TPlacement& placement, Options options)
    : TWinControl(parent, placement, {.tab_stop = true}) {
  CreateHandle("BUTTON", kChild | WS_TABSTOP | BS_PUSHBUTTON, 0, options.caption,
               ParentWindow(parent));
}

std::string TButton::Caption() const { return WindowText(Handle()); }

void TButton::CommandNotify(WORD code) {
  if (code == BN_CLICKED && OnClick) OnClick(this);
}

// --- TCheckBox ---

TCheckBox::TCheckBox(TWinControl* parent, const TPlacement& placement, Options options)
    : TWinControl(parent, placement, {.tab_stop = true}) {
  CreateHandle("BUTTON", kChild | WS_TABSTOP | BS_AUTOCHECKBOX, 0, options.caption,
               ParentWindow(parent));
}

std::string TCheckBox::Caption() const { return WindowText(Handle()); }

bool TCheckBox::Checked() const { return SendMessageA(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED; }

void TCheckBox::SetChecked(bool checked) {
  if (Checked() == checked) return;
  SendMessageA(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

// --- TLabel ---

TLabel::TLabel(TWinControl* parent, const TPlacement& placement, Options options)
    : TWinControl(parent, placement, {}) {
  if (options.font) SetFont(options.font);
  CreateHandle("STATIC", kChild | SS_LEFT | SS_NOPREFIX, 0, options.caption, ParentWindow(parent));
  AdjustSize();
}

std::string TLabel::Caption() const { return WindowText(Handle()); }

void TLabel::SetCaption(const std::string& caption) {
  if (Caption() == caption) return;
  SetOwnText(caption);
  AdjustSize();
  // The static control draws its new text at once, clipped to its old size; once it has its
  // new size all of it is drawn again.
  InvalidateRect(Handle(), nullptr, TRUE);
}

void TLabel::AdjustSize() {
  std::string text = Caption();
  SIZE extent = {};
  TEXTMETRICA metrics = {};
  {
    vorlund::WindowDc dc(Handle());
    vorlund::Selection font(dc.Get(), Font());
    GetTextExtentPoint32A(dc.Get(), text.c_str(), static_cast<int>(text.size()), &extent);
    GetTextMetricsA(dc.Get(), &metrics);
  }
  SetBounds(Left(), Top(), extent.cx, metrics.tmHeight);
}

}  // namespace ui
