// SPDX-License-Identifier: MIT
// Conversion between the program's UTF-8 texts and Windows-1252, the bytes it stores and sends.
#ifndef QUP_TEXT_WINDOWS1252_H
#define QUP_TEXT_WINDOWS1252_H

#include <string>
#include <string_view>

namespace qup::text {

// One byte per character; a character that Windows-1252 cannot hold, and any byte that is not
// part of a well-formed UTF-8 sequence, becomes '?'.
std::string Utf8ToWindows1252(std::string_view utf8);

// Every byte maps to one character. The five bytes the code page leaves undefined map to the
// control characters of the same number, as Windows does, so that they survive a round trip.
std::string Windows1252ToUtf8(std::string_view bytes);

}  // namespace qup::text

#endif  // QUP_TEXT_WINDOWS1252_H
