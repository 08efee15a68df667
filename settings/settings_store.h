// SPDX-License-Identifier: MIT
// The 1099 page's saved inputs: the process-wide record, loading and saving it, and moving it
// into and out of the page.
#ifndef QUP_SETTINGS_SETTINGS_STORE_H
#define QUP_SETTINGS_SETTINGS_STORE_H

#include <array>
#include <string>

#include "settings/registry.h"
#include "ui/platform/platform.h"
#include "ui/platform/window.h"

namespace qup::settings {

// The dialog's bound texts of the seven 1099 inputs, in slot order: rate, social security,
// state tax, federal tax, workers' comp., insurance, health.
using PageTexts = std::array<std::string*, 7>;

// Fills the process-wide record from the registry, creating the key with the defaults when it
// is missing; reports a key that can be neither opened nor created in an unowned message box.
void LoadSettings(Registry& registry, ui::Platform& platform);
// Puts the record into the page: the seven texts (bound value and control), the six radio
// buttons and the enabled state of the three period boxes.
void ApplySettingsToPage(ui::Window& window, const PageTexts& texts);
// Takes the seven bound texts and the radio buttons as they stand into the record.
void CaptureSettingsFromPage(const ui::Window& window, const PageTexts& texts);
// Writes the record to an existing key; silent when the key cannot be opened.
void SaveSettings(Registry& registry);

}  // namespace qup::settings

#endif  // QUP_SETTINGS_SETTINGS_STORE_H
