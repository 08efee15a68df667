// SPDX-License-Identifier: MIT
// Recognising and reading the program's own request form, which carries no protocol version.
#include "server/legacy_request.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <optional>

namespace qup::server {
namespace {

using Status = LegacyRequest::Status;

bool EqualsNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

bool IsToken(std::string_view word) {
  return !word.empty() && std::all_of(word.begin(), word.end(), [](char c) {
    return std::isupper(static_cast<unsigned char>(c)) != 0;
  });
}

bool IsTarget(std::string_view target) {
  return !target.empty() && std::all_of(target.begin(), target.end(), [](char c) {
    return static_cast<unsigned char>(c) > 0x20 && static_cast<unsigned char>(c) < 0x7F;
  });
}

std::string_view TrimLineEnd(std::string_view line) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return line;
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

LegacyRequest Refuse(Status status, std::string_view reason) {
  LegacyRequest request;
  request.status = status;
  request.reason = reason;
  return request;
}

}  // namespace

RequestLineKind ClassifyRequestLine(std::string_view bytes) {
  const std::size_t end = bytes.find('\n');
  if (end == std::string_view::npos) return RequestLineKind::kIncomplete;
  const std::string_view line = TrimLineEnd(bytes.substr(0, end));
  const std::size_t first = line.find(' ');
  if (first == std::string_view::npos || !IsToken(line.substr(0, first))) {
    return RequestLineKind::kMalformed;
  }
  const std::string_view rest = line.substr(first + 1);
  const std::size_t second = rest.find(' ');
  if (second == std::string_view::npos) {
    return IsTarget(rest) ? RequestLineKind::kLegacy : RequestLineKind::kMalformed;
  }
  const std::string_view version = rest.substr(second + 1);
  if (IsTarget(rest.substr(0, second)) && version.size() == 8 && version.starts_with("HTTP/1.")) {
    return RequestLineKind::kHttp;
  }
  return RequestLineKind::kMalformed;
}

std::string_view TargetPath(std::string_view target) {
  constexpr std::string_view kScheme = "http://";
  if (target.size() >= kScheme.size() && EqualsNoCase(target.substr(0, kScheme.size()), kScheme)) {
    target.remove_prefix(kScheme.size());
    const std::size_t slash = target.find('/');
    target = slash == std::string_view::npos ? std::string_view{"/"} : target.substr(slash);
  }
  return target.substr(0, target.find_first_of("?#"));
}

std::string RequestLineForLog(std::string_view bytes, std::size_t limit) {
  std::string_view line = bytes.substr(0, bytes.find('\n'));
  if (line.size() < bytes.size()) line = TrimLineEnd(line);
  std::string out;
  for (const char c : line) {
    const auto byte = static_cast<unsigned char>(c);
    if (out.size() >= limit) {
      out += "...";
      break;
    }
    if (byte < 0x20 || byte >= 0x7F || c == '"' || c == '\\') {
      constexpr char kHex[] = "0123456789ABCDEF";
      out += "\\x";
      out += kHex[byte >> 4];
      out += kHex[byte & 0xF];
    } else {
      out += c;
    }
  }
  return out;
}

LegacyRequest ReadLegacyRequest(std::string_view bytes, bool client_done) {
  if (bytes.size() > kLegacyRequestLimit) {
    return Refuse(Status::kTooLarge, "request larger than 1280 bytes");
  }
  const std::size_t line_end = bytes.find('\n');
  if (line_end == std::string_view::npos) {
    return client_done ? Refuse(Status::kBadRequest, "request line cut short") : LegacyRequest{};
  }
  if (ClassifyRequestLine(bytes) != RequestLineKind::kLegacy) {
    return Refuse(Status::kBadRequest, "malformed request line");
  }

  LegacyRequest request;
  const std::string_view line = TrimLineEnd(bytes.substr(0, line_end));
  request.method = line.substr(0, line.find(' '));
  request.target = line.substr(line.find(' ') + 1);
  if (request.method != "POST") {
    return Refuse(Status::kBadRequest, "only POST comes without a version");
  }
  if (!EqualsNoCase(TargetPath(request.target), "/sendinfo.asp")) {
    return Refuse(Status::kNotFound, "no such page to post to");
  }

  std::optional<std::size_t> content_length;
  std::size_t at = line_end + 1;
  for (;;) {
    const std::size_t end = bytes.find('\n', at);
    if (end == std::string_view::npos) {
      return client_done ? Refuse(Status::kBadRequest, "headers cut short") : LegacyRequest{};
    }
    const std::string_view header = TrimLineEnd(bytes.substr(at, end - at));
    at = end + 1;
    if (header.empty()) break;
    const std::size_t colon = header.find(':');
    if (colon == std::string_view::npos || colon == 0) {
      return Refuse(Status::kBadRequest, "malformed header");
    }
    const std::string_view name = header.substr(0, colon);
    const std::string_view value = Trim(header.substr(colon + 1));
    if (EqualsNoCase(name, "Transfer-Encoding")) {
      return Refuse(Status::kBadRequest, "Transfer-Encoding in a request without a version");
    }
    if (EqualsNoCase(name, "Content-Length")) {
      std::size_t length = 0;
      const auto [end_of_number, error] =
          std::from_chars(value.data(), value.data() + value.size(), length);
      if (error != std::errc{} || end_of_number != value.data() + value.size()) {
        return Refuse(Status::kBadRequest, "Content-Length is not a number");
      }
      if (content_length && *content_length != length) {
        return Refuse(Status::kBadRequest, "two different Content-Lengths");
      }
      content_length = length;
    }
  }

  if (!content_length) return Refuse(Status::kLengthRequired, "no Content-Length");
  if (*content_length > kLegacyRequestLimit - at) {
    return Refuse(Status::kTooLarge, "Content-Length beyond 1280 bytes");
  }
  const std::string_view body = bytes.substr(at, *content_length);
  if (body.find('\0') != std::string_view::npos) {
    return Refuse(Status::kBadRequest, "body shorter than its Content-Length");
  }
  if (body.size() < *content_length) {
    return client_done ? Refuse(Status::kBadRequest, "body shorter than its Content-Length")
                       : LegacyRequest{};
  }
  const std::size_t after = at + *content_length;
  if (after < bytes.size() && bytes[after] != '\0') {
    return Refuse(Status::kBadRequest, "body longer than its Content-Length");
  }
  if (after == bytes.size() && !client_done) return LegacyRequest{};  // the zero byte is due

  request.status = Status::kComplete;
  request.body = body;
  return request;
}

}  // namespace qup::server
