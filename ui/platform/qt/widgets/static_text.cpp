// SPDX-License-Identifier: MIT
// A static text control: tab characters expand into columns and line feeds break lines.
#include "ui/platform/qt/widgets/static_text.h"

#include <QAccessible>
#include <QPainter>
#include <QTextOption>

#include "ui/platform/dialog_template.h"
#include "ui/platform/qt/accessibility/accessible_controls.h"

namespace qup::ui {

namespace {

// A single '&' marks the next letter as a mnemonic; the window has no mnemonics to underline
// for static texts, so the marker is dropped and "&&" becomes one '&'.
QString WithoutMnemonicMarkers(const QString& text) {
  QString shown;
  shown.reserve(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] == QLatin1Char('&') && i + 1 < text.size()) ++i;
    shown.append(text[i]);
  }
  return shown;
}

}  // namespace

StaticText::StaticText(QWidget* parent, int tab_stop_pixels, bool show_prefix)
    : QLabel(parent), tab_stop_pixels_(tab_stop_pixels), show_prefix_(show_prefix) {
  setTextFormat(Qt::PlainText);
  // Presses fall through to the dialog, which handles clicks on its background itself.
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setFocusPolicy(Qt::NoFocus);
}

void StaticText::SetText(const QString& text) {
  if (text == text_) return;
  text_ = text;
  const QString before = QLabel::text();
  // The label's own text is what assistive technology reads, and what the painting below
  // draws; setting it schedules the repaint. A label without a name of its own is named by
  // this text, and Qt tells of the new name itself.
  QLabel::setText(show_prefix_ ? WithoutMnemonicMarkers(text) : text);
  if (!QAccessible::isActive() || accessibleName().isEmpty() || before == QLabel::text()) return;
  if (property(kLabelProperty).isValid() &&
      static_cast<LabelUse>(property(kLabelUseProperty).toInt()) == LabelUse::kNamePrefix) {
    // A value beside its label carries it in its name ("Net: $1234.00").
    QAccessibleEvent renamed(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&renamed);
  } else {
    QAccessibleTextUpdateEvent replaced(this, 0, before, QLabel::text());
    QAccessible::updateAccessibility(&replaced);
  }
}

void StaticText::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  painter.setFont(font());
  painter.setPen(
      palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
  QTextOption option(Qt::AlignLeft | Qt::AlignTop);
  option.setWrapMode(QTextOption::WordWrap);
  option.setTabStopDistance(tab_stop_pixels_);
  painter.drawText(QRectF(rect()), QLabel::text(), option);
}

}  // namespace qup::ui
