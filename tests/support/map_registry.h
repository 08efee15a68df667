// SPDX-License-Identifier: MIT
// A registry held in memory, for tests: keys by path, values by name, and a count of writes.
#ifndef QUP_TESTS_SUPPORT_MAP_REGISTRY_H
#define QUP_TESTS_SUPPORT_MAP_REGISTRY_H

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "settings/registry.h"

namespace qup::test_support {

class MapRegistry : public settings::Registry {
 public:
  bool OpenKey(std::uint32_t root, std::string_view path, std::uint32_t access,
               settings::RegKey& key) override;
  bool CreateKey(std::uint32_t root, std::string_view path, settings::RegKey& key) override;
  bool SetValue(settings::RegKey key, std::string_view name, std::uint32_t type,
                std::span<const std::uint8_t> data) override;
  bool QueryValue(settings::RegKey key, std::string_view name, std::span<std::uint8_t> buffer,
                  std::size_t& size) override;
  bool FlushKey(settings::RegKey key) override;
  void CloseKey(settings::RegKey key) override;

  int writes() const { return writes_; }

 private:
  using Values = std::map<std::string, std::vector<std::uint8_t>, std::less<>>;
  std::map<std::string, Values, std::less<>> keys_;
  std::vector<std::string> handles_;  // a RegKey is an index here plus one
  int writes_ = 0;

  Values* Find(settings::RegKey key);
};

}  // namespace qup::test_support

#endif  // QUP_TESTS_SUPPORT_MAP_REGISTRY_H
