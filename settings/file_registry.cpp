// SPDX-License-Identifier: MIT
// Placeholder until the file store lands: every operation fails.
#include "settings/file_registry.h"

#include <utility>

namespace qup::settings {

FileRegistry::FileRegistry() = default;
FileRegistry::FileRegistry(std::string path) : path_(std::move(path)) {}
bool FileRegistry::OpenKey(std::uint32_t, std::string_view, std::uint32_t, RegKey&) {
  return false;
}
bool FileRegistry::CreateKey(std::uint32_t, std::string_view, RegKey&) { return false; }
bool FileRegistry::SetValue(RegKey, std::string_view, std::uint32_t,
                            std::span<const std::uint8_t>) {
  return false;
}
bool FileRegistry::QueryValue(RegKey, std::string_view, std::span<std::uint8_t>, std::size_t&) {
  return false;
}
bool FileRegistry::FlushKey(RegKey) { return false; }
void FileRegistry::CloseKey(RegKey) {}

}  // namespace qup::settings
