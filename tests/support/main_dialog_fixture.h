// SPDX-License-Identifier: MIT
// A test fixture that opens the main window on the in-memory platform, and a way to compare
// everything the user can see of a window before and after an action.
#ifndef QUP_TESTS_SUPPORT_MAIN_DIALOG_FIXTURE_H
#define QUP_TESTS_SUPPORT_MAIN_DIALOG_FIXTURE_H

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "settings/memory_registry.h"
#include "tests/support/offline_network.h"
#include "ui/control_ids.h"
#include "ui/main_dialog.h"
#include "ui/platform/memory/memory_platform.h"

namespace qup::test_support {

// What the user can see of one control.
struct ControlState {
  int id;
  std::string text;
  bool visible;
  bool enabled;
  int check;
  int selected;  // combo box entry or tab, else -1

  bool operator==(const ControlState&) const = default;
};

std::vector<ControlState> Snapshot(const ui::MemoryWindow& window);
// One line per control that differs; empty when the two snapshots agree.
std::string Differences(const std::vector<ControlState>& before,
                        const std::vector<ControlState>& after);

class MainDialogFixture : public ::testing::Test {
 protected:
  // Starts the program anew, as a new process with its settings in store (the in-memory
  // registry unless a test gives another), and leaves the main window open for the test: it
  // keeps taking the user's actions until the next start.
  ui::MemoryWindow& Open();
  ui::MemoryWindow& Open(settings::Registry& store);
  // The same, with the network a test gives instead of one that is never there.
  ui::MemoryWindow& Open(settings::Registry& store, suggest::Network& network);
  ui::MemoryWindow& window() { return *window_; }

  // Clicks the tab of a page.
  void ShowTab(int page) { window_->PickTab(ui::kTabControl, page); }
  // The text of a control as the user reads it.
  std::string Text(int id) const { return window_->GetText(id); }
  const std::vector<ui::MemoryPlatform::MessageBoxRecord>& MessageBoxes() const {
    return platform_.message_boxes();
  }

  ui::MemoryPlatform platform_{"qup"};
  settings::MemoryRegistry registry_;
  OfflineNetwork network_;

 private:
  std::unique_ptr<ui::MainDialog> dialog_;
  ui::MemoryWindow* window_ = nullptr;
};

}  // namespace qup::test_support

#endif  // QUP_TESTS_SUPPORT_MAIN_DIALOG_FIXTURE_H
