// SPDX-License-Identifier: MIT
// QtWindow: a dialog template made of real Qt widgets, one widget per control, all children of
// the dialog, driven by a DialogHandler.
#include "ui/platform/qt/qt_window.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QFocusEvent>
#include <QGroupBox>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShortcut>
#include <algorithm>
#include <climits>
#include <optional>
#include <vector>

#include "ui/platform/control_rules.h"
#include "ui/platform/qt/accessibility/accessible_controls.h"
#include "ui/platform/qt/accessibility/announcer.h"
#include "ui/platform/qt/qt_platform.h"
#include "ui/platform/qt/qt_resources.h"
#include "ui/platform/qt/widgets/limited_text_edit.h"
#include "ui/platform/qt/widgets/static_text.h"
#include "ui/platform/qt/widgets/tab_control.h"
#include "ui/platform/qt/widgets/text_left_radio.h"

namespace qup::ui {

namespace {

constexpr char kCloseEntry[] = "&Close\tAlt+F4";

std::string ToUtf8(const QString& text) { return text.toUtf8().toStdString(); }

// A line edit's limit as Qt takes it: a whole number of UTF-16 units, as the rules count.
int MaxLength(std::size_t limit) { return static_cast<int>(std::min<std::size_t>(limit, INT_MAX)); }

std::vector<std::string> Entries(const QComboBox& combo) {
  std::vector<std::string> entries;
  entries.reserve(static_cast<std::size_t>(combo.count()));
  for (int i = 0; i < combo.count(); ++i) entries.push_back(ToUtf8(combo.itemText(i)));
  return entries;
}

// A control out of sight tells screen readers nothing of its changes: they read it as it is when
// it shows. (A reader that hears of a hidden object keeps it as hidden, though it shows later.)
class MutedWhileHidden {
 public:
  explicit MutedWhileHidden(const QWidget* widget) {
    if (widget && !widget->isVisible()) muted_.emplace();
  }

 private:
  std::optional<AccessibilityMuted> muted_;
};

}  // namespace

QtWindow::QtWindow(const DialogTemplate& dialog, DialogHandler& handler, QtPlatform& platform,
                   QWidget* owner)
    : QDialog(owner),
      dialog_(dialog),
      handler_(handler),
      platform_(platform),
      units_(DialogUnits::DialogFont()) {
  // A caption with a close button and a window menu, no minimise or maximise button. A window
  // without an owner is a normal top-level window, so it has its own task bar entry.
  setWindowFlags((owner ? Qt::Dialog : Qt::Window) | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  setWindowTitle(QString::fromUtf8(dialog.title));
  setFont(DialogUnits::DialogFont());
  setFocusPolicy(Qt::NoFocus);
  setFixedSize(units_.XToPixels(dialog.width), units_.YToPixels(dialog.height));
  InstallAccessibleControls();
  announcer_ = new Announcer(this);

  controls_.reserve(dialog.controls.size());
  for (const ControlSpec& control_spec : dialog.controls) {
    Control control;
    control.control_spec = &control_spec;
    control.enabled = !(control_spec.flags & kDisabled);
    if (control_spec.kind == ControlKind::kRadioButton) {
      // Qt keeps each group exclusive by itself; which buttons form one is the program's rule.
      if (StartsRadioGroup(dialog, controls_.size()))
        radio_groups_.push_back(new QButtonGroup(this));
      control.radio_group = static_cast<int>(radio_groups_.size()) - 1;
    }
    index_of_[control_spec.id] = controls_.size();
    controls_.push_back(std::move(control));
  }
  for (Control& control : controls_) {
    if (control.control_spec->page == kNoPage) Widget(control);
  }
  if (tab_control_) {
    // Created among the pages' controls, but drawn beneath all of them.
    tab_control_->Frame()->lower();
    tab_control_->Bar()->lower();
  }

  // The window menu's keys. Where a window manager takes Alt+Space or Alt+F4 itself, it
  // opens its own menu or asks the window to close, which ends in closeEvent.
  for (const QKeySequence& keys :
       {QKeySequence(Qt::SHIFT | Qt::Key_F10), QKeySequence(Qt::Key_Menu),
        QKeySequence(Qt::ALT | Qt::Key_Space)}) {
    auto* shortcut = new QShortcut(keys, this);
    connect(shortcut, &QShortcut::activated, this,
            [this] { OpenWindowMenu(mapToGlobal(QPoint(0, 0))); });
  }
  // The next and the previous tab, as tabbed windows commonly take them.
  for (const auto& [keys, tab_step] :
       {std::pair{QKeySequence(Qt::CTRL | Qt::Key_Tab), 1},
        std::pair{QKeySequence(Qt::CTRL | Qt::Key_PageDown), 1},
        std::pair{QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), -1},
        std::pair{QKeySequence(Qt::CTRL | Qt::Key_PageUp), -1}}) {
    auto* shortcut = new QShortcut(keys, this);
    // A structured binding cannot be captured by every compiler the checks run; copy it.
    const int step = tab_step;
    connect(shortcut, &QShortcut::activated, this, [this, step] {
      if (tab_control_) tab_control_->StepByUser(step);
    });
  }
  auto* close_keys = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_F4), this);
  connect(close_keys, &QShortcut::activated, this, [this] { handler_.OnSysCommand(kScClose); });
}

