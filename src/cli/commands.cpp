#include "cli/commands.h"

#include <filesystem>
#include <fstream>
#include <memory>

#include "cli/json_export.h"
#include "cli/json_import.h"
#include "cli/markdown.h"
#include "cli/outline.h"
#include "model/error.h"
#include "stream/native_path.h"
#include "stream/task_list_file.h"

namespace qm::cli {
namespace {

// A tree with the class's own settings, so that what is shown or exported
// is what the file holds, not the main window's configuration. On the heap:
// it may hold millions of tasks and is torn down without recursion.
std::unique_ptr<Ttree> loadList(const std::string& listFile) {
  auto tree = std::make_unique<Ttree>();
  LoadTaskList(listFile, *tree);
  return tree;
}

std::string readTextFile(const std::string& fileName) {
  std::error_code ignored;
  std::ifstream in;
  std::filesystem::path path = nativePath(fileName);
  if (!std::filesystem::is_directory(path, ignored)) in.open(path, std::ios::binary);
  if (!in) raise("Cannot open file %s", {fileName});
  std::string text;
  char chunk[1 << 16];
  while (in.read(chunk, sizeof chunk) || in.gcount() > 0)
    text.append(chunk, static_cast<size_t>(in.gcount()));
  if (in.bad()) raise("Cannot read file %s", {fileName});
  return text;
}

}  // namespace

void showCommand(const std::string& listFile, std::ostream& out) { writeOutline(*loadList(listFile), out); }

void checkCommand(const std::string& listFile, std::ostream& out) {
  size_t taskCount = loadList(listFile)->nodeCount();  // before any output: a failure prints nothing here
  out << "ok: " << taskCount << " tasks\n";
}

void exportCommand(const std::string& listFile, ExportFormat format, std::ostream& out) {
  std::unique_ptr<Ttree> tree = loadList(listFile);
  if (format == ExportFormat::Markdown)
    writeMarkdown(*tree, out);
  else
    writeTaskListJson(*tree, out);
}

void importCommand(const std::string& jsonFile, const std::string& listFile) {
  std::string text = readTextFile(jsonFile);
  auto tree = std::make_unique<Ttree>();
  try {
    readTaskListJson(text, *tree);
  } catch (const Error& error) {
    throw Error(jsonFile + ": " + error.what());
  }
  SaveTaskList(listFile, *tree);
}

}  // namespace qm::cli
