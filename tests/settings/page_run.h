// SPDX-License-Identifier: MIT
// One run of the program as far as the 1099 page's settings go: start-up loads and applies the
// record, the user types, clicks and exchanges values, and the Close command captures and saves.
#ifndef QUP_TESTS_SETTINGS_PAGE_RUN_H
#define QUP_TESTS_SETTINGS_PAGE_RUN_H

#include <array>
#include <string>

#include "fake_page.h"
#include "settings/settings_record.h"
#include "settings/settings_store.h"

namespace qup::settings::testing {

class PageRun {
 public:
  // A new process: the record starts from its defaults.
  explicit PageRun(Registry& registry) : registry_(registry) {
    SettingsRecord::Instance().ResetToDefaults();
    LoadSettings(registry_, platform);
    ApplySettingsToPage(page, Bound());
  }

  void Type(int edit_id, std::string_view text) { page.SetText(edit_id, text); }

  // The exchange from the controls with which every Calculate starts.
  void Calculate() { ExchangeFromControls(); }

  // The 1099 Clear: exchange from the controls, empty the inputs, exchange towards them.
  void Clear() {
    ExchangeFromControls();
    for (std::size_t i = 0; i < kTextSlotCount; ++i) {
      bound[i].clear();
      page.SetText(kSlots[i].edit_id, "");
    }
  }

  // A click on a radio button, with the period box following its row's "$" button.
  void Click(int radio_id) {
    page.SetCheck(radio_id, 1);
    for (const RadioRow& row : kRadioRows) {
      if (radio_id == row.percent_id || radio_id == row.dollar_id) {
        page.Enable(row.period_id, radio_id == row.dollar_id);
      }
    }
  }

  // The title bar's close button: the system close command.
  void CloseButton() {
    CaptureSettingsFromPage(page, Bound());
    SaveSettings(registry_);
  }

  // Esc ends the dialog through Cancel: nothing of the settings runs.
  void Escape() {}

  FakePage page;
  FakePlatform platform;
  std::array<std::string, kTextSlotCount> bound;  // the dialog's bound texts, slot order

 private:
  PageTexts Bound() {
    PageTexts texts{};
    for (std::size_t i = 0; i < kTextSlotCount; ++i) texts[i] = &bound[i];
    return texts;
  }
  void ExchangeFromControls() {
    for (std::size_t i = 0; i < kTextSlotCount; ++i) bound[i] = page.GetText(kSlots[i].edit_id);
  }

  Registry& registry_;
};

}  // namespace qup::settings::testing

#endif  // QUP_TESTS_SETTINGS_PAGE_RUN_H
