// SPDX-License-Identifier: MIT
// Reading the program's own request form: whole, in pieces and spoiled.
#include "server/legacy_request.h"

#include <gtest/gtest.h>

#include "server/tests/support/server_harness.h"
#include "suggest/suggestion_request.h"

namespace qup::server {
namespace {

using Status = LegacyRequest::Status;

// However the bytes are split on their way, a prefix of the program's request is never refused,
// and it is complete once the zero byte that ends its text has come.
TEST(LegacyRequestTest, ReadsTheProgramsRequestHoweverItIsSplit) {
  for (const std::string& typed : {std::string("a\r\nb"), std::string(1000, ' ')}) {
    const std::string whole = testing::ProgramRequest(typed);
    const std::size_t text_end = whole.find('\0');
    for (std::size_t cut = 0; cut <= text_end; ++cut) {
      const LegacyRequest part = ReadLegacyRequest(std::string_view(whole).substr(0, cut), false);
      ASSERT_EQ(part.status, Status::kNeedMore) << "cut at " << cut << ": " << part.reason;
    }
    const LegacyRequest request = ReadLegacyRequest(whole.substr(0, text_end + 1), false);
    ASSERT_EQ(request.status, Status::kComplete) << request.reason;
    EXPECT_EQ(request.target, "http://127.0.0.1/sendinfo.asp");
    EXPECT_EQ(request.body, "text=" + qup::suggest::EncodeSuggestion(typed));
  }
}

std::string Head(std::string_view length_line) {
  return "POST http://h/sendinfo.asp\n" + std::string(length_line) + "\nContent-Type: x\n\n";
}

// The request text padded with a zero byte and filler to the program's 1280 bytes.
std::string Padded(std::string request) {
  request.resize(kLegacyRequestLimit, '\0');
  return request;
}

struct ReadRow {
  const char* name;
  std::string bytes;
  bool client_done;
  Status status;
};

class LegacyReadTest : public ::testing::TestWithParam<ReadRow> {};

TEST_P(LegacyReadTest, Reads) {
  const LegacyRequest request = ReadLegacyRequest(GetParam().bytes, GetParam().client_done);
  EXPECT_EQ(request.status, GetParam().status) << request.reason;
  EXPECT_EQ(request.reason.empty(), request.status == Status::kComplete) << "refusals say why";
}

INSTANTIATE_TEST_SUITE_P(
    Rows, LegacyReadTest,
    ::testing::Values(
        ReadRow{"end_of_stream_after_the_body", Head("Content-Length:8") + "text=abc", true,
                Status::kComplete},
        ReadRow{"body_cut_short_by_the_client", Head("Content-Length:40") + "text=abc", true,
                Status::kBadRequest},
        ReadRow{"headers_cut_short", "POST /sendinfo.asp\nContent-Len", true, Status::kBadRequest},
        ReadRow{"length_beyond_the_bound", Padded(Head("Content-Length:1300") + "text=a"), false,
                Status::kTooLarge},
        ReadRow{"two_different_lengths",
                Padded(Head("Content-Length:6\nContent-Length:7") + "text=a"), false,
                Status::kBadRequest},
        ReadRow{"transfer_encoding", Padded(Head("Transfer-Encoding: chunked") + "0\r\n\r\n"),
                false, Status::kBadRequest},
        ReadRow{"get_without_version", Padded("GET /sendinfo.asp\n\n"), false,
                Status::kBadRequest}),
    [](const auto& info) { return std::string(info.param.name); });

struct LogLineRow {
  const char* name;
  std::string bytes;
  std::size_t limit;
  std::string logged;
};

// Failures name the row, not the bytes of its parameter.
void PrintTo(const LogLineRow& row, std::ostream* out) { *out << row.name; }

class RequestLineForLogTest : public ::testing::TestWithParam<LogLineRow> {};

TEST_P(RequestLineForLogTest, IsTheFirstLineEscapedAndCut) {
  EXPECT_EQ(RequestLineForLog(GetParam().bytes, GetParam().limit), GetParam().logged);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, RequestLineForLogTest,
    ::testing::Values(
        LogLineRow{"quotes_and_backslashes", "GET /\"a\\b\"\n", 200, "GET /\\x22a\\x5Cb\\x22"},
        LogLineRow{"controls_and_high_bytes", std::string("A\0\x1B[2J\xE9\r", 7) + "\n", 200,
                   "A\\x00\\x1B[2J\\xE9"},
        LogLineRow{"lone_carriage_return_kept_without_line_feed", "A\r", 200, "A\\x0D"},
        LogLineRow{"cut_at_the_limit", std::string(300, 'A'), 10, "AAAAAAAAAA..."},
        LogLineRow{"exactly_the_limit", std::string(10, 'A'), 10, "AAAAAAAAAA"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace qup::server
