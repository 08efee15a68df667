// SPDX-License-Identifier: MIT
// The pages: every stored text escaped, the list newest first, small valid documents.
#include "server/html_pages.h"

#include <gtest/gtest.h>

namespace qup::server {
namespace {

struct EscapeRow {
  const char* name;
  const char* text;
  const char* html;
};

class EscapeHtmlTest : public ::testing::TestWithParam<EscapeRow> {};

TEST_P(EscapeHtmlTest, Escapes) { EXPECT_EQ(EscapeHtml(GetParam().text), GetParam().html); }

INSTANTIATE_TEST_SUITE_P(Rows, EscapeHtmlTest,
                         ::testing::Values(EscapeRow{"plain_text_unchanged", "Caf\u00e9 au lait",
                                                     "Caf\u00e9 au lait"},
                                           EscapeRow{"script_tag", "<script>alert(1)</script>",
                                                     "&lt;script&gt;alert(1)&lt;/script&gt;"},
                                           EscapeRow{"attribute_breakout", "\" onmouseover='x'",
                                                     "&quot; onmouseover=&#39;x&#39;"},
                                           EscapeRow{"ampersand_first", "&lt;", "&amp;lt;"},
                                           EscapeRow{"line_breaks_kept", "a\nb", "a\nb"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ViewPageTest, ListsNewestFirstWithEveryTextEscaped) {
  const std::vector<StoredSuggestion> rows = {
      {2, "<img src=x onerror=alert(1)>", "127.0.0.1", "2024-05-01T12:34:56.789Z"},
      {1, "first\nsecond line", "127.0.0.1", "2024-05-01T08:00:00.000Z"}};
  const std::string page = RenderViewPage(rows, 2);
  EXPECT_EQ(page.find("<img"), std::string::npos);
  EXPECT_NE(page.find("&lt;img src=x onerror=alert(1)&gt;"), std::string::npos);
  EXPECT_LT(page.find("onerror"), page.find("first\nsecond line"));
  EXPECT_NE(page.find("2024-05-01 12:34 UTC"), std::string::npos);
  EXPECT_NE(page.find("2 suggestions, newest first."), std::string::npos);
  // The sender's address is stored for the operator, not shown to every reader.
  EXPECT_EQ(page.find("127.0.0.1"), std::string::npos);
}

TEST(ViewPageTest, SaysHowManyWhenOnlyTheNewestAreShown) {
  const std::vector<StoredSuggestion> rows = {{7, "x", "a", "2024-05-01T12:34:56.789Z"}};
  EXPECT_NE(RenderViewPage(rows, 7).find("7 suggestions, the newest 1 shown"), std::string::npos);
}

TEST(ViewPageTest, SaysSoWhenThereAreNone) {
  EXPECT_NE(RenderViewPage({}, 0).find("No suggestions yet."), std::string::npos);
}

TEST(PagesTest, AreWholeDocumentsForAPhone) {
  for (const std::string& page :
       {RenderHomePage(), RenderViewPage({}, 0), RenderErrorPage(404, "Not Found")}) {
    EXPECT_TRUE(page.starts_with("<!DOCTYPE html>\n<html lang=\"en\">")) << page;
    EXPECT_NE(page.find("<meta charset=\"utf-8\">"), std::string::npos);
    EXPECT_NE(page.find("name=\"viewport\" content=\"width=device-width"), std::string::npos);
    EXPECT_NE(page.find("<title>"), std::string::npos);
    EXPECT_TRUE(page.ends_with("</body>\n</html>\n"));
  }
  EXPECT_NE(RenderHomePage().find("href=\"/ViewInfo.asp\""), std::string::npos);
}

}  // namespace
}  // namespace qup::server
