// SPDX-License-Identifier: MIT
// A host name's IPv4 address from the system's resolver. getaddrinfo is the same call with the
// same structures in POSIX and in Windows Sockets; only the headers that declare it differ.
#include "suggest/address_lookup.h"

#ifdef _WIN32
// clang-format off
#include <winsock2.h>
#include <ws2tcpip.h>
// clang-format on
#else
#include <netdb.h>
#include <netinet/in.h>
#endif

#include <string>

namespace qup::suggest {

std::optional<std::uint32_t> LookUpIpv4(std::string_view host) {
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* results = nullptr;
  const std::string name(host);
  if (::getaddrinfo(name.c_str(), nullptr, &hints, &results) != 0 || results == nullptr) {
    return std::nullopt;
  }
  std::optional<std::uint32_t> address;
  for (const addrinfo* entry = results; entry != nullptr; entry = entry->ai_next) {
    if (entry->ai_family == AF_INET && entry->ai_addr != nullptr) {
      address = ntohl(reinterpret_cast<const sockaddr_in*>(entry->ai_addr)->sin_addr.s_addr);
      break;
    }
  }
  ::freeaddrinfo(results);
  return address;
}

}  // namespace qup::suggest
