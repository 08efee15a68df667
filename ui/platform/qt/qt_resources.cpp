// SPDX-License-Identifier: MIT
// The program's pictures and icons, compiled in with Qt's resource system, by resource id.
#include "ui/platform/qt/qt_resources.h"

#include <QByteArray>
#include <QImage>
#include <QResource>
#include <QString>
#include <cstdint>
#include <cstring>
#include <initializer_list>

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
// every image format plugin Qt has, and decode, before the first window shows. They are also
// compiled in uncompressed, so that a picture can use its pixels where they lie in the
// program's read-only data: no copy is made, and none of their pages is touched before the
// picture is first drawn.
QPixmap BakedPixmap(const char* file) {
  const QResource resource(QString::fromLatin1(file));
  const QByteArray baked = resource.uncompressedData();  // uncompressed: no copy either
  constexpr qsizetype kHeader = 12;                      // "QUPI", width, height
  constexpr std::uint32_t kLargest = 4096;  // keeps the size arithmetic far from overflow
  std::uint32_t size[2] = {0, 0};
  if (baked.size() < kHeader || !baked.startsWith("QUPI")) return {};
  std::memcpy(size, baked.constData() + 4, sizeof size);
  const auto row_bytes = static_cast<qsizetype>(size[0]) * 4;
  if (size[0] == 0 || size[1] == 0 || size[0] > kLargest || size[1] > kLargest ||
      baked.size() != kHeader + row_bytes * size[1]) {
    return {};
  }
  const auto* pixels = reinterpret_cast<const uchar*>(baked.constData() + kHeader);
  const QImage in_place(pixels, static_cast<int>(size[0]), static_cast<int>(size[1]), row_bytes,
                        QImage::Format_ARGB32_Premultiplied);
  // Qt reads the pixels as 32-bit words; where the data is compressed, or not so aligned, the
  // picture gets a copy of its own.
  const bool lasting = resource.compressionAlgorithm() == QResource::NoCompression &&
                       reinterpret_cast<std::uintptr_t>(pixels) % alignof(std::uint32_t) == 0;
  return QPixmap::fromImage(lasting ? in_place : in_place.copy());
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
