// SPDX-License-Identifier: MIT
// A real browser reads the view page after the program's post: headless Chromium, when present.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "server/tests/support/server_fixture.h"

namespace qup::server {
namespace {

// Runs headless Chromium on url with the extra flags, bounded by a minute; its standard output.
std::string RunChromium(const std::filesystem::path& profile, const std::string& flags,
                        const std::string& url) {
  // No sandbox: test machines often run as root or without user namespaces, and the page is
  // our own, served from loopback.
  const std::string command =
      "timeout 60 chromium --headless --no-sandbox --disable-gpu --no-first-run"
      " --disable-background-networking --disable-component-update --disable-sync"
      " --user-data-dir='" +
      profile.string() + "' " + flags + " '" + url + "' 2>/dev/null";
  std::string output;
  FILE* pipe = popen(command.c_str(), "r");
  char chunk[4096];
  for (std::size_t got = 0; pipe && (got = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;) {
    output.append(chunk, got);
  }
  if (pipe) pclose(pipe);
  return output;
}

class BrowserTest : public testing::ServerFixture {};

TEST_F(BrowserTest, ChromiumShowsThePostedSuggestionEscapedWithItsLineBreaks) {
  if (std::system("command -v chromium >/dev/null") != 0) {
    GTEST_SKIP() << "chromium is not installed (scripts/deps.sh installs it)";
  }
  StartServer();
  ASSERT_TRUE(testing::PostAsProgram(port(), "<script>document.title='pwned'</script>"));
  ASSERT_TRUE(testing::PostAsProgram(port(), "Caf\u00e9 cr\u00e8me\r\nLine two <b>not bold</b>"));
  const testing::ScratchFolder profile;
  const std::string url = "http://127.0.0.1:" + std::to_string(port()) + "/ViewInfo.asp";

  const std::string dom = RunChromium(profile.path(), "--dump-dom", url);
  ASSERT_FALSE(dom.empty()) << "chromium printed nothing";
  EXPECT_NE(dom.find("<title>Suggestions</title>"), std::string::npos) << dom;
  EXPECT_NE(dom.find("Caf\u00e9 cr\u00e8me\nLine two &lt;b&gt;not bold&lt;/b&gt;"),
            std::string::npos)
      << dom;
  EXPECT_NE(dom.find("&lt;script&gt;document.title='pwned'&lt;/script&gt;"), std::string::npos);
  EXPECT_EQ(dom.find("<b>"), std::string::npos);
  EXPECT_EQ(dom.find("<script"), std::string::npos);
  EXPECT_LT(dom.find("Caf\u00e9"), dom.find("pwned")) << "newest first";

  // A picture of the page at a phone's width, for people to look at.
  const std::filesystem::path shot = std::filesystem::current_path() / "view_page.png";
  std::filesystem::remove(shot);
  RunChromium(profile.path(),
              "--hide-scrollbars --window-size=412,800 --screenshot=" + shot.string(), url);
  char signature[4] = {};
  std::ifstream(shot, std::ios::binary).read(signature, 4);
  EXPECT_EQ(std::string_view(signature, 4), "\x89PNG") << "no screenshot at " << shot;
  std::printf("view page screenshot: %s\n", shot.c_str());
}

}  // namespace
}  // namespace qup::server
