// The message recorder's checks on a recording of known messages: each expected row marked as
// sent, posted or optional, matched in order against what the window received.
#include "message_recorder.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "dialog_driver.h"
#include "test_window.h"

namespace vorlund::testing {
namespace {

constexpr UINT kOne = WM_USER + 1, kTwo = WM_USER + 2, kThree = WM_USER + 3, kFour = WM_USER + 4;

TEST(MessageRecorder, ExpectedRowsMatchAsSentPostedOrOptional) {
  TestWindow window(TestWindowOptions{}, nullptr);
  const HWND w = window.Handle();
  ASSERT_NE(w, nullptr);
  MessageRecorder recorder({w}, {kOne, kTwo, kThree, kFour});
  SendMessageA(w, kOne, 1, 0);
  PostMessageA(w, kTwo, 2, 0);
  DispatchWaiting();
  SendMessageA(w, kThree, 3, 0);
  struct Case {
    const char* what;
    std::vector<ExpectedMessage> expected;
    bool matches;
  };
  // clang-format off
  const Case cases[] = {
      {"as received", {{w, kOne, kSent, 1}, {w, kTwo, kPosted, 2}, {w, kThree, kSent, 3}}, true},
      {"a sent one expected posted", {{w, kOne, kPosted, 1}, {w, kTwo, kPosted, 2}, {w, kThree, kSent, 3}}, false},
      {"a posted one expected sent", {{w, kOne, kSent, 1}, {w, kTwo, kSent, 2}, {w, kThree, kSent, 3}}, false},
      {"either way", {{w, kOne, kSent | kPosted}, {w, kTwo, kSent | kPosted}, {w, kThree, kSent | kPosted}}, true},
      {"any wparam", {{w, kOne, kSent}, {w, kTwo, kPosted}, {w, kThree, kSent}}, true},
      {"another wparam", {{w, kOne, kSent, 1}, {w, kTwo, kPosted, 7}, {w, kThree, kSent, 3}}, false},
      {"an optional one missing between", {{w, kOne, kSent}, {w, kFour, kSent | kOptional}, {w, kTwo, kPosted}, {w, kThree, kSent}}, true},
      {"an optional one missing at the end", {{w, kOne, kSent}, {w, kTwo, kPosted}, {w, kThree, kSent}, {w, kFour, kPosted | kOptional}}, true},
      {"an optional one received", {{w, kOne, kSent}, {w, kTwo, kPosted | kOptional}, {w, kThree, kSent}}, true},
      {"one missing", {{w, kOne, kSent}, {w, kFour, kSent}, {w, kTwo, kPosted}, {w, kThree, kSent}}, false},
      {"one received beyond", {{w, kOne, kSent}, {w, kTwo, kPosted}}, false},
      {"out of order", {{w, kTwo, kPosted}, {w, kOne, kSent}, {w, kThree, kSent}}, false},
      {"another window", {{nullptr, kOne, kSent}, {w, kTwo, kPosted}, {w, kThree, kSent}}, false},
  };
  // clang-format on
  for (const Case& c : cases)
    EXPECT_EQ(static_cast<bool>(SequenceIs(recorder, c.expected)), c.matches) << c.what;
  EXPECT_FALSE(NothingSent(recorder));
  recorder.Clear();
  EXPECT_TRUE(NothingSent(recorder));
  PostMessageA(w, kFour, 0, 0);
  DispatchWaiting();
  EXPECT_FALSE(NothingSent(recorder)) << "a posted message counts";
}

}  // namespace
}  // namespace vorlund::testing
