// SPDX-License-Identifier: MIT
// Fuzz target: any text in the suggestion box, through its encoding and the fixed-size request.
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/property.h"
#include "suggest/site_config.h"
#include "suggest/suggestion_request.h"

namespace {

namespace suggest = qup::suggest;

bool IsUpperHex(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); }

bool IsKept(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

// The encoded text back to bytes; checks each escape on the way.
std::string Decode(std::string_view encoded) {
  std::string bytes;
  for (std::size_t i = 0; i < encoded.size(); ++i) {
    const char c = encoded[i];
    if (c != '%') {
      QUP_PROPERTY(IsKept(static_cast<unsigned char>(c)), encoded);
      bytes.push_back(c);
      continue;
    }
    QUP_PROPERTY(i + 2 < encoded.size() && IsUpperHex(encoded[i + 1]) && IsUpperHex(encoded[i + 2]),
                 encoded);
    const std::string_view hex = "0123456789ABCDEF";
    const auto value = hex.find(encoded[i + 1]) * 16 + hex.find(encoded[i + 2]);
    QUP_PROPERTY(!IsKept(static_cast<unsigned char>(value)), encoded);
    bytes.push_back(static_cast<char>(value));
    i += 2;
  }
  return bytes;
}

// What the box hands over for a text of ASCII characters: a line feed on its own becomes a line
// break, CR LF.
std::string AsciiBoxBytes(std::string_view text) {
  std::string bytes;
  for (const char c : text) {
    if (c == '\n' && (bytes.empty() || bytes.back() != '\r')) bytes.push_back('\r');
    bytes.push_back(c);
  }
  return bytes;
}

// How many of bytes fit the encoding: it stops before a byte once 1000 characters are written.
std::size_t BytesThatFit(std::string_view bytes) {
  std::size_t written = 0;
  std::size_t taken = 0;
  for (const char c : bytes) {
    if (written >= suggest::kEncodedStop) break;
    written += IsKept(static_cast<unsigned char>(c)) ? 1 : 3;
    ++taken;
  }
  return taken;
}

void CheckRequest(std::string_view host, std::string_view encoded) {
  QUP_PROPERTY(suggest::RequestFits(host.size(), encoded.size()), encoded);
  const auto request = suggest::ComposeRequest(host, encoded);
  const std::string_view sent(request.data(), request.size());
  QUP_PROPERTY(sent.size() == 1280, sent);

  const std::string head = "POST http://" + std::string(host) + "/sendinfo.asp\nContent-Length:";
  QUP_PROPERTY(sent.starts_with(head), sent);
  std::size_t pos = head.size();
  std::size_t stated = 0;
  const std::size_t digits_start = pos;
  while (pos < sent.size() && sent[pos] >= '0' && sent[pos] <= '9') {
    stated = stated * 10 + static_cast<std::size_t>(sent[pos++] - '0');
  }
  QUP_PROPERTY(pos > digits_start && sent[digits_start] != '0', sent);
  const std::string_view type = "\nContent-Type: application/x-www-form-urlencoded\n\n";
  QUP_PROPERTY(sent.substr(pos, type.size()) == type, sent);
  pos += type.size();

  const std::size_t body_end = sent.find('\0', pos);
  QUP_PROPERTY(body_end != std::string_view::npos, sent);
  const std::string_view body = sent.substr(pos, body_end - pos);
  QUP_PROPERTY(body.size() == stated, body);
  QUP_PROPERTY(body == "text=" + std::string(encoded), body);
  QUP_PROPERTY(std::all_of(sent.begin() + static_cast<std::ptrdiff_t>(body_end), sent.end(),
                           [](char c) { return c == '\0'; }),
               sent);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::string encoded = suggest::EncodeSuggestion(text);
  QUP_PROPERTY(encoded.size() <= 1002, encoded);
  const std::string decoded = Decode(encoded);

  if (std::all_of(text.begin(), text.end(),
                  [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
    // Plain ASCII passes unchanged apart from its line breaks, cut only where the limit falls.
    const std::string bytes = AsciiBoxBytes(text);
    QUP_PROPERTY(decoded == bytes.substr(0, BytesThatFit(bytes)), encoded);
  } else {
    // A character outside ASCII is one byte of the code page, or '?': never more bytes.
    QUP_PROPERTY(decoded.size() <= 2 * text.size(), encoded);
  }

  CheckRequest(qup::SubmissionHost, encoded);
  // The longest host the buffer allows, with the same text.
  CheckRequest(std::string(suggest::kMaxHostLength, 'h'), encoded);
  return 0;
}
