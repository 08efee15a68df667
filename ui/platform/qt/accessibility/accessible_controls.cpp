// SPDX-License-Identifier: MIT
// What screen readers get from the window's controls where Qt's own accessible interfaces fall
// short: readable static texts and tables, combo boxes and radio buttons known by their labels.
#include "ui/platform/qt/accessibility/accessible_controls.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QRadioButton>
#include <QTabBar>
#include <algorithm>
#include <map>
#include <utility>

#include "ui/platform/dialog_template.h"
#include "ui/platform/qt/accessibility/accessible_tab_bar.h"
#include "ui/platform/qt/accessibility/announcer.h"
#include "ui/platform/qt/widgets/static_text.h"

namespace qup::ui {

namespace {

using Relations = QList<QPair<QAccessibleInterface*, QAccessible::Relation>>;

LabelUse UseOf(const QWidget* control) {
  return static_cast<LabelUse>(control->property(kLabelUseProperty).toInt());
}

bool HasLabel(const QWidget* control) { return control->property(kLabelProperty).isValid(); }

// Qt finds a control's label only among labels whose buddy it is; one label names several
// controls here (a row's box, buttons and period), so every control names its own.
Relations WithOwnLabel(Relations relations, const QWidget* control, QAccessible::Relation match) {
  relations.removeIf([](const auto& relation) { return relation.second == QAccessible::Label; });
  if (match & QAccessible::Label) {
    if (QWidget* label = LabelOf(control)) {
      relations.append({QAccessible::queryAccessibleInterface(label), QAccessible::Label});
    }
  }
  return relations;
}

QList<QWidget*> ControlsLabelledBy(const QWidget* label) {
  QList<QWidget*> controls;
  bool is_control = false;
  const int id = label->objectName().toInt(&is_control);
  if (!is_control || !label->parentWidget()) return controls;
  for (QObject* sibling : label->parentWidget()->children()) {
    auto* widget = qobject_cast<QWidget*>(sibling);
    if (widget && widget != label && widget->property(kLabelProperty).toInt() == id) {
      controls.append(widget);
    }
  }
  return controls;
}

class StaticTextAccessible;

// One cell of a static text read as a table; row -1 holds the column heads.
class TableCell : public QAccessibleInterface, public QAccessibleTableCellInterface {
 public:
  TableCell(const StaticTextAccessible* table, int row, int column)
      : table_(table), row_(row), column_(column) {}

  bool isValid() const override;
  QObject* object() const override { return nullptr; }
  QWindow* window() const override;
  QAccessibleInterface* parent() const override;
  QAccessibleInterface* child(int /*index*/) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface* /*child*/) const override { return -1; }
  QAccessibleInterface* childAt(int /*x*/, int /*y*/) const override { return nullptr; }
  QString text(QAccessible::Text kind) const override;
  void setText(QAccessible::Text /*kind*/, const QString& /*text*/) override {}
  QRect rect() const override;
  QAccessible::Role role() const override {
    return row_ < 0 ? QAccessible::ColumnHeader : QAccessible::Cell;
  }
  QAccessible::State state() const override;
  void* interface_cast(QAccessible::InterfaceType type) override {
    return type == QAccessible::TableCellInterface
               ? static_cast<QAccessibleTableCellInterface*>(this)
               : nullptr;
  }

  bool isSelected() const override { return false; }
  QList<QAccessibleInterface*> columnHeaderCells() const override;
  QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
  int columnIndex() const override { return column_; }
  int rowIndex() const override { return row_ < 0 ? 0 : row_; }
  int columnExtent() const override { return 1; }
  int rowExtent() const override { return 1; }
  QAccessibleInterface* table() const override;

