// SPDX-License-Identifier: MIT
// A static text control: tab characters expand into columns and line feeds break lines.
#include "ui/platform/qt/widgets/static_text.h"

#include <QAccessible>
#include <QEvent>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QPainter>
#include <QTextOption>
#include <algorithm>
#include <cmath>
#include <limits>

#include "ui/platform/dialog_template.h"
#include "ui/platform/qt/accessibility/accessible_controls.h"
#include "ui/platform/qt/accessibility/announcer.h"

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
  layout_.reset();
  if (!QAccessible::isActive() || before == QLabel::text()) return;
  const bool labelled = property(kLabelProperty).isValid();
  const auto use = static_cast<LabelUse>(property(kLabelUseProperty).toInt());
  if (!accessibleName().isEmpty()) {
    if (labelled && use == LabelUse::kNamePrefix) {
      // A value beside its label carries it in its name ("Net: $1234.00").
      QAccessibleEvent renamed(this, QAccessible::NameChanged);
      QAccessible::updateAccessibility(&renamed);
    } else if (labelled && use == LabelUse::kColumnHeads) {
      // A table has cells, not text: its rows are new.
      QAccessibleTableModelChangeEvent reset(this, QAccessibleTableModelChangeEvent::ModelReset);
      QAccessible::updateAccessibility(&reset);
    } else {
      QAccessibleTextUpdateEvent replaced(this, 0, before, QLabel::text());
      QAccessible::updateAccessibility(&replaced);
    }
  }
  // Screen readers speak what changes at the focus only: a text that changes where the user
  // looks, as a result or a new help page, is told. A table is read as a table, when the user
  // goes there.
  if (!isVisible() || (labelled && use == LabelUse::kColumnHeads)) return;
  if (Announcer* announcer = Announcer::Of(this)) {
    const bool prefixed = labelled && use == LabelUse::kNamePrefix && !accessibleName().isEmpty();
    announcer->Tell(prefixed ? accessibleName() + QLatin1Char(' ') + QLabel::text()
                             : QLabel::text());
  }
}

const QTextLayout& StaticText::Layout() const {
  if (layout_) return *layout_;
  // A line feed breaks the line; as a line separator it keeps its place, so offsets hold.
  QString shown = QLabel::text();
  shown.replace(QLatin1Char('\n'), QChar::LineSeparator);
  layout_ = std::make_unique<QTextLayout>(shown, font());
  QTextOption option(Qt::AlignLeft | Qt::AlignTop);
  option.setWrapMode(QTextOption::WordWrap);
  option.setTabStopDistance(tab_stop_pixels_);
  layout_->setTextOption(option);
  layout_->setCacheEnabled(true);
  // Lines one under the other, each on a whole pixel, the font's leading between them.
  const qreal leading = std::max<qreal>(0, QFontMetricsF(font()).leading());
  qreal height = 0;
  layout_->beginLayout();
  for (QTextLine line = layout_->createLine(); line.isValid(); line = layout_->createLine()) {
    line.setLineWidth(width());
    height = std::ceil(height + leading);
    line.setPosition(QPointF(0, height));
    height += line.height();
  }
  layout_->endLayout();
  return *layout_;
}

QRect StaticText::CharacterRect(int offset) const {
  const QTextLayout& layout = Layout();
  if (offset < 0 || offset >= layout.text().size()) return {};
  const QTextLine line = layout.lineForTextPosition(offset);
  if (!line.isValid()) return {};
  const qreal left = line.cursorToX(offset);
  const qreal right = line.cursorToX(offset + 1);
  const QRectF box(std::min(left, right), line.y(), std::max<qreal>(1, std::abs(right - left)),
                   line.height());
  return {mapToGlobal(box.topLeft().toPoint()), box.size().toSize()};
}

int StaticText::OffsetAt(QPoint point) const {
  const QTextLayout& layout = Layout();
  const QPointF local = mapFromGlobal(point);
  for (int index = 0; index < layout.lineCount(); ++index) {
    const QTextLine line = layout.lineAt(index);
    if (local.y() >= line.y() && local.y() < line.y() + line.height() && local.x() >= 0 &&
        local.x() < line.naturalTextWidth()) {
      return line.xToCursor(local.x(), QTextLine::CursorOnCharacter);
    }
  }
  return -1;
}

bool StaticText::LineAt(int offset, int* start, int* end) const {
  const QTextLayout& layout = Layout();
  const QTextLine line =
      layout.lineForTextPosition(std::min(offset, static_cast<int>(layout.text().size())));
  if (offset < 0 || !line.isValid()) return false;
  *start = line.textStart();
  *end = line.textStart() + line.textLength();
  return true;
}

int StaticText::CellCount() const {
  QAccessibleInterface* self = QAccessible::queryAccessibleInterface(const_cast<StaticText*>(this));
  const QAccessibleTableInterface* table = self ? self->tableInterface() : nullptr;
  return table ? table->rowCount() * table->columnCount() : 0;
}

void StaticText::MoveToCell(int row, int column) {
  QAccessibleInterface* self = QAccessible::queryAccessibleInterface(this);
  QAccessibleTableInterface* table = self ? self->tableInterface() : nullptr;
  if (!table || table->rowCount() == 0 || table->columnCount() == 0) return;
  current_row_ = std::clamp(row, 0, table->rowCount() - 1);
  current_column_ = std::clamp(column, 0, table->columnCount() - 1);
  if (!hasFocus() || !QAccessible::isActive()) return;
  QAccessibleEvent focus(this, QAccessible::Focus);
  focus.setChild(current_row_ * table->columnCount() + current_column_);
  QAccessible::updateAccessibility(&focus);
}

void StaticText::TakeFocusAtCell(Qt::FocusReason reason) {
  {
    // Screen readers hear of the cell, not of the table as a whole.
    const AccessibilityMuted muted;
    setFocus(reason);
  }
  MoveToCell(current_row_, current_column_);
}

void StaticText::keyPressEvent(QKeyEvent* event) {
  if (hasFocus() && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier &&
      CellCount() > 0) {
    const int last = std::numeric_limits<int>::max();
    switch (event->key()) {
      case Qt::Key_Up:
        return MoveToCell(current_row_ - 1, current_column_);
      case Qt::Key_Down:
        return MoveToCell(current_row_ + 1, current_column_);
      case Qt::Key_Left:
        return MoveToCell(current_row_, current_column_ - 1);
      case Qt::Key_Right:
        return MoveToCell(current_row_, current_column_ + 1);
      case Qt::Key_Home:
        return MoveToCell(0, current_column_);
      case Qt::Key_End:
        return MoveToCell(last, current_column_);
      default:
        break;
    }
  }
  QLabel::keyPressEvent(event);
}

void StaticText::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  painter.setFont(font());
  painter.setPen(
      palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
  Layout().draw(&painter, QPointF(0, 0));
}

void StaticText::resizeEvent(QResizeEvent* event) {
  layout_.reset();
  QLabel::resizeEvent(event);
}

void StaticText::changeEvent(QEvent* event) {
  if (event->type() == QEvent::FontChange) layout_.reset();
  QLabel::changeEvent(event);
}

}  // namespace qup::ui
