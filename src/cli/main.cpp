#include <iostream>
#include <string_view>
#include <vector>

#include "cli/run_qmk.h"

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  std::vector<std::string_view> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  return qm::cli::runQmk(args, std::cin, std::cout, std::cerr);
}
