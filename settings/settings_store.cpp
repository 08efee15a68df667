// SPDX-License-Identifier: MIT
// Placeholder until the settings store lands: nothing is loaded or saved.
#include "settings/settings_store.h"

namespace qup::settings {

void LoadSettings(Registry&, ui::Platform&) {}
void ApplySettingsToPage(ui::Window&, const PageTexts&) {}
void CaptureSettingsFromPage(const ui::Window&, const PageTexts&) {}
void SaveSettings(Registry&) {}

}  // namespace qup::settings
