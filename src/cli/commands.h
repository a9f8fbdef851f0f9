#pragma once

#include <istream>
#include <memory>
#include <ostream>
#include <string>

#include "cli/command_line.h"
#include "model/ttree.h"

namespace qm::cli {

// The list named, or standard input for "-", in a tree with the class's own
// settings, so that what is shown or exported is what the file holds, not
// the main window's configuration. On the heap: it may hold millions of
// tasks and is torn down without recursion.
std::unique_ptr<Ttree> loadList(const std::string& listFile, std::istream& in);

// Each command reads its list into a tree of its own and raises Error with
// the message to show when a file cannot be read, understood or written.
// A file named "-" is standard input ("in"); import's output "-" is "out".
void showCommand(const std::string& listFile, std::istream& in, std::ostream& out);
void checkCommand(const std::string& listFile, std::istream& in, std::ostream& out);
void exportCommand(const std::string& listFile, ExportFormat format, std::istream& in, std::ostream& out);
void importCommand(const std::string& jsonFile, const std::string& listFile, std::istream& in,
                   std::ostream& out);

}  // namespace qm::cli
