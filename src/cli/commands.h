#pragma once

#include <ostream>
#include <string>

#include "cli/command_line.h"

namespace qm::cli {

// Each command reads its list into a tree of its own and raises Error with
// the message to show when a file cannot be read, understood or written.
void showCommand(const std::string& listFile, std::ostream& out);
void checkCommand(const std::string& listFile, std::ostream& out);
void exportCommand(const std::string& listFile, ExportFormat format, std::ostream& out);
void importCommand(const std::string& jsonFile, const std::string& listFile);

}  // namespace qm::cli
