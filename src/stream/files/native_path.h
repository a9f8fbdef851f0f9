#pragma once

#include <filesystem>
#include <string>

namespace qm {

// File names are UTF-8 inside the program. This is the path the file-system
// calls take: on Windows its UTF-16 form, for the wide-character calls;
// elsewhere the same bytes. A name that is not valid UTF-8 gives an empty
// path, which no file has, so opening it fails as for a missing file.
std::filesystem::path nativePath(const std::string& utf8Name);

// The UTF-8 form of a path the system handed out (a Windows command line).
std::string utf8Name(const std::filesystem::path& path);

}  // namespace qm
