#include "task_list_comparison.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <string>

#include "fuzz_finding.h"

namespace qm::fuzz {
namespace {

// Dates are equal when their bits are, or when both are NaN (whose payload a
// conversion may quieten).
bool sameDate(double a, double b) {
  return std::bit_cast<uint64_t>(a) == std::bit_cast<uint64_t>(b) || (std::isnan(a) && std::isnan(b));
}

bool sameRecord(const Tinfo* a, const Tinfo* b) {
  if (a == nullptr || b == nullptr) return a == b;
  return a->note == b->note && sameDate(a->taskstart, b->taskstart) && sameDate(a->taskend, b->taskend) &&
         a->priority == b->priority && a->status == b->status && a->icon == b->icon && a->tag() == b->tag() &&
         a->designLeft == b->designLeft && a->designTop == b->designTop;
}

bool sameNode(const TreeNode& a, const TreeNode& b) {
  return a.text() == b.text() && a.imageIndex() == b.imageIndex() && a.selectedIndex() == b.selectedIndex() &&
         a.stateIndex() == b.stateIndex() && a.overlayIndex() == b.overlayIndex() &&
         a.childCount() == b.childCount() && sameRecord(a.record(), b.record());
}

}  // namespace

void expectSameTaskList(const Ttree& expected, const Ttree& actual) {
  if (!(expected.settings() == actual.settings())) throw FuzzFinding("the tree's settings differ");
  if (expected.nodeCount() != actual.nodeCount() || expected.topLevelCount() != actual.topLevelCount())
    throw FuzzFinding("node counts differ");
  size_t index = 0;
  for (const TreeNode *a = expected.firstNode(), *b = actual.firstNode(); a != nullptr;
       a = expected.nextInPreorder(a), b = actual.nextInPreorder(b), ++index) {
    if (b == nullptr || !sameNode(*a, *b)) throw FuzzFinding("node " + std::to_string(index) + " differs");
  }
}

}  // namespace qm::fuzz
