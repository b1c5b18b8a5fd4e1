// The main window as built from its stored layout, read back through Win32.
#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "form_fixture.h"
#include "message_recorder.h"
#include "ui/gauge.h"

namespace vorlund::testing {
namespace {

struct Place {
  const char* name;
  const char* parent;  // null: the window
  const char* window_class;
  int left, top, width, height;
};

// The layout at the design size (client area 816 x 612). Labels size themselves to their
// text and are checked on their own.
const Place kDesign[] = {
    {"pnl1", nullptr, "TPanel", 472, 33, 319, 527},
    {"Memo2", "pnl1", "ListBox", 1, 1, 317, 525},
    {"pnl2", nullptr, "TPanel", 0, 33, 25, 527},
    {"pnl4", nullptr, "TPanel", 0, 0, 816, 33},
    {"Button2", "pnl4", "Button", 600, 4, 65, 25},
    {"Edit1", "pnl4", "Edit", 96, 8, 497, 18},
    {"chk1", "pnl4", "Button", 672, 8, 97, 17},
    {"pnl5", nullptr, "TPanel", 112, 33, 360, 527},
    {"FileListBox1", nullptr, "ListBox", 25, 33, 447, 527},
    {"pnl6", nullptr, "TPanel", 791, 33, 25, 527},
    {"pnl3", nullptr, "TPanel", 0, 560, 816, 52},
    {"Gauge1", "pnl3", "TGauge", 0, 41, 816, 11},
    {"Button3", "pnl3", "Button", 144, 8, 75, 25},
    {"Button1", "pnl3", "Button", 24, 8, 75, 25},
    {"pnl8", "pnl3", "TPanel", 792, 0, 24, 41},
    {"pnl7", "pnl3", "TPanel", 239, 0, 553, 41},
    {"edt1", "pnl7", "Edit", 234, 8, 318, 18},
};

HWND HandleOf(const char* name) {
  if (!name) return Form1->Handle();
  ui::TWinControl* c = Form1->FindComponent(name);
  return c ? c->Handle() : nullptr;
}

std::string ClassOf(HWND window) {
  char cls[64] = {};
  GetClassNameA(window, cls, sizeof cls);
  return cls;
}

// Layout checks want the design size: no tick may apply the minimum size meanwhile.
using MainWindow = FormTest;

TEST_F(MainWindow, ComponentsSitWhereTheLayoutPutsThem) {
  RECT client;
  GetClientRect(Form1->Handle(), &client);
  ASSERT_EQ(client.right, 816);
  ASSERT_EQ(client.bottom, 612);
  for (const Place& p : kDesign) {
    SCOPED_TRACE(p.name);
    HWND window = HandleOf(p.name);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(GetParent(window), HandleOf(p.parent));
    EXPECT_STRCASEEQ(ClassOf(window).c_str(), p.window_class);
    RECT r = RectInParent(window);
    EXPECT_EQ(r.left, p.left);
    EXPECT_EQ(r.top, p.top);
    EXPECT_EQ(r.right - r.left, p.width);
    EXPECT_EQ(r.bottom - r.top, p.height);
  }
}

TEST_F(MainWindow, LabelsSizeThemselvesToTheirTextInTheWindowFont) {
  // The text extent is measured here with a font made from the stored values.
  HFONT font =
      CreateFontA(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, Gbk("宋体").c_str());
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  TEXTMETRICA metrics;
  GetTextMetricsA(dc, &metrics);
  struct Label {
    const char* name;
    const char* parent;
    int left, top;
    std::string text;
  } labels[] = {
      {"lbl1", "pnl4", 27, 11, Gbk("当前目录：")},
      {"lbl2", "pnl7", 172, 11, Gbk("当前MD5值：")},
      {"lbl3", "pnl7", 16, 12, Gbk("当前位置: 0/0        ")},
  };
  for (const Label& l : labels) {
    SCOPED_TRACE(l.name);
    HWND window = HandleOf(l.name);
    SIZE extent;
    GetTextExtentPoint32A(dc, l.text.c_str(), static_cast<int>(l.text.size()), &extent);
    RECT r = RectInParent(window);
    EXPECT_EQ(GetParent(window), HandleOf(l.parent));
    EXPECT_EQ(r.left, l.left);
    EXPECT_EQ(r.top, l.top);
    EXPECT_EQ(r.right - r.left, extent.cx);
    EXPECT_EQ(r.bottom - r.top, metrics.tmHeight);
  }
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  DeleteObject(font);
}

TEST_F(MainWindow, MaximizedTheFileListTakesTheExtraWidth) {
  ShowWindow(Form1->Handle(), SW_MAXIMIZE);
  PumpUntil(
      [] {
        RECT c;
        GetClientRect(Form1->Handle(), &c);
        return c.right > 816 && c.bottom > 612;
      },
      2000);
  RECT client;
  GetClientRect(Form1->Handle(), &client);
  const int w = client.right, h = client.bottom;
  ASSERT_GT(w, 816);
  ASSERT_GT(h, 612);
  struct Expect {
    const char* name;
    int left, top, width, height;
  } expected[] = {
      {"pnl4", 0, 0, w, 33},
      {"pnl3", 0, h - 52, w, 52},
      {"pnl2", 0, 33, 25, h - 85},
      {"pnl6", w - 25, 33, 25, h - 85},
      {"pnl1", w - 25 - 319, 33, 319, h - 85},
      {"Memo2", 1, 1, 317, h - 87},
      {"FileListBox1", 25, 33, w - 25 - 25 - 319, h - 85},
      {"Gauge1", 0, 41, w, 11},
      {"pnl8", w - 24, 0, 24, 41},
      {"pnl7", w - 24 - 553, 0, 553, 41},
      {"Button1", 24, 8, 75, 25},
      {"pnl5", 112, 33, 360, 527},  // not aligned: stays where it was
  };
  for (const Expect& e : expected) {
    SCOPED_TRACE(e.name);
    RECT r = RectInParent(HandleOf(e.name));
    EXPECT_EQ(r.left, e.left);
    EXPECT_EQ(r.top, e.top);
    EXPECT_EQ(r.right - r.left, e.width);
    EXPECT_EQ(r.bottom - r.top, e.height);
  }
}

// Children of a window from the top of the stacking order down.
std::vector<std::string> StackTopDown(HWND parent) {
  std::vector<std::string> names;
  for (HWND w = GetWindow(parent, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
    ui::TWinControl* c = ui::TWinControl::FromHandle(w);
    names.push_back(c ? c->Name() : ClassOf(w));
  }
  return names;
}

TEST_F(MainWindow, LaterComponentsLieOverEarlierOnes) {
  using V = std::vector<std::string>;
  EXPECT_EQ(StackTopDown(Form1->Handle()),
            (V{"pnl3", "pnl6", "FileListBox1", "pnl5", "pnl4", "pnl2", "pnl1"}));
  EXPECT_EQ(StackTopDown(HandleOf("pnl4")), (V{"chk1", "Edit1", "Button2", "lbl1"}));
  EXPECT_EQ(StackTopDown(HandleOf("pnl3")), (V{"pnl7", "pnl8", "Button1", "Button3", "Gauge1"}));
  EXPECT_EQ(StackTopDown(HandleOf("pnl7")), (V{"edt1", "lbl3", "lbl2"}));
  // Where the file list covers pnl5, a click lands on the list.
  POINT inside_pnl5 = {200, 300};
  EXPECT_EQ(ChildWindowFromPoint(Form1->Handle(), inside_pnl5), HandleOf("FileListBox1"));
}

// Presses a key that moves the focus; returns once the focus moved and the keys are up again
// (the thread's key state follows the key messages it has taken).
void PressKey(WORD key, bool shift = false) {
  const HWND before = GetFocus();
  std::vector<INPUT> inputs;
  auto add = [&](WORD vk, bool up) {
    INPUT in = {};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    inputs.push_back(in);
  };
  if (shift) add(VK_SHIFT, false);
  add(key, false);
  add(key, true);
  if (shift) add(VK_SHIFT, true);
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  PumpUntil(
      [&] {
        return GetFocus() != before && !(GetKeyState(key) & 0x8000) &&
               !(GetKeyState(VK_SHIFT) & 0x8000);
      },
      2000);
}

std::string FocusedName() {
  ui::TWinControl* c = ui::TWinControl::FromHandle(GetFocus());
  return c ? c->Name() : "(none)";
}

TEST_F(MainWindow, FirstFocusIsTheDigestListAndTabGoesRound) {
  ASSERT_TRUE(PumpUntil([] { return GetForegroundWindow() == Form1->Handle(); }));
  PumpUntil([] { return FocusedName() == "Memo2"; }, 2000);
  EXPECT_EQ(FocusedName(), "Memo2");
  const std::vector<std::string> order = {"Button2", "Edit1",   "chk1", "FileListBox1",
                                          "Button3", "Button1", "edt1", "Memo2"};
  for (const std::string& next : order) {
    PressKey(VK_TAB);
    EXPECT_EQ(FocusedName(), next);
  }
  PressKey(VK_TAB, /*shift=*/true);
  EXPECT_EQ(FocusedName(), "edt1");
  PressKey(VK_TAB, /*shift=*/true);
  EXPECT_EQ(FocusedName(), "Button1");
}

TEST_F(MainWindow, CaptionsAndTextsAreTheirGbkBytes) {
  EXPECT_EQ(WindowTextOf(Form1->Handle()), "Vorlund");
  std::map<std::string, std::string> texts = {
      {"Button2", "设定目录"},
      {"chk1", "包含子目录"},
      {"Button3", "另存为"},
      {"Button1", "开始生成"},
      {"lbl1", "当前目录："},
      {"lbl2", "当前MD5值："},
      {"lbl3", "当前位置: 0/0        "},
      {"pnl1", "pnl1"},
      {"pnl5", "pnl5"},
      {"Edit1", ""},
      {"edt1", ""},
      {"pnl2", ""},
      {"pnl3", ""},
      {"pnl4", ""},
      {"pnl6", ""},
      {"pnl7", ""},
      {"pnl8", ""},
  };
  for (const auto& [name, utf8] : texts)
    EXPECT_EQ(WindowTextOf(HandleOf(name.c_str())), Gbk(utf8)) << name;
}

TEST_F(MainWindow, WindowAndComponentProperties) {
  HWND form = Form1->Handle();
  RECT r;
  GetWindowRect(form, &r);
  EXPECT_EQ(r.left, 506);
  EXPECT_EQ(r.top, 171);
  LONG style = GetWindowLongA(form, GWL_STYLE);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_TRUE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME) << "the border must be fixed";

  // Every component takes the window's font: "宋体", height -12, ANSI_CHARSET.
  for (ui::TWinControl* c : Form1->Components()) {
    SCOPED_TRACE(c->Name());
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(c->Handle(), WM_GETFONT, 0, 0));
    if (ClassOf(c->Handle()) == "TPanel" || ClassOf(c->Handle()) == "TGauge") font = c->Font();
    LOGFONTA lf = {};
    ASSERT_TRUE(GetObjectA(font, sizeof lf, &lf));
    EXPECT_EQ(lf.lfHeight, -12);
    EXPECT_EQ(lf.lfCharSet, ANSI_CHARSET);
    EXPECT_EQ(std::string(lf.lfFaceName), Gbk("宋体"));
  }

