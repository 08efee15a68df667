// SPDX-License-Identifier: MIT
// Driver: plays the driver's commands on the real window with real input events, on the GUI
// thread, and reports what the program shows outside its window.
#include "app/drive/qt/qt_driver.h"

#include <QAbstractEventDispatcher>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTabBar>
#include <QTest>
#include <QWindow>
#include <algorithm>
#include <charconv>
#include <iostream>

#include "app/drive/quoted_text.h"
#include "app/utility_app.h"
#include "ui/platform/control_rules.h"
#include "ui/platform/qt/qt_window.h"

namespace qup::drive {

namespace {

// The keys of kKeyNames, in its order.
struct QtKey {
  Qt::Key key;
  Qt::KeyboardModifiers modifiers;
  std::string_view text;  // what the key types, if anything
};

constexpr QtKey kQtKeys[] = {
    {Qt::Key_Return, Qt::NoModifier, "\r"},
    {Qt::Key_Escape, Qt::NoModifier, "\x1b"},
    {Qt::Key_Tab, Qt::NoModifier, "\t"},
    {Qt::Key_Backtab, Qt::ShiftModifier, ""},
    {Qt::Key_Up, Qt::NoModifier, ""},
    {Qt::Key_Down, Qt::NoModifier, ""},
    {Qt::Key_Left, Qt::NoModifier, ""},
    {Qt::Key_Right, Qt::NoModifier, ""},
    {Qt::Key_Space, Qt::NoModifier, " "},
    {Qt::Key_F4, Qt::AltModifier, ""},
    {Qt::Key_F10, Qt::ShiftModifier, ""},
    {Qt::Key_Menu, Qt::NoModifier, ""},
    {Qt::Key_Space, Qt::AltModifier, ""},
    {Qt::Key_Tab, Qt::ControlModifier, ""},
    {Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier, ""},
    {Qt::Key_PageDown, Qt::ControlModifier, ""},
    {Qt::Key_PageUp, Qt::ControlModifier, ""},
};
static_assert(std::size(kQtKeys) == kKeyNames.size());

// A point on the dialog's own background, outside every control: where a right-click opens
// the window menu.
const QPoint kBackgroundPoint(2, 2);

int MessageBoxType(QMessageBox::Icon icon) {
  switch (icon) {
    case QMessageBox::Critical:
      return ui::kMbIconStop;
    case QMessageBox::Warning:
      return ui::kMbIconExclamation;
    case QMessageBox::Information:
      return ui::kMbIconInformation;
    default:
      return ui::kMbOk;
  }
}

}  // namespace

std::string Driver::Help() {
  return drive::Help(
      "Runs the program's real window (offscreen unless QT_QPA_PLATFORM says otherwise) and\n");
}

Driver::Driver(std::function<void()> on_settled)
    : on_settled_(std::move(on_settled)),
      platform_(std::make_unique<ui::QtPlatform>(kProgramDisplayName)) {
  qApp->installEventFilter(this);
  QDesktopServices::setUrlHandler(QStringLiteral("http"), this, "OpenUrl");
  QDesktopServices::setUrlHandler(QStringLiteral("https"), this, "OpenUrl");
  connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this,
          &Driver::OnAboutToBlock);
}

Driver::~Driver() {
  QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
  QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
}

void Driver::Run(int line_number, const std::string& line) {
  in_flight_ = true;
  const std::optional<CommandLine> command = session_.Take(line_number, line);
  if (!command) return;
  const auto& [verb, args] = *command;
  switch (verb) {
    case Verb::kResolve:
    case Verb::kBoxes:
      return;
    case Verb::kStart:
      return Start();
    case Verb::kTab:
      return Tab(args);
    case Verb::kClick:
      return Click(args);
    case Verb::kType:
      return Type(args);
    case Verb::kKeys:
      return Keys(args);
    case Verb::kKey:
      return Key(args);
    case Verb::kPick:
      return Pick(args);
    case Verb::kClose:
      return Close(args);
    case Verb::kMenu:
      return Menu(args);
    case Verb::kShow:
      return Show(args);
    case Verb::kScreenshot:
      return Screenshot(args);
  }
}

