// SPDX-License-Identifier: MIT
// The program's pictures and icons, compiled in with Qt's resource system, by resource id.
#include "ui/platform/qt_resources.h"

#include <QString>
#include <initializer_list>

#include "ui/platform/dialog_template.h"

namespace qup::ui {

namespace {

struct ResourceFiles {
  int resource;
  std::initializer_list<const char*> files;  // the first is the size drawn in a dialog
};

const ResourceFiles kResources[] = {
    {kLargeIcon, {":/qup/icon_large_32.png", ":/qup/icon_large_48.png", ":/qup/icon_large_64.png"}},
    {kSmallIcon, {":/qup/icon_small_16.png"}},
    {kLogoBitmap, {":/qup/logo.png"}},
};

const ResourceFiles* Find(int resource) {
  for (const ResourceFiles& entry : kResources) {
    if (entry.resource == resource) return &entry;
  }
  return nullptr;
}

}  // namespace

QPixmap ResourcePixmap(int resource) {
  const ResourceFiles* entry = Find(resource);
  return entry ? QPixmap(QString::fromLatin1(*entry->files.begin())) : QPixmap();
}

QIcon ResourceIcon(int resource) {
  QIcon icon;
  if (const ResourceFiles* entry = Find(resource)) {
    for (const char* file : entry->files) icon.addFile(QString::fromLatin1(file));
  }
  return icon;
}

}  // namespace qup::ui
