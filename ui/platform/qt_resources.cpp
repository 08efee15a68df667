// SPDX-License-Identifier: MIT
// The program's pictures and icons, compiled in with Qt's resource system, by resource id.
#include "ui/platform/qt_resources.h"

#include <QByteArray>
#include <QImage>
#include <QResource>
#include <QString>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <utility>

#include "ui/platform/dialog_template.h"

namespace qup::ui {

namespace {

struct ResourceFiles {
  int resource;
  std::initializer_list<const char*> files;  // the first is the size drawn in a dialog
};

const ResourceFiles kResources[] = {
    {kLargeIcon,
     {":/qup/icon_large_32.argb", ":/qup/icon_large_48.argb", ":/qup/icon_large_64.argb"}},
    {kSmallIcon, {":/qup/icon_small_16.argb"}},
    {kLogoBitmap, {":/qup/logo.argb"}},
};

const ResourceFiles* Find(int resource) {
  for (const ResourceFiles& entry : kResources) {
    if (entry.resource == resource) return &entry;
  }
  return nullptr;
}

// The pictures are compiled in decoded (resources/bake_image.cpp): reading a PNG would load
// every image format plugin Qt has, and decode, before the first window shows.
QPixmap BakedPixmap(const char* file) {
  const QByteArray baked = QResource(QString::fromLatin1(file)).uncompressedData();
  constexpr qsizetype kHeader = 12;         // "QUPI", width, height
  constexpr std::uint32_t kLargest = 4096;  // keeps the size arithmetic far from overflow
  std::uint32_t size[2] = {0, 0};
  if (baked.size() < kHeader || !baked.startsWith("QUPI")) return {};
  std::memcpy(size, baked.constData() + 4, sizeof size);
  const auto row_bytes = static_cast<qsizetype>(size[0]) * 4;
  if (size[0] == 0 || size[1] == 0 || size[0] > kLargest || size[1] > kLargest ||
      baked.size() != kHeader + row_bytes * size[1]) {
    return {};
  }
  QImage image(static_cast<int>(size[0]), static_cast<int>(size[1]),
               QImage::Format_ARGB32_Premultiplied);
  for (int y = 0; y < image.height(); ++y) {
    std::memcpy(image.scanLine(y), baked.constData() + kHeader + row_bytes * y,
                static_cast<std::size_t>(row_bytes));
  }
  return QPixmap::fromImage(std::move(image));
}

}  // namespace

QPixmap ResourcePixmap(int resource) {
  const ResourceFiles* entry = Find(resource);
  return entry ? BakedPixmap(*entry->files.begin()) : QPixmap();
}

QIcon ResourceIcon(int resource) {
  QIcon icon;
  if (const ResourceFiles* entry = Find(resource)) {
    for (const char* file : entry->files) icon.addPixmap(BakedPixmap(file));
  }
  return icon;
}

}  // namespace qup::ui
