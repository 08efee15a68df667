// SPDX-License-Identifier: MIT
// The registry kept in a file of the user's: the stand-in for the machine-wide key on Linux.
#ifndef QUP_SETTINGS_QT_FILE_REGISTRY_H
#define QUP_SETTINGS_QT_FILE_REGISTRY_H

#include <map>
#include <string>

#include "settings/reg_export.h"
#include "settings/registry.h"

namespace qup::settings {

// One key under HKEY_LOCAL_MACHINE, held in one file in the text format of a registry export.
// Opening reads the file; changes stay in memory until the key is flushed or closed, and are
// then written with one atomic replace of the whole file, so the file on disk is always a whole
// old or a whole new one.
class FileRegistry : public Registry {
 public:
  // Files larger than this are taken as holding no values; the next save replaces them.
  static constexpr long kMaxFileBytes = 1 << 20;
  // Every successful save removes the temporary files that saves killed half-way left beside
  // the file, once they are this old: a younger one may be another copy's save under way.
  static constexpr long long kLeftoverSeconds = 2;

  FileRegistry();  // Kestrane/QU.reg under $XDG_CONFIG_HOME, else ~/.config
  explicit FileRegistry(std::string path);

  static std::string DefaultPath();

  // Fails when the file is missing, is not a regular file, or cannot be opened for reading and
  // writing (the key's access is refused).
  bool OpenKey(std::uint32_t root, std::string_view path, std::uint32_t access,
               RegKey& key) override;
  // Opens the file, or makes its folder and an empty key file when it is missing.
  bool CreateKey(std::uint32_t root, std::string_view path, RegKey& key) override;
  bool SetValue(RegKey key, std::string_view name, std::uint32_t type,
                std::span<const std::uint8_t> data) override;
  bool QueryValue(RegKey key, std::string_view name, std::span<std::uint8_t> buffer,
                  std::size_t& size) override;
  // Writes the key's changes, if any, and returns once they are on disk.
  bool FlushKey(RegKey key) override;
  // Writes the key's changes, if any; a failure is not reported, as the caller cannot act on it.
  void CloseKey(RegKey key) override;

 private:
  struct OpenedKey {
    std::string name;  // e.g. "HKEY_LOCAL_MACHINE\Software\Kestrane\QU"
    RegExport values;
    bool modified = false;
  };

  bool ReadFile(std::string& text) const;
  bool WriteFile(const std::string& text) const;
  bool MakeFolder() const;
  RegKey AddKey(std::string_view path, const std::string& text);
  bool Write(OpenedKey& key);

  std::string path_;
  std::map<RegKey, OpenedKey> keys_;
  RegKey next_key_ = 1;
};

}  // namespace qup::settings

#endif  // QUP_SETTINGS_QT_FILE_REGISTRY_H
