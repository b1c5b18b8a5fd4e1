// Closing the window ends the application once control is back in its main loop: an operation
// that pumps messages meanwhile runs to its end with the window still shown.
#include <gtest/gtest.h>
#include <windows.h>

#include "form_fixture.h"

namespace vorlund::testing {
namespace {

TEST(ProgramEnd, CloseDuringAPumpingHandlerEndsTheLoopAfterTheHandler) {
  TestApplication();
  ui::Application->CreateForm(Form1);
  int pumps_after_close = 0;
  bool visible_throughout = true;
  bool terminated_inside = false;
  bool handler_done = false;
  Form1->Button1->OnClick = [&](ui::TObject*) {
    PostMessageA(Form1->Handle(), WM_CLOSE, 0, 0);
    // A long operation that keeps the window alive by pumping.
    for (int i = 0; i < 30; ++i) {
      ui::Application->ProcessMessages();
      Sleep(10);
      ++pumps_after_close;
      visible_throughout = visible_throughout && IsWindowVisible(Form1->Handle());
    }
    terminated_inside = ui::Application->Terminated();
    handler_done = true;
  };
  PostMessageA(Form1->Button1->Handle(), BM_CLICK, 0, 0);
  ui::Application->Run(SW_SHOWNORMAL);  // returns once the application ends
  EXPECT_TRUE(handler_done);
  EXPECT_EQ(pumps_after_close, 30);
  EXPECT_TRUE(visible_throughout);
  EXPECT_TRUE(terminated_inside) << "the close request is noted by the pump";
  EXPECT_TRUE(ui::Application->Terminated());
  EXPECT_TRUE(IsWindow(Form1->Handle())) << "the window goes only at the program's end";
  ui::Application->DestroyForms();
  EXPECT_EQ(Form1, nullptr);
}

}  // namespace
}  // namespace vorlund::testing
