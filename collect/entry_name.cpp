#include "collect/entry_name.h"

namespace vorlund {

namespace {

bool HoldsQuestionMark(std::string_view name) { return name.find('?') != std::string_view::npos; }

}  // namespace

std::string_view ListedName(std::string_view long_name, std::string_view short_name) {
  if (HoldsQuestionMark(long_name) && !short_name.empty() && !HoldsQuestionMark(short_name))
    return short_name;
  return long_name;
}

}  // namespace vorlund
