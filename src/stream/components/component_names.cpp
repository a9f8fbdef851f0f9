#include "stream/components/component_names.h"

#include "model/error.h"

namespace qm {
namespace {

bool isLetterOrUnderscore(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

bool isValidComponentName(std::string_view name) {
  if (name.empty() || !isLetterOrUnderscore(name[0])) return false;
  for (char c : name.substr(1))
    if (!isLetterOrUnderscore(c) && !isDigit(c)) return false;
  return true;
}

void giveComponentName(Component& component, std::string_view name) {
  if (!name.empty() && !isValidComponentName(name)) raise("''%s'' is not a valid component name", {name});
  component.setName(name);
}

}  // namespace qm
