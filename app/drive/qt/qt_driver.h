// SPDX-License-Identifier: MIT
// Driver: plays the driver's commands on the real window with real input events, on the GUI
// thread, and reports what the program shows outside its window.
#ifndef QUP_APP_DRIVE_QT_QT_DRIVER_H
#define QUP_APP_DRIVE_QT_QT_DRIVER_H

#include <QObject>
#include <QUrl>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "app/drive/language.h"
#include "app/drive/session.h"
#include "settings/qt/file_registry.h"
#include "suggest/qt/posix_network.h"
#include "ui/platform/qt/qt_platform.h"

class QMessageBox;
class QWidget;

namespace qup::drive {

class Driver : public QObject {
  Q_OBJECT

 public:
  // on_settled runs on the GUI thread each time a command has done all it will do for now:
  // its events are handled, and any dialog it opened waits for the user.
  explicit Driver(std::function<void()> on_settled);
  ~Driver() override;

  // The script language in one screen, for --help.
  static std::string Help();

  // Runs one line of a script: a command and its arguments. Problems go to standard error and
  // are counted.
  void Run(int line_number, const std::string& line);
  int ExitStatus() const { return session_.ExitStatus(); }
  bool WindowOpen() const { return session_.Running(); }

  // The desktop's handler of web addresses: the driver prints them instead of opening them.
  Q_INVOKABLE void OpenUrl(const QUrl& url);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Start();
  void Tab(const Arguments& args);
  void Click(const Arguments& args);
  void Type(const Arguments& args);
  void Keys(const Arguments& args);
  void Key(const Arguments& args);
  void Pick(const Arguments& args);
  void Close(const Arguments&);
  void Menu(const Arguments& args);
  void Show(const Arguments& args);
  void Screenshot(const Arguments& args);

  ui::QtWindow* Front();
  QWidget* Control(int id);
  // A left click in the middle of widget, through the window, as the mouse would give it.
  void ClickAt(QWidget* widget, QPoint point, Qt::MouseButton button = Qt::LeftButton);
  bool Reachable(const QWidget* widget) const;
  void TypeKeys(std::string_view keys);
  void Activate(QWidget* window);
  // The widget that a key goes to: an open popup's, else the focus of the window in front.
  QWidget* KeyTarget();
  void PressKey(Qt::Key key, Qt::KeyboardModifiers modifiers, const QString& text);
  void PressOk(QMessageBox* box);
  void OnAboutToBlock();

  std::function<void()> on_settled_;
  Session session_;
  std::unique_ptr<ui::QtPlatform> platform_;
  settings::FileRegistry registry_;
  bool in_flight_ = false;
  int message_boxes_open_ = 0;
};

}  // namespace qup::drive

#endif  // QUP_APP_DRIVE_QT_QT_DRIVER_H
