#pragma once

#include <istream>
#include <ostream>
#include <string>

namespace qm::cli {

// qmk find: prints each task whose title holds the text (or, with
// notesToo, whose note does), in display order, as its path of titles
// joined by " / ". Returns whether any matched. A file named "-" is "in".
bool findCommand(const std::string& listFile, const std::string& text, bool notesToo, std::istream& in,
                 std::ostream& out);

}  // namespace qm::cli
