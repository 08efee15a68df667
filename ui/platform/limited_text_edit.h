// SPDX-License-Identifier: MIT
// A multi-line edit with a text limit in which a line break counts as two characters.
#ifndef QUP_UI_PLATFORM_LIMITED_TEXT_EDIT_H
#define QUP_UI_PLATFORM_LIMITED_TEXT_EDIT_H

#include <QPlainTextEdit>
#include <QString>

namespace qup::ui {

class LimitedTextEdit : public QPlainTextEdit {
  Q_OBJECT

 public:
  explicit LimitedTextEdit(QWidget* parent);

  // 0 lifts the limit. Text put in by SetText is not held to it, only what the user adds.
  void SetLimit(int max_chars) { limit_ = max_chars; }

  // Line breaks are carriage return and line feed, as the logic stores them.
  void SetText(const QString& text);
  QString Text() const;

  // Characters as the limit counts them: a line break is two.
  static qsizetype CountedLength(const QString& text);

 signals:
  // The user tried to add text beyond the limit; what fits was taken.
  void limitReached();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void insertFromMimeData(const QMimeData* source) override;

 private:
  // How many counted characters the user may still add in place of the selection.
  qsizetype Room() const;

  int limit_ = 0;
};

}  // namespace qup::ui

#endif  // QUP_UI_PLATFORM_LIMITED_TEXT_EDIT_H
