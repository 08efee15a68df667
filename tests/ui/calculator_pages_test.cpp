// SPDX-License-Identifier: MIT
// The W2 and 1099 pages as the user works them: Calculate, Clear, refusals and the radios.
#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/main_dialog_fixture.h"
#include "ui/control_ids.h"

namespace qup::ui {
namespace {

using test_support::Differences;
using test_support::MainDialogFixture;
using test_support::Snapshot;

constexpr int kHours2080 = 2;
constexpr int kHours1040 = 1;
constexpr int kMonthly = 1;

class W2PageTest : public MainDialogFixture {
 protected:
  void SetUp() override {
    Open();
    ShowTab(kW2Page);
  }
};

TEST_F(W2PageTest, RateAndListedHoursGiveTheSalaryAndTheRateTable) {
  window().Type(kW2RateEdit, "50");
  window().Pick(kW2HoursCombo, kHours2080);
  window().PressEnter();

  EXPECT_TRUE(MessageBoxes().empty());
  EXPECT_EQ(Text(kW2SalaryEdit), "$104000.00");
  EXPECT_EQ(Text(kW2RateEdit), "$50");
  EXPECT_EQ(Text(kW2HoursCombo), "2080 hours ( 12 months )");
  EXPECT_EQ(window().ComboGetCurSel(kW2HoursCombo), kHours2080);
  const std::string table = Text(kW2RateTable);
  EXPECT_TRUE(table.starts_with("$45.00\t\t$93600.00\n")) << table;
  EXPECT_TRUE(table.ends_with("$54.00\t\t$112320.00\n$55.00\t\t$114400.00\n")) << table;
  EXPECT_EQ(std::count(table.begin(), table.end(), '\n'), 11);
}

TEST_F(W2PageTest, CalculatingAgainKeepsThePage) {
  window().Type(kW2RateEdit, "50");
  window().Type(kW2HoursCombo, "2080");
  window().Click(kW2CalculateButton);
  const auto after_first = Snapshot(window());

  window().Click(kW2CalculateButton);

  EXPECT_EQ(Differences(after_first, Snapshot(window())), "");
}

struct W2Case {
  const char* name;
  const char* rate;
  const char* hours;
  const char* salary;
  const char* shown_rate;
  const char* shown_hours;
  int hours_entry;  // selected list entry afterwards, or -1
  const char* shown_salary;
  const char* first_row;
};

void PrintTo(const W2Case& c, std::ostream* os) { *os << c.name; }

class W2CalculateTest : public W2PageTest, public ::testing::WithParamInterface<W2Case> {};

TEST_P(W2CalculateTest, ShowsTheSolvedPage) {
  const W2Case& c = GetParam();
  window().Type(kW2RateEdit, c.rate);
  window().Type(kW2HoursCombo, c.hours);
  window().Type(kW2SalaryEdit, c.salary);
  window().PressEnter();

  EXPECT_TRUE(MessageBoxes().empty());
  EXPECT_EQ(Text(kW2RateEdit), c.shown_rate);
  EXPECT_EQ(Text(kW2HoursCombo), c.shown_hours);
  EXPECT_EQ(window().ComboGetCurSel(kW2HoursCombo), c.hours_entry);
  EXPECT_EQ(Text(kW2SalaryEdit), c.shown_salary);
  EXPECT_TRUE(Text(kW2RateTable).starts_with(c.first_row)) << Text(kW2RateTable);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, W2CalculateTest,
    ::testing::Values(W2Case{"SalaryAndHoursGiveTheRate", "", "2080", "60000", "$28.85",
                             "2080 hours ( 12 months )", kHours2080, "$60000",
                             "$23.85\t\t$49608.00\n"},
                      W2Case{"HoursNoEntryBeginsStayInTheField", "50", "", "26000", "$50",
                             "520.00 hours", -1, "$26000", "$45.00\t\t$23400.00\n"},
                      W2Case{"AllThreeRecomputeTheSalary", "50", "2080", "1234", "$50",
                             "2080 hours ( 12 months )", kHours2080, "$104000.00",
                             "$45.00\t\t$93600.00\n"},
                      W2Case{"HalfwayRateRoundsUp", "", "8", "1001", "$125.13", "8 hours", -1,
                             "$1001", "$120.13\t\t$961.04\n"},
                      W2Case{"RowsAtOrBelowZeroShowZero", "3", "520", "", "$3",
                             "520 hours ( 3 months )", 0, "$1560.00", "$0.0\t\t$0.0\n"}),
    [](const auto& info) { return info.param.name; });

struct RefusedCase {
  const char* name;
  int page;
  std::vector<std::pair<int, const char*>> typed;
  const char* message;
  int focus;
};

void PrintTo(const RefusedCase& c, std::ostream* os) { *os << c.name; }

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

INSTANTIATE_TEST_SUITE_P(
    Cases, RefusedCalculateTest,
    ::testing::Values(
        RefusedCase{"W2RateBelowOne",
                    kW2Page,
                    {{kW2RateEdit, "0.5"}, {kW2HoursCombo, "2080"}},
                    "Invalid hourly rate.",
                    kW2RateEdit},
        RefusedCase{"W2BadSalaryBeforeMissingInputs",
                    kW2Page,
                    {{kW2SalaryEdit, "abc"}},
                    "Invalid contract salary.",
                    kW2SalaryEdit},
        RefusedCase{"W2BadHours",
                    kW2Page,
                    {{kW2RateEdit, "50"}, {kW2HoursCombo, "(520)"}},
                    "Invalid Hours.",
                    kW2HoursCombo},
        RefusedCase{"W2OnlyOneBox",
                    kW2Page,
                    {{kW2SalaryEdit, "60000"}},
                    "Please specify two of the three inputs.",
                    kW2RateEdit},
        RefusedCase{"W2NoBox", kW2Page, {}, "Please specify two of the three inputs.", kW2RateEdit},
        RefusedCase{"Rate1099Refused",
                    k1099Page,
                    {{kRate1099Edit, "0"}},
                    "Invalid hourly rate.",
                    kRate1099Edit},
        RefusedCase{"TaxRefusedBeforeMissingRate",
                    k1099Page,
                    {{kSocSec1099Edit, "0.5"}},
                    "Invalid Social Security.",
                    kSocSec1099Edit},
        RefusedCase{"StateTaxBeforeFedTax",
                    k1099Page,
                    {{kRate1099Edit, "50"}, {kStateTax1099Edit, "x"}, {kFedTax1099Edit, "0"}},
                    "Invalid State Tax.",
                    kStateTax1099Edit},
        RefusedCase{"HealthRefused",
                    k1099Page,
                    {{kRate1099Edit, "50"}, {kHealth1099Edit, ".5"}},
                    "Invalid Health.",
                    kHealth1099Edit},
        RefusedCase{"RateMissing", k1099Page, {}, "Please specify Hourly Rate.", kRate1099Edit},
        RefusedCase{"HoursMissingFocusesTheRate",
                    k1099Page,
                    {{kRate1099Edit, "50"}, {kHours1099Combo, ""}},
                    "Please specify number of hours.",
                    kRate1099Edit}),
    [](const auto& info) { return info.param.name; });

TEST_F(W2PageTest, WriteBackCompletesThe1099HoursBox) {
  ShowTab(k1099Page);
  window().Type(kHours1099Combo, "5");
  ShowTab(kW2Page);
  window().Type(kW2RateEdit, "50");
  window().Type(kW2HoursCombo, "2080");
  window().PressEnter();

  EXPECT_EQ(Text(kHours1099Combo), "520 hours ( 3 months )");
  EXPECT_EQ(window().ComboGetCurSel(kHours1099Combo), 0);
}

TEST_F(W2PageTest, WriteBackLeavesUnlistedHoursAlone) {
  ShowTab(k1099Page);
  window().Type(kHours1099Combo, "600");
  ShowTab(kW2Page);
  window().Type(kW2RateEdit, "50");
  window().Type(kW2HoursCombo, "2080");
  window().PressEnter();

  EXPECT_EQ(Text(kHours1099Combo), "600");
  EXPECT_EQ(window().ComboGetCurSel(kHours1099Combo), kComboError);
}

TEST_F(W2PageTest, ClearEmptiesTheBoxesAndTheTable) {
  window().Type(kW2RateEdit, "50");
  window().Type(kW2HoursCombo, "2080");
  window().PressEnter();

  window().Click(kW2ClearButton);

  EXPECT_EQ(Text(kW2RateEdit), "");
  EXPECT_EQ(Text(kW2SalaryEdit), "");
  EXPECT_EQ(Text(kW2HoursCombo), "");
  EXPECT_EQ(window().ComboGetCurSel(kW2HoursCombo), kComboError);
  EXPECT_EQ(Text(kW2RateTable), "");
  EXPECT_EQ(window().FocusedControl(), kW2RateEdit);
}

TEST_F(W2PageTest, EnterOnAFocusedButtonPressesIt) {
  window().Type(kW2RateEdit, "50");
  window().Type(kW2HoursCombo, "2080");
  window().MoveFocus(kW2ClearButton);

  window().PressEnter();

  EXPECT_EQ(Text(kW2SalaryEdit), "");
  EXPECT_EQ(Text(kW2RateEdit), "");
  EXPECT_EQ(Text(kW2RateTable), "");
}

class Page1099Test : public MainDialogFixture {
 protected:
  void SetUp() override {
    Open();
    ShowTab(k1099Page);
    // Start from "%" in every row, whatever the saved settings say.
    for (int radio : {kWorkCompPercentRadio, kInsurancePercentRadio, kHealthPercentRadio}) {
      window().Click(radio);
    }
    for (int box : {kRate1099Edit, kSocSec1099Edit, kStateTax1099Edit, kFedTax1099Edit,
                    kWorkComp1099Edit, kInsurance1099Edit, kHealth1099Edit}) {
      window().Retype(box, "");
    }
  }
};

TEST_F(Page1099Test, WorkedExample) {
  window().Type(kRate1099Edit, "50");
  window().Pick(kHours1099Combo, kHours1040);
  window().Type(kSocSec1099Edit, "7.65");
  window().Type(kStateTax1099Edit, "5");
  window().Type(kFedTax1099Edit, "28");
  window().Type(kWorkComp1099Edit, "2");
  window().Type(kInsurance1099Edit, "300");
  window().Click(kInsuranceDollarRadio);
  window().Pick(kInsurancePeriodCombo, kMonthly);
  window().Type(kHealth1099Edit, "2400");
  window().Click(kHealthDollarRadio);

  window().Click(kCalculate1099Button);

  EXPECT_TRUE(MessageBoxes().empty());
  EXPECT_EQ(Text(kGross1099Text), "$52000.00");
  EXPECT_EQ(Text(kTaxesOther1099Text), "$25178.00");
  EXPECT_EQ(Text(kNet1099Text), "$26822.00");
  EXPECT_EQ(Text(kRate1099Edit), "$50");
  EXPECT_EQ(Text(kHours1099Combo), "1040 hours ( 6 months )");
  EXPECT_EQ(window().ComboGetCurSel(kHours1099Combo), kHours1040);
  // The tax and other boxes keep what the user typed.
  EXPECT_EQ(Text(kSocSec1099Edit), "7.65");
  EXPECT_EQ(Text(kWorkComp1099Edit), "2");
  EXPECT_EQ(Text(kInsurance1099Edit), "300");
  EXPECT_EQ(Text(kWorkCompPeriodCombo), "yearly");
  EXPECT_FALSE(window().IsEnabled(kWorkCompPeriodCombo));
}

TEST_F(Page1099Test, EmptyOptionalBoxesStayEmpty) {
  window().Type(kRate1099Edit, "50");
  window().Type(kHours1099Combo, "520");
  window().PressEnter();

  EXPECT_EQ(Text(kGross1099Text), "$26000.00");
  EXPECT_EQ(Text(kTaxesOther1099Text), "$0.0");
  EXPECT_EQ(Text(kNet1099Text), "$26000.00");
  EXPECT_EQ(Text(kSocSec1099Edit), "");
  EXPECT_EQ(Text(kHealth1099Edit), "");
}

struct PeriodCase {
  const char* name;
  int period;
  const char* taxes_other;
  const char* net;
};

void PrintTo(const PeriodCase& c, std::ostream* os) { *os << c.name; }

class InsurancePeriodTest : public Page1099Test,
                            public ::testing::WithParamInterface<PeriodCase> {};

TEST_P(InsurancePeriodTest, DollarAmountIsProratedByItsPeriod) {
  window().Type(kRate1099Edit, "40");
  window().Type(kHours1099Combo, "2080");
  window().Type(kInsurance1099Edit, "500");
  window().Click(kInsuranceDollarRadio);
  window().Pick(kInsurancePeriodCombo, GetParam().period);
  window().PressEnter();

  EXPECT_EQ(Text(kTaxesOther1099Text), GetParam().taxes_other);
  EXPECT_EQ(Text(kNet1099Text), GetParam().net);
}

INSTANTIATE_TEST_SUITE_P(Cases, InsurancePeriodTest,
                         ::testing::Values(PeriodCase{"Monthly", 1, "$6000.00", "$77200.00"},
                                           PeriodCase{"Yearly", 0, "$500.00", "$82700.00"}),
                         [](const auto& info) { return info.param.name; });

TEST_F(Page1099Test, PercentRowIgnoresItsPeriodBox) {
  window().Type(kRate1099Edit, "40");
  window().Type(kHours1099Combo, "2080");
  window().Type(kInsurance1099Edit, "5");
  window().Click(kInsuranceDollarRadio);
  window().Pick(kInsurancePeriodCombo, kMonthly);
  window().Click(kInsurancePercentRadio);

  window().PressEnter();

  EXPECT_EQ(Text(kTaxesOther1099Text), "$4160.00");
  EXPECT_EQ(Text(kInsurancePeriodCombo), "monthly");
  EXPECT_FALSE(window().IsEnabled(kInsurancePeriodCombo));
}

TEST_F(Page1099Test, RadiosEnableTheirRowsPeriodBoxOnly) {
  window().Click(kHealthDollarRadio);
  EXPECT_TRUE(window().IsEnabled(kHealthPeriodCombo));
  EXPECT_EQ(window().GetCheck(kHealthPercentRadio), 0);
  EXPECT_FALSE(window().IsEnabled(kWorkCompPeriodCombo));
  EXPECT_FALSE(window().IsEnabled(kInsurancePeriodCombo));

  window().Pick(kHealthPeriodCombo, kMonthly);
  window().Click(kHealthPercentRadio);
  EXPECT_FALSE(window().IsEnabled(kHealthPeriodCombo));
  EXPECT_EQ(window().GetCheck(kHealthDollarRadio), 0);
  EXPECT_EQ(Text(kHealthPeriodCombo), "monthly");
  // A disabled period box takes no choice.
  EXPECT_FALSE(window().Pick(kHealthPeriodCombo, 0));
}

TEST_F(Page1099Test, ClearBlanksTheBoxesAndKeepsTheButtons) {
  window().Type(kRate1099Edit, "50");
  window().Type(kHours1099Combo, "1040");
  window().Type(kFedTax1099Edit, "28");
  window().Type(kHealth1099Edit, "100");
  window().Click(kHealthDollarRadio);
  window().Pick(kHealthPeriodCombo, kMonthly);
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

TEST_F(Page1099Test, W2WorkLeavesThe1099ResultsAlone) {
  window().Type(kRate1099Edit, "50");
  window().Type(kHours1099Combo, "520");
  window().PressEnter();
  ShowTab(kW2Page);
  window().Type(kW2RateEdit, "50");
  window().Type(kW2HoursCombo, "2080");
  window().PressEnter();
  window().Click(kW2ClearButton);

  EXPECT_EQ(Text(kGross1099Text), "$26000.00");
  EXPECT_EQ(Text(kNet1099Text), "$26000.00");
}

}  // namespace
}  // namespace qup::ui
