// SPDX-License-Identifier: MIT
// A multi-line edit with a text limit in which a line break counts as two characters.
#ifndef QUP_UI_PLATFORM_QT_WIDGETS_LIMITED_TEXT_EDIT_H
#define QUP_UI_PLATFORM_QT_WIDGETS_LIMITED_TEXT_EDIT_H

#include <QPlainTextEdit>
#include <QString>
#include <cstddef>

#include "ui/platform/control_rules.h"

namespace qup::ui {

class LimitedTextEdit : public QPlainTextEdit {
  Q_OBJECT

 public:
  explicit LimitedTextEdit(QWidget* parent);

  // In characters as CountedLength counts them; kNoTextLimit for none. Text put in by SetText
  // is not held to it, only what the user adds.
  void SetLimit(std::size_t max_chars) { limit_ = max_chars; }

  // Line breaks are carriage return and line feed, as the logic stores them.
  void SetText(const QString& text);
  QString Text() const;

 signals:
  // The user tried to add text beyond the limit; what fits was taken.
  void limitReached();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void insertFromMimeData(const QMimeData* source) override;

 private:
  // How many counted characters the user may still add in place of the selection.
  std::size_t Room() const;

  std::size_t limit_ = kDefaultTextLimit;
};

}  // namespace qup::ui

#endif  // QUP_UI_PLATFORM_QT_WIDGETS_LIMITED_TEXT_EDIT_H
