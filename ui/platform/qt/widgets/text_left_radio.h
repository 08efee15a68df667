// SPDX-License-Identifier: MIT
// A radio button whose text stands left of its indicator, both inside its own rectangle.
#ifndef QUP_UI_PLATFORM_QT_WIDGETS_TEXT_LEFT_RADIO_H
#define QUP_UI_PLATFORM_QT_WIDGETS_TEXT_LEFT_RADIO_H

#include <QRadioButton>
#include <QString>

namespace qup::ui {

// The style's own right-to-left layout keeps its full label spacing and clips the text of a
// narrow button; this one draws the indicator at the right edge and gives the text the rest,
// with no more spacing than fits. The whole rectangle takes the click.
class TextLeftRadio : public QRadioButton {
 public:
  TextLeftRadio(const QString& text, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;
  bool hitButton(const QPoint& pos) const override;

 private:
  QRect IndicatorRect() const;
};

}  // namespace qup::ui

#endif  // QUP_UI_PLATFORM_QT_WIDGETS_TEXT_LEFT_RADIO_H