 private:
  const StaticTextAccessible* table_;  // outlives the cell: it deletes its cells
  int row_;
  int column_;
};

// A static text: its words through the Text interface, its label as a relation, and, for a
// value beside its label, the label and the value as its name ("Net: $1234.00"). A text whose
// label holds column heads separated by tabs is a table as well: a row a line, a cell a
// tab-separated part.
class StaticTextAccessible : public QAccessibleWidget,
                             public QAccessibleTextInterface,
                             public QAccessibleTableInterface {
 public:
  explicit StaticTextAccessible(StaticText* text) : QAccessibleWidget(text) {}
  ~StaticTextAccessible() override {
    for (const auto& [place, id] : cells_) QAccessible::deleteAccessibleInterface(id);
  }
  StaticTextAccessible(const StaticTextAccessible&) = delete;
  StaticTextAccessible& operator=(const StaticTextAccessible&) = delete;

  bool IsTable() const { return UseOf(widget()) == LabelUse::kColumnHeads && HasLabel(widget()); }
  const StaticText* Text() const { return static_cast<const StaticText*>(widget()); }
  QString Shown() const { return Text()->text(); }

  QAccessible::Role role() const override {
    return IsTable() ? QAccessible::Table : QAccessible::StaticText;
  }

  // A table takes the focus for screen reader users; the focus is then on its current cell.
  QAccessible::State state() const override {
    QAccessible::State state = QAccessibleWidget::state();
    if (IsTable()) state.focusable = true;
    return state;
  }
  QAccessibleInterface* focusChild() const override {
    if (!IsTable() || !widget()->hasFocus() || rowCount() == 0 || columnCount() == 0) {
      return nullptr;
    }
    return Cell(CurrentRow(), CurrentColumn());
  }
  int CurrentRow() const { return std::min(Text()->CurrentRow(), rowCount() - 1); }
  int CurrentColumn() const { return std::min(Text()->CurrentColumn(), columnCount() - 1); }

  QString text(QAccessible::Text kind) const override {
    if (kind == QAccessible::Value) return Shown();
    if (kind != QAccessible::Name) return QAccessibleWidget::text(kind);
    QString name = widget()->accessibleName();
    if (name.isEmpty()) return Shown();
    if (HasLabel(widget()) && UseOf(widget()) == LabelUse::kNamePrefix && !Shown().isEmpty()) {
      name += QLatin1Char(' ') + Shown();
    }
    return name;
  }

  Relations relations(QAccessible::Relation match) const override {
    Relations found = WithOwnLabel(QAccessibleWidget::relations(match), widget(), match);
    if (match & QAccessible::Labelled) {
      for (QWidget* control : ControlsLabelledBy(widget())) {
        found.append({QAccessible::queryAccessibleInterface(control), QAccessible::Labelled});
      }
    }
    return found;
  }

  void* interface_cast(QAccessible::InterfaceType type) override {
    // A table is read by its cells; as text as well, flat review would read it twice.
    if (type == QAccessible::TextInterface) {
      return IsTable() ? nullptr : static_cast<QAccessibleTextInterface*>(this);
    }
    if (type == QAccessible::TableInterface && IsTable()) {
      return static_cast<QAccessibleTableInterface*>(this);
    }
    return QAccessibleWidget::interface_cast(type);
  }

  int childCount() const override { return IsTable() ? rowCount() * columnCount() : 0; }
  QAccessibleInterface* child(int index) const override {
    const int columns = columnCount();
    if (!IsTable() || columns == 0 || index < 0 || index >= childCount()) return nullptr;
    return Cell(index / columns, index % columns);
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    for (const auto& [place, id] : cells_) {
      if (QAccessible::accessibleInterface(id) == child && place.first >= 0) {
        return place.first * columnCount() + place.second;
      }
    }
    return -1;
  }
  QAccessibleInterface* childAt(int /*x*/, int /*y*/) const override { return nullptr; }

  // Text.
  void selection(int /*selectionIndex*/, int* startOffset, int* endOffset) const override {
    *startOffset = 0;
    *endOffset = 0;
  }
  int selectionCount() const override { return 0; }
  void addSelection(int /*startOffset*/, int /*endOffset*/) override {}
  void removeSelection(int /*selectionIndex*/) override {}
  void setSelection(int /*selectionIndex*/, int /*startOffset*/, int /*endOffset*/) override {}
  int cursorPosition() const override { return 0; }
  void setCursorPosition(int /*position*/) override {}
  QString text(int startOffset, int endOffset) const override {
    const QString shown = Shown();
    const qsizetype end = endOffset < 0 || endOffset > shown.size() ? shown.size() : endOffset;
    const qsizetype start = startOffset < 0 ? 0 : startOffset;
    return start >= end ? QString() : shown.mid(start, end - start);
  }
  int characterCount() const override { return static_cast<int>(Shown().size()); }
  QRect characterRect(int offset) const override { return Text()->CharacterRect(offset); }
  int offsetAtPoint(const QPoint& point) const override { return Text()->OffsetAt(point); }
  // A line is a line as shown, wrapped or broken; the other boundaries are Qt's own.
  QString textAtOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                       int* endOffset) const override {
    if (boundary != QAccessible::LineBoundary) {
      return QAccessibleTextInterface::textAtOffset(offset, boundary, startOffset, endOffset);
    }
    return Line(offset, 0, startOffset, endOffset);
  }
  QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                           int* endOffset) const override {
    if (boundary != QAccessible::LineBoundary) {
      return QAccessibleTextInterface::textBeforeOffset(offset, boundary, startOffset, endOffset);
    }
    return Line(offset, -1, startOffset, endOffset);
  }
  QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                          int* endOffset) const override {
    if (boundary != QAccessible::LineBoundary) {
      return QAccessibleTextInterface::textAfterOffset(offset, boundary, startOffset, endOffset);
    }
    return Line(offset, 1, startOffset, endOffset);
  }
  void scrollToSubstring(int /*startIndex*/, int /*endIndex*/) override {}
  QString attributes(int /*offset*/, int* startOffset, int* endOffset) const override {
    *startOffset = 0;
    *endOffset = characterCount();
    return {};
  }

  // Table.
  QAccessibleInterface* caption() const override { return nullptr; }
  QAccessibleInterface* summary() const override { return nullptr; }
  QAccessibleInterface* cellAt(int row, int column) const override {
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount()) return nullptr;
    return Cell(row, column);
  }
  int selectedCellCount() const override { return 0; }
  QList<QAccessibleInterface*> selectedCells() const override { return {}; }
  QString columnDescription(int column) const override { return CellText(-1, column); }
  QString rowDescription(int /*row*/) const override { return {}; }
  int selectedColumnCount() const override { return 0; }
  int selectedRowCount() const override { return 0; }
  int columnCount() const override { return static_cast<int>(Heads().size()); }
  int rowCount() const override { return static_cast<int>(Rows().size()); }
  QList<int> selectedColumns() const override { return {}; }
  QList<int> selectedRows() const override { return {}; }
  bool isColumnSelected(int /*column*/) const override { return false; }
  bool isRowSelected(int /*row*/) const override { return false; }
  bool selectRow(int /*row*/) override { return false; }
  bool selectColumn(int /*column*/) override { return false; }
  bool unselectRow(int /*row*/) override { return false; }
  bool unselectColumn(int /*column*/) override { return false; }
  void modelChange(QAccessibleTableModelChangeEvent* /*event*/) override {}

  QString CellText(int row, int column) const {
    return (row < 0 ? Heads() : Rows().value(row)).value(column);
  }
  QRect CellRect(int row, int column) const {
    const QWidget* area = row < 0 ? LabelOf(widget()) : widget();
    const int columns = columnCount();
    if (!area || columns == 0) return {};
    const int line = area->fontMetrics().lineSpacing();
    const int width = area->width() / columns;
    const QPoint corner = area->mapToGlobal(QPoint(column * width, row < 0 ? 0 : row * line));
    return {corner, QSize(width, line)};
  }
  QAccessibleInterface* Cell(int row, int column) const {
    const auto found = cells_.find({row, column});
    if (found != cells_.end()) return QAccessible::accessibleInterface(found->second);
    auto* cell = new TableCell(this, row, column);
    cells_.emplace(std::pair{row, column}, QAccessible::registerAccessibleInterface(cell));
    return cell;
  }

 private:
  QStringList Heads() const {
    return widget()
        ->property(kLabelCaptionProperty)
        .toString()
        .split(QLatin1Char('\t'), Qt::SkipEmptyParts);
  }
  QList<QStringList> Rows() const {
    QList<QStringList> rows;
    for (const QString& line : Shown().split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
      rows.append(line.split(QLatin1Char('\t'), Qt::SkipEmptyParts));
    }
    return rows;
  }

  // The shown line step lines from the one holding offset (-1 the one before, 1 the one
  // after), or an empty text at offsets -1 when there is none.
  QString Line(int offset, int step, int* startOffset, int* endOffset) const {
    const int count = characterCount();
    if (offset == -1) offset = count;
    int start = -1;
    int end = -1;
    if (offset < 0 || offset > count || !Text()->LineAt(offset, &start, &end)) {
      *startOffset = *endOffset = -1;
      return {};
    }
    if (step < 0 && (start == 0 || !Text()->LineAt(start - 1, &start, &end))) start = end = -1;
    if (step > 0 && (end >= count || !Text()->LineAt(end, &start, &end))) start = end = -1;
    *startOffset = start;
    *endOffset = end;
    return start < 0 ? QString() : Shown().mid(start, end - start);
  }

  // Made when first asked for, and kept (registered with Qt) until the text goes.
  mutable std::map<std::pair<int, int>, QAccessible::Id> cells_;
};

