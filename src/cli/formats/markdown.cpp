#include "cli/formats/markdown.h"

#include <optional>
#include <string>
#include <string_view>

#include "cli/task_marks.h"
#include "cli/text_layout.h"
#include "model/day_count.h"
#include "model/task_dates.h"
#include "model/tinfo.h"

namespace qm::cli {
namespace {

// Characters that open or close inline markup (emphasis, code, links,
// images, raw HTML, entities, and the table and strike-through extensions)
// wherever they stand.
constexpr std::string_view kInlineMarkup = "\\`*_[]<>&|~!";
// Characters that open a block (heading, list item, block quote, setext
// underline) at the start of a line.
constexpr std::string_view kBlockMarkup = "#+-=>";

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The text with a backslash before every character CommonMark could take as
// markup, so that a renderer shows it as it is.
std::string escaped(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 8);
  size_t digits = 0;  // a leading number ends an ordered-list marker with "." or ")"
  while (digits < text.size() && isDigit(text[digits])) ++digits;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    bool markup = kInlineMarkup.find(c) != std::string_view::npos ||
                  (i == 0 && kBlockMarkup.find(c) != std::string_view::npos) ||
                  (i == digits && digits > 0 && (c == '.' || c == ')'));
    if (markup) out += '\\';
    out += c;
  }
  return out;
}

std::string_view withoutLeadingBlanks(std::string_view line) {
  size_t start = line.find_first_not_of(" \t");
  return start == std::string_view::npos ? std::string_view() : line.substr(start);
}

// The notes as paragraphs of their own inside the task's item: indented to
// its text column, after a blank line, each line kept on its own line by a
// hard break (a trailing backslash). Blank lines (CR, LF or CR LF end a line)
// separate paragraphs. Leading blanks go: four of them would start code.
void writeNote(std::string_view note, size_t depth, std::ostream& out) {
  bool inParagraph = false;
  while (!note.empty()) {
    size_t end = note.find_first_of("\r\n");
    std::string_view line = withoutLeadingBlanks(note.substr(0, end));
    if (line.empty()) {
      if (inParagraph) out << '\n';
      inParagraph = false;
    } else {
      out << (inParagraph ? "\\\n" : "\n") << indentation(depth + 1) << escaped(line);
      inParagraph = true;
    }
    if (end == std::string_view::npos) break;
    size_t breakLength = note.compare(end, 2, "\r\n") == 0 ? 2 : 1;
    note.remove_prefix(end + breakLength);
  }
  if (inParagraph) out << '\n';
}

// " — due 2026-12-12 · P1 · In Progress", with what of it is set.
std::string details(const TreeNode& node) {
  std::string text;
  auto add = [&](std::string_view detail) {
    if (detail.empty()) return;
    text += text.empty() ? " — " : " · ";
    text += detail;
  };
  if (std::optional<int64_t> end = endDayOf(node)) add("due " + isoDate(civilFromDays(*end)));
  if (const Tinfo* record = node.record()) {
    add(escaped(priorityLabel(record->priority)));
    add(escaped(singleLine(record->status)));
  }
  return text;
}

void writeItem(const TreeNode& node, size_t depth, std::ostream& out) {
  out << indentation(depth) << "- " << checkBox(node) << ' ' << escaped(singleLine(node.text()))
      << details(node) << '\n';
  if (node.record() != nullptr) writeNote(node.record()->note, depth, out);
}

}  // namespace

void writeMarkdown(const Ttree& tree, std::ostream& out) {
  forEachInPreorder(tree, [&](const TreeNode& node, size_t depth) { writeItem(node, depth, out); });
}

}  // namespace qm::cli
