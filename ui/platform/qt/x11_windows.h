// SPDX-License-Identifier: MIT
// X11Windows: finds any program's top-level window by its exact title and brings it to the
// front, over the X connection the program already has.
#ifndef QUP_UI_PLATFORM_QT_X11_WINDOWS_H
#define QUP_UI_PLATFORM_QT_X11_WINDOWS_H

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "ui/platform/platform.h"

struct xcb_connection_t;

namespace qup::ui {

class X11Windows {
 public:
  // Works over connection, which stays the caller's; with none every lookup finds nothing.
  explicit X11Windows(xcb_connection_t* connection) : connection_(connection) {}

  // A window whose _NET_WM_NAME, or WM_NAME where it has none, is exactly title. The whole
  // tree is walked, so that a window inside a window manager's frame is found too; of a frame
  // and the window inside it, the inner one is taken.
  WindowRef FindByTitle(std::string_view title);

  // Asks the window manager to activate the window (_NET_ACTIVE_WINDOW); without one, raises
  // it and gives it the input focus. A minimised window is left minimised and only asks for
  // the user's attention.
  void Activate(WindowRef ref);

 private:
  std::uint32_t Atom(const char* name);
  std::optional<std::string> Property(std::uint32_t window, std::uint32_t property);
  std::optional<std::string> Title(std::uint32_t window);
  WindowRef Search(std::uint32_t window, std::string_view title, int depth);
  bool HasWindowManager(std::uint32_t root);
  bool IsMinimised(std::uint32_t window);
  void SendToRoot(std::uint32_t root, std::uint32_t window, std::uint32_t type,
                  const std::uint32_t (&data)[5]);

  xcb_connection_t* connection_ = nullptr;
};

}  // namespace qup::ui

#endif  // QUP_UI_PLATFORM_QT_X11_WINDOWS_H
