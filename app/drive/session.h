// SPDX-License-Identifier: MIT
// Session: what a driver keeps from one command to the next, whatever window it drives (the
// script's line and its mistakes, where suggestions go, who presses message boxes, whether the
// program runs), with the commands that change nothing else, and the reading of the script.
#ifndef QUP_APP_DRIVE_SESSION_H
#define QUP_APP_DRIVE_SESSION_H

#include <functional>
#include <istream>
#include <optional>
#include <string>
#include <string_view>

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

  // Reads one line of the script: a mistake in it is reported, and the commands that only
  // change the session (resolve, boxes) are done here. What is left for the window comes back.
  std::optional<CommandLine> Take(int line_number, std::string_view line);

  // The checks every driver makes of a command against its window, with the mistake each one
  // reports. Each returns whether the command may go on.
  bool HasWindow(bool open);
  bool HasControl(int id, bool found);
  bool IsReachable(int id, bool reachable);
  bool HasTab(int tab, bool has_tabs, int count);
  // A pick's box: a combo box, with the entry asked for.
  bool CanPick(int id, bool is_combo_box, int entry, int count);
  bool ListOpened(int id, bool opened);
  bool MenuOpened(bool opened);
  bool HasMenuEntry(int command, bool found);
  bool Wrote(const std::string& path, bool written);
  // The text of type and keys with its escapes undone, or nothing after reporting a bad escape.
  std::optional<std::string> KeysOf(const std::string& escaped);
  // The key a key command names, as an index into kKeyNames.
  std::optional<std::size_t> KeyNamed(const std::string& name);
  // Runs the program once through run, as a process of its own would run it, then prints
  // "end". A start while the program runs is a mistake.
  void Start(const std::function<void()>& run);
  // The same in two steps, for a driver whose program runs outside it (in a browser) and ends
  // while later commands play: Begin returns whether the run may start; End prints "end".
  bool Begin();
  void End();

 private:
  void Resolve(const Arguments& args);
  void Boxes(const Arguments& args);

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
