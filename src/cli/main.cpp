#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/run_qmk.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>

#include <cstdio>

#include "stream/files/native_path.h"

// The command line in UTF-16, so that file names in any script arrive whole
// (the narrow one is in the system code page); standard input and output as
// bytes, as on Linux, with no CR added or taken before each line feed.
int wmain(int argc, wchar_t** argv) {
  for (FILE* stream : {stdin, stdout, stderr}) ::_setmode(::_fileno(stream), _O_BINARY);
  std::ios::sync_with_stdio(false);
  std::vector<std::string> names;
  for (int i = 1; i < argc; ++i) names.push_back(qm::utf8Name(argv[i]));
  std::vector<std::string_view> args(names.begin(), names.end());
  return qm::cli::runQmk(args, std::cin, std::cout, std::cerr);
}
#else
int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  std::vector<std::string_view> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  return qm::cli::runQmk(args, std::cin, std::cout, std::cerr);
}
#endif