void Driver::OnAboutToBlock() {
  // Nothing is left to handle: the command is done, or waits in a dialog of its own for the
  // user. A message box still open will be answered first.
  if (in_flight_ && message_boxes_open_ == 0) {
    in_flight_ = false;
    on_settled_();
  }
}

ui::QtWindow* Driver::Front() {
  ui::QtWindow* front = platform_->FrontWindow();
  return session_.HasWindow(front != nullptr) ? front : nullptr;
}

QWidget* Driver::Control(int id) {
  ui::QtWindow* front = Front();
  if (!front) return nullptr;
  QWidget* widget = front->InputWidget(id);
  return session_.HasControl(id, widget != nullptr) ? widget : nullptr;
}

bool Driver::Reachable(const QWidget* widget) const {
  return widget->isVisible() && widget->isEnabled();
}

void Driver::ClickAt(QWidget* widget, QPoint point, Qt::MouseButton button) {
  QWidget* window = widget->window();
  Activate(window);
  QTest::mouseClick(window->windowHandle(), button, Qt::NoModifier, widget->mapTo(window, point));
}

void Driver::Activate(QWidget* window) {
  // A window manager gives the activation back to a window when the dialog in front of it
  // closes; offscreen nobody does, so the driver does it before the user acts again.
  if (window && !QApplication::activePopupWidget() && QApplication::activeWindow() != window) {
    QApplication::setActiveWindow(window);
  }
}

QWidget* Driver::KeyTarget() {
  if (QWidget* popup = QApplication::activePopupWidget()) {
    return popup->focusWidget() ? popup->focusWidget() : popup;
  }
  ui::QtWindow* front = platform_->FrontWindow();
  if (!front) return nullptr;
  Activate(front);
  return front->focusWidget() ? front->focusWidget() : front;
}

void Driver::PressKey(Qt::Key key, Qt::KeyboardModifiers modifiers, const QString& text) {
  QWidget* target = KeyTarget();
  if (session_.HasWindow(target != nullptr)) {
    QTest::sendKeyEvent(QTest::Click, target, key, text, modifiers);
  }
}

void Driver::TypeKeys(std::string_view keys) {
  for (const QChar c : QString::fromUtf8(keys)) {
    if (c == QLatin1Char('\n')) {
      PressKey(Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    } else if (c == QLatin1Char('\t')) {
      PressKey(Qt::Key_Tab, Qt::NoModifier, QStringLiteral("\t"));
    } else {
      const Qt::Key key =
          c.unicode() < 0x80 ? QTest::asciiToKey(static_cast<char>(c.unicode())) : Qt::Key_unknown;
      PressKey(key, Qt::NoModifier, QString(c));
    }
  }
}

void Driver::Start() {
  session_.Start([this] {
    suggest::PosixNetwork network(session_.NetworkTarget());
    app::UtilityApp().InitInstance(*platform_, registry_, network);
  });
}

void Driver::Tab(const Arguments& args) {
  ui::QtWindow* front = Front();
  if (!front) return;
  const auto& controls = front->Template().controls;
  const auto tabs = std::find_if(controls.begin(), controls.end(), [](const auto& control) {
    return control.kind == ui::ControlKind::kTabControl;
  });
  auto* bar =
      tabs == controls.end() ? nullptr : static_cast<QTabBar*>(front->InputWidget(tabs->id));
  if (session_.HasTab(args.number, bar != nullptr, bar ? bar->count() : 0) && bar != nullptr &&
      Reachable(bar)) {
    ClickAt(bar, bar->tabRect(args.number).center());
  }
}

void Driver::Click(const Arguments& args) {
  QWidget* widget = Control(args.id);
  if (widget && Reachable(widget)) ClickAt(widget, widget->rect().center());
}

void Driver::Type(const Arguments& args) {
  const std::optional<std::string> keys = session_.KeysOf(args.text);
  if (!keys) return;
  QWidget* widget = Control(args.id);
  if (!widget || !session_.IsReachable(args.id, Reachable(widget))) return;
  ClickAt(widget, widget->rect().center());
  PressKey(Qt::Key_A, Qt::ControlModifier, QString());
  TypeKeys(*keys);
}

void Driver::Keys(const Arguments& args) {
  const std::optional<std::string> keys = session_.KeysOf(args.text);
  if (keys && Front()) TypeKeys(*keys);
}

void Driver::Key(const Arguments& args) {
  const std::optional<std::size_t> index = session_.KeyNamed(args.text);
  if (!index) return;
  const QtKey& key = kQtKeys[*index];
  PressKey(key.key, key.modifiers, QString::fromLatin1(key.text));
}

void Driver::Pick(const Arguments& args) {
  QWidget* widget = Control(args.id);
  if (!widget) return;
  auto* combo = qobject_cast<QComboBox*>(widget);
  if (!session_.CanPick(args.id, combo != nullptr, args.number, combo ? combo->count() : 0) ||
      combo == nullptr || !session_.IsReachable(args.id, Reachable(combo))) {
    return;
  }
  // An editable box opens from its arrow, a drop list from anywhere on it.
  QPoint opener = combo->rect().center();
  if (combo->isEditable()) {
    QStyleOptionComboBox option;
    option.initFrom(combo);
    option.editable = true;
    opener = combo->style()
                 ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxArrow, combo)
                 .center();
  }
  ClickAt(combo, opener);
  QAbstractItemView* list = combo->view();
  if (!session_.ListOpened(args.id, list->isVisible())) return;
  // The user moves to the entry and takes it with Enter; the list ignores a click that comes
  // sooner after its opening than a person could give one.
  list->setCurrentIndex(combo->model()->index(args.number, combo->modelColumn()));
  QTest::keyClick(list, Qt::Key_Return);
}

