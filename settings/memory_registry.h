// SPDX-License-Identifier: MIT
// A registry held in memory, with a log of every call: the store's stand-in in tests.
#ifndef QUP_SETTINGS_MEMORY_REGISTRY_H
#define QUP_SETTINGS_MEMORY_REGISTRY_H

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "settings/registry.h"

namespace qup::settings {

class MemoryRegistry : public Registry {
 public:
  struct Value {
    std::uint32_t type = kRegSz;
    std::vector<std::uint8_t> data;
  };
  using Values = std::map<std::string, Value>;  // one key's values by name

  // One operation as called, e.g. "open Software\Kestrane\QU", "set HourlyRate 16", "flush".
  using Log = std::vector<std::string>;

  bool OpenKey(std::uint32_t root, std::string_view path, std::uint32_t access,
               RegKey& key) override;
  bool CreateKey(std::uint32_t root, std::string_view path, RegKey& key) override;
  bool SetValue(RegKey key, std::string_view name, std::uint32_t type,
                std::span<const std::uint8_t> data) override;
  bool QueryValue(RegKey key, std::string_view name, std::span<std::uint8_t> buffer,
                  std::size_t& size) override;
  bool FlushKey(RegKey key) override;
  void CloseKey(RegKey key) override;

  // Whether the key exists under HKEY_LOCAL_MACHINE, and its values.
  bool HasKey(std::string_view path) const;
  Values& KeyValues(std::string_view path);  // creates the key when missing
  void DeleteValue(std::string_view path, std::string_view name);

  const Log& Calls() const { return log_; }
  void ClearCalls() { log_.clear(); }
  // Keys still open.
  std::size_t OpenKeyCount() const { return handles_.size(); }

 private:
  std::optional<std::string> PathOf(RegKey key) const;
  RegKey NewHandle(std::string_view path);

  std::map<std::string, Values> keys_;
  std::map<RegKey, std::string> handles_;
  RegKey next_handle_ = 1;
  Log log_;
};

}  // namespace qup::settings

#endif  // QUP_SETTINGS_MEMORY_REGISTRY_H
