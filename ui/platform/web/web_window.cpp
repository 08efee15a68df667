// SPDX-License-Identifier: MIT
// WebWindow: the template's controls made in the page, and the modal loop over the user's
// actions there.
#include "ui/platform/web/web_window.h"

#include <string>

#include "ui/platform/control_rules.h"
#include "ui/platform/web/web_dom.h"

namespace qup::ui {

namespace {

// What web_window.js queues for each action of the user.
enum EventKind : int {
  kCommand = 0,
  kTabChange = 1,
  kSystem = 2,
  kPress = 3,
  kArrow = 4,
  kTabKey = 5,
};
constexpr int kEventSize = 5;  // kind, id, code, x, y

std::string Text(std::string_view text) { return std::string(text); }

// The name and description a screen reader gives control, from the template's table.
struct Naming {
  std::string name;
  std::string description;
  const AccessibleName* entry = nullptr;
  const ControlSpec* label = nullptr;
};

Naming NamingOf(const DialogTemplate& dialog, const ControlSpec& control) {
  Naming naming;
  for (const AccessibleName& entry : dialog.accessible_names) {
    if (entry.id != control.id) continue;
    naming.entry = &entry;
    naming.label = entry.label == kNoLabel ? nullptr : FindControl(dialog, entry.label);
    naming.name = Text(entry.text);
    if (naming.label != nullptr && entry.use == LabelUse::kNamePrefix) {
      naming.name.insert(0, naming.label->caption);
    }
    if (naming.label != nullptr && entry.use == LabelUse::kDescription) {
      naming.description = Text(naming.label->caption);
    }
  }
  return naming;
}

}  // namespace

WebWindow::WebWindow(const DialogTemplate& dialog, bool owned) : dialog_(dialog) {
  int units[2] = {};
  qup_dom_base_units(units);
  base_units_ = {units[0], units[1]};
  const Rect client = MapDialogRect({0, 0, dialog.width, dialog.height});
  handle_ = qup_dom_open(Text(dialog.title).c_str(), client.width, client.height, owned ? 1 : 0);
  Create();
}

WebWindow::~WebWindow() {
  if (!ended_) qup_dom_close(handle_);
}

void WebWindow::Create() {
  qup_dom_set_default_command(handle_, DefaultCommand(dialog_));
  for (const ControlSpec& control : dialog_.controls) {
    const Rect pixels = MapDialogRect(control.rect);
    const Naming naming = NamingOf(dialog_, control);
    qup_dom_add_control(handle_, control.id, static_cast<int>(control.kind),
                        Text(control.caption).c_str(), pixels.x, pixels.y, pixels.width,
                        pixels.height, control.page, control.flags, control.resource,
                        naming.name.c_str(), naming.description.c_str());
    if (control.kind == ControlKind::kStatic && naming.label != nullptr) {
      if (naming.entry->use == LabelUse::kColumnHeads) {
        qup_dom_make_table(handle_, control.id, Text(naming.label->caption).c_str());
      } else if (naming.entry->use == LabelUse::kNamePrefix) {
        qup_dom_make_result(handle_, control.id, naming.name.c_str());
      }
    }
  }
  for (const ControlSpec& control : dialog_.controls) {
    if (control.kind != ControlKind::kRadioButton) continue;
    const std::vector<int> group = RadioGroup(dialog_, control.id);
    qup_dom_set_group(handle_, control.id, group.data(), static_cast<int>(group.size()));
  }
}

int WebWindow::Run(DialogHandler& handler) {
  handler.OnInitDialog(*this);
  if (!ended_ && FocusedControl() == 0) {
    const int first = FirstTabStop(
        dialog_, [this](int id) { return CanTakeFocus(id); },
        [this](int id) { return GetCheck(id) != 0; });
    if (first != 0) SetFocus(first);
  }
  int event[kEventSize] = {};
  while (!ended_) {
    qup_dom_wait_event(handle_, event);
    Dispatch(handler, event);
  }
  return result_;
}

void WebWindow::Dispatch(DialogHandler& handler, const int* event) {
  const int id = event[1];
  switch (event[0]) {
    case kCommand:
      handler.OnCommand(id, static_cast<Notification>(event[2]));
      break;
    case kTabChange:
      handler.OnTabSelChange(id);
      break;
    case kSystem:
      handler.OnSysCommand(static_cast<unsigned>(id));
      break;
    case kPress:
      handler.OnLButtonDown({event[3], event[4]});
      break;
    case kArrow:
      if (const int target = RadioArrowTarget(dialog_, id, static_cast<Arrow>(event[2]),
                                              [this](int other) { return CanTakeFocus(other); });
          target != 0) {
        SetFocus(target);
        for (const int partner : RadioGroup(dialog_, target)) SetCheck(partner, partner == target);
        handler.OnCommand(target, Notification::kClicked);
      }
      break;
    case kTabKey:
      if (const int next = NextTabStop(
              dialog_, FocusedControl(), event[2] != 0,
              [this](int other) { return CanTakeFocus(other); },
              [this](int other) { return GetCheck(other) != 0; });
          next != 0) {
        SetFocus(next);
      }
      break;
    default:
      break;
  }
}

const ControlSpec* WebWindow::Find(int id, bool (*kind)(ControlKind)) const {
  const ControlSpec* control = FindControl(dialog_, id);
  if (ended_ || control == nullptr || (kind != nullptr && !kind(control->kind))) return nullptr;
  return control;
}

bool WebWindow::CanTakeFocus(int id) const {
  const ControlSpec* control = Find(id, TakesFocus);
  return control != nullptr && IsVisible(id) && IsEnabled(id);
}

void WebWindow::SetText(int id, std::string_view text) {
  const ControlSpec* control = Find(id);
  if (control == nullptr || control->kind == ControlKind::kPicture ||
      control->kind == ControlKind::kIcon || control->kind == ControlKind::kTabControl) {
    return;
  }
  if (control->kind == ControlKind::kDropList) {
    const int index = FindEntryEqual(entries_[id], text);
    if (index >= 0) qup_dom_combo_set(handle_, id, index);
    return;
  }
  qup_dom_set_text(handle_, id, Text(text).c_str());
}

std::string WebWindow::GetText(int id) const {
  if (Find(id) == nullptr) return {};
  std::string text(64, '\0');
  int needed = qup_dom_get_text(handle_, id, text.data(), static_cast<int>(text.size()));
  if (needed > static_cast<int>(text.size())) {
    text.resize(static_cast<std::size_t>(needed));
    needed = qup_dom_get_text(handle_, id, text.data(), needed);
  }
  text.resize(static_cast<std::size_t>(needed - 1));
  return text;
}

void WebWindow::Show(int id, bool visible) {
  if (Find(id) != nullptr) qup_dom_show(handle_, id, visible ? 1 : 0);
}

bool WebWindow::IsVisible(int id) const {
  return Find(id) != nullptr && qup_dom_is_visible(handle_, id) != 0;
}

void WebWindow::Enable(int id, bool enabled) {
  if (Find(id) != nullptr) qup_dom_enable(handle_, id, enabled ? 1 : 0);
}

bool WebWindow::IsEnabled(int id) const {
  return Find(id) != nullptr && qup_dom_is_enabled(handle_, id) != 0;
}

void WebWindow::SetFocus(int id) {
  if (CanTakeFocus(id)) qup_dom_focus(handle_, id);
}

int WebWindow::FocusedControl() const { return ended_ ? 0 : qup_dom_focused(handle_); }

void WebWindow::SetCheck(int id, int state) {
  if (Find(id, [](ControlKind kind) { return kind == ControlKind::kRadioButton; }) != nullptr) {
    qup_dom_set_check(handle_, id, state != 0 ? 1 : 0);
  }
}

int WebWindow::GetCheck(int id) const {
  if (Find(id, [](ControlKind kind) { return kind == ControlKind::kRadioButton; }) == nullptr) {
    return 0;
  }
  return qup_dom_get_check(handle_, id);
}

void WebWindow::ComboAddString(int id, std::string_view entry) {
  if (Find(id, IsComboBox) == nullptr) return;
  entries_[id].emplace_back(entry);
  qup_dom_combo_add(handle_, id, Text(entry).c_str());
}

int WebWindow::ComboSelectString(int id, std::string_view prefix) {
  if (Find(id, IsComboBox) == nullptr) return kComboError;
  const int index = FindEntryBeginning(entries_[id], prefix);
  if (index >= 0) qup_dom_combo_set(handle_, id, index);
  return index < 0 ? kComboError : index;
}

int WebWindow::ComboGetCurSel(int id) const {
  return Find(id, IsComboBox) == nullptr ? kComboError : qup_dom_combo_get(handle_, id);
}

void WebWindow::ComboSetCurSel(int id, int index) {
  if (Find(id, IsComboBox) == nullptr) return;
  const auto count = static_cast<int>(entries_[id].size());
  qup_dom_combo_set(handle_, id, index >= 0 && index < count ? index : -1);
}

void WebWindow::LimitText(int id, int max_chars) {
  if (Find(id, IsEdit) == nullptr) return;
  const std::size_t limit = TextLimit(max_chars);
  qup_dom_limit_text(handle_, id, limit == kNoTextLimit ? 0x7FFFFFFF : static_cast<int>(limit));
}

void WebWindow::TabInsertItem(int id, int index, std::string_view caption) {
  if (Find(id, [](ControlKind kind) { return kind == ControlKind::kTabControl; }) != nullptr) {
    qup_dom_tab_insert(handle_, id, index, Text(caption).c_str());
  }
}

int WebWindow::TabGetCurSel(int id) const {
  if (Find(id, [](ControlKind kind) { return kind == ControlKind::kTabControl; }) == nullptr) {
    return -1;
  }
  return qup_dom_tab_get(handle_, id);
}

void WebWindow::TabSetCurSel(int id, int index) {
  if (Find(id, [](ControlKind kind) { return kind == ControlKind::kTabControl; }) != nullptr) {
    qup_dom_tab_set(handle_, id, index);
  }
}

void WebWindow::MessageBox(std::string_view text, std::string_view caption, int type) {
  qup_dom_message_box(Text(text).c_str(), Text(caption).c_str(), type);
}

Rect WebWindow::MapDialogRect(Rect dialog_units) const {
  return DialogUnitsToPixels(dialog_units, base_units_);
}

void WebWindow::EndDialog(int result) {
  if (ended_) return;
  result_ = result;
  ended_ = true;
  qup_dom_close(handle_);
}

}  // namespace qup::ui
