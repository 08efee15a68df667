// SPDX-License-Identifier: MIT
// The in-memory dialog window: control state, the window's rules, and the user's actions.
#include "ui/platform/memory/memory_window.h"

#include <algorithm>
#include <cstdlib>

#include "ui/platform/base_units.h"
#include "ui/platform/control_rules.h"
#include "ui/platform/memory/memory_platform.h"

namespace qup::ui {
namespace {

constexpr unsigned kScMove = 0xF010;
// Height of the strip of tabs along the tab control's bottom edge, in dialog units.
constexpr int kTabStripHeight = 12;

bool Contains(Rect rect, Point point) {
  return point.x >= rect.x && point.x < rect.x + rect.width && point.y >= rect.y &&
         point.y < rect.y + rect.height;
}

}  // namespace

MemoryWindow::MemoryWindow(MemoryPlatform& platform, const DialogTemplate& dialog,
                           DialogHandler& handler, MemoryWindow* owner)
    : platform_(platform), dialog_(dialog), handler_(handler), owner_(owner) {
  controls_.reserve(dialog.controls.size());
  for (const ControlSpec& control_spec : dialog.controls) {
    Control control{.control_spec = control_spec, .text = {}, .entries = {}};
    if (!IsComboBox(control_spec.kind)) control.text = control_spec.caption;
    control.enabled = (control_spec.flags & kDisabled) == 0;
    controls_.push_back(std::move(control));
  }
  system_menu_ = {{kScMove, "&Move"}, {kScClose, "&Close\tAlt+F4"}};
}

MemoryWindow::Control* MemoryWindow::Find(int id) {
  auto it = std::find_if(controls_.begin(), controls_.end(),
                         [id](const Control& c) { return c.control_spec.id == id; });
  return it == controls_.end() ? nullptr : &*it;
}

const MemoryWindow::Control* MemoryWindow::Find(int id) const {
  return const_cast<MemoryWindow*>(this)->Find(id);
}

MemoryWindow::Control* MemoryWindow::Reachable(int id) {
  if (ended_ || Blocked()) return nullptr;
  Control* control = Find(id);
  if (control == nullptr || !control->visible || !control->enabled) return nullptr;
  return control;
}

bool MemoryWindow::CanTakeFocus(const Control& control) const {
  return TakesFocus(control.control_spec.kind) && control.visible && control.enabled;
}

void MemoryWindow::MoveFocusTo(int id) {
  if (focus_ == id) return;
  focus_ = id;
  const Control* control = Find(id);
  if (control != nullptr && IsEdit(control->control_spec.kind)) Notify(id, Notification::kSetFocus);
}

void MemoryWindow::Notify(int id, Notification code) { handler_.OnCommand(id, code); }

// --- Window ---

void MemoryWindow::SetText(int id, std::string_view text) {
  Control* control = Find(id);
  if (control == nullptr) return;
  switch (control->control_spec.kind) {
    case ControlKind::kComboBox:
      control->text = text;
      control->selected = kComboError;
      break;
    case ControlKind::kDropList:
      if (const int index = FindEntryEqual(control->entries, text); index >= 0) {
        control->selected = index;
        control->text = control->entries[static_cast<std::size_t>(index)];
      }
      break;
    default:
      control->text = text;
  }
}

std::string MemoryWindow::GetText(int id) const {
  const Control* control = Find(id);
  return control == nullptr ? std::string() : control->text;
}

void MemoryWindow::Show(int id, bool visible) {
  Control* control = Find(id);
  if (control == nullptr) return;
  control->visible = visible;
  if (!visible && focus_ == id) focus_ = 0;
}

bool MemoryWindow::IsVisible(int id) const {
  const Control* control = Find(id);
  return control != nullptr && control->visible;
}

void MemoryWindow::Enable(int id, bool enabled) {
  Control* control = Find(id);
  if (control == nullptr) return;
  control->enabled = enabled;
  if (!enabled && focus_ == id) focus_ = 0;
}

bool MemoryWindow::IsEnabled(int id) const {
  const Control* control = Find(id);
  return control != nullptr && control->enabled;
}

void MemoryWindow::SetFocus(int id) {
  const Control* control = Find(id);
  if (control != nullptr && CanTakeFocus(*control)) MoveFocusTo(id);
}

void MemoryWindow::CheckRadio(Control& control) {
  for (const int partner : RadioGroup(dialog_, control.control_spec.id)) Find(partner)->check = 0;
  control.check = 1;
}

void MemoryWindow::SetCheck(int id, int state) {
  Control* control = Find(id);
  if (control == nullptr || control->control_spec.kind != ControlKind::kRadioButton) return;
  // The program sets one button alone; only the user's press clears its partner.
  control->check = state != 0 ? 1 : 0;
}

int MemoryWindow::GetCheck(int id) const {
  const Control* control = Find(id);
  return control == nullptr ? 0 : control->check;
}

void MemoryWindow::ComboAddString(int id, std::string_view entry) {
  Control* control = Find(id);
  if (control != nullptr && IsComboBox(control->control_spec.kind))
    control->entries.emplace_back(entry);
}

int MemoryWindow::ComboSelectString(int id, std::string_view prefix) {
  Control* control = Find(id);
  if (control == nullptr || !IsComboBox(control->control_spec.kind)) return kComboError;
  const int index = FindEntryBeginning(control->entries, prefix);
  if (index < 0) return kComboError;
  control->selected = index;
  control->text = control->entries[static_cast<std::size_t>(index)];
  return index;
}

int MemoryWindow::ComboGetCurSel(int id) const {
  const Control* control = Find(id);
  return control == nullptr || !IsComboBox(control->control_spec.kind) ? kComboError
                                                                       : control->selected;
}

void MemoryWindow::ComboSetCurSel(int id, int index) {
  Control* control = Find(id);
  if (control == nullptr || !IsComboBox(control->control_spec.kind)) return;
  if (index >= 0 && static_cast<std::size_t>(index) < control->entries.size()) {
    control->selected = index;
    control->text = control->entries[static_cast<std::size_t>(index)];
  } else {
    control->selected = kComboError;
    control->text.clear();
  }
}

void MemoryWindow::LimitText(int id, int max_chars) {
  Control* control = Find(id);
  if (control != nullptr && IsEdit(control->control_spec.kind)) {
    control->limit = qup::ui::TextLimit(max_chars);
  }
}

void MemoryWindow::TabInsertItem(int id, int index, std::string_view caption) {
  Control* control = Find(id);
  if (control == nullptr || control->control_spec.kind != ControlKind::kTabControl) return;
  auto at = std::min(static_cast<std::size_t>(std::max(index, 0)), control->entries.size());
  control->entries.insert(control->entries.begin() + static_cast<std::ptrdiff_t>(at),
                          std::string(caption));
  // The selected tab stays selected when one is inserted before it.
  if (control->selected == kComboError) {
    control->selected = 0;
  } else if (static_cast<int>(at) <= control->selected) {
    ++control->selected;
  }
}

int MemoryWindow::TabGetCurSel(int id) const {
  const Control* control = Find(id);
  return control == nullptr || control->control_spec.kind != ControlKind::kTabControl
             ? kComboError
             : control->selected;
}

void MemoryWindow::TabSetCurSel(int id, int index) {
  Control* control = Find(id);
  if (control == nullptr || control->control_spec.kind != ControlKind::kTabControl) return;
  if (index >= 0 && static_cast<std::size_t>(index) < control->entries.size()) {
    control->selected = index;
  }
}

void MemoryWindow::SetIcons(int large_icon, int small_icon) {
  large_icon_ = large_icon;
  small_icon_ = small_icon;
}

void MemoryWindow::AppendSystemMenuSeparator() {
  if (has_system_menu_) system_menu_.push_back({0, ""});
}

void MemoryWindow::AppendSystemMenuItem(unsigned command, std::string_view text) {
  if (has_system_menu_) system_menu_.push_back({command, std::string(text)});
}

void MemoryWindow::MessageBox(std::string_view text, std::string_view caption, int type) {
  platform_.RecordMessageBox(text, caption, type, true);
}

Rect MemoryWindow::MapDialogRect(Rect dialog_units) const {
  return DialogUnitsToPixels(dialog_units, {base_x_, base_y_});
}

void MemoryWindow::EndDialog(int result) {
  ended_ = true;
  result_ = result;
}

// --- The platform's side ---

void MemoryWindow::SetBaseUnits(int x, int y) {
  base_x_ = x;
  base_y_ = y;
}

void MemoryWindow::SetInitialFocus() {
  if (ended_ || focus_ != 0) return;
  if (const int first = FirstTabStop(
          dialog_, [this](int id) { return CanTakeFocus(*Find(id)); },
          [this](int id) { return GetCheck(id) != 0; }))
    MoveFocusTo(first);
}

// --- The user's side ---

bool MemoryWindow::InsertText(Control& control, std::string_view text) {
  const ControlKind kind = control.control_spec.kind;
  if (kind == ControlKind::kDropList) {
    return ComboSelectString(control.control_spec.id, text) != kComboError;
  }
  std::string typed;
  if (kind == ControlKind::kMultiLineEdit) {
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) typed += '\r';
      typed += text[i];
    }
  } else {
    typed = text.substr(0, text.find_first_of("\r\n"));
  }

  const std::size_t held = CountedLength(control.text);
  const std::size_t room = control.limit > held ? control.limit - held : 0;
  // A character or a line break goes in whole or not at all.
  const std::size_t taken_bytes = FittingPrefix(typed, room);
  control.text += typed.substr(0, taken_bytes);
  if (kind == ControlKind::kComboBox) control.selected = kComboError;
  if (taken_bytes < typed.size()) Notify(control.control_spec.id, Notification::kMaxText);
  return true;
}

