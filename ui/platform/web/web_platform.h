// SPDX-License-Identifier: MIT
// WebPlatform: modal windows and message boxes in the page, the browser's own tabs for
// addresses.
#ifndef QUP_UI_PLATFORM_WEB_WEB_PLATFORM_H
#define QUP_UI_PLATFORM_WEB_WEB_PLATFORM_H

#include <string>
#include <string_view>

#include "ui/platform/platform.h"

namespace qup::ui {

class WebPlatform : public Platform {
 public:
  // home_page is the address the program opens for its site; the page serves it from its own
  // origin, so an address under it opens there.
  explicit WebPlatform(std::string_view home_page) : home_page_(home_page) {}

  int RunModal(const DialogTemplate& dialog, DialogHandler& handler, Window* owner) override;
  void MessageBox(std::string_view text, std::string_view caption, int type) override;
  void OpenUrl(std::string_view url) override;
  // Every visit is a window of its own: there is no other copy to find.
  WindowRef FindTopLevelWindow(std::string_view /*title*/) override { return 0; }
  void SetForegroundWindow(WindowRef /*window*/) override {}
  void BeginWaitCursor() override;
  void EndWaitCursor() override;
  std::string DisplayName() const override { return "qup"; }

  // The address OpenUrl opens for url: under the home page, the same path on the page's own
  // origin; any other as it is.
  std::string PageAddress(std::string_view url) const;

 private:
  std::string home_page_;
};

}  // namespace qup::ui

#endif  // QUP_UI_PLATFORM_WEB_WEB_PLATFORM_H
