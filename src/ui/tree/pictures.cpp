#include "ui/tree/pictures.h"

#include <QFile>

// The pictures live in a static library: their resources must be registered
// by name before first use.
static void registerPictureResources() { Q_INIT_RESOURCE(quillmark); }

namespace qm::ui {
namespace {

void ensureResourcesRegistered() {
  static const bool registered = (registerPictureResources(), true);
  (void)registered;
}

QPixmap loadOrBlank(const QString& path, int size) {
  QPixmap pixmap;
  if (QFile::exists(path)) pixmap.load(path);
  if (!pixmap.isNull()) return pixmap;
  QPixmap blank(size, size);
  blank.fill(Qt::transparent);
  return blank;
}

}  // namespace

ImageList::ImageList() {
  ensureResourcesRegistered();
  for (int i = 0; i < kCount; ++i)
    pixmaps_[i] = loadOrBlank(QStringLiteral(":/images/image%1.xpm").arg(i, 2, 10, QLatin1Char('0')), kSize);
  blank_ = QPixmap(kSize, kSize);
  blank_.fill(Qt::transparent);
}

const QPixmap& ImageList::pixmap(int index) const {
  return index >= 0 && index < kCount ? pixmaps_[index] : blank_;
}

QIcon ImageList::icon(int index) const { return QIcon(pixmap(index)); }

const QIcon& ImageList::taskIcon(int image, int selected) const {
  quint64 key = (quint64(quint32(image)) << 32) | quint32(selected);
  auto found = taskIcons_.constFind(key);
  if (found != taskIcons_.cend()) return *found;
  QIcon icon;
  icon.addPixmap(pixmap(image), QIcon::Normal);
  icon.addPixmap(pixmap(selected), QIcon::Selected);
  return *taskIcons_.insert(key, icon);
}

QIcon programIcon() {
  ensureResourcesRegistered();
  QIcon icon;
  for (int size : {16, 32}) {
    QString path = QStringLiteral(":/icons/quillmark-%1.xpm").arg(size);
    if (QFile::exists(path)) icon.addFile(path, QSize(size, size));
  }
  return icon;
}

}  // namespace qm::ui
