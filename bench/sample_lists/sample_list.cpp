#include "sample_list.h"

#include <array>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace qm::sample {
namespace {

constexpr size_t kMaxDepth = 12;

constexpr std::array<std::string_view, 16> kWords = {
    "call",   "plan",   "review", "draft", "order",  "fix",     "invoice", "meeting",
    "garden", "report", "budget", "email", "backup", "dentist", "travel",  "notes"};

// Non-ASCII pieces a real note carries: accents, a dash, a currency sign,
// CJK text, an emoji (a surrogate pair in UTF-16).
constexpr std::array<std::string_view, 6> kForeignWords = {"caf\xC3\xA9",
                                                           "\xE2\x80\x93",
                                                           "\xE2\x82\xAC"
                                                           "12",
                                                           "\xE6\x97\xA5\xE6\x9C\xAC",
                                                           "gr\xC3\xBC\xC3\x9F",
                                                           "\xF0\x9F\x99\x82"};

class ListWriter {
 public:
  explicit ListWriter(uint32_t seed) : random_(seed) {}

  std::string title() { return words(pick(10, 60), false); }
  std::string note() { return words(pick(90, 110), true); }
  size_t pick(size_t low, size_t high) { return std::uniform_int_distribution<size_t>(low, high)(random_); }
  bool chance(size_t percent) { return pick(0, 99) < percent; }

 private:
  // Words separated by spaces, exactly `length` bytes unless the last
  // character would be cut (then a few bytes shorter), with a line break in
  // longer texts.
  std::string words(size_t length, bool foreign) {
    std::string text;
    while (text.size() < length) {
      if (!text.empty()) text += text.size() > 50 && chance(5) ? '\n' : ' ';
      std::string_view word = foreign && chance(20) ? kForeignWords[pick(0, kForeignWords.size() - 1)]
                                                    : kWords[pick(0, kWords.size() - 1)];
      if (text.size() + word.size() > length) break;
      text += word;
    }
    while (text.size() < length) text += 'x';
    return text;
  }

  std::mt19937 random_;
};

void fillRecord(ListWriter& writer, Tinfo& record) {
  if (writer.chance(33)) record.note = writer.note();
  if (writer.chance(50)) {
    // Whole days plus the fixed time of day the properties dialog stores.
    record.taskstart = static_cast<double>(writer.pick(43000, 47000)) + 0.5;
    record.taskend = record.taskstart + static_cast<double>(writer.pick(0, 30));
  }
  if (writer.chance(20)) record.priority = std::to_string(writer.pick(1, 4));
  if (writer.chance(10)) {
    record.status = "Complete";
    record.icon = 12;
  } else if (writer.chance(10)) {
    record.status = "In Progress";
  }
}

}  // namespace

void appendSampleTasks(Ttree& tree, size_t taskCount, uint32_t seed) {
  ListWriter writer(seed);
  Ttree::BulkUpdate bulk(tree);
  // path[d] is the last task appended at depth d.
  std::vector<TreeNode*> path;
  for (size_t i = 0; i < taskCount; ++i) {
    size_t roll = writer.pick(0, 99);
    if (!path.empty() && roll < 35 && path.size() < kMaxDepth) {
      // a child of the last task: keep the path
    } else if (roll < 85 || path.size() <= 1) {
      if (!path.empty()) path.pop_back();  // a sibling of the last task
    } else {
      path.resize(path.size() - writer.pick(1, path.size()));  // back up some levels
    }
    Tinfo* record = tree.createRecord();
    fillRecord(writer, *record);
    TreeNode* parent = path.empty() ? nullptr : path.back();
    TreeNode* node = tree.appendNode(parent, writer.title(), record);
    tree.setImageIndex(node, record->icon);
    path.push_back(node);
  }
}

void appendChain(Ttree& tree, size_t depth) {
  Ttree::BulkUpdate bulk(tree);
  TreeNode* parent = nullptr;
  for (size_t i = 0; i < depth; ++i)
    parent = tree.appendNode(parent, "level " + std::to_string(i), tree.createRecord());
}

size_t textBytesOf(const Ttree& tree) {
  size_t bytes = 0;
  for (TreeNode* n = tree.firstNode(); n != nullptr; n = tree.nextInPreorder(n)) {
    bytes += n->text().size();
    if (const Tinfo* r = n->record()) bytes += r->note.size() + r->priority.size() + r->status.size();
  }
  return bytes;
}

}  // namespace qm::sample
