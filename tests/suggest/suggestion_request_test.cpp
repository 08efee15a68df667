// SPDX-License-Identifier: MIT
// The suggestion's encoding and the request composed from it.
#include "suggest/suggestion_request.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "suggest/site_config.h"

namespace qup::suggest {
namespace {

struct EncodingCase {
  const char* name;
  std::string text;
  std::string encoded;
};

void PrintTo(const EncodingCase& row, std::ostream* out) { *out << row.name; }

class EncodingTest : public testing::TestWithParam<EncodingCase> {};

TEST_P(EncodingTest, EncodesAsTheServerExpects) {
  EXPECT_EQ(EncodeSuggestion(GetParam().text), GetParam().encoded);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, EncodingTest,
    testing::Values(EncodingCase{"PunctuationAndSpaceAreEscaped", "Hi there!", "Hi%20there%21"},
                    EncodingCase{"LettersDigitsUnderscoreStay", "AZaz09_", "AZaz09_"},
                    EncodingCase{"PlusAndPercentAreEscaped", "1+1=2 %", "1%2B1%3D2%20%25"},
                    EncodingCase{"BoxLineBreakIsCrLf", "a\r\nb", "a%0D%0Ab"},
                    EncodingCase{"LoneLineFeedIsAWholeLineBreak", "a\nb", "a%0D%0Ab"},
                    EncodingCase{"LoneCarriageReturnStaysAlone", "a\rb", "a%0Db"},
                    EncodingCase{"EmptyLinesKeepTheirBreaks", "a\n\nb", "a%0D%0A%0D%0Ab"},
                    EncodingCase{"AccentedLetterIsOneWindows1252Byte", "caf\xC3\xA9", "caf%E9"},
                    EncodingCase{"UpperHalfOfLatin1", "\xC3\x80\xC3\xBF\xC2\xA0", "%C0%FF%A0"},
                    EncodingCase{"EuroSignAndQuotesUseTheCodePagesOwnBytes",
                                 "\xE2\x82\xAC \xE2\x80\x9Cq\xE2\x80\x9D", "%80%20%93q%94"},
                    EncodingCase{"CharacterOutsideTheCodePageIsAQuestionMark",
                                 "\xE2\x88\x9E=\xF0\x9F\x98\x80", "%3F%3D%3F"},
                    EncodingCase{"MalformedBytesAreQuestionMarks", "a\xFF\xC3", "a%3F%3F"},
                    EncodingCase{"ControlCharactersAreEscaped", std::string("\t\0x", 3), "%09%00x"},
                    EncodingCase{"ThousandLettersGoWhole", std::string(1000, 'q'),
                                 std::string(1000, 'q')},
                    EncodingCase{"OneLetterPastTheStopIsDropped", std::string(1001, 'q'),
                                 std::string(1000, 'q')},
                    EncodingCase{"EscapeBegunAt999IsCompleted", std::string(1000, ' '),
                                 [] {
                                   std::string spaces;
                                   for (int i = 0; i < 334; ++i) spaces += "%20";
                                   return spaces;
                                 }()},
                    EncodingCase{"EscapeBegunAt1000IsNot", std::string(1000, 'q') + " ",
                                 std::string(1000, 'q')},
                    EncodingCase{"EscapeAt998EndsOneCharacterPastTheStop",
                                 std::string(998, 'q') + "  ", std::string(998, 'q') + "%20"},
                    EncodingCase{"LineBreakStraddlingTheStopLosesItsSecondByte",
                                 std::string(999, 'q') + "\n", std::string(999, 'q') + "%0D"},
                    EncodingCase{"EmptyTextIsEmpty", "", ""}),
    [](const testing::TestParamInfo<EncodingCase>& row) { return std::string(row.param.name); });

// The request text up to its zero byte.
std::string RequestText(const std::array<char, kRequestSize>& request) {
  return std::string(request.data(), std::find(request.begin(), request.end(), '\0'));
}

TEST(ComposeRequest, LaysOutTheRequestLineHeadersAndBody) {
  const auto request = ComposeRequest("www.host.example", "Hi%20there%21");
  EXPECT_EQ(RequestText(request),
            "POST http://www.host.example/sendinfo.asp\n"
            "Content-Length:18\n"
            "Content-Type: application/x-www-form-urlencoded\n"
            "\n"
            "text=Hi%20there%21");
}

TEST(ComposeRequest, FillsTheRestOfTheBufferWithZeroBytes) {
  const auto request = ComposeRequest("h", "x");
  const std::size_t text_length = RequestText(request).size();
  EXPECT_EQ(request.size(), 1280u);
  EXPECT_TRUE(std::all_of(request.begin() + static_cast<long>(text_length), request.end(),
                          [](char byte) { return byte == '\0'; }));
}

TEST(ComposeRequest, EmptyBodyTextStillCarriesItsFieldName) {
  EXPECT_EQ(RequestText(ComposeRequest("h", "")),
            "POST http://h/sendinfo.asp\nContent-Length:5\n"
            "Content-Type: application/x-www-form-urlencoded\n\ntext=");
}

TEST(ComposeRequest, LongestTextForTheLongestHostFitsWhole) {
  const std::string host(kMaxHostLength, 'h');
  const std::string encoded(kMaxEncodedLength, 'e');
  const auto request = ComposeRequest(host, encoded);
  const std::string text = RequestText(request);
  EXPECT_EQ(text.size(), kRequestSize - 1) << "the zero byte is the buffer's last";
  EXPECT_NE(text.find("\nContent-Length:1007\n"), std::string::npos);
  EXPECT_TRUE(text.ends_with("text=" + encoded));
}

TEST(ComposeRequest, ThousandSpacesAreSentWithTheirCompletedEscape) {
  const std::string encoded = EncodeSuggestion(std::string(1000, ' '));
  const std::string text = RequestText(ComposeRequest(SubmissionHost, encoded));
  EXPECT_EQ(encoded.size(), 1002u);
  EXPECT_NE(text.find("\nContent-Length:1007\n"), std::string::npos);
  EXPECT_TRUE(text.ends_with("text=" + encoded));
}

TEST(RequestFits, HostOfUpTo177CharactersLeavesRoomForTheLongestText) {
  EXPECT_TRUE(RequestFits(177, 1002));
  EXPECT_FALSE(RequestFits(178, 1002));
  EXPECT_TRUE(RequestFits(178, 1001)) << "a shorter text leaves room for a longer host";
}

TEST(ComposeRequestDeathTest, RefusesARequestThatWouldNotFit) {
  EXPECT_DEATH(ComposeRequest(std::string(kMaxHostLength + 1, 'h'), std::string(1002, 'e')), "");
}

}  // namespace
}  // namespace qup::suggest
