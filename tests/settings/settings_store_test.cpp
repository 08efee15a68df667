// SPDX-License-Identifier: MIT
// The 1099 page's inputs kept between runs, played through both stores: the in-memory registry
// and the file store in a temporary folder.
#include <gtest/gtest.h>

#include "page_run.h"
#include "settings/memory_registry.h"
#include "store_backend.h"
#include "ui/control_ids.h"

namespace qup::settings::testing {
namespace {

using namespace qup::ui;

constexpr std::array<int, 7> kEdits = {kRate1099Edit,   kSocSec1099Edit,   kStateTax1099Edit,
                                       kFedTax1099Edit, kWorkComp1099Edit, kInsurance1099Edit,
                                       kHealth1099Edit};

class StoreTest : public ::testing::TestWithParam<BackendKind> {
 protected:
  StoreTest() : store_(MakeBackend(GetParam())) {}

  Registry& registry() { return store_->registry(); }

  // The six buttons as the page shows them, "1" for checked, in "Radios" order.
  static std::string ShownRadios(const FakePage& page) {
    std::string shown;
    for (const RadioRow& row : kRadioRows) {
      shown += page.GetCheck(row.percent_id) == 1 ? '1' : '0';
      shown += page.GetCheck(row.dollar_id) == 1 ? '1' : '0';
    }
    return shown;
  }
  static std::string EnabledPeriods(const FakePage& page) {
    std::string shown;
    for (const RadioRow& row : kRadioRows) shown += page.IsEnabled(row.period_id) ? '1' : '0';
    return shown;
  }

  void ExpectStored(std::string_view name, std::string_view text) {
    EXPECT_EQ(store_->Stored(name), Slot16(text)) << name;
  }

