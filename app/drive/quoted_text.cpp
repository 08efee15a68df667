// SPDX-License-Identifier: MIT
// The driver's texts: escapes in the texts it reads, quoting of the texts it prints.
#include "app/drive/quoted_text.h"

namespace qup::drive {

std::string Quoted(std::string_view text) {
  std::string quoted = "\"";
  for (const char c : text) {
    switch (c) {
      case '\t':
        quoted += "\\t";
        break;
      case '\n':
        quoted += "\\n";
        break;
      case '\r':
        quoted += "\\r";
        break;
      case '\\':
        quoted += "\\\\";
        break;
      case '"':
        quoted += "\\\"";
        break;
      default:
        quoted += c;
    }
  }
  return quoted + '"';
}

std::optional<std::string> UnescapeKeys(std::string_view text) {
  std::string keys;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      keys += text[i];
      continue;
    }
    if (++i == text.size()) return std::nullopt;
    switch (text[i]) {
      case 'n':
        keys += '\n';
        break;
      case 't':
        keys += '\t';
        break;
      case '\\':
        keys += '\\';
        break;
      default:
        return std::nullopt;
    }
  }
  return keys;
}

}  // namespace qup::drive
