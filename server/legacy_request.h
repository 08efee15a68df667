// SPDX-License-Identifier: MIT
// Recognising and reading the program's own request form, which carries no protocol version.
#ifndef QUP_SERVER_LEGACY_REQUEST_H
#define QUP_SERVER_LEGACY_REQUEST_H

#include <cstddef>
#include <string>
#include <string_view>

#include "suggest/suggestion_request.h"

namespace qup::server {

// The program always sends exactly this many bytes: request, zero byte, filler.
inline constexpr std::size_t kLegacyRequestLimit = suggest::kRequestSize;

enum class RequestLineKind {
  kIncomplete,  // no line feed yet
  kLegacy,      // "METHOD TARGET" and nothing else: the program's form
  kHttp,        // ends in an HTTP version: for the HTTP parser
  kMalformed,
};

// What the first line of bytes (up to its line feed) is.
RequestLineKind ClassifyRequestLine(std::string_view bytes);

// The path of a request target, from an absolute URL ("http://host/p?q") or an origin form
// ("/p?q"), without its query.
std::string_view TargetPath(std::string_view target);

// The first line of bytes (all of them when there is no line feed), for a log: bytes outside
// printable ASCII, '"' and '\\' as \xNN, the line end left out, cut to about limit characters
// with "..." at the cut.
std::string RequestLineForLog(std::string_view bytes, std::size_t limit = 200);

struct LegacyRequest {
  enum class Status {
    kNeedMore,  // complete so far; read on
    kComplete,
    kBadRequest,      // 400
    kNotFound,        // 404
    kLengthRequired,  // 411
    kTooLarge,        // 413
  };
  Status status = Status::kNeedMore;
  std::string_view reason;  // why it was refused, for the log
  std::string method;
  std::string target;
  std::string body;
};

// Reads bytes received so far as one request of the program's form: request line, headers
// up to an empty line (line feeds, a carriage return before one is tolerated), a body of
// Content-Length bytes, then the zero byte that ends the request text and the filler. A body
// that holds a zero byte is shorter than its Content-Length; a body followed by anything but
// the zero byte is longer. client_done: the client sends no more (end of stream).
LegacyRequest ReadLegacyRequest(std::string_view bytes, bool client_done);

}  // namespace qup::server

#endif  // QUP_SERVER_LEGACY_REQUEST_H
