// SPDX-License-Identifier: MIT
// The suggestion's encoding and the fixed-size request that carries it.
#ifndef QUP_SUGGEST_SUGGESTION_REQUEST_H
#define QUP_SUGGEST_SUGGESTION_REQUEST_H

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace qup::suggest {

inline constexpr std::size_t kRequestSize = 1280;
inline constexpr std::size_t kReplySize = 512;

// Encoding stops once this many characters are written; an escape begun just before the stop is
// completed, so the encoded text is at most three characters longer.
inline constexpr std::size_t kEncodedStop = 1000;
inline constexpr std::size_t kMaxEncodedLength = kEncodedStop + 2;

// The request's fixed bytes, everything but the host, the length digits and the encoded text.
inline constexpr std::string_view kRequestStart = "POST http://";
inline constexpr std::string_view kRequestPath = "/sendinfo.asp\n";
inline constexpr std::string_view kLengthHeader = "Content-Length:";
inline constexpr std::string_view kTypeHeader =
    "\nContent-Type: application/x-www-form-urlencoded\n\n";
inline constexpr std::string_view kBodyField = "text=";

// The longest host that leaves room for the longest request: 177 characters.
inline constexpr std::size_t kMaxHostLength = 177;

// The box's text (UTF-8) as Windows-1252 bytes, percent-encoded. A line feed not preceded by a
// carriage return is taken as a whole line break; a character outside Windows-1252 becomes '?'.
std::string EncodeSuggestion(std::string_view text);

// Decimal digits of a body length.
constexpr std::size_t DigitCount(std::size_t value) {
  std::size_t digits = 1;
  for (; value >= 10; value /= 10) ++digits;
  return digits;
}

// Bytes of the request text for a host of host_length characters and an encoded text of
// encoded_length characters, its zero byte included.
constexpr std::size_t RequestLength(std::size_t host_length, std::size_t encoded_length) {
  const std::size_t body_length = kBodyField.size() + encoded_length;
  return kRequestStart.size() + host_length + kRequestPath.size() + kLengthHeader.size() +
         DigitCount(body_length) + kTypeHeader.size() + body_length + 1;
}

constexpr bool RequestFits(std::size_t host_length, std::size_t encoded_length) {
  return RequestLength(host_length, encoded_length) <= kRequestSize;
}

static_assert(RequestFits(kMaxHostLength, kMaxEncodedLength) &&
              !RequestFits(kMaxHostLength + 1, kMaxEncodedLength));

// The whole request for host with the encoded text as its body, zero-filled to kRequestSize.
// The request is never cut short: the caller passes a host and a text that fit (RequestFits);
// anything else is a programming error and ends the program.
std::array<char, kRequestSize> ComposeRequest(std::string_view host, std::string_view encoded);

}  // namespace qup::suggest

#endif  // QUP_SUGGEST_SUGGESTION_REQUEST_H
