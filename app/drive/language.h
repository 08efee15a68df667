// SPDX-License-Identifier: MIT
// The driver's script language, the same on every system: its commands and their arguments,
// its key names, its help, and the lines it prints.
#ifndef QUP_APP_DRIVE_LANGUAGE_H
#define QUP_APP_DRIVE_LANGUAGE_H

#include <array>
#include <string>
#include <string_view>
#include <variant>

#include "ui/platform/window.h"

namespace qup::drive {

enum class Verb {
  kResolve,
  kBoxes,
  kStart,
  kTab,
  kClick,
  kType,
  kKeys,
  kKey,
  kPick,
  kClose,
  kMenu,
  kShow,
  kScreenshot,
};

struct Arguments {
  int id = 0;
  int number = 0;
  std::string text;
};

struct CommandLine {
  Verb verb;
  Arguments args;
};

// One line of a script, or the message that says what is wrong with it.
std::variant<CommandLine, std::string> ParseCommand(std::string_view line);

// Whether a script line holds a command: not empty, not only blanks, not a "#" comment.
bool IsCommand(std::string_view line);

// The keys a script may press by name, in the order the help lists them. Each driver maps
// them, in this order, to its system's keys.
inline constexpr std::array<std::string_view, 17> kKeyNames = {
    "Enter",          "Escape",        "Tab",        "Backtab",   "Up",   "Down",      "Left",
    "Right",          "Space",         "Alt+F4",     "Shift+F10", "Menu", "Alt+Space", "Ctrl+Tab",
    "Ctrl+Shift+Tab", "Ctrl+PageDown", "Ctrl+PageUp"};

// The index of name in kKeyNames, or -1.
int KeyIndex(std::string_view name);
std::string UnknownKeyMessage(std::string_view name);

// The language in one screen, for --help. display_note says how the driver shows its window.
std::string Help(std::string_view display_note);

// What show prints of a control: its text, whether it is shown, enabled and focused, its check
// state and its combo box's chosen entry (-1 for none and for every other control).
struct ShownControl {
  std::string text;
  bool visible = false;
  bool enabled = false;
  bool focused = false;
  int checked = 0;
  int index = -1;
};

// The lines the driver prints.
std::string ShowLine(int id, const ShownControl& control);
std::string ShowLine(const ui::Window& window, const ui::DialogTemplate& layout, int id);
std::string MessageBoxLine(int type, std::string_view caption, std::string_view text);
std::string UrlLine(std::string_view url);

// The program's own name in captions, whatever the driver's executable is called.
inline constexpr char kProgramDisplayName[] = "qup";

}  // namespace qup::drive

#endif  // QUP_APP_DRIVE_LANGUAGE_H
