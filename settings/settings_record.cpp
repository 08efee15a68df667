// SPDX-License-Identifier: MIT
// The settings record: slot texts in Windows-1252, cut to fit, always ending in a zero byte.
#include "settings/settings_record.h"

#include <algorithm>

#include "text/windows1252.h"

namespace qup::settings {
namespace {

constexpr std::string_view kDefaultRadios = "101010";

}  // namespace

SettingsRecord::SettingsRecord() { ResetToDefaults(); }

SettingsRecord& SettingsRecord::Instance() {
  static SettingsRecord record;
  return record;
}

void SettingsRecord::ResetToDefaults() {
  for (Bytes& bytes : slots_) bytes.fill(0);
  std::copy(kDefaultRadios.begin(), kDefaultRadios.end(), slots_[kRadiosSlot].begin());
}

std::string SettingsRecord::Text(Slot slot) const {
  const Bytes& bytes = slots_[slot];
  const auto end = std::find(bytes.begin(), bytes.begin() + kMaxTextBytes, 0);
  return text::Windows1252ToUtf8(std::string(bytes.begin(), end));
}

void SettingsRecord::SetText(Slot slot, std::string_view utf8) {
  // One byte per character, so cutting the bytes never splits a character.
  const std::string ansi = text::Utf8ToWindows1252(utf8);
  Bytes& bytes = slots_[slot];
  bytes.fill(0);
  std::copy_n(ansi.begin(), std::min(ansi.size(), kMaxTextBytes), bytes.begin());
}

bool SettingsRecord::IsDollar(std::size_t row) const {
  // Only the text counts: a character at or after the zero byte is missing, not filler to read.
  const Bytes& bytes = slots_[kRadiosSlot];
  const std::size_t position = 2 * row + 1;
  return std::find(bytes.begin(), bytes.begin() + position, 0) == bytes.begin() + position &&
         bytes[position] == '1';
}

void SettingsRecord::SetRadios(const std::array<bool, kRadioCount>& checked) {
  Bytes& bytes = slots_[kRadiosSlot];
  for (std::size_t i = 0; i < kRadioCount; ++i) bytes[i] = checked[i] ? '1' : '0';
  bytes[kRadioCount] = 0;
}

}  // namespace qup::settings
