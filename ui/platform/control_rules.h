// SPDX-License-Identifier: MIT
// The window rules that are the program's own, read from the dialog template: which controls
// are combo boxes, take the focus and are Tab stops, which radio buttons are partners, which
// command Enter gives, how a combo box matches text and how an edit counts it. Every window
// implementation reads them here; what a toolkit does by itself (keeping a radio group
// exclusive, drawing, typing) it keeps, and the shared window tests prove that it agrees.
#ifndef QUP_UI_PLATFORM_CONTROL_RULES_H
#define QUP_UI_PLATFORM_CONTROL_RULES_H

#include <cstddef>
#include <functional>
#include <limits>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "ui/platform/dialog_template.h"

namespace qup::ui {

// --- Kinds ---

bool IsEdit(ControlKind kind);      // single-line and multi-line
bool IsComboBox(ControlKind kind);  // editable and drop list
// The controls a click or the logic's SetFocus gives the keyboard focus: edits, combo boxes,
// push and radio buttons. The others (texts, pictures, frames, the tab control) never have it.
bool TakesFocus(ControlKind kind);

// --- The keyboard ---

// Whether the Tab key visits the control when it is visible and enabled: edits, combo boxes
// and push buttons, unless the template marks them kNoTabStop. Radio buttons: see
// RadioGroupTabStop.
bool IsTabStop(const ControlSpec& control);

// The one button of radio button id's group that the Tab key visits, as dialogs do: the
// group's first checked button (should the program have left more than one checked), or its
// first button when none is checked; 0 for any other id. The arrow keys move within the group.
int RadioGroupTabStop(const DialogTemplate& dialog, int id,
                      const std::function<bool(int id)>& is_checked);

// The Tab stop the focus moves to from control `from` (0 for none) with Tab (forward) or
// Shift+Tab, in template order and round from the end to the start, passing over the controls
// for which can_take_focus is false (hidden or disabled ones); is_checked tells the radio
// buttons' check states; also_stops, when given, names controls that are Tab stops for now
// though the template does not mark them. 0 when there is none.
int NextTabStop(const DialogTemplate& dialog, int from, bool forward,
                const std::function<bool(int id)>& can_take_focus,
                const std::function<bool(int id)>& is_checked,
                const std::function<bool(int id)>& also_stops = nullptr);
// The control that has the focus when the window opens: its first Tab stop that can take it.
int FirstTabStop(const DialogTemplate& dialog, const std::function<bool(int id)>& can_take_focus,
                 const std::function<bool(int id)>& is_checked);

// The command Enter issues when no push button has the focus: the push button the template
// marks kDefaultButton (the last one, when it marks several, as each takes over from the one
// before), else the dialog's OK command kIdOk. A disabled default button takes no Enter.
int DefaultCommand(const DialogTemplate& dialog);

// --- Radio buttons ---

// A group of exclusive radio buttons is a run of radio buttons next to one another in template
// order. A new group starts at a button marked kGroupStart and at a radio button that follows
// any other kind of control; so every other control ends the group before it.
bool StartsRadioGroup(const DialogTemplate& dialog, std::size_t index);
// The radio buttons of the group that radio button id belongs to, itself included, in
// template order; empty for any other id.
std::vector<int> RadioGroup(const DialogTemplate& dialog, int id);

enum class Arrow { kLeft, kUp, kRight, kDown };
// Where an arrow key moves from the focused radio button id: Up and Left to the group's
// previous button, Down and Right to its next, round from one end to the other, passing over
// those that cannot take the focus. The button reached is chosen, as a click would choose it.
// 0 when id is no radio button or no other button of its group can take the focus.
int RadioArrowTarget(const DialogTemplate& dialog, int id, Arrow arrow,
                     const std::function<bool(int id)>& can_take_focus);

// --- Combo boxes ---

// The first entry that begins with prefix, ignoring case for every character that has one
// (Unicode simple case folding); -1 when none does, and always for an empty prefix.
int FindEntryBeginning(std::span<const std::string> entries, std::string_view prefix);
// The first entry equal to text, ignoring case; -1 when none is. A drop list has no text of
// its own: setting its text selects this entry, and when there is none the box stays as it was.
int FindEntryEqual(std::span<const std::string> entries, std::string_view text);

// --- Text limits ---

inline constexpr std::size_t kNoTextLimit = std::numeric_limits<std::size_t>::max();
// The most characters a new edit takes before the logic sets a limit.
inline constexpr std::size_t kDefaultTextLimit = 32767;
// The limit LimitText(id, max_chars) sets: max_chars, and no limit for 0 (or less).
std::size_t TextLimit(int max_chars);

// How long a text is for an edit's limit: in UTF-16 units, so a character beyond the 16-bit
// range counts as two, and a line break (CR LF, or a line feed on its own) counts as two.
std::size_t CountedLength(std::string_view utf8);
std::size_t CountedLength(std::u16string_view text);
// How much of text, added by the user, fits in room counted characters: its longest beginning
// that neither splits a character nor a line break; in bytes (UTF-8) or units (UTF-16).
std::size_t FittingPrefix(std::string_view utf8, std::size_t room);
std::size_t FittingPrefix(std::u16string_view text, std::size_t room);

}  // namespace qup::ui

#endif  // QUP_UI_PLATFORM_CONTROL_RULES_H
