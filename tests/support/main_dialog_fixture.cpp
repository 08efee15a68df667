// SPDX-License-Identifier: MIT
// The main window fixture and window snapshots.
#include "tests/support/main_dialog_fixture.h"

#include <sstream>

#include "settings/settings_record.h"
#include "ui/control_ids.h"

namespace qup::test_support {

std::vector<ControlState> Snapshot(const ui::MemoryWindow& window) {
  std::vector<ControlState> states;
  for (const ui::ControlSpec& control_spec : window.dialog().controls) {
    int selected = ui::kComboError;
    if (control_spec.kind == ui::ControlKind::kTabControl)
      selected = window.TabGetCurSel(control_spec.id);
    if (control_spec.kind == ui::ControlKind::kComboBox ||
        control_spec.kind == ui::ControlKind::kDropList) {
      selected = window.ComboGetCurSel(control_spec.id);
    }
    states.push_back({control_spec.id, window.GetText(control_spec.id),
                      window.IsVisible(control_spec.id), window.IsEnabled(control_spec.id),
                      window.GetCheck(control_spec.id), selected});
  }
  return states;
}

std::string Differences(const std::vector<ControlState>& before,
                        const std::vector<ControlState>& after) {
  std::ostringstream out;
  for (std::size_t i = 0; i < before.size() && i < after.size(); ++i) {
    const ControlState& a = before[i];
    const ControlState& b = after[i];
    if (a == b) continue;
    out << a.id << ": text \"" << a.text << "\" -> \"" << b.text << "\", visible " << a.visible
        << " -> " << b.visible << ", enabled " << a.enabled << " -> " << b.enabled << ", check "
        << a.check << " -> " << b.check << ", selected " << a.selected << " -> " << b.selected
        << "\n";
  }
  if (before.size() != after.size()) out << "different control counts\n";
  return out.str();
}

ui::MemoryWindow& MainDialogFixture::Open() { return Open(registry_); }

ui::MemoryWindow& MainDialogFixture::Open(settings::Registry& store) {
  return Open(store, network_);
}

ui::MemoryWindow& MainDialogFixture::Open(settings::Registry& store, suggest::Network& network) {
  settings::SettingsRecord::Instance().ResetToDefaults();
  dialog_ = std::make_unique<ui::MainDialog>(platform_, store, network);
  platform_.QueueModalScript([](ui::MemoryWindow&) {});
  dialog_->DoModal();
  window_ = platform_.windows().back().get();
  return *window_;
}

}  // namespace qup::test_support