bool MemoryWindow::Click(int id) {
  Control* control = Reachable(id);
  if (control == nullptr) return false;
  if (control->control_spec.kind == ControlKind::kPushButton) {
    MoveFocusTo(id);
  } else if (control->control_spec.kind == ControlKind::kRadioButton) {
    MoveFocusTo(id);
    CheckRadio(*control);
  } else {
    return false;
  }
  Notify(id, Notification::kClicked);
  return true;
}

bool MemoryWindow::Type(int id, std::string_view text) {
  Control* control = Reachable(id);
  if (control == nullptr ||
      !(IsEdit(control->control_spec.kind) || IsComboBox(control->control_spec.kind))) {
    return false;
  }
  MoveFocusTo(id);
  return InsertText(*control, text);
}

bool MemoryWindow::Retype(int id, std::string_view text) {
  Control* control = Reachable(id);
  if (control == nullptr ||
      !(IsEdit(control->control_spec.kind) || IsComboBox(control->control_spec.kind))) {
    return false;
  }
  MoveFocusTo(id);
  if (control->control_spec.kind != ControlKind::kDropList) {
    control->text.clear();
    control->selected = kComboError;
  }
  return InsertText(*control, text);
}

bool MemoryWindow::Pick(int id, int index) {
  Control* control = Reachable(id);
  if (control == nullptr || !IsComboBox(control->control_spec.kind) || index < 0 ||
      static_cast<std::size_t>(index) >= control->entries.size()) {
    return false;
  }
  MoveFocusTo(id);
  ComboSetCurSel(id, index);
  return true;
}

