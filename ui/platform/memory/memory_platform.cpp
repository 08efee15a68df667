// SPDX-License-Identifier: MIT
// The in-memory platform: modal runs driven by test scripts, and records of what the user saw.
#include "ui/platform/memory/memory_platform.h"

#include <utility>

namespace qup::ui {

MemoryPlatform::MemoryPlatform(std::string display_name) : display_name_(std::move(display_name)) {}

void MemoryPlatform::QueueModalScript(ModalScript script) { scripts_.push_back(std::move(script)); }

int MemoryPlatform::RunModal(const DialogTemplate& dialog, DialogHandler& handler, Window* owner) {
  auto* owner_window = static_cast<MemoryWindow*>(owner);
  windows_.push_back(std::make_unique<MemoryWindow>(*this, dialog, handler, owner_window));
  MemoryWindow& window = *windows_.back();
  top_level_.push_back({std::string(dialog.title), false, &window, true});
  const std::size_t top_level_index = top_level_.size() - 1;

  if (owner_window != nullptr) owner_window->Block();
  handler.OnInitDialog(window);
  window.SetInitialFocus();
  if (!window.Ended() && !scripts_.empty()) {
    ModalScript script = std::move(scripts_.front());
    scripts_.pop_front();
    script(window);
  }
  if (owner_window != nullptr) owner_window->Unblock();
  top_level_[top_level_index].open = false;
  return window.Ended() ? window.Result() : kStillOpen;
}

void MemoryPlatform::MessageBox(std::string_view text, std::string_view caption, int type) {
  RecordMessageBox(text, caption, type, false);
}

void MemoryPlatform::RecordMessageBox(std::string_view text, std::string_view caption, int type,
                                      bool owned) {
  message_boxes_.push_back({std::string(text), std::string(caption), type, owned});
}

void MemoryPlatform::OpenUrl(std::string_view url) { opened_urls_.emplace_back(url); }

WindowRef MemoryPlatform::FindTopLevelWindow(std::string_view title) {
  for (std::size_t i = 0; i < top_level_.size(); ++i) {
    if (top_level_[i].open && top_level_[i].title == title) return i + 1;
  }
  return 0;
}

void MemoryPlatform::SetForegroundWindow(WindowRef window) {
  if (window >= 1 && window <= top_level_.size()) foreground_ = window;
}

WindowRef MemoryPlatform::AddForeignWindow(std::string_view title, bool minimised) {
  top_level_.push_back({std::string(title), minimised, nullptr, true});
  return top_level_.size();
}

const MemoryPlatform::TopLevelWindow& MemoryPlatform::TopLevel(WindowRef window) const {
  return top_level_.at(window - 1);
}

}  // namespace qup::ui
