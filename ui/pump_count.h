// How deeply message pumps are nested. The application object counts its own pumps
// (TApplication::ProcessMessages); the count is kept free of Win32 so that the rules that read
// it are tested natively.
#pragma once

namespace ui {

class PumpCount {
 public:
  // One pump for its lifetime: pumps started within it are nested inside it. A scope left
  // without unwinding (an abandoned frame) is cleared by Reset.
  class Scope {
   public:
    explicit Scope(PumpCount* count) : count_(count) { ++count_->depth_; }
    ~Scope() {
      if (count_->depth_ > 0) --count_->depth_;
    }
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;

   private:
    PumpCount* count_;
  };

  int Depth() const { return depth_; }
  // For the main loop, where no pump runs: clears the pumps that abandoned frames left and
  // returns how many there were.
  int Reset() {
    const int left = depth_;
    depth_ = 0;
    return left;
  }

 private:
  int depth_ = 0;
};

// How deeply the application's pumps are nested now (0 before the application exists). The
// application object defines it (ui/application.cpp); a native test of code that reads it
// gives its own.
int PumpDepth();

}  // namespace ui
