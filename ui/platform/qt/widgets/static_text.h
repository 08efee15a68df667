// SPDX-License-Identifier: MIT
// A static text control: tab characters expand into columns and line feeds break lines.
#ifndef QUP_UI_PLATFORM_QT_WIDGETS_STATIC_TEXT_H
#define QUP_UI_PLATFORM_QT_WIDGETS_STATIC_TEXT_H

#include <QLabel>
#include <QRect>
#include <QString>
#include <QTextLayout>
#include <memory>

namespace qup::ui {

// A label to screen readers, which read its text (without mnemonic markers) unless the window
// gives it a name of its own; drawn by itself, with tab columns on the dialog's grid.
class StaticText : public QLabel {
  Q_OBJECT

 public:
  // Tab stops fall every tab_stop_pixels from the left edge; a text shows '&' as it is only
  // when show_prefix is false, otherwise '&' marks a mnemonic and "&&" stands for '&'.
  StaticText(QWidget* parent, int tab_stop_pixels, bool show_prefix);

  // A text that does not change the words tells screen readers nothing; one that does tells
  // them once (see accessible_controls.h for what they read).
  void SetText(const QString& text);
  const QString& Text() const { return text_; }

  // Where the words stand as painted, offsets counted in the shown text (see text()): a
  // character's box, a point's character (-1 for none), and the shown line holding an offset
  // as [start, end), its line feed included. Screen readers place text by these, so a text
  // they cannot place is one they do not read.
  QRect CharacterRect(int offset) const;
  int OffsetAt(QPoint point) const;
  bool LineAt(int offset, int* start, int* end) const;

  // A text read as a table (see accessible_controls.h) has a current cell, which a screen
  // reader user reaches with Tab and moves with the arrow keys, Home and End: the focus is on
  // the text and screen readers hear of the cell. CellCount is 0 for a text that is no table.
  int CellCount() const;
  int CurrentRow() const { return current_row_; }
  int CurrentColumn() const { return current_column_; }
  void TakeFocusAtCell(Qt::FocusReason reason);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  // The shown text laid out in lines as painted, made when first needed after a change.
  const QTextLayout& Layout() const;
  // Makes row, column (kept within the table) the current cell and tells screen readers.
  void MoveToCell(int row, int column);

  QString text_;
  mutable std::unique_ptr<QTextLayout> layout_;
  int tab_stop_pixels_;
  bool show_prefix_;
  int current_row_ = 0;
  int current_column_ = 0;
};

}  // namespace qup::ui

#endif  // QUP_UI_PLATFORM_QT_WIDGETS_STATIC_TEXT_H