QtWindow::~QtWindow() = default;

void QtWindow::CreateControl(Control& control) {
  std::optional<AccessibilityMuted> muted(std::in_place);
  const ControlSpec& control_spec = *control.control_spec;
  const QRect pixels = units_.ToQRect(control_spec.rect);
  QWidget* widget = nullptr;
  const int id = control_spec.id;
  switch (control_spec.kind) {
    case ControlKind::kStatic: {
      auto* text = new StaticText(this, units_.TabStopPixels(), !(control_spec.flags & kNoPrefix));
      text->SetText(QString::fromUtf8(control_spec.caption));
      widget = text;
      break;
    }
    case ControlKind::kPicture:
    case ControlKind::kIcon: {
      auto* picture = new QLabel(this);
      picture->setAttribute(Qt::WA_TransparentForMouseEvents);
      const QPixmap pixmap = ResourcePixmap(control_spec.resource);
      picture->setPixmap(pixmap);
      widget = picture;
      if (control_spec.kind == ControlKind::kPicture) {
        // The picture keeps its own size, centred in its rectangle: the rectangle scales with
        // the font, the bitmap does not.
        QRect centred(QPoint(0, 0), pixmap.size());
        centred.moveCenter(pixels.center());
        widget->setGeometry(centred);
      } else {
        widget->setGeometry(QRect(pixels.topLeft(), pixmap.size()));
      }
      break;
    }
    case ControlKind::kGroupBox: {
      auto* group = new QGroupBox(QString::fromUtf8(control_spec.caption), this);
      group->setAttribute(Qt::WA_TransparentForMouseEvents);
      group->setFocusPolicy(Qt::NoFocus);
      widget = group;
      break;
    }
    case ControlKind::kEdit: {
      auto* edit = new QLineEdit(QString::fromUtf8(control_spec.caption), this);
      edit->setMaxLength(MaxLength(kDefaultTextLimit));
      edit->installEventFilter(this);
      // Typed or pasted text beyond the limit: what fits was taken, the rest refused.
      connect(edit, &QLineEdit::inputRejected, this,
              [this, id] { handler_.OnCommand(id, Notification::kMaxText); });
      widget = edit;
      break;
    }
    case ControlKind::kMultiLineEdit: {
      auto* edit = new LimitedTextEdit(this);
      edit->SetText(QString::fromUtf8(control_spec.caption));
      edit->installEventFilter(this);
      connect(edit, &LimitedTextEdit::limitReached, this,
              [this, id] { handler_.OnCommand(id, Notification::kMaxText); });
      widget = edit;
      break;
    }
    case ControlKind::kComboBox:
    case ControlKind::kDropList: {
      auto* combo = new QComboBox(this);
      if (control_spec.kind == ControlKind::kComboBox) {
        combo->setEditable(true);
        // What the user types stays in the box's own field: never added to the list, never
        // completed from it.
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->setCompleter(nullptr);
        combo->setEditText(QString::fromUtf8(control_spec.caption));
        // Its name carries what it holds, which readers keep until told it changed.
        connect(combo, &QComboBox::editTextChanged, this, [combo] {
          if (!QAccessible::isActive() || !combo->isVisible()) return;
          QAccessibleEvent renamed(combo, QAccessible::NameChanged);
          QAccessible::updateAccessibility(&renamed);
        });
      }
      combo->setMaxVisibleItems(std::max(1, (pixels.height() / combo->sizeHint().height()) - 1));
      if (control_spec.kind == ControlKind::kDropList) {
        // The list's selected entry is the one shown, dropped down or not: a screen reader reads
        // a drop list's value from its list (an editable box's from its field).
        // A choice made at the focus (the arrow keys) is told: screen readers do not speak a
        // box's new value by themselves.
        connect(combo, &QComboBox::currentIndexChanged, this, [this, combo](int index) {
          combo->view()->selectionModel()->select(
              combo->model()->index(index, combo->modelColumn()),
              QItemSelectionModel::ClearAndSelect);
          if (combo->hasFocus()) announcer_->Tell(combo->currentText());
        });
      }
      widget = combo;
      break;
    }
    case ControlKind::kPushButton: {
      auto* button = new QPushButton(QString::fromUtf8(control_spec.caption), this);
      // Enter is the dialog's to handle: no button becomes the default on its own.
      button->setAutoDefault(false);
      button->setDefault(false);
      connect(button, &QPushButton::clicked, this,
              [this, id] { handler_.OnCommand(id, Notification::kClicked); });
      widget = button;
      break;
    }
    case ControlKind::kRadioButton: {
      const QString caption = QString::fromUtf8(control_spec.caption);
      QRadioButton* radio = (control_spec.flags & kTextLeft) ? new TextLeftRadio(caption, this)
                                                             : new QRadioButton(caption, this);
      radio->setFocusPolicy(Qt::ClickFocus);
      QButtonGroup* group = radio_groups_[static_cast<std::size_t>(control.radio_group)];
      group->addButton(radio);
      // Made with its partners, each with the check the program set on it.
      group->setExclusive(false);
      radio->setChecked(control.checked);
      group->setExclusive(true);
      connect(radio, &QRadioButton::clicked, this, [this, id, radio] {
        PressRadio(radio);
        handler_.OnCommand(id, Notification::kClicked);
      });
      // The arrow keys follow the group's order (eventFilter), not Qt's search by geometry.
      radio->installEventFilter(this);
      widget = radio;
      break;
    }
    case ControlKind::kTabControl: {
      tab_control_ = std::make_unique<TabControl>(this, pixels, [this, id] {
        handler_.OnTabSelChange(id);
        TellPageShown();
      });
      tab_control_id_ = id;
      widget = tab_control_->Bar();
      break;
    }
  }
  if (control_spec.kind != ControlKind::kPicture && control_spec.kind != ControlKind::kIcon &&
      control_spec.kind != ControlKind::kTabControl) {
    QRect placed = pixels;
    // A combo box's rectangle includes its dropped-down list; the box itself is one line.
    if (IsComboBox(control_spec.kind))
      placed.setHeight(std::min(pixels.height(), widget->sizeHint().height()));
    widget->setGeometry(placed);
  }
  widget->setObjectName(QString::number(id));
  NameForScreenReaders(widget, dialog_, id);
  control.widget = widget;
  // Made in the order they are needed, the widgets still overlap, and are listed to a screen
  // reader, in template order: beneath the next control made so far, the tab frame aside.
  const Control* above = nullptr;
  for (auto it = controls_.begin() + static_cast<std::ptrdiff_t>(index_of_.at(id)) + 1;
       it != controls_.end() && !above; ++it) {
    if (it->widget && it->control_spec->kind != ControlKind::kTabControl) above = &*it;
  }
  if (above) widget->stackUnder(above->widget);
  if (!control.enabled) Enable(id, false);
  std::vector<std::function<void()>> pending;
  pending.swap(control.pending);
  for (const std::function<void()>& action : pending) action();
  muted.reset();
  // A child added to a window already on the screen stays hidden until it is shown.
  if (!control.shown || isVisible()) Show(id, control.shown);
}

