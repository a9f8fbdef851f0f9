#pragma once

#include <cstddef>
#include <iterator>
#include <string>
#include <string_view>

namespace qm::cli {

// A character iterator that records how far the parser has read, so that an
// error found while handling a value can say where in the text it is.
class TrackingIterator {
 public:
  using iterator_category = std::input_iterator_tag;
  using value_type = char;
  using difference_type = std::ptrdiff_t;
  using pointer = const char*;
  using reference = const char&;

  TrackingIterator(const char* position, const char** furthest) : position_(position), furthest_(furthest) {}

  reference operator*() const { return *position_; }
  TrackingIterator& operator++() {
    *furthest_ = ++position_;
    return *this;
  }
  TrackingIterator operator++(int) {
    TrackingIterator before = *this;
    ++*this;
    return before;
  }
  bool operator==(const TrackingIterator& other) const { return position_ == other.position_; }

 private:
  const char* position_;
  const char** furthest_;
};

// "line L, column C" (both from 1, columns in bytes) of the character at
// byte offset "offset" of the text; offsets past the end name the last one.
std::string describePosition(std::string_view text, size_t offset);

}  // namespace qm::cli
