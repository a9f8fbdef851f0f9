#pragma once

#include <QHash>
#include <QIcon>
#include <QPixmap>
#include <array>

namespace qm::ui {

// The main window's image list ImageList1: 18 pictures of 16 x 16 pixels,
// shared by the tool buttons and the task tree. A picture whose resource is
// missing is blank, so the program runs without its artwork.
class ImageList {
 public:
  static constexpr int kCount = 18;
  static constexpr int kSize = 16;

  ImageList();

  // Blank for an index outside the list (a task may carry -1: no picture).
  const QPixmap& pixmap(int index) const;
  QIcon icon(int index) const;
  // The picture rule of a task: `image` while not selected, `selected` while
  // selected (the icon's Normal and Selected modes, as item views draw them).
  const QIcon& taskIcon(int image, int selected) const;

 private:
  std::array<QPixmap, kCount> pixmaps_;
  QPixmap blank_;
  mutable QHash<quint64, QIcon> taskIcons_;
};

// The program icon, 16 x 16 and 32 x 32.
QIcon programIcon();

}  // namespace qm::ui
