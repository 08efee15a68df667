// SPDX-License-Identifier: MIT
// Build tool: bakes a picture into the decoded form the program compiles in, so that showing
// it at start needs neither an image plugin nor a PNG decoder.
//
// Baked form: "QUPI", then width and height (32-bit, this machine's byte order), then the
// pixels as premultiplied ARGB32, row by row without padding. The program is built and run on
// the same kind of machine, so the byte order is the one the program reads.
#include <QFile>
#include <QImage>
#include <cstdint>
#include <cstdio>

int main(int argc, char* argv[]) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s PICTURE BAKED\n", argv[0]);
    return 2;
  }
  const QImage image =
      QImage(QString::fromLocal8Bit(argv[1])).convertToFormat(QImage::Format_ARGB32_Premultiplied);
  if (image.isNull()) {
    std::fprintf(stderr, "%s: cannot read %s\n", argv[0], argv[1]);
    return 1;
  }
  QFile baked(QString::fromLocal8Bit(argv[2]));
  if (!baked.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
    std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[2]);
    return 1;
  }
  const std::uint32_t size[2] = {static_cast<std::uint32_t>(image.width()),
                                 static_cast<std::uint32_t>(image.height())};
  const qsizetype row_bytes = static_cast<qsizetype>(image.width()) * 4;
  bool written = baked.write("QUPI", 4) == 4 &&
                 baked.write(reinterpret_cast<const char*>(size), sizeof size) == sizeof size;
  for (int y = 0; written && y < image.height(); ++y) {
    written =
        baked.write(reinterpret_cast<const char*>(image.constScanLine(y)), row_bytes) == row_bytes;
  }
  if (!written || !baked.flush()) {
    std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[2]);
    return 1;
  }
  return 0;
}
