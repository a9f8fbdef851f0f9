// Build-time helper: converts a program icon to the PNG that icon themes
// expect. Usage: qm_xpm_to_png <input> <output.png> <size>
#include <QImage>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: %s <input> <output.png> <size>\n", argv[0]);
    return 2;
  }
  const QImage image(QString::fromLocal8Bit(argv[1]));
  const int size = std::atoi(argv[3]);
  if (image.isNull()) {
    std::fprintf(stderr, "cannot read %s\n", argv[1]);
    return 1;
  }
  // A theme directory promises its size: a picture of another size is a mistake.
  if (image.width() != size || image.height() != size) {
    std::fprintf(stderr, "%s is %dx%d, expected %dx%d\n", argv[1], image.width(), image.height(), size, size);
    return 1;
  }
  if (!image.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
    std::fprintf(stderr, "cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}
