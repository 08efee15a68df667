// SPDX-License-Identifier: MIT
// The Windows registry itself, through advapi32.
#ifndef QUP_SETTINGS_WIN32_WIN32_REGISTRY_H
#define QUP_SETTINGS_WIN32_WIN32_REGISTRY_H

#include <string>

#include "settings/registry.h"

namespace qup::settings {

// Keys under HKEY_LOCAL_MACHINE are looked for there first. Since a standard user may not
// create or write machine-wide keys, a key that is missing or refused there is looked for
// under HKEY_CURRENT_USER, and one that may not be created there is created under
// HKEY_CURRENT_USER instead; the caller learns of a failure only when neither will do.
//
// REG_SZ values hold the caller's Windows-1252 bytes as the UTF-16 text they stand for, so the
// registry shows them readably and they come back byte for byte, whatever the system's own
// code page.
class WinRegistry : public Registry {
 public:
  // The two keys the program's keys live under; 0 for HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER.
  // Tests give keys of their own.
  struct Roots {
    RegKey machine = 0;
    RegKey user = 0;
  };

  WinRegistry() = default;
  explicit WinRegistry(Roots roots) : roots_(roots) {}

  bool OpenKey(std::uint32_t root, std::string_view path, std::uint32_t access,
               RegKey& key) override;
  bool CreateKey(std::uint32_t root, std::string_view path, RegKey& key) override;
  bool SetValue(RegKey key, std::string_view name, std::uint32_t type,
                std::span<const std::uint8_t> data) override;
  bool QueryValue(RegKey key, std::string_view name, std::span<std::uint8_t> buffer,
                  std::size_t& size) override;
  bool FlushKey(RegKey key) override;
  void CloseKey(RegKey key) override;

 protected:
  // The two system calls whose access the system may refuse, as error codes (0 is success).
  virtual long OpenSystemKey(RegKey root, const std::wstring& path, std::uint32_t access,
                             RegKey& key);
  virtual long CreateSystemKey(RegKey root, const std::wstring& path, RegKey& key);

  RegKey MachineRoot() const;
  RegKey UserRoot() const;

 private:
  Roots roots_;
};

}  // namespace qup::settings

#endif  // QUP_SETTINGS_WIN32_WIN32_REGISTRY_H
