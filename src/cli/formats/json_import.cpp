#include "cli/formats/json_import.h"

#include "cli/formats/source_position.h"
#include "cli/formats/task_list_builder.h"
#include "model/error.h"

namespace qm::cli {

void readTaskListJson(std::string_view text, Ttree& tree) {
  const char* furthest = text.data();
  TaskListBuilder builder(tree, text, &furthest);
  // One reset for observers, and subtree sizes counted once at the end
  // instead of along the ancestors of every appended task.
  Ttree::BulkUpdate bulk(tree);
  TrackingIterator first(text.data(), &furthest);
  TrackingIterator last(text.data() + text.size(), &furthest);
  if (!nlohmann::json::sax_parse(first, last, &builder)) raise("the text is not in the JSON form");
}

}  // namespace qm::cli
