// SPDX-License-Identifier: MIT
// The shared window contract on the Qt window, driven with real input events.
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTest>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "tests/support/window_contract.h"
#include "ui/platform/qt/qt_platform.h"
#include "ui/platform/qt/qt_window.h"

namespace qup::test_support {

// Opens the window as the platform's modal run does, without the modal loop, makes it the
// active window, and acts on it with mouse and key events sent where a user's would arrive.
class QtDriver {
 public:
  ui::Window& Open(const ui::DialogTemplate& dialog, ui::DialogHandler& handler) {
    window_ = std::make_unique<ui::QtWindow>(dialog, handler, platform_, nullptr);
    handler.OnInitDialog(*window_);
    window_->ShowWithoutRunning();
    QApplication::setActiveWindow(window_.get());
    EXPECT_TRUE(QTest::qWaitForWindowActive(window_.get()));
    return *window_;
  }

  void Click(int id) { ClickAt(CentreOf(id)); }

  void Type(int id, std::string_view text) {
    ClickIntoEnd(id);
    for (const char32_t c : QString::fromUtf8(text).toUcs4()) {
      QWidget* target = Focused();
      if (c == U'\n') {
        QTest::keyClick(target, Qt::Key_Return);
      } else if (c < 0x80) {
        QTest::keyClick(target, static_cast<char>(c));
      } else {
        QTest::sendKeyEvent(QTest::Click, target, Qt::Key_unknown, QString::fromUcs4(&c, 1),
                            Qt::NoModifier);
      }
    }
  }

  void Paste(int id, std::string_view text) {
    ClickIntoEnd(id);
    QGuiApplication::clipboard()->setText(QString::fromUtf8(text));
    QTest::keyClick(Focused(), Qt::Key_V, Qt::ControlModifier);
  }

  void PressTab(bool forward) {
    QTest::keyClick(Focused(), forward ? Qt::Key_Tab : Qt::Key_Backtab,
                    forward ? Qt::NoModifier : Qt::ShiftModifier);
  }
  void PressEnter() { QTest::keyClick(Focused(), Qt::Key_Return); }
  void PressArrow(ui::Arrow arrow) {
    static constexpr Qt::Key kKeys[] = {Qt::Key_Left, Qt::Key_Up, Qt::Key_Right, Qt::Key_Down};
    QTest::keyClick(Focused(), kKeys[static_cast<int>(arrow)]);
  }
  void PressEsc() { QTest::keyClick(Focused(), Qt::Key_Escape); }

  void PickTab(int id, int index) {
    const auto* bar = static_cast<QTabBar*>(window_->InputWidget(id));
    ClickAt(bar->mapTo(window_.get(), bar->tabRect(index).center()));
  }

  void PressCloseButton() {
    QCloseEvent close;
    QCoreApplication::sendEvent(window_->windowHandle(), &close);
  }

  void ChooseSystemMenuItem(unsigned command) {
    QMenu* menu = window_->OpenWindowMenu(window_->mapToGlobal(QPoint(0, 0)));
    for (QAction* action : menu->actions()) {
      if (!action->isSeparator() && action->data().toUInt() == command) {
        menu->setActiveAction(action);
        QTest::keyClick(menu, Qt::Key_Return);
        return;
      }
    }
    ADD_FAILURE() << "no window menu entry for " << command;
    menu->close();
  }

  std::vector<MenuEntry> SystemMenu() {
    QMenu* menu = window_->OpenWindowMenu(window_->mapToGlobal(QPoint(0, 0)));
    std::vector<MenuEntry> entries;
    for (const QAction* action : menu->actions()) {
      entries.push_back(action->isSeparator()
                            ? MenuEntry{0, ""}
                            : MenuEntry{action->data().toUInt(), action->text().toStdString()});
    }
    menu->close();
    return entries;
  }

 private:
  QPoint CentreOf(int id) const {
    const QWidget* widget = window_->InputWidget(id);
    return widget->mapTo(window_.get(), widget->rect().center());
  }
  void ClickAt(QPoint point) {
    QTest::mouseClick(window_->windowHandle(), Qt::LeftButton, {}, point);
  }
  // A click into the control, and the caret to the end of its text.
  void ClickIntoEnd(int id) {
    ClickAt(CentreOf(id));
    if (qobject_cast<QPlainTextEdit*>(Focused())) {
      QTest::keyClick(Focused(), Qt::Key_End, Qt::ControlModifier);
    } else {
      QTest::keyClick(Focused(), Qt::Key_End);
    }
  }
  QWidget* Focused() const {
    QWidget* focused = QApplication::focusWidget();
    return focused ? focused : window_.get();
  }

  ui::QtPlatform platform_{"test"};
  std::unique_ptr<ui::QtWindow> window_;
};

INSTANTIATE_TYPED_TEST_SUITE_P(QtWindowContract, WindowContract, testing::Types<QtDriver>);

}  // namespace qup::test_support
