// SPDX-License-Identifier: MIT
// One registry key in the text format of a registry export ("REGEDIT4"), read and written.
#ifndef QUP_SETTINGS_REG_EXPORT_H
#define QUP_SETTINGS_REG_EXPORT_H

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace qup::settings {

struct RegValue {
  std::string name;
  std::uint32_t type = 0;
  std::vector<std::uint8_t> data;
  friend bool operator==(const RegValue&, const RegValue&) = default;
};

// The values of one key, in the order they were first set. Names compare without regard to
// case, as the registry's do.
class RegExport {
 public:
  // Reads the values listed under the section of key_name (e.g.
  // "HKEY_LOCAL_MACHINE\Software\Kestrane\QU"). Lines that cannot be read, and lines of any
  // other section, are passed over; a later line for the same name wins.
  static RegExport Parse(std::string_view text, std::string_view key_name);

  // The whole file: "REGEDIT4", an empty line, the section line, one line per value with its
  // exact bytes in hex, and an empty line; lines end in CR LF as on Windows.
  std::string Format(std::string_view key_name) const;

  const RegValue* Find(std::string_view name) const;
  void Set(std::string_view name, std::uint32_t type, std::vector<std::uint8_t> data);
  const std::vector<RegValue>& Values() const { return values_; }

 private:
  std::vector<RegValue> values_;
  // Index into values_ by lower-case name, so that a file of many lines still reads in linear
  // time.
  std::unordered_map<std::string, std::size_t> index_;
};

}  // namespace qup::settings

#endif  // QUP_SETTINGS_REG_EXPORT_H
