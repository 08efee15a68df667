// SPDX-License-Identifier: MIT
// The suggestion text of a posted form: percent-decoding and Windows-1252 to UTF-8.
#ifndef QUP_SERVER_FORM_TEXT_H
#define QUP_SERVER_FORM_TEXT_H

#include <optional>
#include <string>
#include <string_view>

namespace qup::server {

// The raw value of the form field `name` in an application/x-www-form-urlencoded body, or
// nothing when the body has no such field.
std::optional<std::string_view> FormField(std::string_view body, std::string_view name);

// A percent-encoded field value as UTF-8 text. The bytes it encodes are Windows-1252, the code
// page the program writes in; '+' is a space as in every form. Line breaks (CR LF, or a lone CR
// or LF) become "\n". Bytes that are no character here (controls, the five unassigned
// Windows-1252 bytes) become U+FFFD, so that stored text is always fit for a page.
// Nothing when an escape is cut short or not hexadecimal.
std::optional<std::string> DecodeFormText(std::string_view encoded);

}  // namespace qup::server

#endif  // QUP_SERVER_FORM_TEXT_H
