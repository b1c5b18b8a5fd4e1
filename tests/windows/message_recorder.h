// Records the messages that windows of the test's thread receive, sent (as the program's code
// sends them) and taken from the queue (posted messages, paints), and checks a recorded
// sequence against an expected table, printing both when they differ.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace vorlund::testing {

struct RecordedMessage {
  HWND window;
  UINT message;
  WPARAM wparam;
  LPARAM lparam;
  bool sent;  // sent, or taken from the queue
};

// How an expected message reaches its window: sent to it, or taken from the queue (posted);
// an optional one may be missing from the recorded sequence.
enum MessageFlags : unsigned { kSent = 1, kPosted = 2, kOptional = 4 };

// One row of an expected sequence; a wparam left out matches any.
struct ExpectedMessage {
  HWND window;
  UINT message;
  unsigned flags;  // kSent or kPosted, with kOptional
  std::optional<WPARAM> wparam = std::nullopt;
};

// A name for a message, for the printed sequences ("LB_SETCURSEL", or its number).
std::string MessageName(UINT message);

class MessageRecorder {
 public:
  // Records the messages to the given windows (all windows of the thread when empty), and of
  // those only the given messages (all when empty).
  explicit MessageRecorder(std::vector<HWND> windows = {}, std::vector<UINT> messages = {});
  ~MessageRecorder();
  MessageRecorder(const MessageRecorder&) = delete;
  MessageRecorder& operator=(const MessageRecorder&) = delete;

  const std::vector<RecordedMessage>& Messages() const { return messages_; }
  int Count(HWND window, UINT message) const;
  int Count(UINT message) const;
  void Clear() { messages_.clear(); }
  // Runs action each time message is sent to window, before the window handles it.
  void OnSent(HWND window, UINT message, std::function<void()> action);

  // The recorded messages, one per line, for a failure message.
  std::string Dump() const;

 private:
  static LRESULT CALLBACK SentHook(int code, WPARAM wparam, LPARAM lparam);
  static LRESULT CALLBACK QueueHook(int code, WPARAM wparam, LPARAM lparam);
  void Record(HWND window, UINT message, WPARAM wparam, LPARAM lparam, bool sent);

  std::vector<HWND> windows_;
  std::vector<UINT> filter_;
  std::vector<RecordedMessage> messages_;
  std::map<std::pair<HWND, UINT>, std::function<void()>> actions_;
  HHOOK sent_hook_ = nullptr;
  HHOOK queue_hook_ = nullptr;
  MessageRecorder* outer_ = nullptr;
  static inline MessageRecorder* current_ = nullptr;
};

// The recorded messages are the expected table, in order, each sent or posted as marked; an
// optional row may be missing. Both are printed when they differ.
::testing::AssertionResult SequenceIs(const MessageRecorder& recorder,
                                      const std::vector<ExpectedMessage>& expected);
// Nothing was recorded: no message sent or posted to the windows watched.
::testing::AssertionResult NothingSent(const MessageRecorder& recorder);

}  // namespace vorlund::testing
