#pragma once

#include <cstdint>
#include <ostream>

#include "model/ttree.h"

namespace qm::cli {

// The list as an iCalendar file (RFC 5545): one VTODO per task, in display
// order, with its title, note, start and end days, priority, status and the
// UID of its parent (see task_uids.h). `stampSeconds` (seconds since
// 1970-01-01 UTC) dates DTSTAMP and the COMPLETED of done tasks, so that
// the same list and stamp give the same bytes.
void writeICalendar(const Ttree& tree, int64_t stampSeconds, std::ostream& out);

}  // namespace qm::cli
