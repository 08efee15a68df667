// SPDX-License-Identifier: MIT
// The registry kept in a file of the user's: the stand-in for the machine-wide key on Linux.
#ifndef QUP_SETTINGS_FILE_REGISTRY_H
#define QUP_SETTINGS_FILE_REGISTRY_H

#include <string>

#include "settings/registry.h"

namespace qup::settings {

class FileRegistry : public Registry {
 public:
  FileRegistry();  // Kestrane/QU.reg under $XDG_CONFIG_HOME, else ~/.config
  explicit FileRegistry(std::string path);

  bool OpenKey(std::uint32_t root, std::string_view path, std::uint32_t access,
               RegKey& key) override;
  bool CreateKey(std::uint32_t root, std::string_view path, RegKey& key) override;
  bool SetValue(RegKey key, std::string_view name, std::uint32_t type,
                std::span<const std::uint8_t> data) override;
  bool QueryValue(RegKey key, std::string_view name, std::span<std::uint8_t> buffer,
                  std::size_t& size) override;
  bool FlushKey(RegKey key) override;
  void CloseKey(RegKey key) override;

 private:
  std::string path_;
};

}  // namespace qup::settings

#endif  // QUP_SETTINGS_FILE_REGISTRY_H
