// SPDX-License-Identifier: MIT
// The help pages as a reader meets them: headings, opening lines, the questions and the notes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "suggest/site_config.h"
#include "ui/about_texts.h"
#include "ui/help_pages.h"

namespace qup::ui {
namespace {

std::vector<std::string> Lines(std::string_view text) {
  std::vector<std::string> lines;
  std::istringstream stream{std::string(text)};
  for (std::string line; std::getline(stream, line);) lines.push_back(line);
  return lines;
}

// A heading is a line of capitals (a "(continued)" aside) followed by a blank line.
std::vector<std::string> Headings(std::string_view text) {
  const std::vector<std::string> lines = Lines(text);
  std::vector<std::string> headings;
  for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
    std::string bare = lines[i];
    if (const auto aside = bare.find("(continued)"); aside != std::string::npos) {
      bare.erase(aside, std::string_view("(continued)").size());
    }
    const bool capitals = std::none_of(bare.begin(), bare.end(),
                                       [](unsigned char c) { return std::islower(c) != 0; });
    if (!bare.empty() && capitals && lines[i + 1].empty()) headings.push_back(lines[i]);
  }
  return headings;
}

std::string SiteHeading() {
  std::string heading(SiteDisplayName);
  std::transform(heading.begin(), heading.end(), heading.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return heading;
}

struct HeadingRow {
  std::string name;
  int page;
  std::vector<std::string> headings;
};

class HelpHeadingsTest : public ::testing::TestWithParam<HeadingRow> {};

TEST_P(HelpHeadingsTest, PageHasItsHeadingsInOrder) {
  EXPECT_EQ(Headings(HelpPageText(GetParam().page)), GetParam().headings);
}

INSTANTIATE_TEST_SUITE_P(
    Pages, HelpHeadingsTest,
    ::testing::Values(
        HeadingRow{"tabs_site_and_w2", 0, {"TABS:", SiteHeading(), "CONTRACT - W2:"}},
        HeadingRow{"w2_benefits", 1, {"CONTRACT - W2 (continued):"}},
        HeadingRow{"agencies_and_1099", 2, {"CONTRACT - W2 (continued):", "CONTRACT - 1099:"}},
        HeadingRow{"1099_drawbacks", 3, {"CONTRACT - 1099 (continued):"}},
        HeadingRow{"questions_1_to_8", 4, {"CONTRACT - 1099 (continued)"}},
        HeadingRow{"questions_9_to_20", 5, {"CONTRACT - 1099 (continued)"}},
        HeadingRow{"qualify_and_help", 6, {"CONTRACT - 1099 (continued)", "HELP:"}},
        HeadingRow{"suggestions_and_about", 7, {"SUGGESTIONS:", "ABOUT:"}}),
    [](const auto& info) { return info.param.name; });

class EveryHelpPageTest : public ::testing::TestWithParam<int> {};

TEST_P(EveryHelpPageTest, UsesSingleLineFeedsAndSingleBlankLines) {
  const std::string_view text = HelpPageText(GetParam());
  EXPECT_EQ(text.find('\r'), std::string_view::npos);
  EXPECT_EQ(text.find("\n\n\n"), std::string_view::npos);
  EXPECT_NE(text.back(), '\n');
}

TEST_P(EveryHelpPageTest, SeparatesSentencesWithTwoSpaces) {
  const std::string text(HelpPageText(GetParam()));
  std::smatch match;
  EXPECT_FALSE(std::regex_search(text, match, std::regex(R"([.!?] [A-Z])"))) << match.str();
}

TEST_P(EveryHelpPageTest, FollowsEachHeadingWithText) {
  const std::vector<std::string> lines = Lines(HelpPageText(GetParam()));
  ASSERT_FALSE(lines.empty());
  EXPECT_FALSE(lines.back().empty());
}

INSTANTIATE_TEST_SUITE_P(Pages, EveryHelpPageTest, ::testing::Range(0, kHelpPageCount));

TEST(HelpPagesTest, PageZeroOpensWithHowToUseTheHelp) {
  const std::vector<std::string> lines = Lines(HelpPageText(0));
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[0],
            "The Help section provides detailed information for each part of the application.");
  EXPECT_EQ(lines[1], "Use the 'Next>' and '<Prev' buttons to navigate through each topic.");
}

// The twenty questions run over two pages, one a line, numbered "1)" and two spaces.
TEST(HelpPagesTest, TheTwentyQuestionsAreNumberedInOrderOverPagesFourAndFive) {
  std::vector<int> numbers;
  for (const int page : {4, 5}) {
    for (const std::string& line : Lines(HelpPageText(page))) {
      std::smatch match;
      if (std::regex_match(line, match, std::regex(R"((\d+)\)  \S.*\?)"))) {
        numbers.push_back(std::stoi(match[1]));
      }
    }
    EXPECT_EQ(numbers.size(), page == 4 ? 8u : 20u);
  }
  for (std::size_t i = 0; i < numbers.size(); ++i) EXPECT_EQ(numbers[i], static_cast<int>(i) + 1);
}

TEST(HelpPagesTest, PageThreeBreaksOffMidSentenceAndPageFourGoesOn) {
  const std::string_view page3 = HelpPageText(3);
  EXPECT_EQ(std::string_view(".!?:\"").find(page3.back()), std::string_view::npos);
  const std::vector<std::string> page4 = Lines(HelpPageText(4));
  ASSERT_GE(page4.size(), 3u);
  EXPECT_TRUE(std::islower(static_cast<unsigned char>(page4[2].front())));
}

TEST(HelpPagesTest, HelpTopicSaysYouAreHere) {
  const std::vector<std::string> lines = Lines(HelpPageText(6));
  EXPECT_EQ(lines.back(), "You're here!  We hope it's helpful.");
}

TEST(HelpPagesTest, SuggestionsTopicCarriesThePrivacyNote) {
  EXPECT_NE(HelpPageText(7).find("PLEASE NOTE:  Kestrane does NOT send or receive any information "
                                 "other than what is typed in the suggestion box."),
            std::string_view::npos);
}

// The About topic names the same people as the About box's authors text.
TEST(HelpPagesTest, AboutTopicNamesTheAuthors) {
  const std::vector<std::string> authors = Lines(LoadString(kAuthorsString));
  ASSERT_EQ(authors.size(), 4u);
  const std::string_view page7 = HelpPageText(7);
  for (std::size_t i = 0; i < 3; ++i) {
    const std::string name = authors[i].substr(authors[i].find('\t') + 1);
    EXPECT_NE(page7.find(name), std::string_view::npos) << name;
  }
}

}  // namespace
}  // namespace qup::ui