bool TableCell::isValid() const {
  return table_->isValid() && column_ < table_->columnCount() &&
         (row_ < 0 || row_ < table_->rowCount());
}
QWindow* TableCell::window() const { return table_->window(); }
QAccessibleInterface* TableCell::parent() const {
  return const_cast<StaticTextAccessible*>(table_);
}
QString TableCell::text(QAccessible::Text kind) const {
  return kind == QAccessible::Name ? table_->CellText(row_, column_) : QString();
}
QRect TableCell::rect() const { return table_->CellRect(row_, column_); }
QAccessible::State TableCell::state() const {
  QAccessible::State state;
  state.readOnly = true;
  state.focusable = row_ >= 0;
  state.focused = row_ >= 0 && table_->Text()->hasFocus() && row_ == table_->CurrentRow() &&
                  column_ == table_->CurrentColumn();
  const QAccessible::State table_state = table_->state();
  state.invisible = table_state.invisible;
  state.offscreen = table_state.offscreen;
  return state;
}
QList<QAccessibleInterface*> TableCell::columnHeaderCells() const {
  if (row_ < 0) return {};
  return {table_->Cell(-1, column_)};
}
QAccessibleInterface* TableCell::table() const { return parent(); }

// A combo box named by its label and what it shows ("Health period yearly", "Hours #: 2080"):
// screen readers speak a box's name on focus but not its value, and flat review reads a box by
// its name alone. What it shows is its value too. Its children, as in Qt's own: the drop-down
// list, then the edit field of an editable box.
class ComboAccessible : public QAccessibleWidget {
 public:
  explicit ComboAccessible(QComboBox* combo) : QAccessibleWidget(combo, QAccessible::ComboBox) {}

