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

std::array<bool, kRadioCount> SettingsRecord::ShownRadios() const {
  // Only the text counts: a character at or after the zero byte is missing, not filler to read.
  const Bytes& bytes = slots_[kRadiosSlot];
  const auto length = static_cast<std::size_t>(
      std::find(bytes.begin(), bytes.begin() + kRadioCount, 0) - bytes.begin());
  enum class Stored { kUnchecked, kChecked, kOther };
  const auto stored = [&](std::size_t i) {
    if (i >= length || (bytes[i] != '0' && bytes[i] != '1')) return Stored::kOther;
    return bytes[i] == '1' ? Stored::kChecked : Stored::kUnchecked;
  };
  std::array<bool, kRadioCount> shown{};
  for (std::size_t percent = 0; percent < kRadioCount; percent += 2) {
    const Stored mine = stored(percent);
    const Stored partner = stored(percent + 1);
    if (mine == Stored::kOther && partner == Stored::kOther) {
      shown[percent] = true;
      shown[percent + 1] = false;
      continue;
    }
    shown[percent] =
        mine == Stored::kOther ? partner == Stored::kUnchecked : mine == Stored::kChecked;
    shown[percent + 1] =
        partner == Stored::kOther ? mine == Stored::kUnchecked : partner == Stored::kChecked;
  }
  return shown;
}

void SettingsRecord::SetRadios(const std::array<bool, kRadioCount>& checked) {
  Bytes& bytes = slots_[kRadiosSlot];
  for (std::size_t i = 0; i < kRadioCount; ++i) bytes[i] = checked[i] ? '1' : '0';
  bytes[kRadioCount] = 0;
}

}  // namespace qup::settings