QWidget* QtWindow::Widget(Control& control) const {
  if (control.widget) return control.widget;
  // A question about a control may be what makes it; the window itself is never const.
  auto& self = const_cast<QtWindow&>(*this);
  if (control.radio_group < 0) {
    self.CreateControl(control);
    return control.widget;
  }
  // A radio button's partners are made along with it, so that a press can clear them.
  for (Control& partner : controls_) {
    if (partner.radio_group == control.radio_group && !partner.widget) self.CreateControl(partner);
  }
  return control.widget;
}

bool QtWindow::Defer(Control& control, std::function<void()> action) const {
  if (control.widget) return false;
  control.pending.push_back(std::move(action));
  return true;
}

bool QtWindow::IsShown(const Control& control) const {
  return control.widget ? !control.widget->isHidden() : control.shown;
}

bool QtWindow::IsEnabled(const Control& control) const {
  return control.widget ? !control.widget->testAttribute(Qt::WA_Disabled) : control.enabled;
}

QtWindow::Control* QtWindow::Find(int id) const {
  const auto it = index_of_.find(id);
  return it == index_of_.end() ? nullptr : &controls_[it->second];
}

QWidget* QtWindow::InputWidget(int id) const {
  Control* control = Find(id);
  return control ? Widget(*control) : nullptr;
}

