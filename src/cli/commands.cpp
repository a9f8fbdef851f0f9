#include "cli/commands.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "cli/formats/ics_export.h"
#include "cli/formats/json_export.h"
#include "cli/formats/json_import.h"
#include "cli/formats/markdown.h"
#include "cli/formats/outline.h"
#include "model/error.h"
#include "stream/files/native_path.h"
#include "stream/task_list_file.h"

namespace qm::cli {
namespace {

constexpr std::string_view kStandardStream = "-";
const std::string kStandardInput = "standard input";

// Read failures are worded as for a file of the same kind.
std::string readStandardInput(std::istream& in, std::string_view failure) {
  std::string bytes;
  char chunk[1 << 16];
  errno = 0;
  while (in.read(chunk, sizeof chunk) || in.gcount() > 0)
    bytes.append(chunk, static_cast<size_t>(in.gcount()));
  if (in.bad()) raiseFileError(FileAction::Opening, kStandardInput, failure, {kStandardInput});
  return bytes;
}

std::string readTextFile(const std::string& fileName, std::istream& in) {
  if (fileName == kStandardStream) return readStandardInput(in, "Cannot read file %s");
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(nullptr, std::fclose);
  std::error_code ignored;
  errno = 0;
  std::filesystem::path path = nativePath(fileName);
  if (!std::filesystem::is_directory(path, ignored))
#ifdef _WIN32
    file.reset(::_wfopen(path.c_str(), L"rb"));  // the narrow name would be taken in the system code page
#else
    file.reset(std::fopen(fileName.c_str(), "rb"));
#endif
  else
    errno = EISDIR;
  if (!file) raiseFileError(FileAction::Opening, fileName, "Cannot open file %s", {fileName});
  std::string text;
  char chunk[1 << 16];
  while (size_t got = std::fread(chunk, 1, sizeof chunk, file.get())) text.append(chunk, got);
  if (std::ferror(file.get()))
    raiseFileError(FileAction::Opening, fileName, "Cannot read file %s", {fileName});
  return text;
}

// When the list last changed, in seconds since 1970-01-01 UTC: what an
// unchanged file exports always gives the same bytes. Standard input has no
// such time, and stands at 1970-01-01 00:00:00 UTC.
int64_t lastChangeSeconds(const std::string& listFile) {
  std::error_code error;
  if (listFile == kStandardStream) return 0;
  auto changed = std::filesystem::last_write_time(nativePath(listFile), error);
  if (error) return 0;
  auto seconds = std::chrono::floor<std::chrono::seconds>(std::chrono::file_clock::to_sys(changed));
  return seconds.time_since_epoch().count();
}

}  // namespace

std::unique_ptr<Ttree> loadList(const std::string& listFile, std::istream& in) {
  auto tree = std::make_unique<Ttree>();
  if (listFile == kStandardStream)
    loadTaskListFromBytes(readStandardInput(in, "Stream read error"), *tree);
  else
    LoadTaskList(listFile, *tree);
  return tree;
}

void showCommand(const std::string& listFile, std::istream& in, std::ostream& out) {
  writeOutline(*loadList(listFile, in), out);
}

void checkCommand(const std::string& listFile, std::istream& in, std::ostream& out) {
  size_t taskCount = loadList(listFile, in)->nodeCount();  // before any output: a failure prints nothing here
  out << "ok: " << taskCount << " tasks\n";
}

void exportCommand(const std::string& listFile, ExportFormat format, std::istream& in, std::ostream& out) {
  std::unique_ptr<Ttree> tree = loadList(listFile, in);
  switch (format) {
    case ExportFormat::Markdown:
      return writeMarkdown(*tree, out);
    case ExportFormat::Ics:
      return writeICalendar(*tree, lastChangeSeconds(listFile), out);
    case ExportFormat::Json:
      break;
  }
  writeTaskListJson(*tree, out);
}

void importCommand(const std::string& jsonFile, const std::string& listFile, std::istream& in,
                   std::ostream& out) {
  std::string text = readTextFile(jsonFile, in);
  auto tree = std::make_unique<Ttree>();
  try {
    readTaskListJson(text, *tree);
  } catch (const Error& error) {
    throw Error((jsonFile == kStandardStream ? kStandardInput : jsonFile) + ": " + error.what());
  }
  if (listFile != kStandardStream) return SaveTaskList(listFile, *tree);
  std::string bytes;
  saveTaskListToBytes(*tree, bytes);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace qm::cli
