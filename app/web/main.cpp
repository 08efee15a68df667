// SPDX-License-Identifier: MIT
// The web page's program: the main window in the page, the settings in the browser's local
// storage, suggestions posted to the page's origin. A closed window can be opened again.
#include "app/utility_app.h"
#include "settings/web/local_storage_registry.h"
#include "suggest/site_config.h"
#include "suggest/web/fetch_network.h"
#include "ui/platform/web/web_platform.h"

extern "C" {
// Tells the visitor that the window has closed and waits until they open it again.
void qup_page_closed();
}

int main() {
  qup::ui::WebPlatform platform(qup::HomePageUrl);
  qup::settings::LocalStorageRegistry registry;
  qup::suggest::FetchNetwork network;
  for (;;) {
    qup::app::UtilityApp().InitInstance(platform, registry, network);
    qup_page_closed();
  }
}
