// SPDX-License-Identifier: MIT
// UtilityApp's start: the single-instance test, then the main window's modal run.
#include "app/utility_app.h"

#include "ui/main_dialog.h"
#include "ui/main_template.h"

namespace qup::app {

bool UtilityApp::InitInstance(ui::Platform& platform, settings::Registry& registry,
                              suggest::Network& network) {
  // Any top-level window with exactly this title counts as the running copy; a minimised one
  // is brought to the front but left minimised.
  if (ui::WindowRef running = platform.FindTopLevelWindow(ui::kMainWindowTitle); running != 0) {
    platform.SetForegroundWindow(running);
    return false;
  }
  ui::MainDialog dialog(platform, registry, network);
  dialog.DoModal();
  return false;
}

}  // namespace qup::app
