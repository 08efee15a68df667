// SPDX-License-Identifier: MIT
// The 1099 computation: gross, taxes and other costs, net.
#include <gtest/gtest.h>

#include <string>

#include "calc/pay_calc.h"

namespace qup::calc {
namespace {

constexpr int kWorkComp = 4;
constexpr int kInsurance = 2;
constexpr int kHealth = 1;
constexpr int kAllPercent = kWorkComp | kInsurance | kHealth;

struct Inputs {
  const char* rate = "";
  const char* hours = "";
  const char* soc_sec = "";
  const char* state_tax = "";
  const char* fed_tax = "";
  const char* work_comp = "";
  const char* insurance = "";
  const char* health = "";
};

struct Case1099 {
  const char* name;
  Inputs in;
  int monthly_mask;
  int percent_mask;
  const char* gross;
  const char* taxes_other;
  const char* net;
};

// Runs the page's validators in their order, then the computation.
bool Compute(PayCalc& calc, const Inputs& in, int monthly, int percent) {
  calc.Reset();
  return calc.CheckRate1099(in.rate) && calc.CheckHours1099(in.hours) &&
         calc.CheckSocSec1099(in.soc_sec) && calc.CheckStateTax1099(in.state_tax) &&
         calc.CheckFedTax1099(in.fed_tax) && calc.CheckWorkComp1099(in.work_comp) &&
         calc.CheckInsurance1099(in.insurance) && calc.CheckHealth1099(in.health) &&
         calc.Compute1099(monthly, percent);
}

class Pay1099Test : public testing::TestWithParam<Case1099> {};

TEST_P(Pay1099Test, ComputesGrossTaxesAndNet) {
  const Case1099& c = GetParam();
  PayCalc calc;
  ASSERT_TRUE(Compute(calc, c.in, c.monthly_mask, c.percent_mask)) << calc.Message;
  EXPECT_EQ(calc.Gross1099, c.gross);
  EXPECT_EQ(calc.TaxesOther1099, c.taxes_other);
  EXPECT_EQ(calc.Net1099, c.net);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, Pay1099Test,
    testing::Values(
        Case1099{"worked_example",
                 {"50", "1040 hours ( 6 months )", "7.65", "5", "28", "2", "300", "2400"},
                 kInsurance,
                 kWorkComp,
                 "$52000.00",
                 "$25178.00",
                 "$26822.00"},
        Case1099{"no_costs", {"50", "520"}, 0, kAllPercent, "$26000.00", "$0.0", "$26000.00"},
        Case1099{"costs_above_gross",
                 {"20", "520", "50", "30", "25"},
                 0,
                 kAllPercent,
                 "$10400.00",
                 "$10920.00",
                 "$0.0"},
        Case1099{"monthly_insurance",
                 {"40", "2080", "", "", "", "", "500"},
                 kInsurance,
                 kWorkComp | kHealth,
                 "$83200.00",
                 "$6000.00",
                 "$77200.00"},
        Case1099{"yearly_insurance",
                 {"40", "2080", "", "", "", "", "500"},
                 0,
                 kWorkComp | kHealth,
                 "$83200.00",
                 "$500.00",
                 "$82700.00"},
        Case1099{"period_ignored_for_percent_rows",
                 {"40", "2080", "", "", "", "10", "10", "10"},
                 kAllPercent,
                 kAllPercent,
                 "$83200.00",
                 "$24960.00",
                 "$58240.00"},
        Case1099{"percentage_over_hundred_accepted",
                 {"10", "100", "150"},
                 0,
                 kAllPercent,
                 "$1000.00",
                 "$1500.00",
                 "$0.0"},
        Case1099{"only_low_three_mask_bits_count",
                 {"40", "2080", "", "", "", "", "500"},
                 kInsurance | 8,
                 kWorkComp | kHealth | 16,
                 "$83200.00",
                 "$6000.00",
                 "$77200.00"}),
    [](const testing::TestParamInfo<Case1099>& info) { return std::string(info.param.name); });

TEST(Pay1099, RateAndHoursKeepTheirCleanedText) {
  PayCalc calc;
  ASSERT_TRUE(Compute(calc, {"$50.5/hr", "1040"}, 0, kAllPercent));
  EXPECT_EQ(calc.Rate1099, "$50.5");
  EXPECT_EQ(calc.Hours1099, "1040 hours");
  EXPECT_EQ(calc.SocSec1099, "0.00");
}

TEST(Pay1099, MissingRateOrHoursIsReported) {
  PayCalc calc;
  EXPECT_FALSE(Compute(calc, {"", ""}, 0, kAllPercent));
  EXPECT_EQ(calc.Message, "Please specify Hourly Rate.");
  EXPECT_FALSE(Compute(calc, {"50", ""}, 0, kAllPercent));
  EXPECT_EQ(calc.Message, "Please specify number of hours.");
}

TEST(Pay1099, BadTaxIsReportedBeforeMissingRate) {
  PayCalc calc;
  EXPECT_FALSE(Compute(calc, {"", "", "0.5"}, 0, kAllPercent));
  EXPECT_EQ(calc.Message, "Invalid Social Security.");
}

TEST(Pay1099, NoInputSurvivesIntoTheNextCalculation) {
  PayCalc calc;
  ASSERT_TRUE(Compute(calc, {"50", "520", "10"}, 0, kAllPercent));
  ASSERT_TRUE(Compute(calc, {"50", "520"}, 0, kAllPercent));
  EXPECT_EQ(calc.TaxesOther1099, "$0.0");
}

// A rate of hundreds of digits reads as the largest double; times the hours it overflows.
// Found by the amount texts' fuzzer (fuzz/corpus/amount_text/double_infinity): the results
// showed "$inf" and "$0.0" side by side.
TEST(Pay1099, OverflowingAmountsShowAsZeroNotInf) {
  PayCalc calc;
  const std::string huge_rate(400, '9');
  ASSERT_TRUE(Compute(calc, {huge_rate.c_str(), "2080", "10"}, 0, kAllPercent));
  EXPECT_EQ(calc.Gross1099, "$0.0");
  EXPECT_EQ(calc.TaxesOther1099, "$0.0");
  EXPECT_EQ(calc.Net1099, "$0.0");
}

}  // namespace
}  // namespace qup::calc
