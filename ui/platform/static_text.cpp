// SPDX-License-Identifier: MIT
// A static text control: tab characters expand into columns and line feeds break lines.
#include "ui/platform/static_text.h"

#include <QPainter>
#include <QTextOption>

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
  text_ = text;
  // The label's own text is what assistive technology reads, and what the painting below
  // draws; setting it schedules the repaint.
  QLabel::setText(show_prefix_ ? WithoutMnemonicMarkers(text) : text);
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
