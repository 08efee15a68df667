// SPDX-License-Identifier: MIT
// Placeholder until the encoding lands.
#include "suggest/suggestion_request.h"

namespace qup::suggest {

std::string EncodeSuggestion(std::string_view) { return {}; }
std::array<char, kRequestSize> ComposeRequest(std::string_view, std::string_view) { return {}; }

}  // namespace qup::suggest
