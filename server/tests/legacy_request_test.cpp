// SPDX-License-Identifier: MIT
// Reading the program's own request form, whole, in pieces and spoiled.
#include "server/legacy_request.h"

#include <gtest/gtest.h>

#include "suggest/suggestion_request.h"

namespace qup::server {
namespace {

using Status = LegacyRequest::Status;

std::string ProgramRequest(std::string_view text) {
  const auto bytes =
      qup::suggest::ComposeRequest("suggest.example", qup::suggest::EncodeSuggestion(text));
  return std::string(bytes.data(), bytes.size());
}

std::string Head(std::string_view length_line) {
  return "POST http://suggest.example/sendinfo.asp\n" + std::string(length_line) +
         "\nContent-Type: application/x-www-form-urlencoded\n\n";
}

// The request text padded with a zero byte and filler to the program's 1280 bytes.
std::string Padded(std::string request) {
  request += '\0';
  request.resize(std::max(request.size(), kLegacyRequestLimit), '\0');
  return request;
}

TEST(LegacyRequestTest, ReadsTheProgramsRequest) {
  const LegacyRequest request = ReadLegacyRequest(ProgramRequest("Hi there!"), false);
  ASSERT_EQ(request.status, Status::kComplete) << request.reason;
  EXPECT_EQ(request.method, "POST");
  EXPECT_EQ(request.target, "http://suggest.example/sendinfo.asp");
  EXPECT_EQ(request.body, "text=Hi%20there%21");
}

TEST(LegacyRequestTest, ReadsTheLongestRequestTheProgramSends) {
  const LegacyRequest request = ReadLegacyRequest(ProgramRequest(std::string(1000, ' ')), false);
  ASSERT_EQ(request.status, Status::kComplete) << request.reason;
  EXPECT_EQ(request.body.size(), 1007u);
}

// However the bytes are split on their way, a prefix is never refused and never complete
// before the zero byte that ends the request text has come.
TEST(LegacyRequestTest, EveryPrefixBeforeTheZeroByteWantsMore) {
  const std::string whole = ProgramRequest("a\r\nb");
  const std::size_t text_end = whole.find('\0');
  for (std::size_t cut = 0; cut <= text_end; ++cut) {
    const LegacyRequest request = ReadLegacyRequest(std::string_view(whole).substr(0, cut), false);
    ASSERT_EQ(request.status, Status::kNeedMore) << "cut at " << cut << ": " << request.reason;
  }
  EXPECT_EQ(ReadLegacyRequest(std::string_view(whole).substr(0, text_end + 1), false).status,
            Status::kComplete);
}

TEST(LegacyRequestTest, EndOfStreamAfterTheBodyCompletesIt) {
  const std::string text = Head("Content-Length:8") + "text=abc";
  EXPECT_EQ(ReadLegacyRequest(text, true).status, Status::kComplete);
}

struct RefusalRow {
  const char* name;
  std::string bytes;
  bool client_done;
  Status status;
};

class LegacyRefusalTest : public ::testing::TestWithParam<RefusalRow> {};

TEST_P(LegacyRefusalTest, Refuses) {
  const LegacyRequest request = ReadLegacyRequest(GetParam().bytes, GetParam().client_done);
  EXPECT_EQ(request.status, GetParam().status) << request.reason;
  EXPECT_FALSE(request.reason.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, LegacyRefusalTest,
    ::testing::Values(
        RefusalRow{"over_1280_bytes", ProgramRequest("x") + "y", false, Status::kTooLarge},
        RefusalRow{"length_beyond_the_bound", Padded(Head("Content-Length:1300") + "text=a"), false,
                   Status::kTooLarge},
        RefusalRow{"body_shorter_than_its_length", Padded(Head("Content-Length:40") + "text=abc"),
                   false, Status::kBadRequest},
        RefusalRow{"body_longer_than_its_length", Padded(Head("Content-Length:6") + "text=abcdef"),
                   false, Status::kBadRequest},
        RefusalRow{"body_cut_short_by_the_client", Head("Content-Length:40") + "text=abc", true,
                   Status::kBadRequest},
        RefusalRow{"headers_cut_short", "POST /sendinfo.asp\nContent-Len", true,
                   Status::kBadRequest},
        RefusalRow{"no_content_length", Padded("POST /sendinfo.asp\nContent-Type: x\n\ntext=a"),
                   false, Status::kLengthRequired},
        RefusalRow{"content_length_not_a_number", Padded(Head("Content-Length:12a") + "text=a"),
                   false, Status::kBadRequest},
        RefusalRow{"two_different_lengths",
                   Padded(Head("Content-Length:6\nContent-Length:7") + "text=a"), false,
                   Status::kBadRequest},
        RefusalRow{"transfer_encoding", Padded(Head("Transfer-Encoding: chunked") + "0\r\n\r\n"),
                   false, Status::kBadRequest},
        RefusalRow{"header_without_colon", Padded(Head("Content-Length 6") + "text=a"), false,
                   Status::kBadRequest},
        RefusalRow{"other_page", Padded("POST http://h/ViewInfo.asp\nContent-Length:6\n\ntext=a"),
                   false, Status::kNotFound},
        RefusalRow{"get_without_version", Padded("GET /sendinfo.asp\n\n"), false,
                   Status::kBadRequest},
        RefusalRow{"not_a_request_line", Padded("hello\n\n"), false, Status::kBadRequest}),
    [](const auto& info) { return std::string(info.param.name); });

struct LineRow {
  const char* name;
  const char* bytes;
  RequestLineKind kind;
};

class RequestLineTest : public ::testing::TestWithParam<LineRow> {};

TEST_P(RequestLineTest, Classifies) {
  EXPECT_EQ(ClassifyRequestLine(GetParam().bytes), GetParam().kind);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, RequestLineTest,
    ::testing::Values(
        LineRow{"programs_line", "POST http://h/sendinfo.asp\nContent", RequestLineKind::kLegacy},
        LineRow{"browsers_line", "GET /ViewInfo.asp HTTP/1.1\r\nHost", RequestLineKind::kHttp},
        LineRow{"http_1_0", "GET / HTTP/1.0\r\n", RequestLineKind::kHttp},
        LineRow{"not_yet_ended", "POST http://h/sendinfo.asp", RequestLineKind::kIncomplete},
        LineRow{"one_word", "hello\n", RequestLineKind::kMalformed},
        LineRow{"lower_case_method", "post /sendinfo.asp\n", RequestLineKind::kMalformed},
        LineRow{"unknown_version", "GET / HTTP/2.0\r\n", RequestLineKind::kMalformed},
        LineRow{"four_words", "GET / HTTP/1.1 x\r\n", RequestLineKind::kMalformed},
        LineRow{"binary_bytes", "\x16\x03\x01\x02\n", RequestLineKind::kMalformed},
        LineRow{"empty_line", "\n", RequestLineKind::kMalformed}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TargetPathTest, TakesThePathOfEitherForm) {
  EXPECT_EQ(TargetPath("http://suggest.example/sendinfo.asp"), "/sendinfo.asp");
  EXPECT_EQ(TargetPath("HTTP://suggest.example:80/ViewInfo.asp?x=1"), "/ViewInfo.asp");
  EXPECT_EQ(TargetPath("http://suggest.example"), "/");
  EXPECT_EQ(TargetPath("/ViewInfo.asp#top"), "/ViewInfo.asp");
}

}  // namespace
}  // namespace qup::server
