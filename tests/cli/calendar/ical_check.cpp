// Reads an iCalendar file with libical: fails (exit status 1, the errors on
// standard error) unless it parses without errors and passes libical's
// restriction check; prints each VTODO as a JSON object a line, as libical
// understood it, for check_calendar.py to compare with the list.
#include <libical/ical.h>

#include <fstream>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>

namespace {

using Json = nlohmann::ordered_json;

Json text(const char* value) { return value != nullptr ? Json(value) : Json(nullptr); }

Json day(icalcomponent* todo, icalproperty_kind kind, icaltimetype (*get)(const icalproperty*)) {
  icalproperty* property = icalcomponent_get_first_property(todo, kind);
  if (property == nullptr) return nullptr;
  icaltimetype time = get(property);
  if (!time.is_date) return "not a date";
  char iso[16];
  std::snprintf(iso, sizeof iso, "%04d-%02d-%02d", time.year, time.month, time.day);
  return iso;
}

Json todoAsJson(icalcomponent* todo) {
  Json object;
  object["uid"] = text(icalcomponent_get_uid(todo));
  object["summary"] = text(icalcomponent_get_summary(todo));
  icalproperty* description = icalcomponent_get_first_property(todo, ICAL_DESCRIPTION_PROPERTY);
  object["description"] = description ? text(icalproperty_get_description(description)) : Json(nullptr);
  object["start"] = day(todo, ICAL_DTSTART_PROPERTY, icalproperty_get_dtstart);
  object["due"] = day(todo, ICAL_DUE_PROPERTY, icalproperty_get_due);
  icalproperty* priority = icalcomponent_get_first_property(todo, ICAL_PRIORITY_PROPERTY);
  object["priority"] = priority ? Json(icalproperty_get_priority(priority)) : Json(nullptr);
  icalproperty* status = icalcomponent_get_first_property(todo, ICAL_STATUS_PROPERTY);
  object["status"] =
      status ? text(icalproperty_status_to_string(icalproperty_get_status(status))) : Json(nullptr);
  icalproperty* percent = icalcomponent_get_first_property(todo, ICAL_PERCENTCOMPLETE_PROPERTY);
  object["percent"] = percent ? Json(icalproperty_get_percentcomplete(percent)) : Json(nullptr);
  icalproperty* completed = icalcomponent_get_first_property(todo, ICAL_COMPLETED_PROPERTY);
  object["completed"] =
      completed ? text(icaltime_as_ical_string(icalproperty_get_completed(completed))) : Json(nullptr);
  Json parent = nullptr;
  icalproperty* related = icalcomponent_get_first_property(todo, ICAL_RELATEDTO_PROPERTY);
  if (related != nullptr) {
    icalparameter* type = icalproperty_get_first_parameter(related, ICAL_RELTYPE_PARAMETER);
    if (type != nullptr && icalparameter_get_reltype(type) == ICAL_RELTYPE_PARENT)
      parent = text(icalproperty_get_relatedto(related));
  }
  object["parent"] = parent;
  return object;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: ical_check FILE.ics\n";
    return 2;
  }
  std::ifstream file(argv[1], std::ios::binary);
  std::stringstream bytes;
  bytes << file.rdbuf();
  std::unique_ptr<icalcomponent, void (*)(icalcomponent*)> calendar(
      icalparser_parse_string(bytes.str().c_str()), icalcomponent_free);
  if (!calendar || icalcomponent_isa(calendar.get()) != ICAL_VCALENDAR_COMPONENT) {
    std::cerr << argv[1] << ": libical found no VCALENDAR\n";
    return 1;
  }
  // The check adds an X-LIC-ERROR property wherever a rule is broken.
  bool restrictionsHold = icalrestriction_check(calendar.get()) != 0;
  if (!restrictionsHold || icalcomponent_count_errors(calendar.get()) != 0) {
    std::cerr << argv[1] << ": libical finds errors:\n" << icalcomponent_as_ical_string(calendar.get());
    return 1;
  }
  for (icalcomponent* todo = icalcomponent_get_first_component(calendar.get(), ICAL_VTODO_COMPONENT);
       todo != nullptr; todo = icalcomponent_get_next_component(calendar.get(), ICAL_VTODO_COMPONENT))
    std::cout << todoAsJson(todo).dump() << '\n';
  return 0;
}