bool MemoryWindow::PickTab(int id, int index) {
  Control* control = Reachable(id);
  if (control == nullptr || control->control_spec.kind != ControlKind::kTabControl || index < 0 ||
      static_cast<std::size_t>(index) >= control->entries.size()) {
    return false;
  }
  MoveFocusTo(id);
  if (control->selected != index) {
    control->selected = index;
    handler_.OnTabSelChange(id);
  }
  return true;
}

bool MemoryWindow::MoveFocus(int id) {
  Control* control = Reachable(id);
  if (control == nullptr || !TakesFocus(control->control_spec.kind)) return false;
  MoveFocusTo(id);
  return true;
}

bool MemoryWindow::PressTab(bool forward) {
  if (ended_ || Blocked()) return false;
  const int next = NextTabStop(
      dialog_, focus_, forward, [this](int id) { return CanTakeFocus(*Find(id)); },
      [this](int id) { return GetCheck(id) != 0; });
  if (next != 0) MoveFocusTo(next);
  return true;
}

bool MemoryWindow::PressEnter() {
  if (ended_ || Blocked()) return false;
  if (Control* focused = Reachable(focus_); focused != nullptr) {
    if (focused->control_spec.kind == ControlKind::kPushButton) {
      Notify(focus_, Notification::kClicked);
      return true;
    }
    if (focused->control_spec.kind == ControlKind::kMultiLineEdit)
      return InsertText(*focused, "\n");
  }
  const int command = DefaultCommand(dialog_);
  // A disabled default button takes no Enter.
  if (const Control* button = Find(command); button != nullptr && !button->enabled) return true;
  Notify(command, Notification::kClicked);
  return true;
}