void Driver::Close(const Arguments&) {
  if (ui::QtWindow* front = Front()) {
    // What the window system sends when the title bar's close button is pressed.
    QCloseEvent close;
    QCoreApplication::sendEvent(front->windowHandle(), &close);
  }
}

void Driver::Menu(const Arguments& args) {
  ui::QtWindow* front = Front();
  if (!front) return;
  ClickAt(front, kBackgroundPoint, Qt::RightButton);
  auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
  if (!session_.MenuOpened(menu != nullptr)) return;
  for (QAction* action : menu->actions()) {
    if (!action->isSeparator() && action->data().toInt() == args.id) {
      menu->setActiveAction(action);
      QTest::keyClick(menu, Qt::Key_Return);
      return;
    }
  }
  QTest::keyClick(menu, Qt::Key_Escape);
  session_.HasMenuEntry(args.id, false);
}

void Driver::Show(const Arguments& args) {
  ui::QtWindow* front = Front();
  if (!front || !Control(args.id)) return;
  session_.Print(ShowLine(*front, front->Template(), args.id));
}

void Driver::Screenshot(const Arguments& args) {
  ui::QtWindow* front = Front();
  if (front)
    session_.Wrote(args.text, front->grab().save(QString::fromStdString(args.text), "PNG"));
}

void Driver::OpenUrl(const QUrl& url) { session_.Print(UrlLine(url.toString().toStdString())); }

void Driver::PressOk(QMessageBox* box) {
  --message_boxes_open_;
  QAbstractButton* ok = box ? box->button(QMessageBox::Ok) : nullptr;
  if (ok) ClickAt(ok, ok->rect().center());
}

bool Driver::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Show) {
    if (auto* box = qobject_cast<QMessageBox*>(watched)) {
      session_.Print(MessageBoxLine(MessageBoxType(box->icon()), box->windowTitle().toStdString(),
                                    box->text().toStdString()));
      if (session_.PressesMessageBoxes()) {
        ++message_boxes_open_;
        // Pressed once the box runs its own loop, as a person would.
        QMetaObject::invokeMethod(
            this, [this, box = QPointer<QMessageBox>(box)] { PressOk(box.data()); },
            Qt::QueuedConnection);
      }
    }
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace qup::drive
