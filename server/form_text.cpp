// SPDX-License-Identifier: MIT
// The suggestion text of a posted form: percent-decoding and Windows-1252 to UTF-8.
#include "server/form_text.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

#include "text/windows1252.h"

namespace qup::server {
namespace {

// U+FFFD in UTF-8: stands for a control character or a byte the code page leaves undefined.
constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

bool Showable(std::uint8_t byte) {
  constexpr std::uint8_t kUndefined[] = {0x81, 0x8D, 0x8F, 0x90, 0x9D};
  if (byte == '\t') return true;
  if (byte < 0x20 || byte == 0x7F) return false;  // C0 controls and DEL have no place in a page
  return std::find(std::begin(kUndefined), std::end(kUndefined), byte) == std::end(kUndefined);
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

std::optional<std::string_view> FormField(std::string_view body, std::string_view name) {
  while (!body.empty()) {
    const std::size_t amp = body.find('&');
    const std::string_view pair = body.substr(0, amp);
    const std::size_t eq = pair.find('=');
    if (pair.substr(0, eq) == name) {
      return eq == std::string_view::npos ? std::string_view{} : pair.substr(eq + 1);
    }
    if (amp == std::string_view::npos) break;
    body.remove_prefix(amp + 1);
  }
  return std::nullopt;
}

std::optional<std::string> DecodeFormText(std::string_view encoded) {
  std::string bytes;
  bytes.reserve(encoded.size());
  for (std::size_t i = 0; i < encoded.size(); ++i) {
    const char c = encoded[i];
    if (c == '+') {
      bytes += ' ';
    } else if (c != '%') {
      bytes += c;
    } else {
      if (i + 2 >= encoded.size()) return std::nullopt;
      const int high = HexValue(encoded[i + 1]);
      const int low = HexValue(encoded[i + 2]);
      if (high < 0 || low < 0) return std::nullopt;
      bytes += static_cast<char>(high * 16 + low);
      i += 2;
    }
  }

  std::string text;
  text.reserve(bytes.size() + bytes.size() / 2);
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const auto byte = static_cast<std::uint8_t>(bytes[i]);
    if (byte == '\r') {
      if (i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
      text += '\n';
    } else if (byte == '\n') {
      text += '\n';
    } else if (Showable(byte)) {
      text += text::Windows1252ToUtf8(std::string_view(&bytes[i], 1));
    } else {
      text += kReplacement;
    }
  }
  return text;
}

}  // namespace qup::server
