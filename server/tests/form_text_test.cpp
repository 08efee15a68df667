// SPDX-License-Identifier: MIT
// Decoding posted text that the program did not write: percent escapes of Windows-1252 bytes.
#include "server/form_text.h"

#include <gtest/gtest.h>

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
    ::testing::Values(DecodeRow{"plus_is_a_space_as_in_every_form", "a+b", "a b"},
                      DecodeRow{"lower_case_hex_digits", "%e9t%e9", "\u00e9t\u00e9"},
                      DecodeRow{"windows_range", "%80%93x%94%96", "\u20ac\u201cx\u201d\u2013"},
                      DecodeRow{"lone_carriage_return_is_a_break", "a%0Db", "a\nb"},
                      DecodeRow{"lone_line_feed_is_a_break", "a%0Ab", "a\nb"},
                      DecodeRow{"tab_is_kept", "a%09b", "a\tb"},
                      DecodeRow{"unassigned_byte_is_replaced", "%81", "\ufffd"},
                      DecodeRow{"zero_byte_is_replaced", "a%00b", "a\ufffdb"},
                      DecodeRow{"control_byte_is_replaced", "%1B[31m", "\ufffd[31m"},
                      DecodeRow{"escape_cut_short", "abc%4", std::nullopt},
                      DecodeRow{"percent_at_the_end", "abc%", std::nullopt},
                      DecodeRow{"escape_not_hexadecimal", "%G1", std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace qup::server
