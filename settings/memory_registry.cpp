// SPDX-License-Identifier: MIT
// The in-memory registry: keys under HKEY_LOCAL_MACHINE only, as the program uses no other root.
#include "settings/memory_registry.h"

#include <algorithm>

namespace qup::settings {

bool MemoryRegistry::OpenKey(std::uint32_t root, std::string_view path, std::uint32_t access,
                             RegKey& key) {
  log_.push_back("open " + std::string(path));
  if (root != kHkeyLocalMachine || access != kKeyAllAccess || !HasKey(path)) {
    return false;
  }
  key = NewHandle(path);
  return true;
}

bool MemoryRegistry::CreateKey(std::uint32_t root, std::string_view path, RegKey& key) {
  log_.push_back("create " + std::string(path));
  if (root != kHkeyLocalMachine) return false;
  KeyValues(path);
  key = NewHandle(path);
  return true;
}

bool MemoryRegistry::SetValue(RegKey key, std::string_view name, std::uint32_t type,
                              std::span<const std::uint8_t> data) {
  log_.push_back("set " + std::string(name) + " " + std::to_string(data.size()));
  const auto path = PathOf(key);
  if (!path) return false;
  keys_[*path][std::string(name)] = Value{type, {data.begin(), data.end()}};
  return true;
}

bool MemoryRegistry::QueryValue(RegKey key, std::string_view name, std::span<std::uint8_t> buffer,
                                std::size_t& size) {
  log_.push_back("query " + std::string(name) + " " + std::to_string(size));
  const auto path = PathOf(key);
  if (!path) return false;
  const Values& values = keys_[*path];
  const auto found = values.find(std::string(name));
  if (found == values.end()) return false;
  return CopyValueOut(found->second.data, buffer, size);
}

bool MemoryRegistry::FlushKey(RegKey key) {
  log_.push_back("flush");
  return PathOf(key).has_value();
}

void MemoryRegistry::CloseKey(RegKey key) {
  log_.push_back("close");
  handles_.erase(key);
}

bool MemoryRegistry::HasKey(std::string_view path) const {
  return keys_.contains(std::string(path));
}

MemoryRegistry::Values& MemoryRegistry::KeyValues(std::string_view path) {
  return keys_[std::string(path)];
}

void MemoryRegistry::DeleteValue(std::string_view path, std::string_view name) {
  KeyValues(path).erase(std::string(name));
}

std::optional<std::string> MemoryRegistry::PathOf(RegKey key) const {
  const auto found = handles_.find(key);
  if (found == handles_.end()) return std::nullopt;
  return found->second;
}

RegKey MemoryRegistry::NewHandle(std::string_view path) {
  const RegKey key = next_handle_++;
  handles_[key] = std::string(path);
  return key;
}

}  // namespace qup::settings
