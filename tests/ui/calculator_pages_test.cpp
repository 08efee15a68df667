// SPDX-License-Identifier: MIT
// The W2 and 1099 pages where the transcripts do not look: a refusal leaves every control as it
// was, the write-back of every bound value, and what the 1099 page's Clear keeps. (The worked
// examples, each page's Clear and the radios' period boxes are transcripts,
// tests/acceptance/*_worked_example* and tests/settings/acceptance/dollar_next_start, and each
// page's messages and where they put the focus, tests/acceptance/*_validation.)
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "settings/settings_record.h"
#include "tests/support/main_dialog_fixture.h"

namespace qup::ui {
namespace {

using test_support::Differences;
using test_support::MainDialogFixture;
using test_support::Snapshot;

template <typename Row>
std::string RowName(const ::testing::TestParamInfo<Row>& info) {
  return info.param.name;
}

class W2PageTest : public MainDialogFixture {
 protected:
  void SetUp() override {
    Open();
    ShowTab(kW2Page);
  }
};

struct RefusedCase {
  const char* name;
  int page;
  std::vector<std::pair<int, const char*>> typed;
  const char* message;
  int focus;
};

void PrintTo(const RefusedCase& c, std::ostream* os) { *os << c.name; }

// 2 and 125 zeros: an amount whose text, with its two decimals, is past 128 characters.
constexpr char kTooLarge[] =
    "2000000000000000000000000000000000000000000000000000000000000000"
    "00000000000000000000000000000000000000000000000000000000000000";
static_assert(sizeof kTooLarge == 126 + 1);

class RefusedCalculateTest : public MainDialogFixture,
                             public ::testing::WithParamInterface<RefusedCase> {};

// A refusal shows its message, moves the focus and leaves every control exactly as it was.
TEST_P(RefusedCalculateTest, ReportsAndChangesNothing) {
  const RefusedCase& c = GetParam();
  Open();
  ShowTab(k1099Page);
  window().Retype(kHours1099Combo, "5");  // a write-back would turn this into a list entry
  ShowTab(c.page);
  for (const auto& [id, text] : c.typed) window().Retype(id, text);
  window().MoveFocus(c.page == kW2Page ? kW2SalaryEdit : kInsurance1099Edit);
  const auto before = Snapshot(window());

  window().PressEnter();

  ASSERT_EQ(MessageBoxes().size(), 1u);
  EXPECT_EQ(MessageBoxes()[0].text, c.message);
  EXPECT_EQ(MessageBoxes()[0].caption, "qup");
  EXPECT_EQ(MessageBoxes()[0].type, kMbIconExclamation);
  EXPECT_TRUE(MessageBoxes()[0].owned);
  EXPECT_EQ(window().FocusedControl(), c.focus);
  EXPECT_EQ(Differences(before, Snapshot(window())), "");
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Cases, RefusedCalculateTest,
    ::testing::Values(
        RefusedCase{"W2SalaryTooLarge", kW2Page, {{kW2RateEdit, kTooLarge}, {kW2HoursCombo, "2080"}},
                    "Amount too large.", kW2RateEdit},
        RefusedCase{"Rate1099Refused", k1099Page, {{kRate1099Edit, "0"}},
                    "Invalid hourly rate.", kRate1099Edit},
        RefusedCase{"TaxRefusedBeforeMissingRate", k1099Page, {{kSocSec1099Edit, "0.5"}},
                    "Invalid Social Security.", kSocSec1099Edit},
        RefusedCase{"StateTaxBeforeFedTax", k1099Page,
                    {{kRate1099Edit, "50"}, {kStateTax1099Edit, "x"}, {kFedTax1099Edit, "0"}},
                    "Invalid State Tax.", kStateTax1099Edit}),
    RowName<RefusedCase>);
// clang-format on

struct WriteBackCase {
  const char* name;
  const char* typed;
  const char* shown;
  int entry;
};

void PrintTo(const WriteBackCase& c, std::ostream* os) { *os << c.name; }

class WriteBackTest : public W2PageTest, public ::testing::WithParamInterface<WriteBackCase> {};

// A W2 calculation writes back every bound value: a text in the 1099 page's hours box that
// begins a list entry, whatever its case, becomes that entry; any other stays as typed.
TEST_P(WriteBackTest, ReachesThe1099HoursBox) {
  ShowTab(k1099Page);
  window().Type(kHours1099Combo, GetParam().typed);
  ShowTab(kW2Page);
  window().Type(kW2RateEdit, "50");
  window().Type(kW2HoursCombo, "2080");
  window().PressEnter();

  EXPECT_EQ(Text(kHours1099Combo), GetParam().shown);
  EXPECT_EQ(window().ComboGetCurSel(kHours1099Combo), GetParam().entry);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, WriteBackTest,
    ::testing::Values(WriteBackCase{"BeginningOfAnEntry", "5", "520 hours ( 3 months )", 0},
                      WriteBackCase{"OtherCase", "1040 HOURS", "1040 hours ( 6 months )", 1},
                      WriteBackCase{"NoEntryBegins", "600", "600", kComboError}),
    RowName<WriteBackCase>);

class Page1099Test : public MainDialogFixture {
 protected:
  void SetUp() override {
    Open();
    ShowTab(k1099Page);
  }
};

TEST_F(Page1099Test, ClearBlanksTheBoxesAndKeepsTheButtons) {
  window().Type(kRate1099Edit, "50");
  window().Type(kHours1099Combo, "1040");
  window().Type(kFedTax1099Edit, "28");
  window().Type(kHealth1099Edit, "100");
  window().Click(kHealthDollarRadio);
  window().Pick(kHealthPeriodCombo, 1);
  window().PressEnter();
  ASSERT_EQ(Text(kGross1099Text), "$52000.00");

  window().Click(kClear1099Button);

  for (int box : {kRate1099Edit, kHours1099Combo, kSocSec1099Edit, kStateTax1099Edit,
                  kFedTax1099Edit, kWorkComp1099Edit, kInsurance1099Edit, kHealth1099Edit}) {
    EXPECT_EQ(Text(box), "") << box;
  }
  for (int result : {kGross1099Text, kTaxesOther1099Text, kNet1099Text}) {
    EXPECT_EQ(Text(result), "$0.00") << result;
  }
  EXPECT_EQ(window().GetCheck(kHealthDollarRadio), 1);
  EXPECT_TRUE(window().IsEnabled(kHealthPeriodCombo));
  EXPECT_EQ(Text(kHealthPeriodCombo), "monthly");
  EXPECT_EQ(window().FocusedControl(), kRate1099Edit);
}

}  // namespace
}  // namespace qup::ui