int QtWindow::ControlIdOf(const QWidget* widget) const {
  for (; widget && widget != this; widget = widget->parentWidget()) {
    for (const Control& control : controls_) {
      if (control.widget == widget) return control.control_spec->id;
    }
  }
  return 0;
}

void QtWindow::SetText(int id, std::string_view text) {
  Control* control = Find(id);
  if (!control) return;
  if (Defer(*control, [this, id, kept = std::string(text)] { SetText(id, kept); })) return;
  const QString value = QString::fromUtf8(text);
  QWidget* widget = control->widget;
  const MutedWhileHidden muted(widget);
  switch (control->control_spec->kind) {
    case ControlKind::kStatic:
      static_cast<StaticText*>(widget)->SetText(value);
      break;
    case ControlKind::kGroupBox:
      static_cast<QGroupBox*>(widget)->setTitle(value);
      break;
    // The same words written again would reach a screen reader as a new text: the exchange
    // of values writes every bound text back, changed or not.
    case ControlKind::kEdit: {
      auto* edit = static_cast<QLineEdit*>(widget);
      if (edit->text() == value) break;
      edit->setText(value);
      // A screen reader speaks a new text in the focused box itself; one beside it, as a
      // calculation's answer, only when told.
      if (edit->isVisible() && !edit->hasFocus() && !value.isEmpty()) {
        announcer_->Tell(edit->accessibleName() + QLatin1Char(' ') + value);
      }
      break;
    }
    case ControlKind::kMultiLineEdit: {
      auto* edit = static_cast<LimitedTextEdit*>(widget);
      if (edit->Text() != value) edit->SetText(value);
      break;
    }
    case ControlKind::kComboBox: {
      auto* combo = static_cast<QComboBox*>(widget);
      if (combo->currentIndex() < 0 && combo->currentText() == value) break;
      combo->setCurrentIndex(-1);
      combo->setEditText(value);
      break;
    }
    case ControlKind::kDropList: {
      // A drop list shows only its entries: the text selects the entry it names, if any, and
      // leaves the box as it was otherwise.
      auto* combo = static_cast<QComboBox*>(widget);
      if (const int index = FindEntryEqual(Entries(*combo), text); index >= 0)
        combo->setCurrentIndex(index);
      break;
    }
    case ControlKind::kPushButton:
    case ControlKind::kRadioButton:
      static_cast<QAbstractButton*>(widget)->setText(value);
      break;
    case ControlKind::kPicture:
    case ControlKind::kIcon:
    case ControlKind::kTabControl:
      break;
  }
}

