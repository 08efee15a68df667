// SPDX-License-Identifier: MIT
// A radio button whose text stands left of its indicator, both inside its own rectangle.
#include "ui/platform/qt/widgets/text_left_radio.h"

#include <QStyleOptionButton>
#include <QStylePainter>
#include <algorithm>

namespace qup::ui {

TextLeftRadio::TextLeftRadio(const QString& text, QWidget* parent) : QRadioButton(text, parent) {}

QRect TextLeftRadio::IndicatorRect() const {
  QStyleOptionButton option;
  initStyleOption(&option);
  const int width = style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, &option, this);
  const int height = style()->pixelMetric(QStyle::PM_ExclusiveIndicatorHeight, &option, this);
  return {rect().right() + 1 - width, (rect().height() - height) / 2, width, height};
}

void TextLeftRadio::paintEvent(QPaintEvent* /*event*/) {
  QStylePainter painter(this);
  QStyleOptionButton option;
  initStyleOption(&option);

  QStyleOptionButton indicator = option;
  indicator.rect = IndicatorRect();
  painter.drawPrimitive(QStyle::PE_IndicatorRadioButton, indicator);

  const int room = indicator.rect.left();
  const int text_width = option.fontMetrics.horizontalAdvance(text());
  const int spacing =
      std::clamp(room - text_width, 0,
                 style()->pixelMetric(QStyle::PM_RadioButtonLabelSpacing, &option, this));
  const QRect text_rect(0, 0, room - spacing, height());
  painter.drawItemText(text_rect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic,
                       option.palette, isEnabled(), text(), QPalette::WindowText);
  if (hasFocus()) {
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    focus.rect = painter.boundingRect(text_rect, Qt::AlignLeft | Qt::AlignVCenter, text())
                     .adjusted(-1, 0, 1, 0);
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
  }
}

bool TextLeftRadio::hitButton(const QPoint& pos) const { return rect().contains(pos); }

}  // namespace qup::ui
