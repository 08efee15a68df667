// SPDX-License-Identifier: MIT
// The encoding and the request for what the box cannot show a server: bytes outside the code
// page, the longest host; and the driver's target. (Line breaks and the stop at 1000 characters
// are checked on every input of fuzz/corpus/suggestion/, the test fuzz_corpus.suggestion.)
#include "suggest/suggestion_request.h"

#include <gtest/gtest.h>

#include "suggest/network_options.h"

namespace qup::suggest {
namespace {

struct EncodingRow {
  const char* name;
  std::string text;
  std::string encoded;
};

class EncodingTest : public testing::TestWithParam<EncodingRow> {};

TEST_P(EncodingTest, EncodesAsTheServerExpects) {
  EXPECT_EQ(EncodeSuggestion(GetParam().text), GetParam().encoded);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, EncodingTest,
    testing::Values(
        EncodingRow{"signs_are_escaped_letters_digits_underscore_not", "Az09_+= %",
                    "Az09_%2B%3D%20%25"},
        EncodingRow{"lone_carriage_return_stays_alone", "a\rb", "a%0Db"},
        EncodingRow{"euro_and_quotes_use_the_code_page", "\u20ac \u201cq\u201d", "%80%20%93q%94"},
        EncodingRow{"outside_the_code_page_is_a_question_mark", "\u221e=\U0001F600", "%3F%3D%3F"},
        EncodingRow{"malformed_bytes_are_question_marks", "a\xFF\xC3", "a%3F%3F"},
        EncodingRow{"control_characters_are_escaped", std::string("\t\0x", 3), "%09%00x"}),
    [](const testing::TestParamInfo<EncodingRow>& row) { return std::string(row.param.name); });

TEST(ComposeRequestDeathTest, LongestTextForTheLongestHostFitsWholeAndLongerIsRefused) {
  const std::string encoded(kMaxEncodedLength, 'e');
  const auto request = ComposeRequest(std::string(kMaxHostLength, 'h'), encoded);
  const std::string text(request.data(), std::find(request.begin(), request.end(), '\0'));
  EXPECT_EQ(text.size(), kRequestSize - 1) << "the zero byte is the buffer's last";
  EXPECT_NE(text.find("\nContent-Length:1007\n"), std::string::npos);
  EXPECT_TRUE(text.ends_with("\n\ntext=" + encoded));
  EXPECT_DEATH(ComposeRequest(std::string(kMaxHostLength + 1, 'h'), encoded), "");
}

TEST(OptionsForTarget, TakesADottedAddressAndAPortFrom1To65535) {
  const auto options = OptionsForTarget("192.0.2.1:65535");
  ASSERT_TRUE(options);
  EXPECT_EQ(options->resolve_to, 0xC0000201u);
  EXPECT_EQ(options->port_override, 65535);
  for (const char* wrong : {"127.0.0.1:0", "127.0.0.1:65536", "127.0.0.1", "127.0.0.1:80x",
                            "127.0.0.1:-80", "localhost:80", "127.1:80", "127.0.0.1:080",
                            "127.0.0.1:+80", "127.0.0.256:80", "127.0.0.01:80", "127..0.1:80",
                            "127.0.0.1.:80", "127.0.0.1.5:80", " 127.0.0.1:80", ":80", ""}) {
    EXPECT_EQ(OptionsForTarget(wrong), std::nullopt) << wrong;
  }
}

TEST(ParseDottedDecimal, ReadsFourNumbersFrom0To255) {
  struct Row {
    const char* text;
    std::optional<std::uint32_t> address;
  };
  for (const Row& row :
       {Row{"0.0.0.0", 0u}, Row{"127.0.0.1", 0x7F000001u}, Row{"255.255.255.255", 0xFFFFFFFFu},
        Row{"10.20.30.40", 0x0A141E28u}, Row{"256.0.0.1", std::nullopt}, Row{"1.2.3", std::nullopt},
        Row{"1.2.3.4.5", std::nullopt}, Row{"01.2.3.4", std::nullopt},
        Row{"1.2.3.4 ", std::nullopt}, Row{"1.-2.3.4", std::nullopt}, Row{"a.b.c.d", std::nullopt},
        Row{"1.2.3.", std::nullopt}}) {
    EXPECT_EQ(ParseDottedDecimal(row.text), row.address) << row.text;
  }
}

}  // namespace
}  // namespace qup::suggest