std::string QtWindow::GetText(int id) const {
  Control* control = Find(id);
  if (!control) return {};
  const QWidget* widget = Widget(*control);
  switch (control->control_spec->kind) {
    case ControlKind::kStatic:
      return ToUtf8(static_cast<const StaticText*>(widget)->Text());
    case ControlKind::kGroupBox:
      return ToUtf8(static_cast<const QGroupBox*>(widget)->title());
    case ControlKind::kEdit:
      return ToUtf8(static_cast<const QLineEdit*>(widget)->text());
    case ControlKind::kMultiLineEdit:
      return ToUtf8(static_cast<const LimitedTextEdit*>(widget)->Text());
    case ControlKind::kComboBox:
    case ControlKind::kDropList:
      return ToUtf8(static_cast<const QComboBox*>(widget)->currentText());
    case ControlKind::kPushButton:
    case ControlKind::kRadioButton:
      return ToUtf8(static_cast<const QAbstractButton*>(widget)->text());
    case ControlKind::kPicture:
    case ControlKind::kIcon:
    case ControlKind::kTabControl:
      break;
  }
  return {};
}

void QtWindow::Show(int id, bool visible) {
  Control* control = Find(id);
  if (!control) return;
  if (id == tab_control_id_) {
    tab_control_->SetVisible(visible);
  } else if (visible) {
    Widget(*control)->setVisible(true);
  } else if (control->widget) {
    control->widget->setVisible(false);
  } else {
    control->shown = false;
  }
}

bool QtWindow::IsVisible(int id) const {
  Control* control = Find(id);
  return control && IsShown(*control);
}

void QtWindow::Enable(int id, bool enabled) {
  Control* control = Find(id);
  if (!control) return;
  if (id == tab_control_id_) {
    tab_control_->SetEnabled(enabled);
  } else if (control->widget) {
    const MutedWhileHidden muted(control->widget);
    control->widget->setEnabled(enabled);
  } else {
    control->enabled = enabled;
  }
}

bool QtWindow::IsEnabled(int id) const {
  Control* control = Find(id);
  return control && IsEnabled(*control);
}

void QtWindow::SetFocus(int id) {
  Control* control = Find(id);
  if (control && TakesFocus(control->control_spec->kind) && IsShown(*control) &&
      IsEnabled(*control)) {
    Widget(*control)->setFocus(Qt::OtherFocusReason);
  }
}

void QtWindow::TellPageShown() {
  // A page whose own control takes the focus is heard by that control's name alone; the page
  // is named beside it. A page without one leaves the focus on its tab, which names it.
  if (!tab_control_ || focusWidget() == tab_control_->Bar()) return;
  const int index = tab_control_->CurrentIndex();
  if (index < 0) return;
  announcer_->Tell(tab_control_->Bar()->tabText(index).remove(QLatin1Char('&')) +
                   QStringLiteral(" page"));
}

int QtWindow::FocusedControl() const {
  // The tab bar holds the focus only for screen readers, where the logic has left it nowhere.
  const int id = ControlIdOf(focusWidget());
  return id == tab_control_id_ ? 0 : id;
}

void QtWindow::SetCheck(int id, int state) {
  Control* control = Find(id);
  if (!control || control->control_spec->kind != ControlKind::kRadioButton) return;
  if (!control->widget) {
    control->checked = state != 0;
    return;
  }
  auto* radio = static_cast<QRadioButton*>(control->widget);
  const MutedWhileHidden muted(radio);
  QButtonGroup* group = radio->group();
  // The program sets the one button, its partner as it stands: an exclusive group would uncheck
  // the partner, or refuse to uncheck its checked button. Any state other than 0 shows checked.
  group->setExclusive(false);
  radio->setChecked(state != 0);
  group->setExclusive(true);
}

void QtWindow::PressRadio(QRadioButton* radio) {
  // The pressed button ends checked and its partners unchecked, also when the program had left
  // both checked (Qt's exclusive group would then uncheck the pressed button instead).
  QButtonGroup* group = radio->group();
  group->setExclusive(false);
  for (QAbstractButton* partner : group->buttons()) partner->setChecked(partner == radio);
  group->setExclusive(true);
}

