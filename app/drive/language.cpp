// SPDX-License-Identifier: MIT
// The driver's script language, the same on every system.
#include "app/drive/language.h"

#include <algorithm>
#include <charconv>
#include <utility>

#include "app/drive/quoted_text.h"
#include "ui/platform/control_rules.h"

namespace qup::drive {

namespace {

enum class Shape { kNone, kNumber, kId, kIdNumber, kIdText, kText, kWord };

struct Command {
  std::string_view name;
  Verb verb;
  Shape shape;
  std::string_view arguments;  // as the help shows them
  std::string_view summary;
};

// clang-format off
constexpr Command kCommands[] = {
    {"resolve", Verb::kResolve, Shape::kWord, "ADDRESS:PORT",
     "send suggestions to this IPv4 address and port (before start)"},
    {"boxes", Verb::kBoxes, Shape::kWord, "pressed|user",
     "message boxes are pressed by the driver (pressed, the default) or wait for the user"},
    {"start", Verb::kStart, Shape::kNone, "",
     "run the program; prints \"end\" once its window has closed"},
    {"tab", Verb::kTab, Shape::kNumber, "N", "click tab N (0 is the first)"},
    {"click", Verb::kClick, Shape::kId, "ID", "click the middle of a control"},
    {"type", Verb::kType, Shape::kIdText, "ID TEXT",
     "click a box, select all with Ctrl+A, type TEXT"},
    {"keys", Verb::kKeys, Shape::kText, "TEXT", "type TEXT where the focus is"},
    {"key", Verb::kKey, Shape::kWord, "NAME", "press one named key (below)"},
    {"pick", Verb::kPick, Shape::kIdNumber, "ID N", "choose entry N (0 is the first) of a list"},
    {"close", Verb::kClose, Shape::kNone, "", "the title bar's close button"},
    {"menu", Verb::kMenu, Shape::kId, "ID",
     "right-click the window, choose 16 About or 61536 Close"},
    {"show", Verb::kShow, Shape::kId, "ID", "print a control's text and state"},
    {"screenshot", Verb::kScreenshot, Shape::kWord, "FILE", "save the front window as PNG"},
};
// clang-format on

bool ParseInt(std::string_view text, int& value) {
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  return ec == std::errc() && ptr == end && !text.empty();
}

// The first word of text and what follows the single space after it.
std::pair<std::string_view, std::string_view> SplitWord(std::string_view text) {
  const std::size_t space = text.find(' ');
  if (space == std::string_view::npos) return {text, {}};
  return {text.substr(0, space), text.substr(space + 1)};
}

bool Parse(Shape shape, std::string_view rest, Arguments& args) {
  switch (shape) {
    case Shape::kNone:
      return rest.empty();
    case Shape::kNumber:
      return ParseInt(rest, args.number);
    case Shape::kId:
      return ParseInt(rest, args.id);
    case Shape::kIdNumber: {
      const auto [id, number] = SplitWord(rest);
      return ParseInt(id, args.id) && ParseInt(number, args.number);
    }
    case Shape::kIdText: {
      const auto [id, text] = SplitWord(rest);
      args.text = text;
      return ParseInt(id, args.id);
    }
    case Shape::kText:
      args.text = rest;
      return true;
    case Shape::kWord:
      args.text = rest;
      return !rest.empty() && rest.find(' ') == std::string_view::npos;
  }
  return false;
}

}  // namespace

std::variant<CommandLine, std::string> ParseCommand(std::string_view line) {
  const auto [name, rest] = SplitWord(line);
  for (const Command& command : kCommands) {
    if (command.name != name) continue;
    CommandLine parsed{command.verb, {}};
    if (Parse(command.shape, rest, parsed.args)) return parsed;
    std::string message = "wrong arguments: ";
    message += command.name;
    if (!command.arguments.empty()) message.append(" ").append(command.arguments);
    return message;
  }
  std::string message = "unknown command \"";
  message.append(name).append("\" (qup-drive --help lists them)");
  return message;
}

bool IsCommand(std::string_view line) {
  const std::size_t first = line.find_first_not_of(" \t\r");
  return first != std::string_view::npos && line[first] != '#';
}

int KeyIndex(std::string_view name) {
  const auto* found = std::find(kKeyNames.begin(), kKeyNames.end(), name);
  return found == kKeyNames.end() ? -1 : static_cast<int>(found - kKeyNames.begin());
}

std::string UnknownKeyMessage(std::string_view name) {
  // Built by appending: GCC 12 at -O3 warns falsely about a text put in front of a string.
  std::string message = "unknown key \"";
  message.append(name).append("\"; the key names are");
  for (const std::string_view key : kKeyNames) message.append(" ").append(key);
  return message;
}

std::string Help(std::string_view display_note) {
  std::string help = "usage: qup-drive [--help] < SCRIPT\n";
  help += display_note;
  help +=
      "plays SCRIPT on it: one command a line, \"#\" starts a comment. ID is a control id\n"
      "(ui/control_ids.h; 1 is the W2 page's Calculate). A problem goes to standard error\n"
      "with its line number, and the exit status is then 1.\n\n";
  for (const Command& command : kCommands) {
    std::string usage = "  ";
    usage += command.name;
    if (!command.arguments.empty()) usage.append(" ").append(command.arguments);
    usage.resize(std::max<std::size_t>(usage.size() + 1, 24), ' ');
    help.append(usage).append(command.summary).append("\n");
  }
  help += "Key names:";
  std::size_t column = help.size() - help.rfind('\n');
  for (const std::string_view key : kKeyNames) {
    if (column + key.size() + 1 > 92) {
      help += "\n ";
      column = 1;
    }
    help.append(" ").append(key);
    column += key.size() + 1;
  }
  help +=
      "\nIn TEXT: \\n is Enter, \\t is Tab, \\\\ a backslash.\n\n"
      "It prints, texts quoted with \\n \\t \\r \\\\ \\\" escaped:\n"
      "  ID \"TEXT\" visible=0|1 enabled=0|1 focus=0|1 checked=N index=N   for show\n"
      "  msgbox TYPE \"CAPTION\" \"TEXT\"   a message box (TYPE 0, 16 stop, 48 warning, 64 note),\n"
      "                                 answered with OK at once\n"
      "  url \"ADDRESS\"                  an address the program would open in the browser\n"
      "  end                            the window of a start has closed\n"
      "Everything, with an example: docs/driver.md\n";
  return help;
}

std::string ShowLine(int id, const ShownControl& control) {
  return std::to_string(id) + " " + Quoted(control.text) +
         " visible=" + std::to_string(control.visible ? 1 : 0) +
         " enabled=" + std::to_string(control.enabled ? 1 : 0) +
         " focus=" + std::to_string(control.focused ? 1 : 0) +
         " checked=" + std::to_string(control.checked) + " index=" + std::to_string(control.index);
}

std::string ShowLine(const ui::Window& window, const ui::DialogTemplate& layout, int id) {
  const ui::ControlSpec* control = ui::FindControl(layout, id);
  const bool is_combo = control != nullptr && ui::IsComboBox(control->kind);
  return ShowLine(id, {window.GetText(id), window.IsVisible(id), window.IsEnabled(id),
                       window.FocusedControl() == id, window.GetCheck(id),
                       is_combo ? window.ComboGetCurSel(id) : -1});
}

std::string MessageBoxLine(int type, std::string_view caption, std::string_view text) {
  return "msgbox " + std::to_string(type) + " " + Quoted(caption) + " " + Quoted(text);
}

std::string UrlLine(std::string_view url) { return "url " + Quoted(url); }

}  // namespace qup::drive
