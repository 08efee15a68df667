// SPDX-License-Identifier: MIT
// Session: the driver's state between commands, and the script's reading.
#include "app/drive/session.h"

#include <iostream>
#include <optional>

#include "settings/settings_record.h"
#include "suggest/suggestion_box.h"

namespace qup::drive {

void Session::Fail(const std::string& message) {
  ++errors_;
  std::cerr << "qup-drive: line " << line_number_ << ": " << message << std::endl;
}

void Session::Print(const std::string& line) { std::cout << line << std::endl; }

void Session::Resolve(const Arguments& args) {
  if (running_) {
    Fail("resolve comes before start");
    return;
  }
  // Only where the suggestion goes changes: the submission host resolves to the address given,
  // the connection goes to its port, and every time-out stays the program's own.
  const std::optional<suggest::NetworkOptions> options = suggest::OptionsForTarget(args.text);
  if (!options) {
    Fail("resolve takes ADDRESS:PORT, an IPv4 address and a port from 1 to 65535");
    return;
  }
  network_target_ = *options;
}

void Session::Boxes(const Arguments& args) {
  if (args.text == "pressed" || args.text == "user") {
    press_message_boxes_ = args.text == "pressed";
  } else {
    Fail("boxes takes pressed (the driver presses OK) or user (the box waits for the user)");
  }
}

void Session::Start(const std::function<void()>& run) {
  if (running_) {
    Fail("the program is running already");
    return;
  }
  running_ = true;
  // Every start is a fresh run of the program: what a run keeps for the whole process starts
  // over as it would in a new process.
  settings::SettingsRecord::Instance().ResetToDefaults();
  suggest::ResetSuggestionCounters();
  run();
  running_ = false;
  Print("end");
}

void ReadScript(std::istream& in, const std::function<void(int, const std::string&)>& run) {
  std::string line;
  int line_number = 0;
  while (std::getline(in, line)) {
    ++line_number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (IsCommand(line)) run(line_number, line);
  }
}

}  // namespace qup::drive
