// SPDX-License-Identifier: MIT
// Loading and saving the settings record, and moving it into and out of the 1099 page.
#include "settings/settings_store.h"

#include <array>

#include "settings/settings_record.h"

namespace qup::settings {
namespace {

constexpr std::string_view kKeyPath = "Software\\Kestrane\\QU";

// Every slot is written whole, 16 bytes, whatever the length of its text.
void WriteAllSlots(Registry& registry, RegKey key, const SettingsRecord& record) {
  for (std::size_t i = 0; i < kSlotCount; ++i) {
    const Slot slot = static_cast<Slot>(i);
    registry.SetValue(key, kSlots[slot].value_name, kRegSz, record.Data(slot));
  }
}

}  // namespace

void LoadSettings(Registry& registry, ui::Platform& platform) {
  SettingsRecord& record = SettingsRecord::Instance();
  RegKey key = 0;
  if (!registry.OpenKey(kHkeyLocalMachine, kKeyPath, kKeyAllAccess, key)) {
    if (!registry.CreateKey(kHkeyLocalMachine, kKeyPath, key)) {
      platform.MessageBox("Cannot create QU key", "Reg Error", ui::kMbOk);
      return;
    }
    WriteAllSlots(registry, key, record);
  }
  // A value that is missing or too long fails to read and leaves its slot as it was.
  for (std::size_t i = 0; i < kSlotCount; ++i) {
    const Slot slot = static_cast<Slot>(i);
    std::size_t size = kSlotSize;
    registry.QueryValue(key, kSlots[slot].value_name, record.Data(slot), size);
  }
  registry.FlushKey(key);
  registry.CloseKey(key);
}

void ApplySettingsToPage(ui::Window& window, const PageTexts& texts) {
  const SettingsRecord& record = SettingsRecord::Instance();
  for (std::size_t i = 0; i < kTextSlotCount; ++i) {
    const Slot slot = static_cast<Slot>(i);
    *texts[i] = record.Text(slot);
    window.SetText(kSlots[slot].edit_id, *texts[i]);
  }
  // Each button shows its own character, and a period box is enabled exactly when its "$"
  // button shows checked.
  const std::array<bool, kRadioCount> shown = record.ShownRadios();
  for (std::size_t row = 0; row < ui::kOtherCostRows.size(); ++row) {
    window.SetCheck(ui::kOtherCostRows[row].percent_radio, shown[2 * row] ? 1 : 0);
    window.SetCheck(ui::kOtherCostRows[row].dollar_radio, shown[2 * row + 1] ? 1 : 0);
  }
  for (std::size_t row = 0; row < ui::kOtherCostRows.size(); ++row) {
    window.Enable(ui::kOtherCostRows[row].period_box, shown[2 * row + 1]);
  }
}

void CaptureSettingsFromPage(const ui::Window& window, const PageTexts& texts) {
  SettingsRecord& record = SettingsRecord::Instance();
  // The bound texts, not the controls: what was typed after the last Calculate or Clear stays out.
  for (std::size_t i = 0; i < kTextSlotCount; ++i) {
    record.SetText(static_cast<Slot>(i), *texts[i]);
  }
  std::array<bool, kRadioCount> checked{};
  for (std::size_t row = 0; row < ui::kOtherCostRows.size(); ++row) {
    checked[2 * row] = window.GetCheck(ui::kOtherCostRows[row].percent_radio) == 1;
    checked[2 * row + 1] = window.GetCheck(ui::kOtherCostRows[row].dollar_radio) == 1;
  }
  // Buttons that still show what the stored text made them show keep that text as it is, its
  // unusual characters included: a close after no change leaves the value alone.
  if (checked != record.ShownRadios()) record.SetRadios(checked);
}

void SaveSettings(Registry& registry) {
  RegKey key = 0;
  if (!registry.OpenKey(kHkeyLocalMachine, kKeyPath, kKeyAllAccess, key)) return;
  WriteAllSlots(registry, key, SettingsRecord::Instance());
  registry.CloseKey(key);
}

}  // namespace qup::settings
