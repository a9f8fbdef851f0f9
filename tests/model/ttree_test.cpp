#include "model/ttree.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

TEST(Ttree, Placeholder) {
  Ttree tree;
  EXPECT_EQ(tree.nodeCount(), 0u);
}

}  // namespace
}  // namespace qm
