// SPDX-License-Identifier: MIT
// The suggestion's encoding (Windows-1252 bytes, percent-escaped) and the fixed-size request.
#include "suggest/suggestion_request.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <optional>

#include "suggest/site_config.h"

namespace qup::suggest {

static_assert(SubmissionHost.size() <= kMaxHostLength,
              "the submission host leaves no room for the whole request in its buffer");

namespace {

// Windows-1252 bytes 0x80 to 0x9F by their Unicode code points. The five positions that the code
// page leaves undefined carry the C1 control of the same value, as the system's conversion does.
constexpr std::array<char32_t, 32> kHighBytes = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
};

unsigned char ToWindows1252(char32_t code_point) {
  if (code_point < 0x80 || (code_point >= 0xA0 && code_point <= 0xFF)) {
    return static_cast<unsigned char>(code_point);
  }
  const auto* found = std::find(kHighBytes.begin(), kHighBytes.end(), code_point);
  if (found != kHighBytes.end())
    return static_cast<unsigned char>(0x80 + (found - kHighBytes.begin()));
  return '?';
}

// Decodes one UTF-8 sequence at text[pos], advancing pos; nothing for a malformed sequence, of
// which one byte is consumed.
std::optional<char32_t> NextCodePoint(std::string_view text, std::size_t& pos) {
  const auto lead = static_cast<unsigned char>(text[pos++]);
  if (lead < 0x80) return lead;
  std::size_t extra = 0;
  char32_t code_point = 0;
  char32_t minimum = 0;
  if ((lead & 0xE0) == 0xC0) {
    extra = 1, code_point = lead & 0x1F, minimum = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    extra = 2, code_point = lead & 0x0F, minimum = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    extra = 3, code_point = lead & 0x07, minimum = 0x10000;
  } else {
    return std::nullopt;
  }
  if (pos + extra > text.size()) return std::nullopt;
  for (std::size_t i = 0; i < extra; ++i) {
    const auto next = static_cast<unsigned char>(text[pos + i]);
    if ((next & 0xC0) != 0x80) return std::nullopt;
    code_point = (code_point << 6) | (next & 0x3F);
  }
  if (code_point < minimum || code_point > 0x10FFFF ||
      (code_point >= 0xD800 && code_point <= 0xDFFF)) {
    return std::nullopt;
  }
  pos += extra;
  return code_point;
}

// The text as the bytes the box would hand over: Windows-1252, line breaks as CR LF.
std::string ToBoxBytes(std::string_view text) {
  std::string bytes;
  bytes.reserve(text.size() + 16);
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::optional<char32_t> code_point = NextCodePoint(text, pos);
    if (!code_point) {
      bytes.push_back('?');
      continue;
    }
    if (*code_point == '\n' && (bytes.empty() || bytes.back() != '\r')) bytes.push_back('\r');
    bytes.push_back(static_cast<char>(ToWindows1252(*code_point)));
  }
  return bytes;
}

bool CopiedUnchanged(unsigned char byte) {
  return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
         (byte >= '0' && byte <= '9') || byte == '_';
}

}  // namespace

std::string EncodeSuggestion(std::string_view text) {
  static constexpr std::string_view kHexDigits = "0123456789ABCDEF";
  std::string encoded;
  encoded.reserve(kMaxEncodedLength);
  for (const char input : ToBoxBytes(text)) {
    if (encoded.size() >= kEncodedStop) break;
    const auto byte = static_cast<unsigned char>(input);
    if (CopiedUnchanged(byte)) {
      encoded.push_back(input);
    } else {
      encoded.push_back('%');
      encoded.push_back(kHexDigits[byte >> 4]);
      encoded.push_back(kHexDigits[byte & 0x0F]);
    }
  }
  return encoded;
}

std::array<char, kRequestSize> ComposeRequest(std::string_view host, std::string_view encoded) {
  if (!RequestFits(host.size(), encoded.size())) std::abort();

  std::array<char, kRequestSize> request{};
  char* out = request.data();
  const auto append = [&out](std::string_view part) {
    out = std::copy(part.begin(), part.end(), out);
  };

  append(kRequestStart);
  append(host);
  append(kRequestPath);
  append(kLengthHeader);
  out = std::to_chars(out, request.data() + request.size(), kBodyField.size() + encoded.size()).ptr;
  append(kTypeHeader);
  append(kBodyField);
  append(encoded);
  // The zero byte that ends the text, and the filler behind it, are already in place.
  return request;
}

}  // namespace qup::suggest
