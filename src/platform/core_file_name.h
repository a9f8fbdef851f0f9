#pragma once

#include <QString>
#include <string>

namespace qm::platform {

// A file name as the core's file functions take it: UTF-8 on Windows, where
// they call the wide-character file API, so that any script survives; the
// file system's own encoding elsewhere.
std::string coreFileName(const QString& path);

}  // namespace qm::platform
