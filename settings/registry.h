// SPDX-License-Identifier: MIT
// The six registry operations the settings store relies on, as an interface of our own.
#ifndef QUP_SETTINGS_REGISTRY_H
#define QUP_SETTINGS_REGISTRY_H

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace qup::settings {

using RegKey = std::uintptr_t;  // 0 is no key

inline constexpr std::uint32_t kHkeyLocalMachine = 0x80000002;
inline constexpr std::uint32_t kKeyAllAccess = 0xF003F;
inline constexpr std::uint32_t kRegSz = 1;

class Registry {
 public:
  virtual ~Registry() = default;

  // Opens an existing key with the access asked for; fails when it is missing or refused.
  virtual bool OpenKey(std::uint32_t root, std::string_view path, std::uint32_t access,
                       RegKey& key) = 0;
  // Creates the key, or opens it when it exists.
  virtual bool CreateKey(std::uint32_t root, std::string_view path, RegKey& key) = 0;
  // Writes one named value of the given type with exactly these bytes.
  virtual bool SetValue(RegKey key, std::string_view name, std::uint32_t type,
                        std::span<const std::uint8_t> data) = 0;
  // Reads one named value into buffer; size is the buffer's size on the way in and the value's
  // on the way out. Fails, leaving buffer as it was, when the value is missing or too long.
  virtual bool QueryValue(RegKey key, std::string_view name, std::span<std::uint8_t> buffer,
                          std::size_t& size) = 0;
  // Returns once the key's changes are on permanent storage.
  virtual bool FlushKey(RegKey key) = 0;
  virtual void CloseKey(RegKey key) = 0;
};

// QueryValue's end for a registry that holds the value's bytes as data: the size out, and the
// bytes copied when they fit.
bool CopyValueOut(std::span<const std::uint8_t> data, std::span<std::uint8_t> buffer,
                  std::size_t& size);

}  // namespace qup::settings

#endif  // QUP_SETTINGS_REGISTRY_H