bool MemoryWindow::PressArrow(Arrow arrow) {
  if (ended_ || Blocked()) return false;
  const int target =
      RadioArrowTarget(dialog_, focus_, arrow, [this](int id) { return CanTakeFocus(*Find(id)); });
  return target != 0 && Click(target);
}

bool MemoryWindow::PressEsc() {
  if (ended_ || Blocked()) return false;
  Notify(kIdCancel, Notification::kClicked);
  return true;
}

bool MemoryWindow::Close() {
  if (ended_ || Blocked() || !has_system_menu_) return false;
  handler_.OnSysCommand(kScClose);
  return true;
}

bool MemoryWindow::ChooseSystemMenuItem(unsigned command) {
  if (ended_ || Blocked() || !has_system_menu_ || command == 0) return false;
  const bool listed =
      std::any_of(system_menu_.begin(), system_menu_.end(),
                  [command](const MenuItem& item) { return item.command == command; });
  if (!listed) return false;
  handler_.OnSysCommand(command);
  return true;
}

bool MemoryWindow::PressMouse(Point client_pixels) {
  if (ended_ || Blocked()) return false;
  for (const Control& control : controls_) {
    if (!control.visible) continue;
    if (TakesFocus(control.control_spec.kind) &&
        Contains(MapDialogRect(control.control_spec.rect), client_pixels)) {
      return true;
    }
    if (control.control_spec.kind == ControlKind::kTabControl) {
      Rect strip = control.control_spec.rect;
      strip.y += strip.height - kTabStripHeight;
      strip.height = kTabStripHeight;
      if (Contains(MapDialogRect(strip), client_pixels)) return true;
    }
  }
  handler_.OnLButtonDown(client_pixels);
  return true;
}

// --- Reading ---

ControlKind MemoryWindow::Kind(int id) const {
  const Control* control = Find(id);
  return control == nullptr ? ControlKind::kStatic : control->control_spec.kind;
}

std::vector<std::string> MemoryWindow::ComboEntries(int id) const {
  const Control* control = Find(id);
  return control == nullptr || !IsComboBox(control->control_spec.kind) ? std::vector<std::string>{}
                                                                       : control->entries;
}

std::size_t MemoryWindow::TextLimit(int id) const {
  const Control* control = Find(id);
  return control == nullptr ? 0 : control->limit;
}

std::vector<int> MemoryWindow::VisibleControls() const {
  std::vector<int> ids;
  for (const Control& control : controls_) {
    if (control.visible) ids.push_back(control.control_spec.id);
  }
  return ids;
}

}  // namespace qup::ui