  for (const char* name : {"Memo2", "FileListBox1"}) {
    SCOPED_TRACE(name);
    HWND list = HandleOf(name);
    EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 0);
    EXPECT_EQ(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0), 12);
    EXPECT_FALSE(GetWindowLongA(list, GWL_STYLE) & (LBS_SORT | LBS_MULTIPLESEL | LBS_EXTENDEDSEL));
    EXPECT_TRUE(GetWindowLongA(list, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    // Rows stay in the order added; a vertical scroll bar comes when they do not fit.
    for (const char* row : {"b", "a", "c"}) SendMessageA(list, LB_ADDSTRING, 0, (LPARAM)row);
    char text[8];
    SendMessageA(list, LB_GETTEXT, 0, (LPARAM)text);
    EXPECT_STREQ(text, "b");
    for (int i = 0; i < 100; ++i) SendMessageA(list, LB_ADDSTRING, 0, (LPARAM) "row");
    EXPECT_TRUE(GetWindowLongA(list, GWL_STYLE) & WS_VSCROLL);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
  }
  // Edit1 in a flat panel and the flat digest box draw a plain frame; the digest box is
  // read-only.
  // (The edit control takes WS_BORDER off its style and draws the frame itself.)
  Pump(50);
  for (const char* name : {"Edit1", "edt1"}) {
    SCOPED_TRACE(name);
    HWND edit = HandleOf(name);
    EXPECT_FALSE(GetWindowLongA(edit, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    HDC dc = GetWindowDC(edit);
    RECT r;
    GetWindowRect(edit, &r);
    const int mid = (r.bottom - r.top) / 2;
    EXPECT_NE(GetPixel(dc, 0, mid), GetPixel(dc, 1, mid)) << "one-pixel frame";
    EXPECT_EQ(GetPixel(dc, 1, mid), GetPixel(dc, 2, mid)) << "no second edge";
    ReleaseDC(edit, dc);
  }
  EXPECT_TRUE(GetWindowLongA(HandleOf("edt1"), GWL_STYLE) & ES_READONLY);
  EXPECT_FALSE(GetWindowLongA(HandleOf("Edit1"), GWL_STYLE) & ES_READONLY);
  EXPECT_EQ(SendMessageA(HandleOf("chk1"), BM_GETCHECK, 0, 0), BST_UNCHECKED);
}

TEST_F(MainWindow, IconIsThe32By32SixteenColourMainIcon) {
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC group = FindResourceA(module, "MAINICON", reinterpret_cast<LPCSTR>(RT_GROUP_ICON));
  ASSERT_NE(group, nullptr);
  const BYTE* dir = static_cast<const BYTE*>(LockResource(LoadResource(module, group)));
  ASSERT_NE(dir, nullptr);
  const WORD count = *reinterpret_cast<const WORD*>(dir + 4);
  ASSERT_EQ(count, 1);
  EXPECT_EQ(dir[6], 32);                                   // width
  EXPECT_EQ(dir[7], 32);                                   // height
  EXPECT_EQ(dir[8], 16);                                   // colours
  EXPECT_EQ(*reinterpret_cast<const WORD*>(dir + 12), 4);  // bits per pixel
  EXPECT_NE(GetClassLongPtrA(Form1->Handle(), GCLP_HICON), 0);
}

TEST_F(MainWindow, TickKeepsTheSmallestOuterSize) {
  HWND form = Form1->Handle();
  auto outer = [&] {
    RECT r;
    GetWindowRect(form, &r);
    return SIZE{r.right - r.left, r.bottom - r.top};
  };
  EnableTicks();
  // 831 wide becomes 832 on the next tick, the height as it was.
  SetWindowPos(form, nullptr, 0, 0, 831, 700, SWP_NOMOVE | SWP_NOZORDER);
  ASSERT_TRUE(PumpUntil([&] { return outer().cx == 832; }, 2000));
  EXPECT_EQ(outer().cy, 700);
  // Too low: grows to 665.
  SetWindowPos(form, nullptr, 0, 0, 900, 600, SWP_NOMOVE | SWP_NOZORDER);
  ASSERT_TRUE(PumpUntil([&] { return outer().cy == 665; }, 2000));
  EXPECT_EQ(outer().cx, 900);
  // 832 x 665 is left alone: ticks run, and the window is neither moved nor repainted.
  SetWindowPos(form, nullptr, 0, 0, 832, 665, SWP_NOMOVE | SWP_NOZORDER);
  Pump(50);
  {
    MessageRecorder recorder({form}, {WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_MOVE, WM_SIZE,
                                      WM_PAINT, WM_NCPAINT, WM_ERASEBKGND});
    Pump(100);  // nothing is to come: every tick of these ten or so would size it alike
    EXPECT_TRUE(NothingSent(recorder));
  }
  EXPECT_EQ(outer().cx, 832);
  EXPECT_EQ(outer().cy, 665);
}

TEST_F(MainWindow, WhileMinimizedTheSizeItReturnsToIsKeptAtTheSmallest) {
  HWND form = Form1->Handle();
  EnableTicks();
  ShowWindow(form, SW_MINIMIZE);
  PumpUntil([&] { return IsIconic(form) != 0; }, 2000);
  ASSERT_TRUE(IsIconic(form));
  // Shrink the size it returns to below the smallest one, while it lies minimized.
  WINDOWPLACEMENT placement = {};
  placement.length = sizeof placement;
  GetWindowPlacement(form, &placement);
  const RECT normal = placement.rcNormalPosition;
  placement.rcNormalPosition.right = normal.left + 700;
  placement.rcNormalPosition.bottom = normal.top + 500;
  placement.showCmd = SW_SHOWMINIMIZED;
  SetWindowPlacement(form, &placement);
  auto normal_size = [&] {
    WINDOWPLACEMENT now = {};
    now.length = sizeof now;
    GetWindowPlacement(form, &now);
    return SIZE{now.rcNormalPosition.right - now.rcNormalPosition.left,
                now.rcNormalPosition.bottom - now.rcNormalPosition.top};
  };
  PumpUntil([&] { return normal_size().cx == 832 && normal_size().cy == 665; }, 2000);
  // The ticks keep it minimized and put the size it returns to back at the smallest.
  EXPECT_TRUE(IsIconic(form));
  GetWindowPlacement(form, &placement);
  EXPECT_EQ(placement.rcNormalPosition.right - placement.rcNormalPosition.left, 832);
  EXPECT_EQ(placement.rcNormalPosition.bottom - placement.rcNormalPosition.top, 665);
  ShowWindow(form, SW_RESTORE);
  PumpUntil(
      [&] {
        RECT now;
        GetWindowRect(form, &now);
        return now.right - now.left == 832 && now.bottom - now.top == 665;
      },
      2000);
  RECT r;
  GetWindowRect(form, &r);
  EXPECT_EQ(r.right - r.left, 832);
  EXPECT_EQ(r.bottom - r.top, 665);
}

TEST_F(MainWindow, FormCreateEmptiesTheFileListAndStartsTheTimer) {
  Form1->FileListBox1->Items().Add("Z:\\a row from before");
  Form1->FileListBox1->Items().Add("Z:\\another");
  Form1->Memo2->Items().Add("0123456789ABCDEF0123456789ABCDEF");
  ASSERT_FALSE(Form1->tmr1->Enabled());
  Form1->FormCreate(Form1);
  EXPECT_EQ(Form1->FileListBox1->Items().Count(), 0);
  EXPECT_EQ(Form1->Memo2->Items().Count(), 1) << "the digest list keeps its rows";
  EXPECT_TRUE(Form1->tmr1->Enabled());
}

TEST_F(MainWindow, StartsEmptyWithTheStoredTexts) {
  EXPECT_EQ(Form1->FileListBox1->Items().Count(), 0);
  EXPECT_EQ(Form1->Memo2->Items().Count(), 0);
  EXPECT_EQ(Form1->Edit1->Text(), "");
  EXPECT_EQ(Form1->edt1->Text(), "");
  EXPECT_FALSE(Form1->chk1->Checked());
  EXPECT_EQ(Form1->lbl3->Caption(), Gbk("当前位置: 0/0        "));
  EXPECT_EQ(Form1->tmr1->Interval(), 10u);
  // The gauge: green, red share, 0 of 100.
  EXPECT_EQ(Form1->Gauge1->BackColor(), 0x008000u);
  EXPECT_EQ(Form1->Gauge1->ForeColor(), 0x0000FFu);
  EXPECT_EQ(Form1->Gauge1->MinValue(), 0);
  EXPECT_EQ(Form1->Gauge1->MaxValue(), 100);
  EXPECT_EQ(Form1->Gauge1->Progress(), 0);
}

}  // namespace
}  // namespace vorlund::testing
