// SPDX-License-Identifier: MIT
// Reading and writing the registry export text. The reader accepts what an export or a hand
// edit holds (hex(N):, hex:, dword: and quoted strings, continued lines, CR LF or LF) and
// passes over anything else without failing.
#include "settings/reg_export.h"

#include <algorithm>
#include <charconv>
#include <optional>

namespace qup::settings {
namespace {

constexpr std::uint32_t kBinaryType = 3;
constexpr std::uint32_t kDwordType = 4;
constexpr std::string_view kNewline = "\r\n";

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string AsciiLower(std::string_view text) {
  std::string out(text);
  std::transform(out.begin(), out.end(), out.begin(), [](char c) { return AsciiLower(c); });
  return out;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

std::string_view TrimSpaces(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool ConsumePrefix(std::string_view& text, std::string_view prefix) {
  if (text.size() < prefix.size() || !EqualsIgnoringCase(text.substr(0, prefix.size()), prefix)) {
    return false;
  }
  text.remove_prefix(prefix.size());
  return true;
}

// A quoted text with \\ and \" escapes, from the opening quote; consumes through the closing
// quote.
std::optional<std::string> ConsumeQuoted(std::string_view& text) {
  if (text.empty() || text.front() != '"') return std::nullopt;
  std::string out;
  for (std::size_t i = 1; i < text.size(); ++i) {
    if (text[i] == '"') {
      text.remove_prefix(i + 1);
      return out;
    }
    if (text[i] == '\\') {
      if (++i == text.size()) break;
    }
    out += text[i];
  }
  return std::nullopt;
}

template <typename Number>
bool ParseHex(std::string_view text, Number& value) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
  return error == std::errc() && end == text.data() + text.size();
}

// Comma-separated bytes of exactly two hex digits, e.g. "35,30,00", so that a line cut short
// in the middle of a byte is refused rather than read as another byte; empty data is allowed.
std::optional<std::vector<std::uint8_t>> ParseHexBytes(std::string_view text) {
  std::vector<std::uint8_t> data;
  if (TrimSpaces(text).empty()) return data;
  while (true) {
    const auto comma = text.find(',');
    const std::string_view item = TrimSpaces(text.substr(0, comma));
    std::uint8_t byte = 0;
    if (item.size() != 2 || !ParseHex(item, byte)) return std::nullopt;
    data.push_back(byte);
    if (comma == std::string_view::npos) return data;
    text.remove_prefix(comma + 1);
  }
}

std::optional<RegValue> ParseValueLine(std::string_view line) {
  RegValue value;
  auto name = ConsumeQuoted(line);
  if (!name) return std::nullopt;
  value.name = std::move(*name);
  line = TrimSpaces(line);
  if (line.empty() || line.front() != '=') return std::nullopt;
  line = TrimSpaces(line.substr(1));

  if (!line.empty() && line.front() == '"') {
    auto text = ConsumeQuoted(line);
    if (!text || !TrimSpaces(line).empty()) return std::nullopt;
    value.type = 1;
    value.data.assign(text->begin(), text->end());
    value.data.push_back(0);
    return value;
  }
  if (ConsumePrefix(line, "dword:")) {
    std::uint32_t number = 0;
    if (line.size() != 8 || !ParseHex(line, number)) return std::nullopt;
    value.type = kDwordType;
    for (int shift = 0; shift < 32; shift += 8) value.data.push_back((number >> shift) & 0xFF);
    return value;
  }
  if (ConsumePrefix(line, "hex:")) {
    value.type = kBinaryType;
  } else if (ConsumePrefix(line, "hex(")) {
    const auto close = line.find("):");
    if (close == std::string_view::npos || close == 0 || close > 8 ||
        !ParseHex(line.substr(0, close), value.type)) {
      return std::nullopt;
    }
    line.remove_prefix(close + 2);
  } else {
    return std::nullopt;
  }
  auto data = ParseHexBytes(line);
  if (!data) return std::nullopt;
  value.data = std::move(*data);
  return value;
}

// Splits text into lines, joining a line that ends in a backslash with the next one (an export
// wraps long hex data so). A last line without its line break is dropped: the file was cut short
// there, and the part of a value it holds (say "35" of "35,30,00") would read as another figure.
std::vector<std::string> LogicalLines(std::string_view text) {
  std::vector<std::string> lines;
  bool continued = false;
  while (!text.empty()) {
    const auto newline = text.find('\n');
    if (newline == std::string_view::npos) break;
    std::string_view line = text.substr(0, newline);
    text.remove_prefix(newline + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (continued) {
      lines.back() += TrimSpaces(line);
    } else {
      lines.emplace_back(line);
    }
    continued = !lines.back().empty() && lines.back().back() == '\\';
    if (continued) lines.back().pop_back();
  }
  if (continued) lines.pop_back();
  return lines;
}

void AppendQuoted(std::string& out, std::string_view text) {
  out += '"';
  for (const char c : text) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  out += '"';
}

}  // namespace

RegExport RegExport::Parse(std::string_view text, std::string_view key_name) {
  RegExport key;
  bool in_key = false;
  for (const std::string& raw : LogicalLines(text)) {
    const std::string_view line = TrimSpaces(raw);
    if (line.empty()) continue;
    if (line.front() == '[') {
      in_key = line.back() == ']' && EqualsIgnoringCase(line.substr(1, line.size() - 2), key_name);
    } else if (in_key) {
      if (auto value = ParseValueLine(line)) {
        key.Set(value->name, value->type, std::move(value->data));
      }
    }
  }
  return key;
}

std::string RegExport::Format(std::string_view key_name) const {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string out = "REGEDIT4";
  out += kNewline;
  out += kNewline;
  out += '[';
  out += key_name;
  out += ']';
  out += kNewline;
  for (const RegValue& value : values_) {
    AppendQuoted(out, value.name);
    if (value.type == kBinaryType) {
      out += "=hex:";
    } else {
      char type[8];
      const auto end = std::to_chars(type, type + sizeof type, value.type, 16).ptr;
      out += "=hex(";
      out.append(type, end);
      out += "):";
    }
    for (std::size_t i = 0; i < value.data.size(); ++i) {
      if (i > 0) out += ',';
      out += kDigits[value.data[i] >> 4];
      out += kDigits[value.data[i] & 0xF];
    }
    out += kNewline;
  }
  out += kNewline;
  return out;
}

const RegValue* RegExport::Find(std::string_view name) const {
  const auto found = index_.find(AsciiLower(name));
  return found == index_.end() ? nullptr : &values_[found->second];
}

void RegExport::Set(std::string_view name, std::uint32_t type, std::vector<std::uint8_t> data) {
  const auto [found, inserted] = index_.try_emplace(AsciiLower(name), values_.size());
  if (inserted) {
    values_.push_back(RegValue{std::string(name), type, std::move(data)});
  } else {
    values_[found->second].type = type;
    values_[found->second].data = std::move(data);
  }
}

}  // namespace qup::settings
