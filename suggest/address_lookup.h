// SPDX-License-Identifier: MIT
// A host name's IPv4 address from the system's resolver, the same on every platform.
#ifndef QUP_SUGGEST_ADDRESS_LOOKUP_H
#define QUP_SUGGEST_ADDRESS_LOOKUP_H

#include <cstdint>
#include <optional>
#include <string_view>

namespace qup::suggest {

// The first IPv4 address the resolver gives for host, in host byte order; nothing when the
// name cannot be found or has no IPv4 address. On Windows, Windows Sockets must be started.
std::optional<std::uint32_t> LookUpIpv4(std::string_view host);

}  // namespace qup::suggest

#endif  // QUP_SUGGEST_ADDRESS_LOOKUP_H
