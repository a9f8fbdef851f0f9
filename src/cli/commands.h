#pragma once

#include <istream>
#include <ostream>
#include <string>

#include "cli/command_line.h"

namespace qm::cli {

// Each command reads its list into a tree of its own and raises Error with
// the message to show when a file cannot be read, understood or written.
// A file named "-" is standard input ("in"); import's output "-" is "out".
void showCommand(const std::string& listFile, std::istream& in, std::ostream& out);
void checkCommand(const std::string& listFile, std::istream& in, std::ostream& out);
void exportCommand(const std::string& listFile, ExportFormat format, std::istream& in, std::ostream& out);
void importCommand(const std::string& jsonFile, const std::string& listFile, std::istream& in,
                   std::ostream& out);

}  // namespace qm::cli
