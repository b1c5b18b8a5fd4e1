#include "message_recorder.h"

#include <algorithm>
#include <cstdio>
#include <sstream>

namespace vorlund::testing {

std::string MessageName(UINT message) {
  static const std::map<UINT, const char*> names = {
      {WM_PAINT, "WM_PAINT"},
      {WM_ERASEBKGND, "WM_ERASEBKGND"},
      {WM_NCPAINT, "WM_NCPAINT"},
      {WM_SETFOCUS, "WM_SETFOCUS"},
      {WM_KILLFOCUS, "WM_KILLFOCUS"},
      {WM_ACTIVATE, "WM_ACTIVATE"},
      {WM_SETREDRAW, "WM_SETREDRAW"},
      {WM_WINDOWPOSCHANGING, "WM_WINDOWPOSCHANGING"},
      {WM_WINDOWPOSCHANGED, "WM_WINDOWPOSCHANGED"},
      {WM_MOVE, "WM_MOVE"},
      {WM_SIZE, "WM_SIZE"},
      {WM_SETTEXT, "WM_SETTEXT"},
      {WM_COMMAND, "WM_COMMAND"},
      {WM_VSCROLL, "WM_VSCROLL"},
      {LB_ADDSTRING, "LB_ADDSTRING"},
      {LB_RESETCONTENT, "LB_RESETCONTENT"},
      {LB_SETCURSEL, "LB_SETCURSEL"},
      {LB_GETCURSEL, "LB_GETCURSEL"},
      {LB_SETTOPINDEX, "LB_SETTOPINDEX"},
      {LB_GETTOPINDEX, "LB_GETTOPINDEX"},
      {LB_GETCOUNT, "LB_GETCOUNT"},
      {LB_GETTEXT, "LB_GETTEXT"},
      {LB_GETTEXTLEN, "LB_GETTEXTLEN"},
  };
  auto it = names.find(message);
  if (it != names.end()) return it->second;
  char number[16];
  std::snprintf(number, sizeof number, "0x%04X", message);
  return number;
}

MessageRecorder::MessageRecorder(std::vector<HWND> windows, std::vector<UINT> messages)
    : windows_(std::move(windows)), filter_(std::move(messages)), outer_(current_) {
  current_ = this;
  sent_hook_ = SetWindowsHookExA(WH_CALLWNDPROC, SentHook, nullptr, GetCurrentThreadId());
  queue_hook_ = SetWindowsHookExA(WH_GETMESSAGE, QueueHook, nullptr, GetCurrentThreadId());
  EXPECT_NE(sent_hook_, nullptr);
  EXPECT_NE(queue_hook_, nullptr);
}

MessageRecorder::~MessageRecorder() {
  UnhookWindowsHookEx(sent_hook_);
  UnhookWindowsHookEx(queue_hook_);
  current_ = outer_;
}

void MessageRecorder::Record(HWND window, UINT message, WPARAM wparam, LPARAM lparam, bool sent) {
  if (sent) {
    auto action = actions_.find({window, message});
    if (action != actions_.end()) action->second();
  }
  if (!windows_.empty() && std::find(windows_.begin(), windows_.end(), window) == windows_.end())
    return;
  if (!filter_.empty() && std::find(filter_.begin(), filter_.end(), message) == filter_.end())
    return;
  messages_.push_back({window, message, wparam, lparam, sent});
}

LRESULT CALLBACK MessageRecorder::SentHook(int code, WPARAM wparam, LPARAM lparam) {
  if (code == HC_ACTION) {
    const auto* m = reinterpret_cast<const CWPSTRUCT*>(lparam);
    for (MessageRecorder* r = current_; r; r = r->outer_)
      r->Record(m->hwnd, m->message, m->wParam, m->lParam, true);
  }
  return CallNextHookEx(nullptr, code, wparam, lparam);
}

LRESULT CALLBACK MessageRecorder::QueueHook(int code, WPARAM wparam, LPARAM lparam) {
  // Each message once: when it is taken from the queue, not when it is only looked at.
  if (code == HC_ACTION && wparam == PM_REMOVE) {
    const auto* m = reinterpret_cast<const MSG*>(lparam);
    for (MessageRecorder* r = current_; r; r = r->outer_)
      r->Record(m->hwnd, m->message, m->wParam, m->lParam, false);
  }
  return CallNextHookEx(nullptr, code, wparam, lparam);
}

int MessageRecorder::Count(HWND window, UINT message) const {
  return static_cast<int>(std::count_if(messages_.begin(), messages_.end(), [&](const auto& m) {
    return m.window == window && m.message == message;
  }));
}

int MessageRecorder::Count(UINT message) const {
  return static_cast<int>(std::count_if(messages_.begin(), messages_.end(),
                                        [&](const auto& m) { return m.message == message; }));
}

void MessageRecorder::OnSent(HWND window, UINT message, std::function<void()> action) {
  actions_[{window, message}] = std::move(action);
}

namespace {

std::string Row(HWND window, UINT message, const std::string& wparam, const char* how) {
  std::ostringstream out;
  out << "  " << window << " " << MessageName(message) << " " << wparam << " " << how << "\n";
  return out.str();
}

bool Matches(const ExpectedMessage& e, const RecordedMessage& m) {
  return e.window == m.window && e.message == m.message &&
         (e.flags & (m.sent ? kSent : kPosted)) != 0 && (!e.wparam || *e.wparam == m.wparam);
}

}  // namespace

std::string MessageRecorder::Dump() const {
  std::string out;
  for (const auto& m : messages_)
    out += Row(m.window, m.message, std::to_string(m.wparam), m.sent ? "sent" : "posted");
  return out;
}

::testing::AssertionResult SequenceIs(const MessageRecorder& recorder,
                                      const std::vector<ExpectedMessage>& expected) {
  const auto& got = recorder.Messages();
  size_t e = 0, g = 0;
  while (e < expected.size() && g < got.size()) {
    if (Matches(expected[e], got[g])) {
      ++e;
      ++g;
    } else if (expected[e].flags & kOptional) {
      ++e;
    } else {
      break;
    }
  }
  while (e < expected.size() && (expected[e].flags & kOptional)) ++e;
  if (e == expected.size() && g == got.size()) return ::testing::AssertionSuccess();
  std::string want;
  for (const auto& m : expected) {
    const char* how =
        (m.flags & kSent) ? ((m.flags & kPosted) ? "sent or posted" : "sent") : "posted";
    want += Row(m.window, m.message, m.wparam ? std::to_string(*m.wparam) : "any", how);
    if (m.flags & kOptional) want.insert(want.size() - 1, " (optional)");
  }
  return ::testing::AssertionFailure() << "expected messages:\n"
                                       << want << "recorded messages:\n"
                                       << recorder.Dump();
}

::testing::AssertionResult NothingSent(const MessageRecorder& recorder) {
  return SequenceIs(recorder, {});
}

}  // namespace vorlund::testing
