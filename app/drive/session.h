// SPDX-License-Identifier: MIT
// Session: what a driver keeps from one command to the next, whatever window it drives (the
// script's line and its mistakes, where suggestions go, who presses message boxes, whether the
// program runs), with the commands that change nothing else, and the reading of the script.
#ifndef QUP_APP_DRIVE_SESSION_H
#define QUP_APP_DRIVE_SESSION_H

#include <functional>
#include <istream>
#include <string>

#include "app/drive/language.h"
#include "suggest/network_options.h"

namespace qup::drive {

class Session {
 public:
  void BeginLine(int line_number) { line_number_ = line_number; }
  // A mistake of the script's, on standard error with its line; the driver then ends with 1.
  void Fail(const std::string& message);
  // One output line.
  void Print(const std::string& line);
  int ExitStatus() const { return errors_ == 0 ? 0 : 1; }

  bool Running() const { return running_; }
  bool PressesMessageBoxes() const { return press_message_boxes_; }
  const suggest::NetworkOptions& NetworkTarget() const { return network_target_; }

  void Resolve(const Arguments& args);
  void Boxes(const Arguments& args);
  // Runs the program once through run, as a process of its own would run it, then prints
  // "end". A start while the program runs is a mistake.
  void Start(const std::function<void()>& run);

 private:
  suggest::NetworkOptions network_target_;
  bool running_ = false;
  bool press_message_boxes_ = true;
  int errors_ = 0;
  int line_number_ = 0;
};

// Reads a script, handing each command to run with its line number, until the script ends.
void ReadScript(std::istream& in, const std::function<void(int, const std::string&)>& run);

}  // namespace qup::drive

#endif  // QUP_APP_DRIVE_SESSION_H
