#include "cli/formats/task_list_builder.h"

#include <array>
#include <cmath>
#include <limits>
#include <span>

#include "cli/formats/json_values.h"
#include "cli/formats/source_position.h"
#include "model/error.h"
#include "model/tinfo.h"

namespace qm::cli {
namespace {

enum DocumentKey { kTree, kTasks };
constexpr std::array<std::string_view, 2> kDocumentKeys = {"tree", "tasks"};

enum TaskKey { kTitle, kImage, kSelectedImage, kStateImage, kOverlayImage, kRecord, kChildren };
constexpr std::array<std::string_view, 7> kTaskKeys = {
    "title", "image", "selectedImage", "stateImage", "overlayImage", "record", "children"};

std::string inQuotes(std::string_view text) {
  // Appended piece by piece: GCC 12 at -O3 wrongly warns about "..." + string.
  std::string quoted;
  quoted.reserve(text.size() + 2);
  quoted.append(1, '"').append(text).append(1, '"');
  return quoted;
}

// The names of `items`, with commas between.
template <class Items, class Name>
std::string joined(const Items& items, Name name) {
  std::string list;
  for (const auto& item : items) list += (list.empty() ? "" : ", ") + std::string(name(item));
  return list;
}
std::string joined(std::span<const std::string_view> names) {
  return joined(names, [](std::string_view name) { return name; });
}

// The last part of a parser message, after its "[json.exception...] " tag
// and its own position, which the caller states in its own words.
std::string parserDetail(std::string_view message) {
  size_t tagEnd = message.find("] ");
  if (message.starts_with("[json.exception.") && tagEnd != std::string_view::npos)
    message.remove_prefix(tagEnd + 2);
  if (message.starts_with("parse error")) {
    size_t colon = message.find(": ");
    if (colon != std::string_view::npos) message.remove_prefix(colon + 2);
  }
  return std::string(message);
}

}  // namespace

TaskListBuilder::TaskListBuilder(Ttree& tree, std::string_view text, const char* const* furthest)
    : tree_(tree), text_(text), furthest_(furthest), settings_(TreeSettings::mainWindowInitial()) {}

// --- failures

void TaskListBuilder::failAt(size_t offset, const std::string& message) const {
  throw Error(describePosition(text_, offset) + ": " + message);
}

void TaskListBuilder::fail(const std::string& message) const {
  // The parser has just read the last character of the value at fault (or
  // one past a number).
  auto consumed = static_cast<size_t>(*furthest_ - text_.data());
  failAt(consumed == 0 ? 0 : consumed - 1, message);
}

bool TaskListBuilder::parse_error(std::size_t position, const std::string&,
                                  const nlohmann::detail::exception& error) {
  failAt(position == 0 ? 0 : position - 1, parserDetail(error.what()));
}

// --- typed values

namespace {

std::string describe(const auto& value) {
  using Kind = std::remove_cvref_t<decltype(value.kind)>;
  switch (value.kind) {
    case Kind::Null:
      return "null";
    case Kind::Boolean:
      return "a Boolean";
    case Kind::Integer:
      return value.integerInRange ? "the integer " + std::to_string(value.integer)
                                  : "an integer beyond 64 bits";
    case Kind::Float:
      return "the number " + std::string(value.text);
    case Kind::String:
      return "the string " + inQuotes(value.text);
    case Kind::Object:
      return "an object";
    case Kind::Array:
      return "an array";
  }
  return "another value";
}

}  // namespace

std::string_view TaskListBuilder::currentKey() const {
  const Context& top = stack_.back();
  switch (top.frame) {
    case Frame::Document:
      return kDocumentKeys[top.key];
    case Frame::Tree:
      return treeJsonForm().keys[top.key];
    case Frame::Task:
      return kTaskKeys[top.key];
    case Frame::Record:
      return recordJsonForm().keys[top.key];
    case Frame::Tasks:
      break;
  }
  return {};
}

int32_t TaskListBuilder::asInt32(const Value& value) const {
  bool numeric = value.kind == Value::Kind::Integer || value.kind == Value::Kind::Float;
  if (numeric && value.integerInRange && std::trunc(value.number) == value.number &&
      value.number >= std::numeric_limits<int32_t>::min() &&
      value.number <= std::numeric_limits<int32_t>::max())
    return static_cast<int32_t>(value.number);
  fail(inQuotes(currentKey()) + " must be an integer from -2147483648 to 2147483647, not " + describe(value));
}

std::string_view TaskListBuilder::asText(const Value& value) const {
  if (value.kind != Value::Kind::String)
    fail(inQuotes(currentKey()) + " must be a string, not " + describe(value));
  return value.text;
}

double TaskListBuilder::asDayCount(const Value& value) const {
  if (value.kind == Value::Kind::Integer || value.kind == Value::Kind::Float) return value.number;
  if (value.kind == Value::Kind::String)
    if (auto special = dayCountFromName(value.text)) return *special;
  fail(inQuotes(currentKey()) + " must be a number or one of \"nan\", \"inf\", \"-inf\", not " +
       describe(value));
}

int32_t TaskListBuilder::asColor(const Value& value) const {
  if (value.kind != Value::Kind::String) return asInt32(value);
  for (const NamedValue& named : kColourNames)
    if (equalsIgnoringAsciiCase(named.name, value.text)) return named.value;
  fail("unknown colour " + inQuotes(value.text) + "; " + inQuotes(currentKey()) + " takes " +
       joined(kColourNames, [](const NamedValue& named) { return named.name; }) + " or an integer");
}

size_t TaskListBuilder::asName(const Value& value, std::span<const std::string_view> names) const {
  if (value.kind == Value::Kind::String)
    for (size_t i = 0; i < names.size(); ++i)
      if (equalsIgnoringAsciiCase(names[i], value.text)) return i;
  fail(inQuotes(currentKey()) + " must be one of " + joined(names) + ", not " + describe(value));
}

// --- values by place

bool TaskListBuilder::assign(const Value& value) {
  if (stack_.empty()) fail("the document must be a JSON object, not " + describe(value));
  Context& top = stack_.back();
  switch (top.frame) {
    case Frame::Document:
      fail(inQuotes(currentKey()) + (top.key == kTree ? " must be an object" : " must be an array") +
           ", not " + describe(value));
    case Frame::Tree:
      setSaved(*treeJsonForm().properties[top.key], tree_, settings_, value);
      break;
    case Frame::Tasks:
      fail("each task must be a JSON object, not " + describe(value));
    case Frame::Task:
      setTaskValue(top, value);
      break;
    case Frame::Record: {
      Tinfo& record = *top.node->record();
      setSaved(*recordJsonForm().properties[top.key], record, record, value);
      break;
    }
  }
  return true;
}

template <class Object>
void TaskListBuilder::setSaved(const SavedProperty<Object>& p, Component& component, Object& fields,
                               const Value& value) {
  switch (p.spelling) {
    case Spelling::Tag:
      component.setTag(asInt32(value));
      break;
    case Spelling::Integer:
      fields.*p.integer = asInt32(value);
      break;
    case Spelling::Short:
      fields.*p.shortInteger = static_cast<int16_t>(asInt32(value));
      break;
    case Spelling::Date:
      fields.*p.date = asDayCount(value);
      break;
    case Spelling::Text:
    case Spelling::Reference:
      p.setText(fields, asText(value));
      break;
    case Spelling::Enumeration:
      p.enumeration->set(fields, asName(value, p.names));
      break;
    case Spelling::Colour:
      fields.*p.integer = asColor(value);
      break;
    case Spelling::Name:
    case Spelling::Nested:
    case Spelling::Pair:
      break;  // not part of the form
  }
}

void TaskListBuilder::setTaskValue(Context& task, const Value& value) {
  TreeNode* n = task.node;
  switch (static_cast<TaskKey>(task.key)) {
    case kTitle:
      tree_.setText(n, asText(value));
      break;
    case kImage:
      tree_.setPictures(n, asInt32(value), n->selectedIndex(), n->stateIndex(), n->overlayIndex());
      break;
    case kSelectedImage:
      tree_.setPictures(n, n->imageIndex(), asInt32(value), n->stateIndex(), n->overlayIndex());
      break;
    case kStateImage:
      tree_.setPictures(n, n->imageIndex(), n->selectedIndex(), asInt32(value), n->overlayIndex());
      break;
    case kOverlayImage:
      tree_.setPictures(n, n->imageIndex(), n->selectedIndex(), n->stateIndex(), asInt32(value));
      break;
    case kRecord:
      if (value.kind != Value::Kind::Null)
        fail("\"record\" must be an object or null, not " + describe(value));
      task.recordGiven = true;  // a task without a record
      break;
    case kChildren:
      fail("\"children\" must be an array, not " + describe(value));
  }
}

// --- scalar events

bool TaskListBuilder::null() { return assign({.kind = Value::Kind::Null, .text = {}}); }

bool TaskListBuilder::boolean(bool value) {
  return assign({.kind = Value::Kind::Boolean, .text = value ? "true" : "false"});
}

bool TaskListBuilder::number_integer(number_integer_t value) {
  return assign(
      {.kind = Value::Kind::Integer, .integer = value, .number = static_cast<double>(value), .text = {}});
}

bool TaskListBuilder::number_unsigned(number_unsigned_t value) {
  bool fits = value <= static_cast<number_unsigned_t>(std::numeric_limits<int64_t>::max());
  return assign({.kind = Value::Kind::Integer,
                 .integer = fits ? static_cast<int64_t>(value) : 0,
                 .integerInRange = fits,
                 .number = static_cast<double>(value),
                 .text = {}});
}

bool TaskListBuilder::number_float(number_float_t value, const string_t& text) {
  return assign({.kind = Value::Kind::Float, .number = value, .text = text});
}

bool TaskListBuilder::string(string_t& value) { return assign({.kind = Value::Kind::String, .text = value}); }

bool TaskListBuilder::binary(binary_t&) { fail("binary values are not part of the JSON form"); }

// --- structure events

void TaskListBuilder::openTask(TreeNode* parent) {
  // A new task's title, as the tree view gives it.
  TreeNode* node = tree_.appendNode(parent, " ");
  stack_.push_back({.frame = Frame::Task, .node = node});
}

void TaskListBuilder::closeTask(Context& task) {
  if (task.recordGiven) return;
  Tinfo* record = tree_.createRecord();
  tree_.setRecord(task.node, record);
}

bool TaskListBuilder::start_object(std::size_t) {
  if (stack_.empty()) {
    stack_.push_back({.frame = Frame::Document});
    return true;
  }
  Context& top = stack_.back();
  if (top.frame == Frame::Tasks) {
    openTask(top.node);
  } else if (top.frame == Frame::Document && top.key == kTree) {
    stack_.push_back({.frame = Frame::Tree});
  } else if (top.frame == Frame::Task && top.key == kRecord) {
    top.recordGiven = true;
    tree_.setRecord(top.node, tree_.createRecord());
    stack_.push_back({.frame = Frame::Record, .node = top.node});
  } else {
    assign({.kind = Value::Kind::Object, .text = {}});  // in a place that takes no object: fails
  }
  return true;
}

bool TaskListBuilder::start_array(std::size_t) {
  Context* top = stack_.empty() ? nullptr : &stack_.back();
  if (top != nullptr && top->frame == Frame::Document && top->key == kTasks)
    stack_.push_back({.frame = Frame::Tasks, .node = nullptr});
  else if (top != nullptr && top->frame == Frame::Task && top->key == kChildren)
    stack_.push_back({.frame = Frame::Tasks, .node = top->node});
  else
    assign({.kind = Value::Kind::Array, .text = {}});  // in a place that takes no array: fails
  return true;
}

bool TaskListBuilder::key(string_t& name) {
  Context& top = stack_.back();
  std::span<const std::string_view> keys;
  std::string_view place;
  switch (top.frame) {
    case Frame::Document:
      keys = kDocumentKeys, place = "the document";
      break;
    case Frame::Tree:
      keys = treeJsonForm().keys, place = "\"tree\"";
      break;
    case Frame::Task:
      keys = kTaskKeys, place = "a task";
      break;
    case Frame::Record:
      keys = recordJsonForm().keys, place = "a record";
      break;
    case Frame::Tasks:
      break;
  }
  for (size_t i = 0; i < keys.size(); ++i) {
    if (keys[i] != name) continue;
    uint32_t bit = 1u << i;
    if ((top.seenKeys & bit) != 0) fail("key " + inQuotes(name) + " appears twice in " + std::string(place));
    top.seenKeys |= bit;
    top.key = static_cast<int>(i);
    return true;
  }
  fail("unknown key " + inQuotes(name) + " in " + std::string(place) + "; the keys are " + joined(keys));
}

bool TaskListBuilder::end_object() {
  Context closed = stack_.back();
  stack_.pop_back();
  if (closed.frame == Frame::Task) closeTask(closed);
  if (closed.frame == Frame::Document) tree_.setSettings(settings_);
  return true;
}

bool TaskListBuilder::end_array() {
  stack_.pop_back();
  return true;
}

}  // namespace qm::cli