int QtWindow::GetCheck(int id) const {
  Control* control = Find(id);
  if (!control || control->control_spec->kind != ControlKind::kRadioButton) return 0;
  if (!control->widget) return control->checked ? 1 : 0;
  return static_cast<const QRadioButton*>(control->widget)->isChecked() ? 1 : 0;
}

void QtWindow::ComboAddString(int id, std::string_view entry) {
  Control* control = Find(id);
  if (!control || !IsComboBox(control->control_spec->kind)) return;
  if (Defer(*control, [this, id, kept = std::string(entry)] { ComboAddString(id, kept); })) {
    return;
  }
  auto* combo = static_cast<QComboBox*>(control->widget);
  const MutedWhileHidden muted(combo);
  // Adding the first entry must not select it, nor touch the text the user typed.
  const QString typed = combo->currentText();
  const int selected = combo->currentIndex();
  combo->addItem(QString::fromUtf8(entry));
  if (selected < 0) {
    combo->setCurrentIndex(-1);
    if (combo->isEditable()) combo->setEditText(typed);
  }
}

int QtWindow::ComboSelectString(int id, std::string_view prefix) {
  Control* control = Find(id);
  if (!control || !IsComboBox(control->control_spec->kind) || prefix.empty()) return kComboError;
  const int index = FindEntryBeginning(Entries(*static_cast<QComboBox*>(Widget(*control))), prefix);
  if (index < 0) return kComboError;
  ComboSetCurSel(id, index);
  return index;
}

int QtWindow::ComboGetCurSel(int id) const {
  Control* control = Find(id);
  if (!control || !IsComboBox(control->control_spec->kind)) return kComboError;
  const auto* combo = static_cast<const QComboBox*>(Widget(*control));
  const int index = combo->currentIndex();
  // Once the user has typed over an entry, no entry is shown as selected any more.
  if (index < 0 || (combo->isEditable() && combo->currentText() != combo->itemText(index))) {
    return kComboError;
  }
  return index;
}

void QtWindow::ComboSetCurSel(int id, int index) {
  Control* control = Find(id);
  if (!control || !IsComboBox(control->control_spec->kind)) return;
  if (Defer(*control, [this, id, index] { ComboSetCurSel(id, index); })) return;
  auto* combo = static_cast<QComboBox*>(control->widget);
  const MutedWhileHidden muted(combo);
  const int selected = index >= 0 && index < combo->count() ? index : -1;
  combo->setCurrentIndex(selected);
  // Selecting the entry that is already current leaves typed text in place; show the entry.
  const QString shown = selected >= 0 ? combo->itemText(selected) : QString();
  if (combo->isEditable() && combo->currentText() != shown) combo->setEditText(shown);
}

void QtWindow::LimitText(int id, int max_chars) {
  Control* control = Find(id);
  if (!control) return;
  if (Defer(*control, [this, id, max_chars] { LimitText(id, max_chars); })) return;
  if (control->control_spec->kind == ControlKind::kEdit) {
    static_cast<QLineEdit*>(control->widget)->setMaxLength(MaxLength(TextLimit(max_chars)));
  } else if (control->control_spec->kind == ControlKind::kMultiLineEdit) {
    static_cast<LimitedTextEdit*>(control->widget)->SetLimit(TextLimit(max_chars));
  }
}

void QtWindow::TabInsertItem(int id, int index, std::string_view caption) {
  if (id == tab_control_id_ && tab_control_)
    tab_control_->InsertItem(index, QString::fromUtf8(caption));
}

int QtWindow::TabGetCurSel(int id) const {
  return id == tab_control_id_ && tab_control_ ? tab_control_->CurrentIndex() : -1;
}

void QtWindow::TabSetCurSel(int id, int index) {
  if (id == tab_control_id_ && tab_control_) tab_control_->SetCurrentIndex(index);
}

void QtWindow::SetIcons(int large_icon, int small_icon) {
  QIcon icon = ResourceIcon(large_icon);
  for (const QSize size : ResourceIcon(small_icon).availableSizes()) {
    icon.addPixmap(ResourceIcon(small_icon).pixmap(size));
  }
  setWindowIcon(icon);
}

