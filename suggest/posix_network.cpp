// SPDX-License-Identifier: MIT
// Placeholder until the network layer lands: every operation fails.
#include "suggest/posix_network.h"

namespace qup::suggest {

bool PosixNetwork::Startup() { return false; }
void PosixNetwork::Cleanup() {}
Socket PosixNetwork::OpenStreamSocket() { return kInvalidSocket; }
std::optional<std::uint32_t> PosixNetwork::Resolve(std::string_view) { return std::nullopt; }
bool PosixNetwork::Connect(Socket, std::uint32_t, std::uint16_t) { return false; }
long PosixNetwork::Send(Socket, std::span<const char>) { return -1; }
long PosixNetwork::Receive(Socket, std::span<char>) { return -1; }
int PosixNetwork::LastError() const { return last_error_; }
void PosixNetwork::Close(Socket) {}

}  // namespace qup::suggest
