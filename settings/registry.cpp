// SPDX-License-Identifier: MIT
// What the registries share: handing a value's bytes out to QueryValue's caller.
#include "settings/registry.h"

#include <algorithm>

namespace qup::settings {

bool CopyValueOut(std::span<const std::uint8_t> data, std::span<std::uint8_t> buffer,
                  std::size_t& size) {
  const std::size_t room = std::min(size, buffer.size());
  size = data.size();
  if (data.size() > room) return false;
  std::copy(data.begin(), data.end(), buffer.begin());
  return true;
}

}  // namespace qup::settings
