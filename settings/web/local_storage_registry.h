// SPDX-License-Identifier: MIT
// The registry kept in the browser's local storage: the web page's stand-in for the
// machine-wide key.
#ifndef QUP_SETTINGS_WEB_LOCAL_STORAGE_REGISTRY_H
#define QUP_SETTINGS_WEB_LOCAL_STORAGE_REGISTRY_H

#include <optional>
#include <string>

#include "settings/reg_export.h"
#include "settings/registry.h"

namespace qup::settings {

// One key under HKEY_LOCAL_MACHINE, held in one local storage item as the text of a registry
// export, the same text the Linux program keeps in its file. Changes stay in memory until the
// key is flushed or closed; the item is then replaced whole.
class LocalStorageRegistry : public Registry {
 public:
  static constexpr char kItemName[] = "Kestrane/QU.reg";

  // Fails when there is no item, or the browser refuses its storage.
  bool OpenKey(std::uint32_t root, std::string_view path, std::uint32_t access,
               RegKey& key) override;
  // Opens the item, or stores an empty key when there is none.
  bool CreateKey(std::uint32_t root, std::string_view path, RegKey& key) override;
  bool SetValue(RegKey key, std::string_view name, std::uint32_t type,
                std::span<const std::uint8_t> data) override;
  bool QueryValue(RegKey key, std::string_view name, std::span<std::uint8_t> buffer,
                  std::size_t& size) override;
  bool FlushKey(RegKey key) override;
  void CloseKey(RegKey key) override;

 private:
  // The item's text; nothing when it is missing (refused tells the other failure).
  static std::optional<std::string> Read(bool& refused);
  bool Opened(RegKey key) const { return key == kKey && name_.has_value(); }

  static constexpr RegKey kKey = 1;
  std::optional<std::string> name_;  // the open key's section, e.g. "HKEY_LOCAL_MACHINE\..."
  RegExport values_;
  bool modified_ = false;
};

}  // namespace qup::settings

#endif  // QUP_SETTINGS_WEB_LOCAL_STORAGE_REGISTRY_H
