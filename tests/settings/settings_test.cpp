// SPDX-License-Identifier: MIT
// The 1099 page's inputs kept between runs, played through the main window on the in-memory
// platform with the in-memory registry: the slots' bytes, the order of the registry calls and
// every kind of stored "Radios" text. (Calculate then type, Clear, Esc and a deleted value are
// transcripts with their stores, tests/settings/acceptance/.)
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "settings/settings_record.h"
#include "tests/support/main_dialog_fixture.h"

namespace qup::settings {
namespace {

using namespace qup::ui;
using Bytes = std::vector<std::uint8_t>;

constexpr std::string_view kKeyPath = "Software\\Kestrane\\QU";

// A 16-byte slot holding text, a zero byte and zero filler.
Bytes Slot16(std::string_view text) {
  Bytes bytes(16, 0);
  std::copy(text.begin(), text.end(), bytes.begin());
  return bytes;
}

class SettingsTest : public test_support::MainDialogFixture {
 protected:
  // A new run of the program, on the 1099 page.
  void Start() {
    Open();
    ShowTab(k1099Page);
  }
  // Types text over a box and clicks Calculate, which reads every box whatever it decides.
  void TypeAndCalculate(int box, std::string_view text) {
    window().Retype(box, text);
    window().Click(kCalculate1099Button);
  }

  void ExpectStored(std::string_view name, std::string_view text) {
    ASSERT_TRUE(registry_.HasKey(kKeyPath));
    const auto& values = registry_.KeyValues(kKeyPath);
    const auto found = values.find(std::string(name));
    ASSERT_NE(found, values.end()) << name;
    EXPECT_EQ(found->second.data, Slot16(text)) << name;
  }
  void Store(std::string_view name, const Bytes& data) {
    registry_.KeyValues(kKeyPath)[std::string(name)] = {kRegSz, data};
  }

