// SPDX-License-Identifier: MIT
// The in-memory registry for tests.
#include "tests/support/map_registry.h"

#include <algorithm>

namespace qup::test_support {

bool MapRegistry::OpenKey(std::uint32_t, std::string_view path, std::uint32_t,
                          settings::RegKey& key) {
  if (keys_.find(path) == keys_.end()) return false;
  handles_.emplace_back(path);
  key = handles_.size();
  return true;
}

bool MapRegistry::CreateKey(std::uint32_t, std::string_view path, settings::RegKey& key) {
  keys_.try_emplace(std::string(path));
  handles_.emplace_back(path);
  key = handles_.size();
  return true;
}

MapRegistry::Values* MapRegistry::Find(settings::RegKey key) {
  if (key == 0 || key > handles_.size()) return nullptr;
  auto it = keys_.find(handles_[key - 1]);
  return it == keys_.end() ? nullptr : &it->second;
}

bool MapRegistry::SetValue(settings::RegKey key, std::string_view name, std::uint32_t,
                           std::span<const std::uint8_t> data) {
  Values* values = Find(key);
  if (values == nullptr) return false;
  (*values)[std::string(name)].assign(data.begin(), data.end());
  ++writes_;
  return true;
}

bool MapRegistry::QueryValue(settings::RegKey key, std::string_view name,
                             std::span<std::uint8_t> buffer, std::size_t& size) {
  Values* values = Find(key);
  if (values == nullptr) return false;
  auto it = values->find(name);
  if (it == values->end() || it->second.size() > buffer.size()) return false;
  std::copy(it->second.begin(), it->second.end(), buffer.begin());
  size = it->second.size();
  return true;
}

bool MapRegistry::FlushKey(settings::RegKey key) { return Find(key) != nullptr; }

void MapRegistry::CloseKey(settings::RegKey) {}

}  // namespace qup::test_support
