// SPDX-License-Identifier: MIT
// X11Windows: finds any program's top-level window by its exact title and brings it to the
// front, over the X connection the program already has.
#include "ui/platform/qt/x11_windows.h"

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace qup::ui {

namespace {

// Window trees are shallow; the bound only guards against a hostile or broken server.
constexpr int kMaxDepth = 64;
constexpr std::uint32_t kLongestProperty = 64 * 1024;  // in 32-bit units
constexpr std::uint32_t kIconicState = 3;              // WM_STATE of a minimised window
constexpr std::uint32_t kSourcePager = 2;              // the user asked for it, not the program
constexpr std::uint32_t kNetWmStateAdd = 1;

template <typename Reply>
using ReplyPtr = std::unique_ptr<Reply, decltype(&std::free)>;

template <typename Reply>
ReplyPtr<Reply> Own(Reply* reply) {
  return ReplyPtr<Reply>(reply, &std::free);
}

}  // namespace

std::uint32_t X11Windows::Atom(const char* name) {
  const auto cookie =
      xcb_intern_atom(connection_, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
  const auto reply = Own(xcb_intern_atom_reply(connection_, cookie, nullptr));
  return reply ? reply->atom : std::uint32_t{XCB_ATOM_NONE};
}

std::optional<std::string> X11Windows::Property(std::uint32_t window, std::uint32_t property) {
  const auto cookie = xcb_get_property(connection_, 0, window, property, XCB_GET_PROPERTY_TYPE_ANY,
                                       0, kLongestProperty);
  const auto reply = Own(xcb_get_property_reply(connection_, cookie, nullptr));
  if (!reply || reply->type == XCB_ATOM_NONE) return std::nullopt;
  const auto* bytes = static_cast<const char*>(xcb_get_property_value(reply.get()));
  const int length = xcb_get_property_value_length(reply.get());
  return std::string(bytes, static_cast<std::size_t>(length > 0 ? length : 0));
}

std::optional<std::string> X11Windows::Title(std::uint32_t window) {
  if (auto name = Property(window, Atom("_NET_WM_NAME"))) return name;
  return Property(window, XCB_ATOM_WM_NAME);
}

WindowRef X11Windows::Search(std::uint32_t window, std::string_view title, int depth) {
  if (depth > kMaxDepth) return 0;
  const auto tree =
      Own(xcb_query_tree_reply(connection_, xcb_query_tree(connection_, window), nullptr));
  if (tree) {
    const xcb_window_t* children = xcb_query_tree_children(tree.get());
    const int count = xcb_query_tree_children_length(tree.get());
    // Topmost first: the window a user sees in front is the one brought forward.
    for (int i = count - 1; i >= 0; --i) {
      if (const WindowRef found = Search(children[i], title, depth + 1)) return found;
    }
  }
  if (depth == 0) return 0;  // the root window itself is no program's window
  const std::optional<std::string> name = Title(window);
  return name && *name == title ? window : 0;
}

WindowRef X11Windows::FindByTitle(std::string_view title) {
  if (!connection_) return 0;
  for (auto screens = xcb_setup_roots_iterator(xcb_get_setup(connection_)); screens.rem;
       xcb_screen_next(&screens)) {
    if (const WindowRef found = Search(screens.data->root, title, 0)) return found;
  }
  return 0;
}

bool X11Windows::HasWindowManager(std::uint32_t root) {
  const std::uint32_t check = Atom("_NET_SUPPORTING_WM_CHECK");
  const auto on_root = Property(root, check);
  if (!on_root || on_root->size() < sizeof(std::uint32_t)) return false;
  std::uint32_t child = 0;
  std::memcpy(&child, on_root->data(), sizeof child);
  // A window manager that has gone leaves a stale id behind; the live one points to itself.
  const auto on_child = Property(child, check);
  return on_child && *on_child == *on_root;
}

bool X11Windows::IsMinimised(std::uint32_t window) {
  const std::uint32_t wm_state = Atom("WM_STATE");
  const auto state = Property(window, wm_state);
  if (!state || state->size() < sizeof(std::uint32_t)) return false;
  std::uint32_t value = 0;
  std::memcpy(&value, state->data(), sizeof value);
  return value == kIconicState;
}

void X11Windows::SendToRoot(std::uint32_t root, std::uint32_t window, std::uint32_t type,
                            const std::uint32_t (&data)[5]) {
  xcb_client_message_event_t event{};
  event.response_type = XCB_CLIENT_MESSAGE;
  event.format = 32;
  event.window = window;
  event.type = type;
  std::memcpy(event.data.data32, data, sizeof data);
  xcb_send_event(connection_, 0, root,
                 XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                 reinterpret_cast<const char*>(&event));
}

void X11Windows::Activate(WindowRef ref) {
  if (!connection_ || ref == 0) return;
  const auto window = static_cast<xcb_window_t>(ref);
  const auto geometry =
      Own(xcb_get_geometry_reply(connection_, xcb_get_geometry(connection_, window), nullptr));
  if (!geometry) return;  // the window has gone meanwhile
  const xcb_window_t root = geometry->root;
  if (HasWindowManager(root)) {
    if (IsMinimised(window)) {
      SendToRoot(root, window, Atom("_NET_WM_STATE"),
                 {kNetWmStateAdd, Atom("_NET_WM_STATE_DEMANDS_ATTENTION"), 0, kSourcePager, 0});
    } else {
      SendToRoot(root, window, Atom("_NET_ACTIVE_WINDOW"),
                 {kSourcePager, XCB_CURRENT_TIME, 0, 0, 0});
    }
  } else {
    const std::uint32_t above = XCB_STACK_MODE_ABOVE;
    xcb_configure_window(connection_, window, XCB_CONFIG_WINDOW_STACK_MODE, &above);
    xcb_set_input_focus(connection_, XCB_INPUT_FOCUS_POINTER_ROOT, window, XCB_CURRENT_TIME);
  }
  // One round trip, so that the server has acted before this process goes.
  std::free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
}

}  // namespace qup::ui
