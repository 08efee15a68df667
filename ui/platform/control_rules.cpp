// SPDX-License-Identifier: MIT
// The window rules that are the program's own, read from the dialog template.
#include "ui/platform/control_rules.h"

#include <algorithm>

#include "text/case_fold.h"
#include "ui/platform/window.h"

namespace qup::ui {
namespace {

// One step through a text as an edit counts it: the units it counts and the code units
// (bytes or UTF-16 units) it takes.
struct Step {
  std::size_t counted;
  std::size_t units;
};

Step NextStep(std::string_view utf8) {
  if (utf8.starts_with("\r\n")) return {2, 2};
  if (utf8.front() == '\n') return {2, 1};
  const auto lead = static_cast<unsigned char>(utf8.front());
  const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
  std::size_t bytes = 1;
  while (bytes < length && bytes < utf8.size() &&
         (static_cast<unsigned char>(utf8[bytes]) & 0xC0) == 0x80) {
    ++bytes;
  }
  // A four-byte sequence is a character beyond the 16-bit range: two UTF-16 units.
  return {length == 4 && bytes == 4 ? 2u : 1u, bytes};
}

Step NextStep(std::u16string_view text) {
  if (text.starts_with(u"\r\n")) return {2, 2};
  if (text.front() == u'\n') return {2, 1};
  const bool pair = text.size() >= 2 && text[0] >= 0xD800 && text[0] <= 0xDBFF &&
                    text[1] >= 0xDC00 && text[1] <= 0xDFFF;
  return pair ? Step{2, 2} : Step{1, 1};
}

template <typename View>
std::size_t Count(View text) {
  std::size_t counted = 0;
  while (!text.empty()) {
    const Step step = NextStep(text);
    counted += step.counted;
    text.remove_prefix(step.units);
  }
  return counted;
}

template <typename View>
std::size_t Fitting(View text, std::size_t room) {
  std::size_t counted = 0;
  std::size_t taken = 0;
  while (taken < text.size()) {
    const Step step = NextStep(text.substr(taken));
    if (step.counted > room - counted) break;
    counted += step.counted;
    taken += step.units;
  }
  return taken;
}

}  // namespace

bool IsEdit(ControlKind kind) {
  return kind == ControlKind::kEdit || kind == ControlKind::kMultiLineEdit;
}

bool IsComboBox(ControlKind kind) {
  return kind == ControlKind::kComboBox || kind == ControlKind::kDropList;
}

bool TakesFocus(ControlKind kind) {
  return IsEdit(kind) || IsComboBox(kind) || kind == ControlKind::kPushButton ||
         kind == ControlKind::kRadioButton;
}

bool IsTabStop(const ControlSpec& control) {
  const bool kind_stops =
      IsEdit(control.kind) || IsComboBox(control.kind) || control.kind == ControlKind::kPushButton;
  return kind_stops && (control.flags & kNoTabStop) == 0;
}

int RadioGroupTabStop(const DialogTemplate& dialog, int id,
                      const std::function<bool(int id)>& is_checked) {
  const std::vector<int> group = RadioGroup(dialog, id);
  if (group.empty()) return 0;
  const auto checked = std::find_if(group.begin(), group.end(), is_checked);
  return checked != group.end() ? *checked : group.front();
}

int NextTabStop(const DialogTemplate& dialog, int from, bool forward,
                const std::function<bool(int id)>& can_take_focus,
                const std::function<bool(int id)>& is_checked,
                const std::function<bool(int id)>& also_stops) {
  const std::span<const ControlSpec> controls = dialog.controls;
  const auto count = static_cast<std::ptrdiff_t>(controls.size());
  std::ptrdiff_t start = forward ? -1 : count;
  for (std::ptrdiff_t i = 0; i < count; ++i) {
    if (controls[static_cast<std::size_t>(i)].id == from) start = i;
  }
  for (std::ptrdiff_t step = 1; step <= count; ++step) {
    const std::ptrdiff_t i = ((start + (forward ? step : -step)) % count + count) % count;
    const ControlSpec& control = controls[static_cast<std::size_t>(i)];
    const bool stops = IsTabStop(control) || (also_stops && also_stops(control.id)) ||
                       (control.kind == ControlKind::kRadioButton &&
                        RadioGroupTabStop(dialog, control.id, is_checked) == control.id);
    if (stops && can_take_focus(control.id)) return control.id;
  }
  return 0;
}

int FirstTabStop(const DialogTemplate& dialog, const std::function<bool(int id)>& can_take_focus,
                 const std::function<bool(int id)>& is_checked) {
  return NextTabStop(dialog, 0, true, can_take_focus, is_checked);
}

int DefaultCommand(const DialogTemplate& dialog) {
  int command = kIdOk;
  for (const ControlSpec& control : dialog.controls) {
    if (control.kind == ControlKind::kPushButton && (control.flags & kDefaultButton) != 0) {
      command = control.id;
    }
  }
  return command;
}

bool StartsRadioGroup(const DialogTemplate& dialog, std::size_t index) {
  const std::span<const ControlSpec> controls = dialog.controls;
  if (index >= controls.size() || controls[index].kind != ControlKind::kRadioButton) return false;
  return index == 0 || (controls[index].flags & kGroupStart) != 0 ||
         controls[index - 1].kind != ControlKind::kRadioButton;
}

std::vector<int> RadioGroup(const DialogTemplate& dialog, int id) {
  const std::span<const ControlSpec> controls = dialog.controls;
  std::size_t index = 0;
  while (index < controls.size() && controls[index].id != id) ++index;
  if (index == controls.size() || controls[index].kind != ControlKind::kRadioButton) return {};
  while (!StartsRadioGroup(dialog, index)) --index;
  std::vector<int> group{controls[index].id};
  for (++index; index < controls.size() && controls[index].kind == ControlKind::kRadioButton &&
                !StartsRadioGroup(dialog, index);
       ++index) {
    group.push_back(controls[index].id);
  }
  return group;
}

int RadioArrowTarget(const DialogTemplate& dialog, int id, Arrow arrow,
                     const std::function<bool(int id)>& can_take_focus) {
  const std::vector<int> group = RadioGroup(dialog, id);
  const auto at = std::find(group.begin(), group.end(), id);
  if (at == group.end()) return 0;
  const std::size_t size = group.size();
  const std::size_t step = arrow == Arrow::kLeft || arrow == Arrow::kUp ? size - 1 : 1;
  std::size_t index = static_cast<std::size_t>(at - group.begin());
  for (std::size_t tried = 1; tried < size; ++tried) {
    index = (index + step) % size;
    if (can_take_focus(group[index])) return group[index];
  }
  return 0;
}

int FindEntryBeginning(std::span<const std::string> entries, std::string_view prefix) {
  if (prefix.empty()) return -1;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (text::StartsWithIgnoringCase(entries[i], prefix)) return static_cast<int>(i);
  }
  return -1;
}

int FindEntryEqual(std::span<const std::string> entries, std::string_view text) {
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (text::EqualsIgnoringCase(entries[i], text)) return static_cast<int>(i);
  }
  return -1;
}

std::size_t TextLimit(int max_chars) {
  return max_chars > 0 ? static_cast<std::size_t>(max_chars) : kNoTextLimit;
}

std::size_t CountedLength(std::string_view utf8) { return Count(utf8); }
std::size_t CountedLength(std::u16string_view text) { return Count(text); }
std::size_t FittingPrefix(std::string_view utf8, std::size_t room) { return Fitting(utf8, room); }
std::size_t FittingPrefix(std::u16string_view text, std::size_t room) {
  return Fitting(text, room);
}

}  // namespace qup::ui
