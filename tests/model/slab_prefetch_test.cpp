#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <vector>

#include "model/huge_pages.h"
#include "model/object_pool.h"

namespace qm {
namespace {

// Slabs taken while the helper runs, more than it keeps ahead, are distinct
// and stay as their taker wrote them: the helper never writes to a slab once
// handed out, nor hands one out twice. A second prefetch while the first
// runs does nothing, and ending them leaves the taken slabs alone.
TEST(SlabPrefetch, TakenSlabsAreTheTakersAlone) {
  constexpr size_t kTaken = 40;
  std::vector<unsigned char*> taken;
  {
    SlabPrefetch first(true);
    SlabPrefetch second(true);
    for (size_t i = 0; i < kTaken; ++i) {
      auto* slab = static_cast<unsigned char*>(mapSlab(kPoolSlabBytes, true));
      std::memset(slab, static_cast<int>(i + 1), kPoolSlabBytes);
      taken.push_back(slab);
    }
  }
  EXPECT_EQ(std::set<unsigned char*>(taken.begin(), taken.end()).size(), kTaken);
  for (size_t i = 0; i < kTaken; ++i) {
    unsigned char* slab = taken[i];
    EXPECT_EQ(std::count(slab, slab + kPoolSlabBytes, static_cast<unsigned char>(i + 1)),
              static_cast<std::ptrdiff_t>(kPoolSlabBytes))
        << "slab " << i;
    unmapHugeAligned(slab, kPoolSlabBytes);
  }
}

}  // namespace
}  // namespace qm
