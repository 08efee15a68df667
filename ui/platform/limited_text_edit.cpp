// SPDX-License-Identifier: MIT
// A multi-line edit with a text limit in which a line break counts as two characters.
#include "ui/platform/limited_text_edit.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QTextCursor>
#include <QTextDocumentFragment>
#include <limits>

namespace qup::ui {

namespace {

QString WithLineFeeds(QString text) {
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return text;
}

}  // namespace

LimitedTextEdit::LimitedTextEdit(QWidget* parent) : QPlainTextEdit(parent) {
  // Tab moves on to the next control, as everywhere else in the dialog.
  setTabChangesFocus(true);
  setLineWrapMode(QPlainTextEdit::WidgetWidth);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

void LimitedTextEdit::SetText(const QString& text) { setPlainText(WithLineFeeds(text)); }

QString LimitedTextEdit::Text() const {
  return toPlainText().replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
}

qsizetype LimitedTextEdit::CountedLength(const QString& text) {
  return text.size() + text.count(QLatin1Char('\n'));
}

qsizetype LimitedTextEdit::Room() const {
  if (limit_ <= 0) return std::numeric_limits<qsizetype>::max();
  const QString selected = textCursor().selection().toPlainText();
  const qsizetype kept = CountedLength(toPlainText()) - CountedLength(selected);
  return std::max<qsizetype>(0, limit_ - kept);
}

void LimitedTextEdit::keyPressEvent(QKeyEvent* event) {
  const bool is_enter = (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
                        !(event->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier));
  const QString typed = event->text();
  const bool adds_text = is_enter || (!typed.isEmpty() && typed[0].isPrint() &&
                                      !(event->modifiers() & Qt::ControlModifier));
  if (adds_text) {
    const QString added = is_enter ? QStringLiteral("\n") : typed;
    if (CountedLength(added) > Room()) {
      event->accept();
      emit limitReached();
      return;
    }
    if (is_enter) {
      // A plain line break, whatever the modifiers: the box holds no other kind.
      textCursor().insertText(added);
      ensureCursorVisible();
      event->accept();
      return;
    }
  }
  QPlainTextEdit::keyPressEvent(event);
}

void LimitedTextEdit::insertFromMimeData(const QMimeData* source) {
  if (!source->hasText()) return;
  const QString pasted = WithLineFeeds(source->text());
  const qsizetype room = Room();
  QString taken;
  qsizetype counted = 0;
  for (const QChar c : pasted) {
    const qsizetype width = c == QLatin1Char('\n') ? 2 : 1;
    if (counted + width > room) break;
    counted += width;
    taken.append(c);
  }
  textCursor().insertText(taken);
  ensureCursorVisible();
  if (taken.size() < pasted.size()) emit limitReached();
}

}  // namespace qup::ui
