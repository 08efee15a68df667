// SPDX-License-Identifier: MIT
// Session: the driver's state between commands, and the script's reading.
#include "app/drive/session.h"

#include <iostream>
#include <optional>
#include <utility>
#include <variant>

#include "app/drive/quoted_text.h"

#include "settings/settings_record.h"
#include "suggest/suggestion_box.h"

namespace qup::drive {

void Session::Fail(const std::string& message) {
  ++errors_;
  std::cerr << "qup-drive: line " << line_number_ << ": " << message << std::endl;
}

void Session::Print(const std::string& line) { std::cout << line << std::endl; }

std::optional<CommandLine> Session::Take(int line_number, std::string_view line) {
  BeginLine(line_number);
  std::variant<CommandLine, std::string> parsed = ParseCommand(line);
  if (const auto* mistake = std::get_if<std::string>(&parsed)) {
    Fail(*mistake);
    return std::nullopt;
  }
  auto& command = std::get<CommandLine>(parsed);
  switch (command.verb) {
    case Verb::kResolve:
      Resolve(command.args);
      return std::nullopt;
    case Verb::kBoxes:
      Boxes(command.args);
      return std::nullopt;
    default:
      return std::move(command);
  }
}

bool Session::HasWindow(bool open) {
  if (!open) Fail("no window is open");
  return open;
}

bool Session::HasControl(int id, bool found) {
  if (!found) Fail("the window has no control " + std::to_string(id));
  return found;
}

bool Session::IsReachable(int id, bool reachable) {
  if (!reachable) Fail("control " + std::to_string(id) + " is hidden or disabled");
  return reachable;
}

bool Session::HasTab(int tab, bool has_tabs, int count) {
  if (!has_tabs) {
    Fail("the window has no tabs");
    return false;
  }
  if (tab < 0 || tab >= count) {
    Fail("no tab " + std::to_string(tab));
    return false;
  }
  return true;
}

bool Session::CanPick(int id, bool is_combo_box, int entry, int count) {
  if (!is_combo_box) {
    Fail("control " + std::to_string(id) + " is no combo box");
    return false;
  }
  if (entry < 0 || entry >= count) {
    Fail("combo box " + std::to_string(id) + " has no entry " + std::to_string(entry) +
         (count == 0 ? std::string("; it is empty")
                     : "; its entries are 0 to " + std::to_string(count - 1)));
    return false;
  }
  return true;
}

bool Session::ListOpened(int id, bool opened) {
  if (!opened) Fail("combo box " + std::to_string(id) + " did not open");
  return opened;
}

bool Session::MenuOpened(bool opened) {
  if (!opened) Fail("the window menu did not open");
  return opened;
}

bool Session::HasMenuEntry(int command, bool found) {
  if (!found) Fail("the window menu has no entry " + std::to_string(command));
  return found;
}

bool Session::Wrote(const std::string& path, bool written) {
  if (!written) Fail("cannot write " + path);
  return written;
}

std::optional<std::string> Session::KeysOf(const std::string& escaped) {
  std::optional<std::string> keys = UnescapeKeys(escaped);
  if (!keys) Fail("unknown escape in \"" + escaped + "\"");
  return keys;
}

std::optional<std::size_t> Session::KeyNamed(const std::string& name) {
  const int index = KeyIndex(name);
  if (index < 0) {
    Fail(UnknownKeyMessage(name));
    return std::nullopt;
  }
  return static_cast<std::size_t>(index);
}

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
  if (!Begin()) return;
  run();
  End();
}

bool Session::Begin() {
  if (running_) {
    Fail("the program is running already");
    return false;
  }
  running_ = true;
  // Every start is a fresh run of the program: what a run keeps for the whole process starts
  // over as it would in a new process.
  settings::SettingsRecord::Instance().ResetToDefaults();
  suggest::ResetSuggestionCounters();
  return true;
}

void Session::End() {
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
