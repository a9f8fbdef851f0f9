#pragma once

#include <cstddef>  // offsetof
#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>

namespace qm {

// UTF-8 text in one pointer: nothing for the empty text, otherwise a block
// holding the length and the bytes. Most fields of a task record are empty,
// and a list may hold a million records, so this is a quarter of a
// std::string's size. Reads as a std::string_view; converts to std::string.
// Buys memory: 239 bytes a task beyond the text; std::string in the record took 305 (limit 250).
class CompactText {
 public:
  CompactText() noexcept = default;
  CompactText(std::string_view text) { assign(text); }  // NOLINT: as a std::string would
  CompactText(const std::string& text) { assign(text); }
  CompactText(const char* text) { assign(text); }
  CompactText(const CompactText& other) { assign(other.view()); }
  CompactText(CompactText&& other) noexcept : block_(other.block_) { other.block_ = nullptr; }
  ~CompactText() { clear(); }

  CompactText& operator=(const CompactText& other) {
    if (this != &other) assign(other.view());
    return *this;
  }
  CompactText& operator=(CompactText&& other) noexcept;
  CompactText& operator=(std::string_view text) {
    assign(text);
    return *this;
  }
  CompactText& operator=(const std::string& text) { return *this = std::string_view(text); }
  CompactText& operator=(const char* text) { return *this = std::string_view(text); }

  void assign(std::string_view text);
  void clear() noexcept;

  size_t size() const { return block_ == nullptr ? 0 : block_->size; }
  bool empty() const { return block_ == nullptr; }
  const char* data() const { return block_ == nullptr ? "" : block_->bytes; }
  std::string_view view() const { return {data(), size()}; }
  std::string str() const { return std::string(view()); }
  operator std::string_view() const { return view(); }  // NOLINT: reads as a view
  operator std::string() const { return str(); }        // NOLINT

  friend bool operator==(const CompactText& a, const CompactText& b) { return a.view() == b.view(); }
  friend bool operator==(const CompactText& a, std::string_view b) { return a.view() == b; }
  friend bool operator==(const CompactText& a, const std::string& b) { return a.view() == b; }
  friend bool operator==(const CompactText& a, const char* b) { return a.view() == b; }

  friend std::string operator+(const std::string& a, const CompactText& b) { return a + b.str(); }
  friend std::string operator+(const char* a, const CompactText& b) { return a + b.str(); }
  friend std::string operator+(const CompactText& a, const std::string& b) { return a.str() + b; }
  friend std::string operator+(const CompactText& a, const char* b) { return a.str() + b; }

 private:
  struct Block {
    uint32_t size;
    char bytes[1];  // size bytes, then a 0 byte
  };
  static size_t blockBytes(size_t textSize) { return offsetof(Block, bytes) + textSize + 1; }
  Block* block_ = nullptr;
};

std::ostream& operator<<(std::ostream& out, const CompactText& text);

}  // namespace qm
