// SPDX-License-Identifier: MIT
// The 1099 page's saved inputs: eight fixed-size text slots, one process-wide record.
#ifndef QUP_SETTINGS_SETTINGS_RECORD_H
#define QUP_SETTINGS_SETTINGS_RECORD_H

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "ui/control_ids.h"
#include "ui/other_costs.h"

namespace qup::settings {

// Every slot, and every value stored from it, is exactly this many bytes: a text of at most
// 15 Windows-1252 bytes, a zero byte, and zero filler.
inline constexpr std::size_t kSlotSize = 16;
inline constexpr std::size_t kMaxTextBytes = kSlotSize - 1;

enum Slot : std::size_t {
  kHourlyRateSlot,
  kSocSecSlot,
  kStTaxSlot,
  kFedTaxSlot,
  kWorkCompSlot,
  kInsurSlot,
  kHealthSlot,
  kRadiosSlot,
  kSlotCount,
};

inline constexpr std::size_t kTextSlotCount = kRadiosSlot;

struct SlotInfo {
  std::string_view value_name;  // the name of the slot's value in the store
  int edit_id;                  // the 1099 edit it fills; 0 for "Radios"
};

inline constexpr std::array<SlotInfo, kSlotCount> kSlots = {{
    {"HourlyRate", ui::kRate1099Edit},
    {"SocSec", ui::kSocSec1099Edit},
    {"StTax", ui::kStateTax1099Edit},
    {"FedTax", ui::kFedTax1099Edit},
    {"WorkComp", ui::kWorkComp1099Edit},
    {"Insur", ui::kInsurance1099Edit},
    {"Health", ui::kHealth1099Edit},
    {"Radios", 0},
}};

// The "Radios" text holds one character per button of the "Other" rows, row by row, "%" first.
inline constexpr std::size_t kRadioCount = 2 * ui::kOtherCostRows.size();

class SettingsRecord {
 public:
  using Bytes = std::array<std::uint8_t, kSlotSize>;

  SettingsRecord();

  // The record the program loads at start and saves at close; it lives for the whole run.
  static SettingsRecord& Instance();

  // Seven empty texts and "Radios" = "101010".
  void ResetToDefaults();

  std::span<std::uint8_t, kSlotSize> Data(Slot slot) { return slots_[slot]; }
  std::span<const std::uint8_t, kSlotSize> Data(Slot slot) const { return slots_[slot]; }

  // The slot's text as UTF-8, up to its zero byte and never past the 15th byte, so that a
  // stored value without a zero byte cannot run over the slot.
  std::string Text(Slot slot) const;
  // Stores text as Windows-1252, its first 15 bytes when longer, then zero bytes to the end.
  void SetText(Slot slot, std::string_view utf8);

  // The check each of the six buttons shows for the stored "Radios" text: '1' checked and '0'
  // unchecked, whatever its partner holds, so that both buttons of a row may show checked, or
  // neither. A character that is neither (or missing from a shorter text) shows the opposite
  // of a partner that is '0' or '1', and the row's default ("%" checked) when the partner is
  // neither too.
  std::array<bool, kRadioCount> ShownRadios() const;
  // Records the six buttons' states, '1' for checked, and ends the text after them.
  void SetRadios(const std::array<bool, kRadioCount>& checked);

 private:
  std::array<Bytes, kSlotCount> slots_{};
};

}  // namespace qup::settings

#endif  // QUP_SETTINGS_SETTINGS_RECORD_H
