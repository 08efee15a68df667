// SPDX-License-Identifier: MIT
// The program on Windows: the application object on native dialogs, the registry and Windows
// Sockets.
#include <windows.h>
#undef MessageBox  // the window operations' own name

#include "app/utility_app.h"
#include "settings/win32/win32_registry.h"
#include "suggest/win32/winsock_network.h"
#include "ui/platform/win32/win32_platform.h"

int WINAPI wWinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, PWSTR /*command_line*/,
                    int /*show*/) {
  qup::ui::Win32Platform platform;
  qup::settings::WinRegistry registry;
  qup::suggest::WinsockNetwork network;
  qup::app::UtilityApp().InitInstance(platform, registry, network);
  // InitInstance runs the window's own modal loop and always reports that there is no other.
  return 0;
}