void QtWindow::AppendSystemMenuSeparator() { menu_entries_.push_back({0, QString()}); }

void QtWindow::AppendSystemMenuItem(unsigned command, std::string_view text) {
  menu_entries_.push_back({command, QString::fromUtf8(text)});
}

QMenu* QtWindow::OpenWindowMenu(QPoint global_position) {
  auto* menu = new QMenu(this);
  menu->setAttribute(Qt::WA_DeleteOnClose);
  const auto add = [this, menu](unsigned command, const QString& text) {
    // "Text\tKeys": the keys are the entry's shortcut, shown beside it and told to screen
    // readers as its key binding rather than as part of its name.
    const qsizetype tab = text.indexOf(QLatin1Char('\t'));
    QAction* action = menu->addAction(text.left(tab));
    if (tab >= 0) {
      action->setShortcut(QKeySequence(text.mid(tab + 1), QKeySequence::PortableText));
      action->setShortcutVisibleInContextMenu(true);
    }
    action->setData(command);
    connect(action, &QAction::triggered, this, [this, command] { handler_.OnSysCommand(command); });
  };
  add(kScClose, QString::fromLatin1(kCloseEntry));
  for (const MenuEntry& entry : menu_entries_) {
    if (entry.command == 0) {
      menu->addSeparator();
    } else {
      add(entry.command, entry.text);
    }
  }
  menu->popup(global_position);
  return menu;
}

void QtWindow::MessageBox(std::string_view text, std::string_view caption, int type) {
  platform_.ShowMessageBox(this, text, caption, type);
}

Rect QtWindow::MapDialogRect(Rect dialog_units) const { return units_.ToPixels(dialog_units); }

void QtWindow::EndDialog(int result) {
  ended_ = true;
  end_result_ = result;
  done(result);
}

bool QtWindow::CanTakeFocus(int id) const {
  const Control* control = Find(id);
  return control && IsShown(*control) && IsEnabled(*control);
}

bool QtWindow::IsReaderStop(int id) const {
  const Control* control = Find(id);
  if (!QAccessible::isActive() || !control || control->control_spec->kind != ControlKind::kStatic ||
      !control->widget) {
    return false;
  }
  return static_cast<const StaticText*>(control->widget)->CellCount() > 0;
}

void QtWindow::FocusFirstTabStop() {
  if (const int first = FirstTabStop(
          dialog_, [this](int id) { return CanTakeFocus(id); },
          [this](int id) { return GetCheck(id) != 0; })) {
    Widget(*Find(first))->setFocus(Qt::TabFocusReason);
    return;
  }
  // A page without a box or button: the tab bar names it to a screen reader.
  if (tab_control_ && tab_control_->IsVisible() && tab_control_->IsEnabled()) {
    tab_control_->TakeFocus();
    return;
  }
  QDialog::setFocus(Qt::OtherFocusReason);
}

bool QtWindow::focusNextPrevChild(bool next) {
  QWidget* focused = focusWidget();
  // Qt moves the focus on when the focused control is hidden or disabled; no other control may
  // see a focus it was never given. The tab bar takes it, which tells the logic nothing and
  // tells a screen reader the page shown (a page that focuses a control of its own moves it on
  // at once); without a tab bar the window keeps it itself.
  if (focused && focused != this && (!focused->isVisible() || !focused->isEnabled())) {
    if (tab_control_ && focused != tab_control_->Bar() && tab_control_->IsVisible() &&
        tab_control_->IsEnabled()) {
      tab_control_->TakeFocus();
    } else {
      QDialog::setFocus(Qt::OtherFocusReason);
    }
    return true;
  }
  const int stop = NextTabStop(
      dialog_, ControlIdOf(focused), next, [this](int id) { return CanTakeFocus(id); },
      [this](int id) { return GetCheck(id) != 0; }, [this](int id) { return IsReaderStop(id); });
  if (!stop) return true;
  QWidget* widget = Widget(*Find(stop));
  const Qt::FocusReason reason = next ? Qt::TabFocusReason : Qt::BacktabFocusReason;
  if (IsReaderStop(stop)) {
    static_cast<StaticText*>(widget)->TakeFocusAtCell(reason);
  } else {
    widget->setFocus(reason);
  }
  return true;
}

