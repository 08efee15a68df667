// SPDX-License-Identifier: MIT
// A static text control: tab characters expand into columns and line feeds break lines.
#ifndef QUP_UI_PLATFORM_QT_WIDGETS_STATIC_TEXT_H
#define QUP_UI_PLATFORM_QT_WIDGETS_STATIC_TEXT_H

#include <QLabel>
#include <QString>

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

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QString text_;
  int tab_stop_pixels_;
  bool show_prefix_;
};

}  // namespace qup::ui

#endif  // QUP_UI_PLATFORM_QT_WIDGETS_STATIC_TEXT_H
