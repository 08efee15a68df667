// SPDX-License-Identifier: MIT
// The help pager at its ends, the About box's window menu entry, and the help texts' shape.
// (Stepping through the help pages and the About tab's texts kept through a calculation are the
// transcript tests/acceptance/help_and_about_tabs; the About box, its texts (the authors in a
// column, the contact address last) and each way out of it, tests/acceptance/about_box.)
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/main_dialog_fixture.h"
#include "ui/about_dialog.h"
#include "ui/help_pages.h"
#include "ui/main_template.h"

namespace qup::ui {
namespace {

using test_support::MainDialogFixture;

std::vector<std::string> Lines(std::string_view text) {
  std::vector<std::string> lines;
  std::istringstream stream{std::string(text)};
  for (std::string line; std::getline(stream, line);) lines.push_back(line);
  return lines;
}

class HelpAboutTest : public MainDialogFixture {
 protected:
  void SetUp() override { Open(); }

  // The text and the buttons agree with the page.
  void ExpectHelpPage(int page) {
    SCOPED_TRACE("help page " + std::to_string(page));
    EXPECT_EQ(Text(kHelpText), HelpPageText(page));
    EXPECT_EQ(window().IsEnabled(kHelpPrevButton), page > 0);
    EXPECT_EQ(window().IsEnabled(kHelpNextButton), page < kHelpPageCount - 1);
  }
};

// The disabled buttons keep these commands away; one that arrives some other way is ignored.
TEST_F(HelpAboutTest, AStepPastEitherEndLeavesThePage) {
  HelpPager pager;
  std::string text;
  pager.Init(window(), text);
  pager.OnHelpPrev(window(), text);
  EXPECT_EQ(pager.index(), 0);
  for (int step = 0; step <= kHelpPageCount; ++step) pager.OnHelpNext(window(), text);
  EXPECT_EQ(pager.index(), kHelpPageCount - 1);
  EXPECT_EQ(text, HelpPageText(kHelpPageCount - 1));
  ExpectHelpPage(kHelpPageCount - 1);
}

TEST_F(HelpAboutTest, WindowMenuEndsWithOneSeparatorAndTheAboutEntryOnce) {
  const auto& menu = window().SystemMenu();
  ASSERT_GE(menu.size(), 3u);
  EXPECT_NE(menu[menu.size() - 3].command, 0u);
  EXPECT_EQ(menu[menu.size() - 2].command, 0u);
  EXPECT_EQ(menu.back().text, "&About Quorvane Utility...");
  EXPECT_EQ(std::count_if(menu.begin(), menu.end(),
                          [](const auto& item) { return item.command == kAboutCommand; }),
            1);
}

// Single line feeds, single blank lines, two spaces between sentences, text after the last
// heading.
TEST(HelpPagesTest, EveryPageIsCleanText) {
  for (int page = 0; page < kHelpPageCount; ++page) {
    const std::string text(HelpPageText(page));
    SCOPED_TRACE("page " + std::to_string(page));
    EXPECT_EQ(text.find('\r'), std::string::npos);
    EXPECT_EQ(text.find("\n\n\n"), std::string::npos);
    ASSERT_FALSE(text.empty());
    EXPECT_NE(text.back(), '\n');
    std::smatch match;
    EXPECT_FALSE(std::regex_search(text, match, std::regex(R"([.!?] [A-Z])"))) << match.str();
  }
}

// A heading is a line without small letters (but for a "(continued)" aside) and a blank line
// after it. The topics name the tabs in their order after one on the tabs themselves; every page
// but the first opens with a heading, marked "(continued)" when it goes on with a topic.
TEST(HelpPagesTest, TopicsFollowTheTabsInOrder) {
  std::vector<std::string> expected = {"TABS"};
  for (const PageSpec& tab : kMainPages) {
    std::string caption(tab.caption);
    for (char& c : caption) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    expected.push_back(caption);
  }
  std::vector<std::string> topics;
  for (int page = 0; page < kHelpPageCount; ++page) {
    const std::vector<std::string> lines = Lines(HelpPageText(page));
    for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
      std::string heading = lines[i];
      const bool continued =
          heading.ends_with(" (continued)") || heading.ends_with(" (continued):");
      if (continued) heading.erase(heading.find(" (continued)"));
      if (heading.ends_with(':')) heading.pop_back();
      const bool is_heading = !heading.empty() && lines[i + 1].empty() &&
                              std::none_of(heading.begin(), heading.end(),
                                           [](unsigned char c) { return std::islower(c); });
      EXPECT_TRUE(is_heading || i > 0 || page == 0)
          << "page " << page << " opens with " << lines[i];
      if (!is_heading) continue;
      if (!continued) topics.push_back(heading);
      EXPECT_EQ(heading, topics.back()) << "page " << page;
    }
  }
  EXPECT_EQ(topics, expected);
}

// The twenty questions run over pages 4 and 5, one a line, numbered "1)" and two spaces.
TEST(HelpPagesTest, TheTwentyQuestionsAreNumberedInOrder) {
  std::vector<int> numbers;
  for (const int page : {4, 5}) {
    for (const std::string& line : Lines(HelpPageText(page))) {
      std::smatch match;
      if (std::regex_match(line, match, std::regex(R"((\d+)\)  \S.*\?)"))) {
        numbers.push_back(std::stoi(match[1]));
      }
    }
  }
  ASSERT_EQ(numbers.size(), 20u);
  for (std::size_t i = 0; i < numbers.size(); ++i) EXPECT_EQ(numbers[i], static_cast<int>(i) + 1);
}

}  // namespace
}  // namespace qup::ui
