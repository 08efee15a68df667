// SPDX-License-Identifier: MIT
// The suggestion's encoding and the fixed-size request that carries it.
#ifndef QUP_SUGGEST_SUGGESTION_REQUEST_H
#define QUP_SUGGEST_SUGGESTION_REQUEST_H

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace qup::suggest {

inline constexpr std::size_t kRequestSize = 1280;
inline constexpr std::size_t kReplySize = 512;

// The box's text (UTF-8, line breaks as CR LF) as Windows-1252 bytes, percent-encoded.
std::string EncodeSuggestion(std::string_view text);

// The whole request for host with the encoded text as its body, zero-filled to kRequestSize.
std::array<char, kRequestSize> ComposeRequest(std::string_view host, std::string_view encoded);

}  // namespace qup::suggest

#endif  // QUP_SUGGEST_SUGGESTION_REQUEST_H