  std::unique_ptr<StoreBackend> store_;
};

TEST_P(StoreTest, FirstRunCreatesTheKeyWithTheDefaultsAndShowsThem) {
  ASSERT_FALSE(store_->KeyExists());
  PageRun run(registry());

  for (const SlotInfo& slot : kSlots) {
    ExpectStored(slot.value_name, slot.value_name == "Radios" ? "101010" : "");
  }
  for (std::size_t i = 0; i < kEdits.size(); ++i) {
    EXPECT_EQ(run.page.GetText(kEdits[i]), "");
    EXPECT_EQ(run.bound[i], "");
  }
  EXPECT_EQ(ShownRadios(run.page), "101010");
  EXPECT_EQ(EnabledPeriods(run.page), "000");
  EXPECT_TRUE(run.platform.messages.empty());
}

TEST_P(StoreTest, DollarForWorkersCompIsSavedAndShownAtTheNextStart) {
  {
    PageRun run(registry());
    run.Click(kWorkCompDollarRadio);
    run.CloseButton();
  }
  ExpectStored("Radios", "011010");

  PageRun next(registry());
  EXPECT_EQ(next.page.GetCheck(kWorkCompDollarRadio), 1);
  EXPECT_EQ(next.page.GetCheck(kWorkCompPercentRadio), 0);
  EXPECT_TRUE(next.page.IsEnabled(kWorkCompPeriodCombo));
  EXPECT_EQ(EnabledPeriods(next.page), "100");
}

TEST_P(StoreTest, TypedThenCalculatedIsSavedButTypedAfterwardsIsNot) {
  {
    PageRun run(registry());
    run.Type(kFedTax1099Edit, "7.5");
    run.Calculate();
    run.CloseButton();
  }
  ExpectStored("FedTax", "7.5");
  {
    PageRun run(registry());
    EXPECT_EQ(run.page.GetText(kFedTax1099Edit), "7.5");
    EXPECT_EQ(run.bound[kFedTaxSlot], "7.5");
    run.Type(kFedTax1099Edit, "8");
    run.CloseButton();
  }
  ExpectStored("FedTax", "7.5");
}

TEST_P(StoreTest, ClearThenCloseStoresEmptyTextsAndKeepsTheButtons) {
  {
    PageRun run(registry());
    for (std::size_t i = 0; i < kEdits.size(); ++i) run.Type(kEdits[i], std::to_string(i + 1));
    run.Click(kHealthDollarRadio);
    run.Calculate();
    run.CloseButton();
  }
  ExpectStored("Insur", "6");
  {
    PageRun run(registry());
    run.Clear();
    run.CloseButton();
  }
  for (std::size_t i = 0; i < kTextSlotCount; ++i) ExpectStored(kSlots[i].value_name, "");
  ExpectStored("Radios", "101001");
}

TEST_P(StoreTest, EscapeSavesNothing) {
  {
    PageRun run(registry());
    run.Type(kRate1099Edit, "50");
    run.Calculate();
    run.CloseButton();
  }
  {
    PageRun run(registry());
    run.Type(kRate1099Edit, "65");
    run.Calculate();
    run.Click(kInsuranceDollarRadio);
    run.Escape();
  }
  ExpectStored("HourlyRate", "50");
  ExpectStored("Radios", "101010");
}

TEST_P(StoreTest, HandDeletedValueShowsEmptyAndIsWrittenAgainAtClose) {
  {
    PageRun run(registry());
    run.Type(kInsurance1099Edit, "120");
    run.Type(kHealth1099Edit, "300");
    run.Calculate();
    run.CloseButton();
  }
  store_->Delete("Insur");
  ASSERT_FALSE(store_->Stored("Insur"));
  {
    PageRun run(registry());
    EXPECT_EQ(run.page.GetText(kInsurance1099Edit), "");
    EXPECT_EQ(run.page.GetText(kHealth1099Edit), "300");
    EXPECT_TRUE(run.platform.messages.empty());
    run.CloseButton();
  }
  ExpectStored("Insur", "");
  ExpectStored("Health", "300");
}

TEST_P(StoreTest, KeyThatCanBeNeitherOpenedNorCreatedIsReportedOnceAndCloseIsSilent) {
  store_->RefuseAccess();
  PageRun run(registry());
  const std::vector<ShownMessage> expected = {{"Cannot create QU key", "Reg Error", kMbOk}};
  EXPECT_EQ(run.platform.messages, expected);
  EXPECT_TRUE(run.page.owned_messages.empty());
  EXPECT_EQ(ShownRadios(run.page), "101010");
  EXPECT_EQ(run.page.GetText(kRate1099Edit), "");

  run.Type(kRate1099Edit, "40");
  run.Calculate();
  run.CloseButton();
  EXPECT_EQ(run.platform.messages.size(), 1u);
  EXPECT_TRUE(run.page.owned_messages.empty());
  EXPECT_FALSE(store_->KeyExists());
}

TEST_P(StoreTest, ValueLongerThanTheSlotKeepsItsDefault) {
  { PageRun run(registry()); }
  Bytes too_long = Slot16("12345");
  too_long.push_back(0);
  store_->Store("SocSec", too_long);
  store_->Store("StTax", Bytes{'4', 0});  // shorter than a slot is read as it is
  PageRun run(registry());
  EXPECT_EQ(run.page.GetText(kSocSec1099Edit), "");
  EXPECT_EQ(run.page.GetText(kStateTax1099Edit), "4");
  EXPECT_TRUE(run.platform.messages.empty());
}

TEST_P(StoreTest, TwentyCharacterFieldIsStoredAsFifteenBytesAndTheZeroByte) {
  {
    PageRun run(registry());
    run.Type(kHealth1099Edit, "12345678901234567890");
    run.Calculate();
    run.CloseButton();
  }
  ExpectStored("Health", "123456789012345");
  PageRun run(registry());
  EXPECT_EQ(run.page.GetText(kHealth1099Edit), "123456789012345");
}

TEST_P(StoreTest, ValueWithoutZeroByteIsNotReadPastItsSlot) {
  { PageRun run(registry()); }
  store_->Store("HourlyRate", Bytes(16, '9'));
  store_->Store("SocSec", Slot16("6.2"));
  PageRun run(registry());
  EXPECT_EQ(run.page.GetText(kRate1099Edit), std::string(15, '9'));
  EXPECT_EQ(run.page.GetText(kSocSec1099Edit), "6.2");
  run.CloseButton();
  ExpectStored("HourlyRate", std::string(15, '9'));
}

TEST_P(StoreTest, TextsAreStoredInWindows1252) {
  {
    PageRun run(registry());
    run.Type(kInsurance1099Edit, "€12½");
    run.Type(kHealth1099Edit, "5 日本");
    run.Type(kWorkComp1099Edit, std::string(14, '1') + "é");  // 16 UTF-8 bytes, 15 characters
    run.Calculate();
    run.CloseButton();
  }
  ExpectStored("Insur",
               "\x80"
               "12\xBD");
  ExpectStored("Health", "5 ??");
  ExpectStored("WorkComp", std::string(14, '1') + "\xE9");
  PageRun run(registry());
  EXPECT_EQ(run.page.GetText(kInsurance1099Edit), "€12½");
  EXPECT_EQ(run.page.GetText(kWorkComp1099Edit), std::string(14, '1') + "é");
}

INSTANTIATE_TEST_SUITE_P(Stores, StoreTest,
                         ::testing::Values(BackendKind::kMemory, BackendKind::kFile),
                         [](const auto& info) {
                           return info.param == BackendKind::kMemory ? "Memory" : "File";
                         });

// What a stored "Radios" text shows: every pair has exactly one checked button, and each period
// box is enabled exactly when its "$" button is checked.
struct RadiosRow {
  const char* name;
  Bytes stored;
  std::string shown;    // the six buttons, "1" checked
  std::string periods;  // the three period boxes, "1" enabled
};

class RadiosTest : public ::testing::TestWithParam<RadiosRow> {};

TEST_P(RadiosTest, PageShowsOneButtonPerRow) {
  MemoryRegistry registry;
  registry.KeyValues(kKeyPath)["Radios"] = {kRegSz, GetParam().stored};
  PageRun run(registry);
  std::string shown;
  std::string periods;
  for (const RadioRow& row : kRadioRows) {
    shown += std::to_string(run.page.GetCheck(row.percent_id));
    shown += std::to_string(run.page.GetCheck(row.dollar_id));
    periods += run.page.IsEnabled(row.period_id) ? '1' : '0';
  }
  EXPECT_EQ(shown, GetParam().shown);
  EXPECT_EQ(periods, GetParam().periods);
}

Bytes WithFiller(std::string_view text, char filler) {
  Bytes bytes(16, static_cast<std::uint8_t>(filler));
  std::copy(text.begin(), text.end(), bytes.begin());
  bytes[text.size()] = 0;
  return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Stored, RadiosTest,
    ::testing::Values(RadiosRow{"Default", Slot16("101010"), "101010", "000"},
                      RadiosRow{"AllDollars", Slot16("010101"), "010101", "111"},
                      RadiosRow{"Mixed", Slot16("011001"), "011001", "101"},
                      RadiosRow{"BothCheckedMeansDollar", Slot16("111111"), "010101", "111"},
                      RadiosRow{"NoneCheckedMeansPercent", Slot16("000000"), "101010", "000"},
                      RadiosRow{"ShortTextMissingRowsArePercent", Slot16("01"), "011010", "100"},
                      RadiosRow{"EmptyText", Slot16(""), "101010", "000"},
                      RadiosRow{"OtherCharacters", Slot16("xyz1ab"), "100110", "010"},
                      RadiosRow{"FillerAfterZeroByteIsNotRead", WithFiller("01", '1'), "011010",
                                "100"},
                      RadiosRow{"LongerTextUsesFirstSix", Slot16("0101011"), "010101", "111"}),
    [](const auto& info) { return info.param.name; });

// The order of the registry operations at start and at close, on the in-memory registry's log.
TEST(StoreCalls, FirstStartCreatesWritesAllThenReadsAllFlushesAndCloses) {
  MemoryRegistry registry;
  PageRun run(registry);
  std::vector<std::string> expected = {"open Software\\Kestrane\\QU",
                                       "create Software\\Kestrane\\QU"};
  for (const SlotInfo& slot : kSlots)
    expected.emplace_back("set " + std::string(slot.value_name) + " 16");
  for (const SlotInfo& slot : kSlots) {
    expected.push_back("query " + std::string(slot.value_name) + " 16");
  }
  expected.insert(expected.end(), {"flush", "close"});
  EXPECT_EQ(registry.Calls(), expected);
  EXPECT_EQ(registry.OpenKeyCount(), 0u);
}

TEST(StoreCalls, CloseOpensWritesAllAndClosesWithoutFlushOrCreate) {
  MemoryRegistry registry;
  PageRun run(registry);
  registry.ClearCalls();
  run.CloseButton();
  std::vector<std::string> expected = {"open Software\\Kestrane\\QU"};
  for (const SlotInfo& slot : kSlots)
    expected.emplace_back("set " + std::string(slot.value_name) + " 16");
  expected.emplace_back("close");
  EXPECT_EQ(registry.Calls(), expected);
}

TEST(StoreCalls, OpenRefusedButCreateAllowedWritesTheDefaultsOverTheStoredValues) {
  MemoryRegistry registry;
  registry.KeyValues(kKeyPath)["FedTax"] = {kRegSz, Slot16("22")};
  registry.RefuseOpen(true);
  PageRun run(registry);
  EXPECT_EQ(run.page.GetText(kFedTax1099Edit), "");
  EXPECT_EQ(registry.KeyValues(kKeyPath)["FedTax"].data, Slot16(""));

  run.Type(kFedTax1099Edit, "12");
  run.Calculate();
  run.CloseButton();  // refused again: nothing written
  EXPECT_EQ(registry.KeyValues(kKeyPath)["FedTax"].data, Slot16(""));
  EXPECT_TRUE(run.platform.messages.empty());
}

TEST(StoreCalls, ExistingKeyIsOnlyRead) {
  MemoryRegistry registry;
  registry.KeyValues(kKeyPath)["HourlyRate"] = {kRegSz, Slot16("55")};
  PageRun run(registry);
  for (const std::string& call : registry.Calls()) {
    EXPECT_NE(call.rfind("set", 0), 0u) << call;
    EXPECT_NE(call.rfind("create", 0), 0u) << call;
  }
  EXPECT_EQ(run.page.GetText(kRate1099Edit), "55");
}

}  // namespace
}  // namespace qup::settings::testing
