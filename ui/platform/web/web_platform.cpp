// SPDX-License-Identifier: MIT
// WebPlatform: each modal run is a window in the page with its own loop over the user's
// actions.
#include "ui/platform/web/web_platform.h"

#include "ui/platform/web/web_dom.h"
#include "ui/platform/web/web_window.h"

namespace qup::ui {

int WebPlatform::RunModal(const DialogTemplate& dialog, DialogHandler& handler, Window* owner) {
  WebWindow window(dialog, owner != nullptr);
  return window.Run(handler);
}

void WebPlatform::MessageBox(std::string_view text, std::string_view caption, int type) {
  qup_dom_message_box(std::string(text).c_str(), std::string(caption).c_str(), type);
}

std::string WebPlatform::PageAddress(std::string_view url) const {
  if (!home_page_.empty() && url.starts_with(home_page_)) {
    const std::string_view path = url.substr(home_page_.size());
    if (path.empty()) return "/";
    if (path.front() == '/') return std::string(path);
  }
  return std::string(url);
}

void WebPlatform::OpenUrl(std::string_view url) { qup_dom_open_url(PageAddress(url).c_str()); }

void WebPlatform::BeginWaitCursor() { qup_dom_wait_cursor(1); }

void WebPlatform::EndWaitCursor() { qup_dom_wait_cursor(0); }

}  // namespace qup::ui
