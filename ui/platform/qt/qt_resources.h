// SPDX-License-Identifier: MIT
// The program's pictures and icons, compiled in with Qt's resource system, by resource id.
#ifndef QUP_UI_PLATFORM_QT_QT_RESOURCES_H
#define QUP_UI_PLATFORM_QT_QT_RESOURCES_H

#include <QIcon>
#include <QPixmap>

namespace qup::ui {

// A picture by its resource id; a null pixmap for an unknown id.
QPixmap ResourcePixmap(int resource);
// An icon by its resource id, with every size drawn for it; a null icon for an unknown id.
QIcon ResourceIcon(int resource);

}  // namespace qup::ui

#endif  // QUP_UI_PLATFORM_QT_QT_RESOURCES_H
