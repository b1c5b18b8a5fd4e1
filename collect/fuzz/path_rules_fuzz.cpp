// libFuzzer target for the path box rules: any bytes as box text must keep the properties of
// path_rules_invariants.h, with no memory or undefined-behaviour fault. Built by
// scripts/fuzz.sh.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "collect/fuzz/path_rules_invariants.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  std::string failure = vorlund::fuzz::CheckPathRules(input);
  if (!failure.empty()) {
    std::fprintf(stderr, "path rules: %s\n", failure.c_str());
    std::abort();
  }
  // The name field: any split of the input into a field must give the bytes before its NUL.
  std::string_view name = vorlund::EntryName(input.data(), input.size());
  if (name.size() > input.size() || name.find('\0') != std::string_view::npos ||
      (name.size() < input.size() && input[name.size()] != '\0')) {
    std::fprintf(stderr, "entry name: wrong length %zu of %zu\n", name.size(), input.size());
    std::abort();
  }
  return 0;
}
