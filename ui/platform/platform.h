// SPDX-License-Identifier: MIT
// The process-wide operations of the user-interface platform: modal dialogs, message boxes
// without an owner, the browser, the busy cursor and finding another program's window.
#ifndef QUP_UI_PLATFORM_PLATFORM_H
#define QUP_UI_PLATFORM_PLATFORM_H

#include <cstdint>
#include <string>
#include <string_view>

#include "ui/platform/dialog_template.h"
#include "ui/platform/window.h"

namespace qup::ui {

// A top-level window of any program; 0 means none.
using WindowRef = std::uintptr_t;

class Platform {
 public:
  virtual ~Platform() = default;

  // Creates the dialog from its template, calls handler.OnInitDialog, and runs it modally until
  // the handler calls EndDialog; returns that result. owner is null for a window of its own.
  virtual int RunModal(const DialogTemplate& dialog, DialogHandler& handler, Window* owner) = 0;

  // A modal message box that no window owns.
  virtual void MessageBox(std::string_view text, std::string_view caption, int type) = 0;

  // Hands the address to the user's browser; returns at once and reports nothing.
  virtual void OpenUrl(std::string_view url) = 0;

  // Any top-level window, of any program, whose title is exactly title; 0 when there is none.
  virtual WindowRef FindTopLevelWindow(std::string_view title) = 0;
  virtual void SetForegroundWindow(WindowRef window) = 0;

  // The busy cursor while the program waits on the network.
  virtual void BeginWaitCursor() = 0;
  virtual void EndWaitCursor() = 0;

  // The program's name for captions: its executable's file name without directory and extension.
  virtual std::string DisplayName() const = 0;
};

}  // namespace qup::ui

#endif  // QUP_UI_PLATFORM_PLATFORM_H
