// SPDX-License-Identifier: MIT
// The two stores the settings tests run against, the in-memory registry and the file store in
// a temporary folder, behind one face that also lets a test look at and hand-edit what is stored.
#ifndef QUP_TESTS_SETTINGS_STORE_BACKEND_H
#define QUP_TESTS_SETTINGS_STORE_BACKEND_H

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/registry.h"

namespace qup::settings::testing {

using Bytes = std::vector<std::uint8_t>;

inline constexpr std::string_view kKeyPath = "Software\\Kestrane\\QU";
inline constexpr std::string_view kKeyName = R"(HKEY_LOCAL_MACHINE\Software\Kestrane\QU)";

// A 16-byte slot holding text, a zero byte and zero filler.
Bytes Slot16(std::string_view text);

// A temporary folder, removed with everything in it when the object goes.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

std::string ReadWholeFile(const std::string& path);
void WriteWholeFile(const std::string& path, std::string_view text);

class StoreBackend {
 public:
  virtual ~StoreBackend() = default;
  virtual Registry& registry() = 0;
  // The value's bytes as stored, nullopt when it or the key is missing.
  virtual std::optional<Bytes> Stored(std::string_view name) = 0;
  virtual bool KeyExists() = 0;
  // Hand edits between runs.
  virtual void Store(std::string_view name, const Bytes& data) = 0;
  virtual void Delete(std::string_view name) = 0;
  // From now on the key can be neither opened nor created.
  virtual void RefuseAccess() = 0;
};

enum class BackendKind { kMemory, kFile };
std::unique_ptr<StoreBackend> MakeBackend(BackendKind kind);

}  // namespace qup::settings::testing

#endif  // QUP_TESTS_SETTINGS_STORE_BACKEND_H
