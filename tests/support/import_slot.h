// Test support for the tests and the benchmarks; the program never uses it. A call of the
// program to the system replaced for a while, through the program's own import slot for it: the
// way to make the system fail where it never does here (no timer left, a short write) or to
// watch what the program asks of it.
#pragma once

#include <windows.h>

// Declares the import slot of a system function under a name of the test's choosing. The slot's
// symbol is "__imp_" and the function's name on x86-64, and on 32-bit x86 the stdcall name,
// "__imp__", the name, "@" and the bytes of its arguments.
#if defined(_WIN64)
#define VORLUND_IMPORT_SLOT(function, argument_bytes) __asm__("__imp_" #function)
#else
#define VORLUND_IMPORT_SLOT(function, argument_bytes) \
  __asm__("__imp__" #function "@" #argument_bytes)
#endif

namespace vorlund::testing {

// While it lives, the slot calls replacement; then the system's function again.
template <typename Function>
class ReplacedImport {
 public:
  ReplacedImport(Function& slot, Function replacement) : slot_(slot), original_(slot) {
    VirtualProtect(&slot_, sizeof slot_, PAGE_READWRITE, &protect_);
    slot_ = replacement;
  }
  ~ReplacedImport() {
    slot_ = original_;
    VirtualProtect(&slot_, sizeof slot_, protect_, &protect_);
  }
  ReplacedImport(const ReplacedImport&) = delete;
  ReplacedImport& operator=(const ReplacedImport&) = delete;
  // The system's own function, for a replacement that passes calls on.
  Function Original() const { return original_; }

 private:
  Function& slot_;
  Function original_;
  DWORD protect_ = 0;
};

}  // namespace vorlund::testing