  QComboBox* Combo() const { return static_cast<QComboBox*>(widget()); }

  QString text(QAccessible::Text kind) const override {
    if (kind == QAccessible::Value) return Combo()->currentText();
    if (kind == QAccessible::Name) {
      QString name = widget()->accessibleName();
      if (name.isEmpty()) return Combo()->currentText();
      if (Combo()->currentText().isEmpty()) return name;
      return name + QLatin1Char(' ') + Combo()->currentText();
    }
    return QAccessibleWidget::text(kind);
  }

  int childCount() const override { return Combo()->isEditable() ? 2 : 1; }
  QAccessibleInterface* child(int index) const override {
    if (index == 0) return QAccessible::queryAccessibleInterface(Combo()->view());
    if (index == 1 && Combo()->isEditable()) {
      return QAccessible::queryAccessibleInterface(Combo()->lineEdit());
    }
    return nullptr;
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    if (!child) return -1;
    if (child->object() == Combo()->view()) return 0;
    if (Combo()->isEditable() && child->object() == Combo()->lineEdit()) return 1;
    return -1;
  }
  QAccessibleInterface* focusChild() const override {
    return Combo()->isEditable() ? child(1) : nullptr;
  }

  QAccessible::State state() const override {
    QAccessible::State state = QAccessibleWidget::state();
    state.expandable = true;
    state.expanded = Combo()->view()->isVisible();
    state.editable = Combo()->isEditable();
    return state;
  }

