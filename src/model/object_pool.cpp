#include "model/object_pool.h"

#include "model/huge_pages.h"

namespace qm {

// A small list stays within the first slab of each pool, in ordinary pages;
// a pool's later slabs may get huge pages.
void* newPoolSlab(size_t bytes, bool large) { return mapHugeAligned(bytes, large); }

}  // namespace qm
