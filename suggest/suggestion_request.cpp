// SPDX-License-Identifier: MIT
// The suggestion's encoding (Windows-1252 bytes, percent-escaped) and the fixed-size request.
#include "suggest/suggestion_request.h"

#include <algorithm>
#include <cstdlib>
#include <string>

#include "suggest/site_config.h"
#include "text/windows1252.h"

namespace qup::suggest {

static_assert(SubmissionHost.size() <= kMaxHostLength,
              "the submission host leaves no room for the whole request in its buffer");

namespace {

// The text as the bytes the box would hand over: Windows-1252, every line break as CR LF.
std::string ToBoxBytes(std::string_view text) {
  std::string with_crlf;
  with_crlf.reserve(text.size() + 16);
  for (const char c : text) {
    if (c == '\n' && (with_crlf.empty() || with_crlf.back() != '\r')) with_crlf.push_back('\r');
    with_crlf.push_back(c);
  }
  return text::Utf8ToWindows1252(with_crlf);
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
  // Callers pass a host checked at compile time and an encoded text of at most 1002 characters,
  // so the whole request always fits; anything else is a programming error.
  if (!RequestFits(host.size(), encoded.size())) std::abort();

  std::string text;
  text.reserve(kRequestSize);
  text += kRequestStart;
  text += host;
  text += kRequestPath;
  text += kLengthHeader;
  text += std::to_string(kBodyField.size() + encoded.size());
  text += kTypeHeader;
  text += kBodyField;
  text += encoded;

  // The zero byte that ends the text, and the filler behind it, are zeros already.
  std::array<char, kRequestSize> request{};
  std::copy(text.begin(), text.end(), request.begin());
  return request;
}

}  // namespace qup::suggest