  QStringList actionNames() const override { return {showMenuAction(), pressAction()}; }
  void doAction(const QString& actionName) override {
    if (!Combo()->isEnabled()) return;
    if (actionName == showMenuAction() || actionName == pressAction()) {
      if (Combo()->view()->isVisible()) {
        Combo()->hidePopup();
      } else {
        Combo()->showPopup();
      }
      return;
    }
    QAccessibleWidget::doAction(actionName);
  }

  // A drop list's name says all its label says; as its label, the label would be spoken in
  // place of the name.
  Relations relations(QAccessible::Relation match) const override {
    if (Combo()->isEditable()) {
      return WithOwnLabel(QAccessibleWidget::relations(match), widget(), match);
    }
    return WithOwnLabel(QAccessibleWidget::relations(match), widget(), QAccessible::Relation{});
  }
};

// A radio button named for its row, whose action is a click: the program hears of it as it
// hears of the mouse (Qt's own toggles the button behind the program's back).
class RadioAccessible : public QAccessibleWidget {
 public:
  explicit RadioAccessible(QRadioButton* radio)
      : QAccessibleWidget(radio, QAccessible::RadioButton) {}

  QAbstractButton* Button() const { return static_cast<QAbstractButton*>(widget()); }

  QString text(QAccessible::Text kind) const override {
    if (kind == QAccessible::Name && widget()->accessibleName().isEmpty()) {
      return QString(Button()->text()).remove(QLatin1Char('&'));
    }
    return QAccessibleWidget::text(kind);
  }

  QAccessible::State state() const override {
    QAccessible::State state = QAccessibleWidget::state();
    state.checkable = true;
    state.checked = Button()->isChecked();
    return state;
  }

  QStringList actionNames() const override {
    return QStringList{pressAction(), toggleAction()} + QAccessibleWidget::actionNames();
  }
  void doAction(const QString& actionName) override {
    if (actionName == pressAction() || actionName == toggleAction()) {
      if (Button()->isEnabled() && Button()->isVisible()) Button()->click();
      return;
    }
    QAccessibleWidget::doAction(actionName);
  }

  Relations relations(QAccessible::Relation match) const override {
    return WithOwnLabel(QAccessibleWidget::relations(match), widget(), match);
  }
};

// The application's window as screen readers walk it: only the controls shown are its children.
// A reader keeps the states it has read of an object, and Qt tells it only "showing" when a
// control comes back into sight, never "visible": a control first read on a page out of sight
// would stay unreadable once its page shows. Controls not listed are not read.
class WindowAccessible : public QAccessibleWidget {
 public:
  explicit WindowAccessible(QWidget* window) : QAccessibleWidget(window, QAccessible::Window) {}

  int childCount() const override { return static_cast<int>(Shown().size()); }
  QAccessibleInterface* child(int index) const override {
    const QList<QWidget*> shown = Shown();
    if (index < 0 || index >= shown.size()) return nullptr;
    return QAccessible::queryAccessibleInterface(shown[index]);
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    if (!child) return -1;
    return static_cast<int>(Shown().indexOf(qobject_cast<QWidget*>(child->object())));
  }