void QtWindow::PressEnter() {
  if (const auto* button = qobject_cast<QPushButton*>(focusWidget())) {
    if (ControlIdOf(button)) {
      const_cast<QPushButton*>(button)->click();
      return;
    }
  }
  const int command = DefaultCommand(dialog_);
  // A disabled default button takes no Enter.
  if (const Control* button = Find(command); button && !IsEnabled(*button)) return;
  handler_.OnCommand(command, Notification::kClicked);
}

void QtWindow::keyPressEvent(QKeyEvent* event) {
  const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && !modifiers) {
    event->accept();
    PressEnter();
    return;
  }
  if (event->key() == Qt::Key_Escape && !modifiers) {
    event->accept();
    handler_.OnCommand(kIdCancel, Notification::kClicked);
    return;
  }
  // Not QDialog's: it would move between push buttons with the arrow keys.
  QWidget::keyPressEvent(event);  // NOLINT(bugprone-parent-virtual-call)
}

void QtWindow::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    const QPoint point = event->position().toPoint();
    handler_.OnLButtonDown({point.x(), point.y()});
  }
  QDialog::mousePressEvent(event);
}

void QtWindow::contextMenuEvent(QContextMenuEvent* event) {
  event->accept();
  OpenWindowMenu(event->globalPos());
}

void QtWindow::closeEvent(QCloseEvent* event) {
  // The window closes only when the logic ends it.
  event->ignore();
  handler_.OnSysCommand(kScClose);
}

void QtWindow::showEvent(QShowEvent* event) {
  // Whatever the logic has left visible is in the first frame, so it is made now.
  for (Control& control : controls_) {
    if (!control.widget && control.shown) Widget(control);
  }
  QDialog::showEvent(event);
  activateWindow();
}

bool QtWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && qobject_cast<QRadioButton*>(watched)) {
    const auto* key = static_cast<QKeyEvent*>(event);
    static constexpr std::pair<int, Arrow> kArrows[] = {{Qt::Key_Left, Arrow::kLeft},
                                                        {Qt::Key_Up, Arrow::kUp},
                                                        {Qt::Key_Right, Arrow::kRight},
                                                        {Qt::Key_Down, Arrow::kDown}};
    for (const auto& [qt_key, arrow] : kArrows) {
      if (key->key() != qt_key || (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) {
        continue;
      }
      const int from = ControlIdOf(static_cast<QWidget*>(watched));
      const int to =
          RadioArrowTarget(dialog_, from, arrow, [this](int id) { return CanTakeFocus(id); });
      if (auto* radio = qobject_cast<QRadioButton*>(to != 0 ? InputWidget(to) : nullptr)) {
        radio->setFocus(Qt::TabFocusReason);
        radio->click();
      }
      return true;
    }
  }
  // Edits and combo boxes tell the logic they took the focus; buttons do not.
  if (event->type() == QEvent::FocusIn && !qobject_cast<QRadioButton*>(watched) &&
      static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
    // A closing menu hands the focus back without the control having lost it.
    if (const int id = ControlIdOf(qobject_cast<QWidget*>(watched))) {
      handler_.OnCommand(id, Notification::kSetFocus);
    }
  }
  return QDialog::eventFilter(watched, event);
}

void QtWindow::Place() {
  QRect frame(QPoint(0, 0), size());
  if (parentWidget()) {
    frame.moveCenter(parentWidget()->window()->geometry().center());
  } else if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    frame.moveCenter(screen->availableGeometry().center());
  }
  move(frame.topLeft());
}

int QtWindow::Run() {
  FocusFirstTabStop();
  if (ended_) return end_result_;
  Place();
  setModal(true);
  return exec();
}

void QtWindow::ShowWithoutRunning() {
  FocusFirstTabStop();
  Place();
  show();
}

}  // namespace qup::ui
