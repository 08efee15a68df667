// SPDX-License-Identifier: MIT
// Placeholder until the network layer lands.
#include "suggest/network.h"

namespace qup::suggest {

std::string DottedDecimal(std::uint32_t) { return {}; }

}  // namespace qup::suggest
