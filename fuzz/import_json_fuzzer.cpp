#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "fuzz_finding.h"
#include "task_list_json_target.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  try {
    qm::fuzz::exerciseTaskListJson(std::string_view(reinterpret_cast<const char*>(data), size));
  } catch (const qm::fuzz::FuzzFinding& finding) {
    std::fprintf(stderr, "fault: %s\n", finding.what());
    std::abort();
  }
  return 0;
}
