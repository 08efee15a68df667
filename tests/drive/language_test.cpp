// SPDX-License-Identifier: MIT
// The script language as both drivers read it: each line becomes one command with its
// arguments, or the message a script's author sees. (Every verb as the transcripts use it, and
// the mistakes tests/acceptance/drive_language.sh makes, are read there.)
#include "app/drive/language.h"

#include <gtest/gtest.h>

#include <string>
#include <variant>

namespace qup::drive {
namespace {

struct Parsed {
  const char* line;
  Verb verb;
  int id;
  int number;
  const char* text;
};

class ParseCommandTest : public ::testing::TestWithParam<Parsed> {};

TEST_P(ParseCommandTest, ReadsTheCommandAndItsArguments) {
  const Parsed& row = GetParam();
  const auto parsed = ParseCommand(row.line);
  ASSERT_TRUE(std::holds_alternative<CommandLine>(parsed)) << std::get<std::string>(parsed);
  const auto& command = std::get<CommandLine>(parsed);
  EXPECT_EQ(command.verb, row.verb);
  EXPECT_EQ(command.args.id, row.id);
  EXPECT_EQ(command.args.number, row.number);
  EXPECT_EQ(command.args.text, row.text);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ParseCommandTest,
    ::testing::Values(Parsed{"pick 1016 2", Verb::kPick, 1016, 2, ""},
                      // A text runs to the end of the line, its spaces included.
                      Parsed{"type 1024 Hi  there! ", Verb::kType, 1024, 0, "Hi  there! "},
                      Parsed{"type 1001 ", Verb::kType, 1001, 0, ""},
                      Parsed{"key Ctrl+Shift+Tab", Verb::kKey, 0, 0, "Ctrl+Shift+Tab"}),
    [](const auto& info) { return "line" + std::to_string(info.index); });

struct Mistake {
  const char* line;
  const char* message;
};

class ParseMistakeTest : public ::testing::TestWithParam<Mistake> {};

TEST_P(ParseMistakeTest, NamesWhatIsWrong) {
  const auto parsed = ParseCommand(GetParam().line);
  ASSERT_TRUE(std::holds_alternative<std::string>(parsed));
  EXPECT_EQ(std::get<std::string>(parsed), GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(Lines, ParseMistakeTest,
                         ::testing::Values(Mistake{"pick 1016 two", "wrong arguments: pick ID N"},
                                           Mistake{"tab 1x", "wrong arguments: tab N"},
                                           Mistake{"start now", "wrong arguments: start"},
                                           Mistake{"key", "wrong arguments: key NAME"},
                                           Mistake{"key Ctrl Tab", "wrong arguments: key NAME"},
                                           Mistake{"screenshot ",
                                                   "wrong arguments: screenshot FILE"}),
                         [](const auto& info) { return "line" + std::to_string(info.index); });

TEST(ScriptLines, CommentsAndBlankLinesAreNoCommands) {
  EXPECT_TRUE(IsCommand("start"));
  EXPECT_TRUE(IsCommand("  show 1"));
  EXPECT_FALSE(IsCommand(""));
  EXPECT_FALSE(IsCommand(" \t\r"));
  EXPECT_FALSE(IsCommand("  # start"));
}

TEST(KeyNames, EachNameHasItsPlaceAndOthersAreListed) {
  for (std::size_t i = 0; i < kKeyNames.size(); ++i)
    EXPECT_EQ(KeyIndex(kKeyNames[i]), static_cast<int>(i));
  EXPECT_EQ(KeyIndex("Return"), -1);
  EXPECT_EQ(KeyIndex("enter"), -1);
  EXPECT_NE(UnknownKeyMessage("Return").find(" Ctrl+PageUp"), std::string::npos);
}

TEST(PrintedLines, TextsAreQuotedWithTheirEscapes) {
  EXPECT_EQ(MessageBoxLine(48, "qup", "Say \"hi\"\n\tnow\\"),
            "msgbox 48 \"qup\" \"Say \\\"hi\\\"\\n\\tnow\\\\\"");
  EXPECT_EQ(UrlLine("http://example.test/a b"), "url \"http://example.test/a b\"");
}

}  // namespace
}  // namespace qup::drive
