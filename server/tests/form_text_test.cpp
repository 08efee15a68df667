// SPDX-License-Identifier: MIT
// Decoding the posted text: percent escapes of Windows-1252 bytes back to UTF-8.
#include "server/form_text.h"

#include <gtest/gtest.h>

#include "suggest/suggestion_request.h"

namespace qup::server {
namespace {

struct DecodeRow {
  const char* name;
  const char* encoded;
  std::optional<std::string> text;
};

class DecodeFormTextTest : public ::testing::TestWithParam<DecodeRow> {};

TEST_P(DecodeFormTextTest, Decodes) {
  EXPECT_EQ(DecodeFormText(GetParam().encoded), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, DecodeFormTextTest,
    ::testing::Values(DecodeRow{"letters_digits_underscore_pass", "Hi_there42", "Hi_there42"},
                      DecodeRow{"escaped_space_and_mark", "Hi%20there%21", "Hi there!"},
                      DecodeRow{"plus_is_a_space_as_in_every_form", "a+b", "a b"},
                      DecodeRow{"lower_case_hex_digits", "%e9t%e9", "\u00e9t\u00e9"},
                      DecodeRow{"latin1_accent", "Caf%E9", "Caf\u00e9"},
                      DecodeRow{"euro_sign_from_the_windows_range", "%80", "\u20ac"},
                      DecodeRow{"curly_quotes_and_dash", "%93x%94%96", "\u201cx\u201d\u2013"},
                      DecodeRow{"line_break_becomes_line_feed", "a%0D%0Ab", "a\nb"},
                      DecodeRow{"lone_carriage_return_is_a_break", "a%0Db", "a\nb"},
                      DecodeRow{"lone_line_feed_is_a_break", "a%0Ab", "a\nb"},
                      DecodeRow{"tab_is_kept", "a%09b", "a\tb"},
                      DecodeRow{"unassigned_byte_is_replaced", "%81", "\ufffd"},
                      DecodeRow{"zero_byte_is_replaced", "a%00b", "a\ufffdb"},
                      DecodeRow{"control_byte_is_replaced", "%1B[31m", "\ufffd[31m"},
                      DecodeRow{"escape_cut_short", "abc%4", std::nullopt},
                      DecodeRow{"percent_at_the_end", "abc%", std::nullopt},
                      DecodeRow{"escape_not_hexadecimal", "%G1", std::nullopt},
                      DecodeRow{"empty", "", ""}),
    [](const auto& info) { return std::string(info.param.name); });

struct FieldRow {
  const char* name;
  const char* body;
  std::optional<std::string_view> value;
};

class FormFieldTest : public ::testing::TestWithParam<FieldRow> {};

TEST_P(FormFieldTest, FindsTheTextField) {
  EXPECT_EQ(FormField(GetParam().body, "text"), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Rows, FormFieldTest,
                         ::testing::Values(FieldRow{"only_field", "text=abc", "abc"},
                                           FieldRow{"among_others", "a=1&text=abc&b=2", "abc"},
                                           FieldRow{"empty_value", "text=", ""},
                                           FieldRow{"name_without_value", "text", ""},
                                           FieldRow{"similar_name_is_not_it", "texts=abc",
                                                    std::nullopt},
                                           FieldRow{"missing", "other=abc", std::nullopt},
                                           FieldRow{"empty_body", "", std::nullopt}),
                         [](const auto& info) { return std::string(info.param.name); });

// What the program encodes comes back as the text the user typed, its line breaks as "\n".
class ProgramRoundTripTest : public ::testing::TestWithParam<std::pair<const char*, const char*>> {
};

TEST_P(ProgramRoundTripTest, DecodesWhatTheProgramEncodes) {
  const auto [typed, stored] = GetParam();
  EXPECT_EQ(DecodeFormText(qup::suggest::EncodeSuggestion(typed)), std::string(stored));
}

INSTANTIATE_TEST_SUITE_P(Texts, ProgramRoundTripTest,
                         ::testing::Values(std::pair{"Hi there!", "Hi there!"},
                                           std::pair{"Caf\u00e9 cr\u00e8me\r\nna\u00efve \u00fcber",
                                                     "Caf\u00e9 cr\u00e8me\nna\u00efve \u00fcber"},
                                           std::pair{"\u20ac 5 \u2014 \u201cquoted\u201d \u2026",
                                                     "\u20ac 5 \u2014 \u201cquoted\u201d \u2026"},
                                           std::pair{"<script>alert('x')</script> & 100% + more",
                                                     "<script>alert('x')</script> & 100% + more"},
                                           std::pair{"line one\r\n\r\nline three",
                                                     "line one\n\nline three"}));

}  // namespace
}  // namespace qup::server
