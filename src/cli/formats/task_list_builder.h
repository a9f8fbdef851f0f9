#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/ttree.h"
#include "stream/components/saved_property.h"

namespace qm::cli {

// The parser's event handler behind readTaskListJson: it keeps one context
// per open object or array on its own stack and appends each task to the
// tree as soon as the task's object opens.
class TaskListBuilder final : public nlohmann::json_sax<nlohmann::json> {
 public:
  // "furthest" points at the parser's read position inside "text".
  TaskListBuilder(Ttree& tree, std::string_view text, const char* const* furthest);

  bool null() override;
  bool boolean(bool value) override;
  bool number_integer(number_integer_t value) override;
  bool number_unsigned(number_unsigned_t value) override;
  bool number_float(number_float_t value, const string_t& text) override;
  bool string(string_t& value) override;
  bool binary(binary_t& value) override;
  bool start_object(std::size_t elements) override;
  bool key(string_t& name) override;
  bool end_object() override;
  bool start_array(std::size_t elements) override;
  bool end_array() override;
  bool parse_error(std::size_t position, const std::string& lastToken,
                   const nlohmann::detail::exception& error) override;

 private:
  enum class Frame : uint8_t { Document, Tree, Tasks, Task, Record };
  struct Context {
    Frame frame;
    TreeNode* node = nullptr;  // Tasks: the parent (nullptr: top level); Task, Record: the task
    uint32_t seenKeys = 0;
    int key = -1;  // the key whose value comes next
    bool recordGiven = false;
  };
  // A value as the parser reports it; objects and arrays appear here only by
  // kind, when they stand where the form takes none.
  struct Value {
    enum class Kind : uint8_t { Null, Boolean, Integer, Float, String, Object, Array } kind;
    int64_t integer = 0;
    bool integerInRange = true;  // false for an unsigned beyond int64
    double number = 0;
    std::string_view text;
  };

  // Gives the value to the key it follows, or fails where it does not fit.
  bool assign(const Value& value);
  template <class Object>
  void setSaved(const SavedProperty<Object>& p, Component& component, Object& fields, const Value& value);
  void setTaskValue(Context& task, const Value& value);
  void openTask(TreeNode* parent);
  void closeTask(Context& task);

  std::string_view currentKey() const;
  int32_t asInt32(const Value& value) const;
  std::string_view asText(const Value& value) const;
  double asDayCount(const Value& value) const;
  int32_t asColor(const Value& value) const;
  // The index of the name among `names`.
  size_t asName(const Value& value, std::span<const std::string_view> names) const;
  [[noreturn]] void fail(const std::string& message) const;
  [[noreturn]] void failAt(size_t offset, const std::string& message) const;

  Ttree& tree_;
  std::string_view text_;
  const char* const* furthest_;
  std::vector<Context> stack_;
  TreeSettings settings_;
};

}  // namespace qm::cli
