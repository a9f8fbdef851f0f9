#include "platform/core_file_name.h"

#include <QFile>

namespace qm::platform {

std::string coreFileName(const QString& path) {
#ifdef _WIN32
  return path.toStdString();
#else
  return QFile::encodeName(path).toStdString();
#endif
}

}  // namespace qm::platform
