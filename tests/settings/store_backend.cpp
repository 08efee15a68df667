// SPDX-License-Identifier: MIT
// The in-memory and the file-backed store for the settings tests.
#include "store_backend.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "settings/file_registry.h"
#include "settings/memory_registry.h"
#include "settings/reg_export.h"

namespace qup::settings::testing {

Bytes Slot16(std::string_view text) {
  Bytes bytes(16, 0);
  std::copy(text.begin(), text.end(), bytes.begin());
  return bytes;
}

TempFolder::TempFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "qup-settings-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteWholeFile(const std::string& path, std::string_view text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

namespace {

class MemoryBackend : public StoreBackend {
 public:
  Registry& registry() override { return registry_; }
  std::optional<Bytes> Stored(std::string_view name) override {
    if (!registry_.HasKey(kKeyPath)) return std::nullopt;
    const auto& values = registry_.KeyValues(kKeyPath);
    const auto found = values.find(std::string(name));
    if (found == values.end()) return std::nullopt;
    return found->second.data;
  }
  bool KeyExists() override { return registry_.HasKey(kKeyPath); }
  void Store(std::string_view name, const Bytes& data) override {
    registry_.KeyValues(kKeyPath)[std::string(name)] = {kRegSz, data};
  }
  void Delete(std::string_view name) override { registry_.DeleteValue(kKeyPath, name); }
  void RefuseAccess() override {
    registry_.RefuseOpen(true);
    registry_.RefuseCreate(true);
  }

 private:
  MemoryRegistry registry_;
};

class FileBackend : public StoreBackend {
 public:
  FileBackend() : path_(folder_.path() + "/Kestrane/QU.reg"), registry_(path_) {}
  Registry& registry() override { return registry_; }
  std::optional<Bytes> Stored(std::string_view name) override {
    if (!KeyExists()) return std::nullopt;
    const RegExport key = Parsed();
    const RegValue* value = key.Find(name);
    if (value == nullptr) return std::nullopt;
    return value->data;
  }
  bool KeyExists() override { return std::filesystem::exists(path_); }
  void Store(std::string_view name, const Bytes& data) override {
    RegExport key = Parsed();
    key.Set(name, kRegSz, data);
    WriteWholeFile(path_, key.Format(kKeyName));
  }
  void Delete(std::string_view name) override {
    const RegExport before = Parsed();
    RegExport kept;
    for (const RegValue& value : before.Values()) {
      if (value.name != name) kept.Set(value.name, value.type, value.data);
    }
    WriteWholeFile(path_, kept.Format(kKeyName));
  }
  void RefuseAccess() override {
    // Permission bits do not stop root, so refuse the way nobody gets past: the place where
    // the folder would go is taken by a regular file.
    WriteWholeFile(folder_.path() + "/blocker", "not a folder");
    registry_ = FileRegistry(folder_.path() + "/blocker/Kestrane/QU.reg");
  }

 private:
  RegExport Parsed() { return RegExport::Parse(ReadWholeFile(path_), kKeyName); }

  TempFolder folder_;
  std::string path_;
  FileRegistry registry_;
};

}  // namespace

std::unique_ptr<StoreBackend> MakeBackend(BackendKind kind) {
  if (kind == BackendKind::kMemory) return std::make_unique<MemoryBackend>();
  return std::make_unique<FileBackend>();
}

}  // namespace qup::settings::testing
