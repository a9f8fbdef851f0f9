#pragma once

#include <istream>
#include <ostream>
#include <string>

#include "cli/command_line.h"

namespace qm::cli {

// qmk agenda: the tasks not done that end by today + daysAhead, in the
// window's agenda groups and order (model/task_dates.h), as text (a heading
// per group that has tasks, then "2026-12-12  P1  Title  (Parent / Child)")
// or as a JSON array. Today is the local date unless the invocation gives
// one. A file named "-" is "in".
void agendaCommand(const Invocation& invocation, std::istream& in, std::ostream& out);

}  // namespace qm::cli
