// SPDX-License-Identifier: MIT
// Tells screen readers of changes away from the keyboard focus: a notification they speak.
#include "ui/platform/qt/accessibility/announcer.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QTimer>

namespace qup::ui {

namespace {

class AnnouncerAccessible : public QAccessibleWidget {
 public:
  explicit AnnouncerAccessible(Announcer* announcer)
      : QAccessibleWidget(announcer, QAccessible::Notification) {}

  QString text(QAccessible::Text kind) const override {
    if (kind == QAccessible::Name) return static_cast<const Announcer*>(widget())->Told();
    return {};
  }
};

QAccessibleInterface* AnnouncerFactory(const QString& class_name, QObject* object) {
  if (object && object->isWidgetType() &&
      class_name == QLatin1String(Announcer::staticMetaObject.className())) {
    return new AnnouncerAccessible(static_cast<Announcer*>(object));
  }
  return nullptr;
}

}  // namespace

Announcer::Announcer(QWidget* window) : QWidget(window) {
  setObjectName(QStringLiteral("announcer"));
  setFocusPolicy(Qt::NoFocus);
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setGeometry(0, 0, 0, 0);
  hide();
}

void Announcer::Tell(const QString& words) {
  if (words.trimmed().isEmpty() || !QAccessible::isActive() || !window()->isVisible()) return;
  if (pending_.isEmpty()) QTimer::singleShot(0, this, &Announcer::Flush);
  pending_.append(words.trimmed());
}

void Announcer::Flush() {
  if (pending_.isEmpty()) return;
  told_ = pending_.join(QStringLiteral(". "));
  pending_.clear();
  // The new name first, so that a reader that keeps names hears the new one; then the showing
  // that makes it speak.
  QAccessibleEvent renamed(this, QAccessible::NameChanged);
  QAccessible::updateAccessibility(&renamed);
  QAccessibleEvent shown(this, QAccessible::ObjectShow);
  QAccessible::updateAccessibility(&shown);
}

Announcer* Announcer::Of(const QWidget* widget) {
  if (!widget) return nullptr;
  return widget->window()->findChild<Announcer*>(QStringLiteral("announcer"),
                                                 Qt::FindDirectChildrenOnly);
}

void InstallAnnouncerAccessible() {
  static const bool installed = [] {
    QAccessible::installFactory(AnnouncerFactory);
    return true;
  }();
  (void)installed;
}

}  // namespace qup::ui
