// SPDX-License-Identifier: MIT
// UtilityApp: the program's start, which lets only one copy show its window.
#ifndef QUP_APP_UTILITY_APP_H
#define QUP_APP_UTILITY_APP_H

#include "settings/registry.h"
#include "suggest/network.h"
#include "ui/platform/platform.h"

namespace qup::app {

class UtilityApp {
 public:
  // Brings a running copy's window to the front, or runs the main window until it closes.
  // Returns false either way: the program has no message loop of its own.
  bool InitInstance(ui::Platform& platform, settings::Registry& registry,
                    suggest::Network& network);
};

}  // namespace qup::app

#endif  // QUP_APP_UTILITY_APP_H
