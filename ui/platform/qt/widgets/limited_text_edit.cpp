// SPDX-License-Identifier: MIT
// A multi-line edit with a text limit in which a line break counts as two characters.
#include "ui/platform/qt/widgets/limited_text_edit.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>

namespace qup::ui {

namespace {

QString WithLineFeeds(QString text) {
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return text;
}

// The units of a text for the limit's rules.
std::u16string_view Counted(const QString& text) {
  return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())};
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
  // The document's own characters: toPlainText() would hand a no-break space back as a plain
  // space. Each of the box's line breaks (a paragraph separator inside the document) and a
  // line separator that came in with pasted text, which the box shows as a line break too
  // and the limit counts as one, go out as CR LF.
  const QString raw = document()->toRawText();
  QString text;
  text.reserve(raw.size());
  for (const QChar c : raw) {
    if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator || c == QLatin1Char('\n')) {
      text += QStringLiteral("\r\n");
    } else {
      text += c;
    }
  }
  return text;
}

std::size_t LimitedTextEdit::Room() const {
  const std::size_t held = CountedLength(Counted(toPlainText()));
  const std::size_t selected = CountedLength(Counted(textCursor().selection().toPlainText()));
  const std::size_t kept = held - selected;
  return limit_ > kept ? limit_ - kept : 0;
}

void LimitedTextEdit::keyPressEvent(QKeyEvent* event) {
  const bool is_enter = (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
                        !(event->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier));
  const QString typed = event->text();
  // A character beyond the 16-bit range arrives as a surrogate pair, which is no printable
  // QChar on its own, and is held to the limit all the same.
  const bool adds_text =
      is_enter || (!typed.isEmpty() && (typed[0].isPrint() || typed[0].isHighSurrogate()) &&
                   !(event->modifiers() & Qt::ControlModifier));
  if (adds_text) {
    const QString added = is_enter ? QStringLiteral("\n") : typed;
    if (CountedLength(Counted(added)) > Room()) {
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
  // Never half a character nor half a line break.
  const QString taken =
      pasted.first(static_cast<qsizetype>(FittingPrefix(Counted(pasted), Room())));
  textCursor().insertText(taken);
  ensureCursorVisible();
  if (taken.size() < pasted.size()) emit limitReached();
}

}  // namespace qup::ui
