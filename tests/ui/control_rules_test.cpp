// SPDX-License-Identifier: MIT
// The window rules' corner cases of text counting and case folding that the window tests reach
// only in part. (The main window's radio pairs and Tab order are the transcripts keyboard,
// keyboard_radios and tabs_and_focus, the rules themselves the window contract.)
#include "ui/platform/control_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "text/case_fold.h"
#include "text/utf.h"

namespace qup::ui {
namespace {

struct CountRow {
  const char* name;
  std::string_view utf8;
  std::size_t counted;
  std::size_t fitting_in_three;  // bytes
};

void PrintTo(const CountRow& row, std::ostream* out) { *out << row.name; }

class TextCountTest : public testing::TestWithParam<CountRow> {};

TEST_P(TextCountTest, CountsAsAnEditDoesInUtf8AndUtf16) {
  const CountRow& row = GetParam();
  EXPECT_EQ(CountedLength(row.utf8), row.counted);
  EXPECT_EQ(FittingPrefix(row.utf8, 3), row.fitting_in_three);
  const std::u16string utf16 = text::Utf8ToUtf16(row.utf8);  // as a UTF-16 toolkit holds it
  EXPECT_EQ(CountedLength(std::u16string_view(utf16)), row.counted);
  const std::size_t fitting_units = FittingPrefix(std::u16string_view(utf16), 3);
  EXPECT_EQ(text::Utf8ToUtf16(row.utf8.substr(0, row.fitting_in_three)).size(), fitting_units);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, TextCountTest,
    testing::Values(CountRow{"ascii", "abcd", 4, 3}, CountRow{"accented", "éèêë", 4, 6},
                    CountRow{"crlf_counts_two", "a\r\nb", 4, 3},
                    CountRow{"lone_lf_counts_two", "a\nbc", 5, 2},
                    CountRow{"line_break_never_split", "ab\r\nc", 5, 2},
                    CountRow{"beyond_16_bits_counts_two", "a\U0001F600b", 4, 5},
                    CountRow{"never_half_a_character", "ab\U0001F600", 4, 2},
                    CountRow{"empty", "", 0, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ControlRulesTest, TextLimitZeroOrLessMeansNone) {
  EXPECT_EQ(TextLimit(1000), 1000u);
  EXPECT_EQ(TextLimit(0), kNoTextLimit);
  EXPECT_EQ(TextLimit(-1), kNoTextLimit);
  EXPECT_EQ(FittingPrefix(std::string_view("abc"), kNoTextLimit), 3u);
}

// (Latin-1, Greek and Cyrillic letters fold in the window contract's combo box cases.)
TEST(CaseFoldTest, FoldsEveryScriptWithCaseAndLeavesTheRest) {
  EXPECT_EQ(text::FoldCase(U'\u0130'), U'\u0130');  // İ has no one-character folding
  EXPECT_EQ(text::FoldCase(U'\u0100'), U'\u0101');  // Ā, in a run of alternating pairs
  EXPECT_EQ(text::FoldCase(U'\u0101'), U'\u0101');
  EXPECT_EQ(text::FoldCase(U'\u1E9E'), U'\u00DF');          // capital sharp s
  EXPECT_EQ(text::FoldCase(U'\U00010400'), U'\U00010428');  // Deseret
  EXPECT_EQ(text::FoldCase(U'7'), U'7');
  EXPECT_EQ(text::FoldCase(U'\u00D7'), U'\u00D7');  // × sits among capitals
  EXPECT_TRUE(text::EqualsIgnoringCase("ÉTÉ", "été"));
  EXPECT_FALSE(text::EqualsIgnoringCase("été", "ete"));
  EXPECT_FALSE(text::StartsWithIgnoringCase("ab", "abc"));
  // Ill-formed bytes compare as themselves, never as a character.
  EXPECT_TRUE(text::StartsWithIgnoringCase("\xC3x", "\xC3"));
  EXPECT_FALSE(text::StartsWithIgnoringCase("\xC3\xA9", "\xC3"));
}

TEST(TextCodec, ConvertsBetweenUtf8AndUtf16) {
  EXPECT_EQ(text::Utf8ToUtf16("Kestrane \xE2\x82\xAC \xC3\xA9 \xF0\x9F\x98\x80"),
            u"Kestrane \u20AC \u00E9 \U0001F600");
  EXPECT_EQ(text::Utf16ToUtf8(u"Kestrane \u20AC \u00E9 \U0001F600"),
            "Kestrane \xE2\x82\xAC \xC3\xA9 \xF0\x9F\x98\x80");
  // Each ill-formed byte becomes U+FFFD on its own, so nothing well-formed after it is lost.
  EXPECT_EQ(text::Utf8ToUtf16("a\xFF"
                              "b\xC3"
                              "c\xE0\x80\x80"
                              "d"),
            u"a\uFFFDb\uFFFDc\uFFFD\uFFFD\uFFFDd");
  EXPECT_EQ(text::Utf16ToUtf8(std::u16string(u"x") + char16_t{0xD800} + u"y"), "x\xEF\xBF\xBDy");
}

}  // namespace
}  // namespace qup::ui
