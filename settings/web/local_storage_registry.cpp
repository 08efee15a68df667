// SPDX-License-Identifier: MIT
// LocalStorageRegistry: a registry export's text in one local storage item.
#include "settings/web/local_storage_registry.h"

#include <string_view>

extern "C" {
int qup_storage_read(const char* name, char* buffer, int size);
int qup_storage_write(const char* name, const char* text);
}

namespace qup::settings {

namespace {

constexpr std::string_view kRootName = "HKEY_LOCAL_MACHINE\\";

}  // namespace

std::optional<std::string> LocalStorageRegistry::Read(bool& refused) {
  std::string text(256, '\0');
  int needed = qup_storage_read(kItemName, text.data(), static_cast<int>(text.size()));
  if (needed > static_cast<int>(text.size())) {
    text.resize(static_cast<std::size_t>(needed));
    needed = qup_storage_read(kItemName, text.data(), needed);
  }
  refused = needed == -2;
  if (needed < 1) return std::nullopt;
  text.resize(static_cast<std::size_t>(needed - 1));
  return text;
}

bool LocalStorageRegistry::OpenKey(std::uint32_t root, std::string_view path,
                                   std::uint32_t /*access*/, RegKey& key) {
  bool refused = false;
  const std::optional<std::string> text = Read(refused);
  if (root != kHkeyLocalMachine || !text) return false;
  name_ = std::string(kRootName) + std::string(path);
  values_ = RegExport::Parse(*text, *name_);
  modified_ = false;
  key = kKey;
  return true;
}

bool LocalStorageRegistry::CreateKey(std::uint32_t root, std::string_view path, RegKey& key) {
  if (root != kHkeyLocalMachine) return false;
  bool refused = false;
  if (!Read(refused)) {
    if (refused) return false;
    const std::string name = std::string(kRootName) + std::string(path);
    if (qup_storage_write(kItemName, RegExport().Format(name).c_str()) == 0) return false;
  }
  return OpenKey(root, path, kKeyAllAccess, key);
}

bool LocalStorageRegistry::SetValue(RegKey key, std::string_view name, std::uint32_t type,
                                    std::span<const std::uint8_t> data) {
  if (!Opened(key)) return false;
  values_.Set(name, type, std::vector<std::uint8_t>(data.begin(), data.end()));
  modified_ = true;
  return true;
}

bool LocalStorageRegistry::QueryValue(RegKey key, std::string_view name,
                                      std::span<std::uint8_t> buffer, std::size_t& size) {
  const RegValue* value = Opened(key) ? values_.Find(name) : nullptr;
  return value != nullptr && CopyValueOut(value->data, buffer, size);
}

bool LocalStorageRegistry::FlushKey(RegKey key) {
  if (!Opened(key)) return false;
  if (!modified_) return true;
  if (qup_storage_write(kItemName, values_.Format(*name_).c_str()) == 0) return false;
  modified_ = false;
  return true;
}

void LocalStorageRegistry::CloseKey(RegKey key) {
  if (!Opened(key)) return;
  FlushKey(key);
  name_.reset();
}

}  // namespace qup::settings
