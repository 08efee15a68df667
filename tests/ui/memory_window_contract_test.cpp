// SPDX-License-Identifier: MIT
// The shared window contract on the in-memory window.
#include <string>
#include <string_view>
#include <vector>

#include "tests/support/window_contract.h"
#include "ui/platform/memory/memory_platform.h"

namespace qup::test_support {

// Opens the window through the platform's modal run with a script that leaves it open, and
// acts on it through the in-memory window's user actions.
class MemoryDriver {
 public:
  ui::Window& Open(const ui::DialogTemplate& dialog, ui::DialogHandler& handler) {
    platform_.QueueModalScript([](ui::MemoryWindow& /*window*/) {});
    platform_.RunModal(dialog, handler, nullptr);
    window_ = platform_.windows().back().get();
    return *window_;
  }
  void Click(int id) { window_->Click(id); }
  void Type(int id, std::string_view text) { window_->Type(id, text); }
  // The in-memory window takes typed text in one piece, as a paste.
  void Paste(int id, std::string_view text) { window_->Type(id, text); }
  void PressTab(bool forward) { window_->PressTab(forward); }
  void PressEnter() { window_->PressEnter(); }
  void PressArrow(ui::Arrow arrow) { window_->PressArrow(arrow); }
  void PressEsc() { window_->PressEsc(); }
  void PickTab(int id, int index) { window_->PickTab(id, index); }
  void PressCloseButton() { window_->Close(); }
  void ChooseSystemMenuItem(unsigned command) { window_->ChooseSystemMenuItem(command); }
  std::vector<MenuEntry> SystemMenu() const {
    std::vector<MenuEntry> entries;
    for (const ui::MemoryWindow::MenuItem& item : window_->SystemMenu()) {
      entries.push_back({item.command, item.text});
    }
    return entries;
  }

 private:
  ui::MemoryPlatform platform_{"test"};
  ui::MemoryWindow* window_ = nullptr;
};

INSTANTIATE_TYPED_TEST_SUITE_P(MemoryWindowContract, WindowContract, testing::Types<MemoryDriver>);

}  // namespace qup::test_support
