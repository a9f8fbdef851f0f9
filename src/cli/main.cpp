#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/run_qmk.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>

#include <cstdio>

#include "stream/native_path.h"

// The command line in UTF-16, so that file names in any script arrive whole
// (the narrow one is in the system code page); output bytes as on Linux, with
// no CR added before each line feed.
int wmain(int argc, wchar_t** argv) {
  ::_setmode(::_fileno(stdout), _O_BINARY);
  ::_setmode(::_fileno(stderr), _O_BINARY);
  std::ios::sync_with_stdio(false);
  std::vector<std::string> names;
  for (int i = 1; i < argc; ++i) names.push_back(qm::utf8Name(argv[i]));
  std::vector<std::string_view> args(names.begin(), names.end());
  return qm::cli::runQmk(args, std::cout, std::cerr);
}
#else
int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  std::vector<std::string_view> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  return qm::cli::runQmk(args, std::cout, std::cerr);
}
#endif
