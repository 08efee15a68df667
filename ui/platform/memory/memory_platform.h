// SPDX-License-Identifier: MIT
// A user-interface platform held in memory, for driving the dialogs' logic in tests.
#ifndef QUP_UI_PLATFORM_MEMORY_MEMORY_PLATFORM_H
#define QUP_UI_PLATFORM_MEMORY_MEMORY_PLATFORM_H

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ui/platform/memory/memory_window.h"
#include "ui/platform/platform.h"

namespace qup::ui {

// How a test acts as the user. Every modal run takes the next script queued with
// QueueModalScript and runs it once the window exists and OnInitDialog has returned: the script
// is everything the user does while that window is open. A handler that opens a nested modal
// run (the About box from the window menu) runs the next script in the queue, during which the
// owner takes no input; when the nested run returns, the outer script carries on. A run whose
// script leaves the window open, or that finds no script, returns kStillOpen as if the user had
// walked away. Every window made stays readable through windows() after its run has returned;
// one that was left open also keeps taking the user's actions for as long as its handler lives,
// so a test may open a window with an empty script and then act on it step by step.
//
// Message boxes are recorded and closed at once, as if the user had pressed their OK button.
class MemoryPlatform : public Platform {
 public:
  using ModalScript = std::function<void(MemoryWindow&)>;

  static constexpr int kStillOpen = -1;

  struct MessageBoxRecord {
    std::string text;
    std::string caption;
    int type;
    bool owned;  // owned by a window of this program (which it blocked meanwhile)
  };

  struct TopLevelWindow {
    std::string title;
    bool minimised = false;
    const MemoryWindow* ours = nullptr;  // null for another program's window
    bool open = true;
  };

  explicit MemoryPlatform(std::string display_name = "qup");

  void QueueModalScript(ModalScript script);

  // Platform.
  int RunModal(const DialogTemplate& dialog, DialogHandler& handler, Window* owner) override;
  void MessageBox(std::string_view text, std::string_view caption, int type) override;
  void OpenUrl(std::string_view url) override;
  WindowRef FindTopLevelWindow(std::string_view title) override;
  void SetForegroundWindow(WindowRef window) override;
  void BeginWaitCursor() override { ++wait_cursor_depth_; }
  void EndWaitCursor() override { --wait_cursor_depth_; }
  std::string DisplayName() const override { return display_name_; }

  // Another program's top-level window on the desktop.
  WindowRef AddForeignWindow(std::string_view title, bool minimised = false);
  const TopLevelWindow& TopLevel(WindowRef window) const;

  const std::vector<std::unique_ptr<MemoryWindow>>& windows() const { return windows_; }
  const std::vector<MessageBoxRecord>& message_boxes() const { return message_boxes_; }
  const std::vector<std::string>& opened_urls() const { return opened_urls_; }
  WindowRef foreground() const { return foreground_; }
  int wait_cursor_depth() const { return wait_cursor_depth_; }
  std::size_t scripts_left() const { return scripts_.size(); }

  // A window records its owned message boxes here.
  void RecordMessageBox(std::string_view text, std::string_view caption, int type, bool owned);

 private:
  std::string display_name_;
  std::deque<ModalScript> scripts_;
  std::vector<std::unique_ptr<MemoryWindow>> windows_;
  std::vector<TopLevelWindow> top_level_;  // a WindowRef is an index here plus one
  std::vector<MessageBoxRecord> message_boxes_;
  std::vector<std::string> opened_urls_;
  WindowRef foreground_ = 0;
  int wait_cursor_depth_ = 0;
};

}  // namespace qup::ui

#endif  // QUP_UI_PLATFORM_MEMORY_MEMORY_PLATFORM_H
