// SPDX-License-Identifier: MIT
// WebDriver: plays the driver's commands on the web page in a real browser, with real mouse
// and key events, and reports what the page shows outside its window.
#ifndef QUP_APP_DRIVE_WEB_WEB_DRIVER_H
#define QUP_APP_DRIVE_WEB_WEB_DRIVER_H

#include <string>

#include "app/drive/language.h"
#include "app/drive/session.h"

namespace qup::drive {

class WebDriver {
 public:
  // site is the folder of the page's files. The page's local storage starts with the text of
  // the Linux program's settings file and is written back to it.
  explicit WebDriver(const std::string& site);
  ~WebDriver();
  WebDriver(const WebDriver&) = delete;
  WebDriver& operator=(const WebDriver&) = delete;

  static std::string Help();

  // Whether the browser started; without it every command fails.
  bool Launched() const { return launched_; }
  void Run(int line_number, const std::string& line);
  int ExitStatus() const { return session_.ExitStatus(); }

 private:
  void Start();
  void Tab(const Arguments& args);
  void Click(const Arguments& args);
  void Type(const Arguments& args);
  void Keys(const Arguments& args);
  void Key(const Arguments& args);
  void Pick(const Arguments& args);
  void Close();
  void Show(const Arguments& args);
  void Screenshot(const Arguments& args);

  // The control's state in the front window, after the checks that it is there.
  std::optional<ShownControl> Shown(int id);
  bool Reachable(int id);
  // After each command: the message boxes it opened (answered unless the user answers them),
  // the addresses it opened, and the end of the program's window.
  void Settle();

  Session session_;
  bool launched_ = false;
};

}  // namespace qup::drive

#endif  // QUP_APP_DRIVE_WEB_WEB_DRIVER_H