 private:
  QList<QWidget*> Shown() const {
    QList<QWidget*> shown;
    for (QObject* object : widget()->children()) {
      auto* control = qobject_cast<QWidget*>(object);
      if (control && !control->isWindow() && !control->isHidden()) shown.append(control);
    }
    return shown;
  }
};

// Controls whose interfaces are Qt's own (edits, pictures) find their label only as a label's
// buddy.
bool HasOwnInterface(const QWidget* widget) {
  return qobject_cast<const StaticText*>(widget) || qobject_cast<const QComboBox*>(widget) ||
         qobject_cast<const QRadioButton*>(widget) || qobject_cast<const QTabBar*>(widget);
}

void TieToLabel(QWidget* control, QWidget* label) {
  auto* text = qobject_cast<QLabel*>(label);
  if (text && !text->buddy() && !HasOwnInterface(control)) text->setBuddy(control);
}

QAccessibleInterface* ControlFactory(const QString& class_name, QObject* object) {
  if (!object || !object->isWidgetType()) return nullptr;
  if (class_name == QLatin1String(StaticText::staticMetaObject.className())) {
    return new StaticTextAccessible(static_cast<StaticText*>(object));
  }
  if (class_name == QLatin1String("QComboBox")) {
    return new ComboAccessible(static_cast<QComboBox*>(object));
  }
  if (class_name == QLatin1String("QRadioButton")) {
    return new RadioAccessible(static_cast<QRadioButton*>(object));
  }
  if (class_name == QLatin1String("QTabBar")) {
    return NewTabBarAccessible(static_cast<QTabBar*>(object));
  }
  // A window of its own, owned by no other, is the application's window, not a dialog of
  // another: screen readers name it on arrival without reading out every text in it.
  if (class_name == QLatin1String("QDialog") && !static_cast<QWidget*>(object)->parentWidget()) {
    return new WindowAccessible(static_cast<QWidget*>(object));
  }
  return nullptr;
}

}  // namespace

void InstallAccessibleControls() {
  static const bool installed = [] {
    QAccessible::installFactory(ControlFactory);
    InstallAnnouncerAccessible();
    InstallTabFocusOnSelectedTab();
    return true;
  }();
  (void)installed;
}

void NameForScreenReaders(QWidget* widget, const DialogTemplate& dialog, int id) {
  QWidget* parent = widget->parentWidget();
  for (const AccessibleName& entry : dialog.accessible_names) {
    if (entry.label == id && parent && entry.use != LabelUse::kDescription) {
      if (auto* control =
              parent->findChild<QWidget*>(QString::number(entry.id), Qt::FindDirectChildrenOnly)) {
        TieToLabel(control, widget);
      }
    }
    if (entry.id != id) continue;
    QString name = QString::fromUtf8(entry.text);
    const ControlSpec* label = FindControl(dialog, entry.label);
    if (label && entry.use == LabelUse::kDescription) {
      widget->setAccessibleDescription(QString::fromUtf8(label->caption));
    } else if (label) {
      // Set before the name: telling of the name asks for the interface, which reads these.
      widget->setProperty(kLabelProperty, entry.label);
      widget->setProperty(kLabelUseProperty, static_cast<int>(entry.use));
      widget->setProperty(kLabelCaptionProperty, QString::fromUtf8(label->caption));
      if (entry.use == LabelUse::kNamePrefix) name.prepend(QString::fromUtf8(label->caption));
      if (QWidget* made = LabelOf(widget)) TieToLabel(widget, made);
    }
    widget->setAccessibleName(name);
  }
}

QWidget* LabelOf(const QWidget* control) {
  bool has_label = false;
  const int label = control->property(kLabelProperty).toInt(&has_label);
  if (!has_label || !control->parentWidget()) return nullptr;
  return control->parentWidget()->findChild<QWidget*>(QString::number(label),
                                                      Qt::FindDirectChildrenOnly);
}

}  // namespace qup::ui
