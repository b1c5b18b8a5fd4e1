// An ordered list of 8-bit texts that allows duplicates: the rows of a list box.
#pragma once

#include <string>

namespace ui {

class TStrings {
 public:
  virtual ~TStrings() = default;
  virtual int Count() const = 0;
  // The text of row index; an index the list does not have raises "List index out of bounds".
  virtual std::string Get(int index) const = 0;
  // Appends a row; a row the list refuses raises "Unable to insert a line".
  virtual void Add(const std::string& text) = 0;
  virtual void Clear() = 0;
};

}  // namespace ui
