// The application title against the system: the code page's capitals are lowered as the
// system's own CharLowerBuffA lowers them, and a program path of any length gives its name.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "common/text_rules.h"
#include "tests/support/import_slot.h"
#include "ui/application.h"

extern "C" DWORD(WINAPI* GetModuleFileNameSlot)(HMODULE, LPSTR, DWORD)
    VORLUND_IMPORT_SLOT(GetModuleFileNameA, 12);

namespace vorlund::testing {
namespace {

TEST(ApplicationTitle, LowersEveryDoubleByteCapitalAsTheSystemDoes) {
  ASSERT_EQ(GetACP(), 936u);
  int lowered = 0;
  for (int lead = 0x81; lead <= 0xFE; ++lead) {
    for (int trail = 0x40; trail <= 0xFE; ++trail) {
      if (trail == 0x7F) continue;
      const char character[2] = {static_cast<char>(lead), static_cast<char>(trail)};
      std::string system(character, 2);
      CharLowerBuffA(system.data(), 2);
      // Where the lower-case form is not in the code page, the system breaks the character
      // ("?" and the trail byte left alone): the title keeps the capital instead.
      if (system[0] == '?') system.assign(character, 2);
      if (system != std::string(character, 2)) ++lowered;
      SCOPED_TRACE(::testing::Message() << std::hex << lead << " " << trail);
      EXPECT_EQ(LowerGbk(std::string(character, 2)), system);
    }
  }
  EXPECT_GE(lowered, 90);  // full-width Latin, Greek, Cyrillic, Roman numerals
}

// While it lives, GetModuleFileNameA reports a program path of the given length, cut to the
// caller's buffer as the system cuts it.
class LongProgramPath {
 public:
  explicit LongProgramPath(const std::string& path) : replaced_(GetModuleFileNameSlot, Report) {
    path_ = path;
  }

 private:
  static DWORD WINAPI Report(HMODULE, LPSTR buffer, DWORD size) {
    if (size == 0) return 0;
    const DWORD length = static_cast<DWORD>(path_.size());
    const DWORD copied = length < size ? length : size - 1;
    path_.copy(buffer, copied);
    buffer[copied] = '\0';
    if (length >= size) {
      SetLastError(ERROR_INSUFFICIENT_BUFFER);
      return size;
    }
    return length;
  }
  static inline std::string path_;
  ReplacedImport<decltype(GetModuleFileNameSlot)> replaced_;
};

TEST(ApplicationTitle, AProgramPathOfAnyLengthGivesItsName) {
  for (size_t folder_length : {10u, 250u, 259u, 260u, 300u, 1000u, 5000u}) {
    SCOPED_TRACE(folder_length);
    const std::string path = "C:\\" + std::string(folder_length, 'd') + "\\VORLUND.EXE";
    LongProgramPath fake(path);
    EXPECT_EQ(ui::ProgramPath(), path);
    EXPECT_EQ(ApplicationTitleFromPath(ui::ProgramPath()), "Vorlund");
  }
}

}  // namespace
}  // namespace vorlund::testing
