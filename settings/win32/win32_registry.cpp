// SPDX-License-Identifier: MIT
// The registry layer over advapi32, with the current user's key where the machine's is refused.
#include "settings/win32/win32_registry.h"

#include <windows.h>

#include <algorithm>
#include <vector>

namespace qup::settings {

namespace {

constexpr UINT kCodePage = 1252;

HKEY AsHkey(RegKey key) { return reinterpret_cast<HKEY>(key); }
RegKey AsRegKey(HKEY key) { return reinterpret_cast<RegKey>(key); }

// Names are ASCII in practice; UTF-8 keeps any other character whole.
std::wstring Wide(std::string_view text, UINT code_page = CP_UTF8) {
  if (text.empty()) return {};
  const int length =
      ::MultiByteToWideChar(code_page, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  ::MultiByteToWideChar(code_page, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                        length);
  return wide;
}

// UTF-16 text as Windows-1252 bytes, one a character; what the code page cannot hold is '?'.
std::vector<std::uint8_t> CodePageBytes(const wchar_t* text, std::size_t count) {
  std::vector<std::uint8_t> bytes(count);
  if (count == 0) return bytes;
  const int length = ::WideCharToMultiByte(kCodePage, 0, text, static_cast<int>(count),
                                           reinterpret_cast<char*>(bytes.data()),
                                           static_cast<int>(bytes.size()), "?", nullptr);
  bytes.resize(static_cast<std::size_t>(std::max(length, 0)));
  return bytes;
}

bool IsText(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ; }

}  // namespace

bool WinRegistry::OpenKey(std::uint32_t root, std::string_view path, std::uint32_t access,
                          RegKey& key) {
  if (root != kHkeyLocalMachine) return false;
  const std::wstring wide = Wide(path);
  RegKey opened = 0;
  if (OpenSystemKey(MachineRoot(), wide, access, opened) != ERROR_SUCCESS &&
      OpenSystemKey(UserRoot(), wide, access, opened) != ERROR_SUCCESS) {
    return false;
  }
  key = opened;
  return true;
}

bool WinRegistry::CreateKey(std::uint32_t root, std::string_view path, RegKey& key) {
  if (root != kHkeyLocalMachine) return false;
  const std::wstring wide = Wide(path);
  RegKey created = 0;
  long result = CreateSystemKey(MachineRoot(), wide, created);
  if (result == ERROR_ACCESS_DENIED) result = CreateSystemKey(UserRoot(), wide, created);
  if (result != ERROR_SUCCESS) return false;
  key = created;
  return true;
}

bool WinRegistry::SetValue(RegKey key, std::string_view name, std::uint32_t type,
                           std::span<const std::uint8_t> data) {
  std::wstring text;
  const BYTE* bytes = data.data();
  std::size_t size = data.size();
  if (IsText(type)) {
    text =
        Wide(std::string_view(reinterpret_cast<const char*>(data.data()), data.size()), kCodePage);
    bytes = reinterpret_cast<const BYTE*>(text.data());
    size = text.size() * sizeof(wchar_t);
  }
  return ::RegSetValueExW(AsHkey(key), Wide(name).c_str(), 0, type, bytes,
                          static_cast<DWORD>(size)) == ERROR_SUCCESS;
}

bool WinRegistry::QueryValue(RegKey key, std::string_view name, std::span<std::uint8_t> buffer,
                             std::size_t& size) {
  const std::wstring wide_name = Wide(name);
  DWORD type = 0;
  DWORD stored = 0;
  if (::RegQueryValueExW(AsHkey(key), wide_name.c_str(), nullptr, &type, nullptr, &stored) !=
      ERROR_SUCCESS) {
    return false;
  }
  // The value may change between the two calls; a second try sees the new size.
  std::vector<BYTE> raw;
  LSTATUS result = ERROR_MORE_DATA;
  for (int attempt = 0; attempt < 2 && result == ERROR_MORE_DATA; ++attempt) {
    raw.resize(stored + sizeof(wchar_t));
    stored = static_cast<DWORD>(raw.size());
    result =
        ::RegQueryValueExW(AsHkey(key), wide_name.c_str(), nullptr, &type, raw.data(), &stored);
  }
  if (result != ERROR_SUCCESS) return false;
  raw.resize(stored);

  if (!IsText(type)) return CopyValueOut(raw, buffer, size);
  std::vector<wchar_t> text(raw.size() / sizeof(wchar_t));
  std::copy(raw.begin(), raw.begin() + static_cast<std::ptrdiff_t>(text.size() * sizeof(wchar_t)),
            reinterpret_cast<BYTE*>(text.data()));
  return CopyValueOut(CodePageBytes(text.data(), text.size()), buffer, size);
}

bool WinRegistry::FlushKey(RegKey key) { return ::RegFlushKey(AsHkey(key)) == ERROR_SUCCESS; }

void WinRegistry::CloseKey(RegKey key) { ::RegCloseKey(AsHkey(key)); }

long WinRegistry::OpenSystemKey(RegKey root, const std::wstring& path, std::uint32_t access,
                                RegKey& key) {
  HKEY opened = nullptr;
  const LSTATUS result = ::RegOpenKeyExW(AsHkey(root), path.c_str(), 0, access, &opened);
  if (result == ERROR_SUCCESS) key = AsRegKey(opened);
  return result;
}

long WinRegistry::CreateSystemKey(RegKey root, const std::wstring& path, RegKey& key) {
  HKEY created = nullptr;
  const LSTATUS result =
      ::RegCreateKeyExW(AsHkey(root), path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_ALL_ACCESS, nullptr, &created, nullptr);
  if (result == ERROR_SUCCESS) key = AsRegKey(created);
  return result;
}

RegKey WinRegistry::MachineRoot() const {
  return roots_.machine != 0 ? roots_.machine : AsRegKey(HKEY_LOCAL_MACHINE);
}

RegKey WinRegistry::UserRoot() const {
  return roots_.user != 0 ? roots_.user : AsRegKey(HKEY_CURRENT_USER);
}

}  // namespace qup::settings
