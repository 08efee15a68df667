// SPDX-License-Identifier: MIT
// The web calculators served from --site: their files by plain name with their types and their
// policy, nothing else of the disk, and the server's own pages as they were.
#include <gtest/gtest.h>

#include <fstream>

#include "server/tests/support/server_fixture.h"

namespace qup::server {
namespace {

using namespace std::string_literals;

constexpr std::string_view kSitePolicy =
    "Content-Security-Policy: default-src 'self'; script-src 'self' 'wasm-unsafe-eval'; "
    "style-src 'self'; img-src 'self'; connect-src 'self'; manifest-src 'self'; "
    "worker-src 'self'; object-src 'none'; base-uri 'none'; form-action 'self'; "
    "frame-ancestors 'none'\r\n";
constexpr std::string_view kPagePolicy =
    "Content-Security-Policy: default-src 'none'; style-src 'unsafe-inline'; "
    "frame-ancestors 'none'\r\n";

const std::string kIndex = "<!DOCTYPE html><title>calculators</title>\n";
const std::string kWasm = "\0asm\x01\0\0\0"s;  // binary: the whole body, zero bytes and all

void Write(const std::filesystem::path& path, const std::string& bytes) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

class SiteTest : public testing::ServerFixture {
 protected:
  std::filesystem::path site() const { return scratch_.path() / "site"; }

  void SetUp() override {
    Write(site() / "index.html", kIndex);
    Write(site() / "app.js", "start();\n");
    Write(site() / "look.css", "body{}\n");
    Write(site() / "prog.wasm", kWasm);
    Write(site() / "logo.png", "\x89PNG");
    Write(site() / "app.webmanifest", "{}");
    Write(site() / ".hidden.js", "hidden();\n");
    Write(site() / "notes.txt", "not a site file\n");
    Write(site() / "sub" / "inner.js", "inner();\n");
    Write(scratch_.path() / "secret.js", "secret();\n");
  }

 private:
  testing::ScratchFolder scratch_;
};

struct SiteRow {
  std::string request;      // method and target
  std::string_view status;  // the status line's code
  std::string content_type;
  std::string body;  // a site file's; empty: not one of the site's files
};

TEST_F(SiteTest, ServesTheFolderByPlainNameAndKeepsThePagesAsTheyWere) {
  StartServer({"--site", site().string()});
  const std::vector<SiteRow> rows = {
      {"GET /", "200", "text/html; charset=utf-8", kIndex},
      {"GET /index.html", "200", "text/html; charset=utf-8", kIndex},
      {"GET /app.js?v=2", "200", "text/javascript", "start();\n"},
      {"GET /look.css", "200", "text/css", "body{}\n"},
      {"GET /prog.wasm", "200", "application/wasm", kWasm},
      {"GET /logo.png", "200", "image/png", "\x89PNG"},
      {"GET /app.webmanifest", "200", "application/manifest+json", "{}"},
      {"GET /missing.js", "404", "text/html; charset=utf-8", ""},
      {"GET /../secret.js", "404", "text/html; charset=utf-8", ""},
      {"GET /%2e%2e/secret.js", "404", "text/html; charset=utf-8", ""},
      {"GET /sub/inner.js", "404", "text/html; charset=utf-8", ""},
      {"GET /sub", "404", "text/html; charset=utf-8", ""},
      {"GET /.hidden.js", "404", "text/html; charset=utf-8", ""},
      {"GET /notes.txt", "404", "text/html; charset=utf-8", ""},
      {"GET /App.js", "404", "text/html; charset=utf-8", ""},
      {"POST /app.js", "405", "text/html; charset=utf-8", ""},
      {"GET /ViewInfo.asp", "200", "text/html; charset=utf-8", ""},
      {"GET /sendinfo.asp", "405", "text/html; charset=utf-8", ""},
  };
  for (const SiteRow& row : rows) {
    SCOPED_TRACE(row.request);
    const std::string reply = testing::Exchange(
        port(), row.request + " HTTP/1.1\r\nHost: x\r\nContent-Length: 0\r\n\r\n");
    EXPECT_TRUE(reply.starts_with("HTTP/1.1 "s + std::string(row.status) + " ")) << reply;
    EXPECT_NE(reply.find("\r\nContent-Type: " + row.content_type + "\r\n"), std::string::npos)
        << reply;
    const bool site_file = !row.body.empty();
    EXPECT_EQ(reply.find(kSitePolicy) != std::string::npos, site_file) << reply;
    EXPECT_EQ(reply.find(kPagePolicy) != std::string::npos, !site_file) << reply;
    if (site_file) {
      EXPECT_TRUE(reply.ends_with("\r\n\r\n" + row.body)) << reply;
    }
  }
}

// A folder without index.html is no site: the home page stays the server's own.
TEST_F(SiteTest, AFolderWithoutIndexIsNotServed) {
  std::filesystem::remove(site() / "index.html");
  StartServer({"--site", site().string()});
  EXPECT_NE(testing::FetchPage(port(), "/").find("<a href=\"/ViewInfo.asp\">"), std::string::npos);
  EXPECT_TRUE(
      testing::Exchange(port(), "GET /app.js HTTP/1.1\r\n\r\n").starts_with("HTTP/1.1 404 "));
}

// The page posts its suggestion as any browser's form would, to its own origin; the text
// need not be the form's first field.
TEST_F(SiteTest, TheViewPageListsWhatThePagePosted) {
  StartServer({"--site", site().string()});
  const std::string body = "a=1&text=From+the+web+page%0D%0ACaf%E9";
  const std::string reply = testing::Exchange(
      port(),
      "POST /sendinfo.asp HTTP/1.1\r\nHost: 127.0.0.1\r\nOrigin: http://127.0.0.1\r\n"
      "Sec-Fetch-Mode: cors\r\nContent-Type: application/x-www-form-urlencoded\r\n"
      "Content-Length: " +
          std::to_string(body.size()) + "\r\n\r\n" + body);
  EXPECT_TRUE(reply.starts_with("HTTP/1.1 200 OK\r\n")) << reply;
  EXPECT_NE(testing::FetchPage(port(), "/ViewInfo.asp").find("From the web page\nCaf\u00e9"),
            std::string::npos);
}

}  // namespace
}  // namespace qup::server
