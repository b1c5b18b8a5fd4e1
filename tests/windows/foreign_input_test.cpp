// Input that no person could give at that moment, as automation and accessibility tools send
// it: to a control under a modal window of the program, to a disabled control; and frames that
// were left without unwinding, which the main loop repairs after.
#include <gtest/gtest.h>
#include <shlobj.h>
#include <windows.h>

#include <memory>
#include <new>
#include <string>
#include <vector>

#include "app/long_operation.h"
#include "app/operations.h"
#include "collect/browse_folder.h"
#include "form_fixture.h"
#include "ui/task_windows.h"

namespace vorlund::testing {
namespace {

class ForeignInput : public FormTest {};

void PostClick(HWND button) {
  PostMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  PostMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
}

TEST_F(ForeignInput, ReachesAHandlerOnlyWhereAPersonsInputWould) {
  struct Case {
    const char* what;
    HWND disabled;  // disabled while the input arrives, or null
    void (*send)();
    int handled;  // how often a handler ran
  };
  // clang-format off
  const Case cases[] = {
    {"a click on 另存为",                       nullptr,          [] { PostClick(Form1->Button3->Handle()); }, 1},
    {"a click on 另存为 under a dialog",        Form1->Handle(),  [] { PostClick(Form1->Button3->Handle()); }, 0},
    {"BM_CLICK to 设定目录",                    nullptr,          [] { PostMessageA(Form1->Button2->Handle(), BM_CLICK, 0, 0); }, 1},
    {"BM_CLICK to 设定目录 under a dialog",     Form1->Handle(),  [] { PostMessageA(Form1->Button2->Handle(), BM_CLICK, 0, 0); }, 0},
    {"the click's notification under a dialog", Form1->Handle(),  [] {
       PostMessageA(Form1->Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(Form1->Button1->Handle()), BN_CLICKED),
                    reinterpret_cast<LPARAM>(Form1->Button1->Handle())); }, 0},
    {"a key typed into the path box",          nullptr,               [] { PostMessageA(Form1->Edit1->Handle(), WM_CHAR, 'x', 1); }, 1},
    {"a key typed into the disabled path box", Form1->Edit1->Handle(), [] { PostMessageA(Form1->Edit1->Handle(), WM_CHAR, 'x', 1); }, 0},
    {"a text set into the path box",           nullptr,                [] { SendMessageA(Form1->Edit1->Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Q:\\x")); }, 1},
    {"a text set into the disabled path box",  Form1->Edit1->Handle(), [] { SendMessageA(Form1->Edit1->Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Q:\\x")); }, 0},
    {"a text pasted under a dialog",           Form1->Handle(),        [] { SendMessageA(Form1->Edit1->Handle(), EM_REPLACESEL, 0, reinterpret_cast<LPARAM>("Q:\\x")); }, 0},
    {"the program's own text, box disabled",   Form1->Edit1->Handle(), [] { Form1->Edit1->SetText("Q:\\x"); }, 1},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    int handled = 0;
    auto count = [&](ui::TObject*) { ++handled; };
    Form1->Button1->OnClick = Form1->Button2->OnClick = Form1->Button3->OnClick = count;
    Form1->Edit1->OnChange = count;
    SetWindowTextA(Form1->Edit1->Handle(), "");
    handled = 0;
    if (c.disabled) EnableWindow(c.disabled, FALSE);
    c.send();
    Pump(50);  // some cases are to reach no handler: no state to wait for
    if (c.disabled) EnableWindow(c.disabled, TRUE);
    EXPECT_EQ(handled, c.handled);
  }
}

TEST_F(ForeignInput, NoDialogOfTheProgramOpensWhileOneShows) {
  // Whatever opens anyway is cancelled and counted.
  DialogDriver opened([](HWND, const DialogSeen&) { return IDCANCEL; }, GetCurrentProcessId(), 5,
                      3000);
  {
    ui::TaskWindowsDisabled box;  // as while a message box of the program shows
    EXPECT_TRUE(ui::ModalShowing());
    EXPECT_FALSE(Form1->dlgOpen1->Execute());
    std::string path;
    EXPECT_FALSE(BrowseForFolder("picker", L"", path, Form1->Handle(), BIF_RETURNONLYFSDIRS));
  }
  EXPECT_FALSE(ui::ModalShowing());
  opened.Join();
  EXPECT_EQ(opened.Count(), 0);
}

// A frame left without unwinding (a fault the system swallowed between our frames) never runs
// its scopes' destructors, and its memory goes.
template <typename Scope, typename... Args>
void Abandon(Args... args) {
  auto frame = std::make_unique<unsigned char[]>(sizeof(Scope));
  new (frame.get()) Scope(args...);
}

TEST_F(ForeignInput, TheMainLoopRepairsWhatAbandonedFramesLeft) {
  Abandon<vorlund::OperationSpan>(vorlund::Operation::Run);
  Abandon<ui::PumpCount::Scope>(ui::Application->Pumps());
  Abandon<ui::WindowsDisabled>(std::vector<HWND>{Form1->Edit1->Handle(), Form1->Button2->Handle()});
  Abandon<ui::TaskWindowsDisabled>();
  Abandon<vorlund::LongOperation>(
      vorlund::Operation::Listing,
      vorlund::LongOperationOptions{.disables = {Form1->chk1->Handle()}, .fills = nullptr});
  ASSERT_FALSE(IsWindowEnabled(Form1->Handle()));
  ASSERT_TRUE(ui::ModalShowing());
  PostQuitMessage(0);
  ui::Application->Run(SW_SHOWNORMAL);  // takes the quit message after one repair
  EXPECT_FALSE(vorlund::OperationRunning(vorlund::Operation::Run));
  EXPECT_FALSE(vorlund::OperationRunning(vorlund::Operation::Listing));
  EXPECT_EQ(ui::PumpDepth(), 0);
  EXPECT_FALSE(ui::ModalShowing());
  for (HWND window :
       {Form1->Handle(), Form1->Edit1->Handle(), Form1->Button2->Handle(), Form1->chk1->Handle()})
    EXPECT_TRUE(IsWindowEnabled(window));
  // A click reaches its handler again.
  int clicks = 0;
  Form1->Button1->OnClick = [&](ui::TObject*) { ++clicks; };
  PostClick(Form1->Button1->Handle());
  PumpUntil([&] { return clicks > 0; }, 1000);
  EXPECT_EQ(clicks, 1);
}

}  // namespace
}  // namespace vorlund::testing
