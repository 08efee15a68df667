// SPDX-License-Identifier: MIT
// Helpers shared by every network layer.
#include "suggest/network.h"

namespace qup::suggest {

std::string DottedDecimal(std::uint32_t address) {
  std::string text;
  for (int shift = 24; shift >= 0; shift -= 8) {
    if (!text.empty()) text.push_back('.');
    text += std::to_string((address >> shift) & 0xFF);
  }
  return text;
}

}  // namespace qup::suggest
