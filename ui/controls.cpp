#include "ui/controls.h"

#include <algorithm>

#include "common/errors.h"
#include "common/handles.h"
#include "ui/list_rules.h"

namespace ui {
namespace {

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
// Rows of the lists are 12 pixels high, the height of the window's text.
constexpr int kListRowHeight = 12;
// Posted to a list that holds its redraw: whichever message loop runs next lets it draw again.
constexpr UINT kResumeRedraw = WM_APP + 1;

HWND ParentWindow(TWinControl* parent) { return parent ? parent->Handle() : nullptr; }

}  // namespace

std::string WindowText(HWND window) {
  int len = GetWindowTextLengthA(window);
  std::string text(static_cast<size_t>(len) + 1, '\0');
  len = GetWindowTextA(window, text.data(), len + 1);
  text.resize(static_cast<size_t>(len));
  return text;
}

// --- TPanel ---

TPanel::TPanel(TWinControl* parent, std::string name, TAlign align, TBounds bounds, int tab_order,
               const char* caption, bool bevel, bool flat)
    : TWinControl(parent, std::move(name), align, bounds, tab_order, false),
      bevel_(bevel),
      flat_(flat) {
  RegisterOwnClass("TPanel", CS_HREDRAW | CS_VREDRAW, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
  CreateHandle("TPanel", kChild | WS_CLIPCHILDREN, 0, caption, ParentWindow(parent));
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

TListBox::TListBox(TWinControl* parent, std::string name, TAlign align, TBounds bounds,
                   int tab_order, int horizontal_extent)
    : TWinControl(parent, std::move(name), align, bounds, tab_order, true) {
  DWORD style = kChild | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
  if (horizontal_extent != 0) style |= WS_HSCROLL;
  CreateHandle("LISTBOX", style, WS_EX_CLIENTEDGE, "", ParentWindow(parent));
  SendMessageA(Handle(), LB_SETITEMHEIGHT, 0, kListRowHeight);
  if (horizontal_extent != 0)
    SendMessageA(Handle(), LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(horizontal_extent), 0);
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
  UpdateWindow(Handle());
}

void TListBox::HoldRedraw() {
  if (redraw_held_) return;
  redraw_held_ = true;
  SendMessageA(Handle(), WM_SETREDRAW, FALSE, 0);
  PostMessageA(Handle(), kResumeRedraw, 0, 0);
}

void TListBox::ResumeRedraw() {
  if (!redraw_held_) return;
  redraw_held_ = false;
  SendMessageA(Handle(), WM_SETREDRAW, TRUE, 0);
  RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
}

LRESULT TListBox::WndProc(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == kResumeRedraw) {
    ResumeRedraw();
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

void TListBox::Rows::Clear() { SendMessageA(owner_.Handle(), LB_RESETCONTENT, 0, 0); }

// --- TEdit ---

TEdit::TEdit(TWinControl* parent, std::string name, TBounds bounds, int tab_order, bool read_only,
             bool flat)
    : TWinControl(parent, std::move(name), TAlign::alNone, bounds, tab_order, true),
      read_only_(read_only) {
  DWORD style = kChild | WS_TABSTOP | ES_AUTOHSCROLL | (read_only ? ES_READONLY : 0);
  if (flat) style |= WS_BORDER;
  CreateHandle("EDIT", style, flat ? 0 : WS_EX_CLIENTEDGE, "", ParentWindow(parent));
}

std::string TEdit::Text() const { return WindowText(Handle()); }

void TEdit::SetText(const std::string& text) {
  if (Text() == text) return;
  SetWindowTextA(Handle(), text.c_str());
}

void TEdit::CommandNotify(WORD code) {
  if (code == EN_CHANGE && OnChange) OnChange(this);
}

HBRUSH TEdit::CtlColor(HDC dc) {
  if (!read_only_) return nullptr;
  // A read-only box keeps the colour of an editable one.
  SetBkColor(dc, GetSysColor(COLOR_WINDOW));
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  return GetSysColorBrush(COLOR_WINDOW);
}

// --- TButton ---

TButton::TButton(TWinControl* parent, std::string name, TBounds bounds, int tab_order,
                 const char* caption)
    : TWinControl(parent, std::move(name), TAlign::alNone, bounds, tab_order, true) {
  CreateHandle("BUTTON", kChild | WS_TABSTOP | BS_PUSHBUTTON, 0, caption, ParentWindow(parent));
}

std::string TButton::Caption() const { return WindowText(Handle()); }

void TButton::CommandNotify(WORD code) {
  if (code == BN_CLICKED && OnClick) OnClick(this);
}

// --- TCheckBox ---

TCheckBox::TCheckBox(TWinControl* parent, std::string name, TBounds bounds, int tab_order,
                     const char* caption)
    : TWinControl(parent, std::move(name), TAlign::alNone, bounds, tab_order, true) {
  CreateHandle("BUTTON", kChild | WS_TABSTOP | BS_AUTOCHECKBOX, 0, caption, ParentWindow(parent));
}

std::string TCheckBox::Caption() const { return WindowText(Handle()); }

bool TCheckBox::Checked() const { return SendMessageA(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED; }

void TCheckBox::SetChecked(bool checked) {
  if (Checked() == checked) return;
  SendMessageA(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

// --- TLabel ---

TLabel::TLabel(TWinControl* parent, std::string name, TBounds bounds, const char* caption,
               HFONT own_font)
    : TWinControl(parent, std::move(name), TAlign::alNone, bounds, 0, false) {
  if (own_font) SetFont(own_font);
  CreateHandle("STATIC", kChild | SS_LEFT | SS_NOPREFIX, 0, caption, ParentWindow(parent));
  AdjustSize();
}

std::string TLabel::Caption() const { return WindowText(Handle()); }

void TLabel::SetCaption(const std::string& caption) {
  if (Caption() == caption) return;
  SetWindowTextA(Handle(), caption.c_str());
  AdjustSize();
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
