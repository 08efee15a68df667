// SPDX-License-Identifier: MIT
// The program's one UTF-8 and UTF-16 codec: what every text conversion and comparison reads with.
#ifndef QUP_TEXT_UTF_H
#define QUP_TEXT_UTF_H

#include <cstddef>
#include <string>
#include <string_view>

namespace qup::text {

inline constexpr char32_t kReplacementCharacter = 0xFFFD;

// Decodes the well-formed UTF-8 sequence at text[pos] into code_point and returns its length;
// returns 0 when the bytes there are not one (a stray or truncated byte, an overlong form, a
// surrogate, a value past U+10FFFF). The caller decides what an ill-formed byte becomes and
// steps over it alone, so no well-formed character after it is lost.
std::size_t DecodeUtf8(std::string_view text, std::size_t pos, char32_t& code_point);

// Appends code_point (at most U+10FFFF) in UTF-8.
void AppendUtf8(std::string& out, char32_t code_point);

// UTF-8 to UTF-16 and back; an ill-formed byte, or a lone surrogate, becomes U+FFFD.
std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);

}  // namespace qup::text

#endif  // QUP_TEXT_UTF_H
