// SPDX-License-Identifier: MIT
// qup-drive for the web page: plays a script from standard input on the page in headless
// Chromium. Run by Node (scripts/drive-web.sh), with the site folder as its argument.
#include <iostream>
#include <string>
#include <string_view>

#include "app/drive/session.h"
#include "app/drive/web/web_driver.h"

int main(int argc, char* argv[]) {
  std::string site;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      std::cout << qup::drive::WebDriver::Help();
      return 0;
    }
    site = arg;
  }
  qup::drive::WebDriver driver(site);
  if (!driver.Launched()) {
    std::cerr << "qup-drive: the browser did not start\n";
    return 1;
  }
  qup::drive::ReadScript(std::cin, [&driver](int line_number, const std::string& line) {
    driver.Run(line_number, line);
  });
  return driver.ExitStatus();
}
