// SPDX-License-Identifier: MIT
// A network that is never there, for tests of the window that send nothing.
#ifndef QUP_TESTS_SUPPORT_OFFLINE_NETWORK_H
#define QUP_TESTS_SUPPORT_OFFLINE_NETWORK_H

#include "suggest/network.h"

namespace qup::test_support {

class OfflineNetwork : public suggest::Network {
 public:
  bool Startup() override { return false; }
  void Cleanup() override {}
  suggest::Socket OpenStreamSocket() override { return suggest::kInvalidSocket; }
  std::optional<std::uint32_t> Resolve(std::string_view) override { return std::nullopt; }
  bool Connect(suggest::Socket, std::uint32_t, std::uint16_t) override { return false; }
  long Send(suggest::Socket, std::span<const char>) override { return -1; }
  long Receive(suggest::Socket, std::span<char>) override { return -1; }
  int LastError() const override { return 0; }
  void Close(suggest::Socket) override {}
};

}  // namespace qup::test_support

#endif  // QUP_TESTS_SUPPORT_OFFLINE_NETWORK_H