  // The six buttons, "1" for checked, in "Radios" order, and the three period boxes, "1" for
  // enabled.
  std::string ShownRadios() {
    std::string shown;
    for (const ui::OtherCostRow& row : ui::kOtherCostRows) {
      shown += std::to_string(window().GetCheck(row.percent_radio));
      shown += std::to_string(window().GetCheck(row.dollar_radio));
    }
    for (const ui::OtherCostRow& row : ui::kOtherCostRows)
      shown += window().IsEnabled(row.period_box) ? '1' : '0';
    return shown;
  }
};

// A slot holds 15 bytes and a zero byte: a stored value without its zero byte is not read past
// the slot. (A longer field typed in is cut to 15 bytes in the transcript twenty_characters.)
TEST_F(SettingsTest, EverySlotEndsInAZeroByte) {
  Start();
  window().Close();
  Store("HourlyRate", Bytes(16, '9'));

  Start();
  EXPECT_EQ(Text(kRate1099Edit), std::string(15, '9'));
  TypeAndCalculate(kHealth1099Edit, "1");
  window().Close();
  ExpectStored("HourlyRate", std::string(15, '9'));
}

TEST_F(SettingsTest, TextsAreStoredInWindows1252) {
  Start();
  window().Retype(kInsurance1099Edit, "€12½");
  window().Retype(kHealth1099Edit, "5 日本");
  TypeAndCalculate(kWorkComp1099Edit, std::string(14, '1') + "é");  // 16 UTF-8 bytes
  window().Close();
  ExpectStored("Insur",
               "\x80"
               "12\xBD");
  ExpectStored("Health", "5 ??");
  ExpectStored("WorkComp", std::string(14, '1') + "\xE9");

  Start();
  EXPECT_EQ(Text(kInsurance1099Edit), "€12½");
  EXPECT_EQ(Text(kWorkComp1099Edit), std::string(14, '1') + "é");
}

// The order of the registry operations at the first start, at Close and at the next start.
TEST_F(SettingsTest, StartCreatesOnlyAMissingKeyAndCloseWritesEverySlot) {
  const std::string open = "open Software\\Kestrane\\QU";
  std::vector<std::string> first = {open, "create Software\\Kestrane\\QU"}, close = {open},
                           next = {open};
  for (const SlotInfo& slot : kSlots) {
    first.push_back("set " + std::string(slot.value_name) + " 16");
    close.push_back(first.back());
  }
  for (const SlotInfo& slot : kSlots) {
    first.push_back("query " + std::string(slot.value_name) + " 16");
    next.push_back(first.back());
  }
  first.insert(first.end(), {"flush", "close"});
  next.insert(next.end(), {"flush", "close"});
  close.emplace_back("close");

  Start();
  EXPECT_EQ(registry_.Calls(), first);
  registry_.ClearCalls();
  window().Close();
  EXPECT_EQ(registry_.Calls(), close);
  registry_.ClearCalls();
  Start();
  EXPECT_EQ(registry_.Calls(), next);
  EXPECT_EQ(registry_.OpenKeyCount(), 0u);
}

// What a stored "Radios" text shows: each button its own character, '1' checked and '0'
// unchecked whatever its partner holds; any other character the opposite of a '0'/'1' partner,
// or the row's default when the partner is neither; each period box is enabled exactly when its
// "$" button shows checked. A close that changed nothing leaves the stored text as it was; a
// press of one button of a pair clears the other, and the close then writes all six. (The stored
// "110020" with Workers Comp.'s "$" pressed is the transcript stored_radios_pressed.)
struct RadiosRow {
  const char* name;
  Bytes stored;
  std::string shown;        // six buttons, then three period boxes
  int press;                // a button the user presses before closing
  std::string after_press;  // "Radios" as the close then stores it
};

void PrintTo(const RadiosRow& row, std::ostream* os) { *os << row.name; }

class RadiosTest : public SettingsTest, public ::testing::WithParamInterface<RadiosRow> {};

TEST_P(RadiosTest, PageShowsEachButtonAsStoredAndCloseStoresWhatShows) {
  Store("Radios", GetParam().stored);
  Start();
  EXPECT_EQ(ShownRadios(), GetParam().shown);
  window().Close();
  EXPECT_EQ(registry_.KeyValues(kKeyPath).at("Radios").data, GetParam().stored)
      << "a close without a change keeps the stored text";

  Start();
  ASSERT_TRUE(window().Click(GetParam().press));
  window().Close();
  // The text and its zero byte; the filler behind them is the slot's own.
  const Bytes& data = registry_.KeyValues(kKeyPath).at("Radios").data;
  EXPECT_EQ(std::string(data.begin(), data.begin() + kRadioCount + 1),
            GetParam().after_press + '\0');
}

INSTANTIATE_TEST_SUITE_P(
    Stored, RadiosTest,
    ::testing::Values(
        RadiosRow{"BothAndNeitherAsStored", Slot16("110020"), "110010100", kWorkCompPercentRadio,
                  "100010"},
        RadiosRow{"AllChecked", Slot16("111111"), "111111111", kHealthPercentRadio, "111110"},
        RadiosRow{"NoneChecked", Slot16("000000"), "000000000", kInsuranceDollarRadio, "000100"},
        RadiosRow{"ShortTextMissingRowsArePercent", Slot16("01"), "011010100",
                  kWorkCompPercentRadio, "101010"},
        RadiosRow{"OtherCharactersFollowTheirPartner", Slot16("x00y1z"), "100110010",
                  kHealthDollarRadio, "100101"},
        RadiosRow{"OtherCharactersOnBothSidesArePercent", Slot16("xyz1ab"), "100110010",
                  kInsurancePercentRadio, "101010"},
        RadiosRow{"FillerAfterZeroByteIsNotRead",
                  {'0', '1', 0, '1', '1', '1', '1', '1', 0, 0, 0, 0, 0, 0, 0, 0},
                  "011010100",
                  kHealthDollarRadio,
                  "011001"}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace qup::settings
