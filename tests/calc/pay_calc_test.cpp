// SPDX-License-Identifier: MIT
// The two computations: W2 solving for the empty one of three amounts with its rate table, and
// the 1099 gross, taxes and other costs, and net.
#include "calc/pay_calc.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qup::calc {
namespace {

template <typename Row>
std::string RowName(const testing::TestParamInfo<Row>& info) {
  return info.param.name;
}

struct W2Case {
  const char* name;
  const char* rate;
  const char* hours;
  const char* salary;
  const char* shown_rate;
  const char* shown_hours;
  const char* shown_salary;
  const char* first_row;
  const char* last_row;
};

// Runs the page's validators in their order, then the solver and the table, as Calculate does
// with the same record every time.
bool SolveW2(PayCalc& calc, const char* rate, const char* hours, const char* salary,
             std::string& table) {
  calc.Reset();
  if (!calc.CheckRateW2(rate) || !calc.CheckSalaryW2(salary) || !calc.CheckHoursW2(hours) ||
      !calc.SolveW2()) {
    return false;
  }
  // The page shows the solved texts; the table then reuses the fields as scratch space.
  const std::string shown[] = {calc.RateW2, calc.HoursW2, calc.SalaryW2};
  table.clear();
  calc.BuildRateTable(table);
  calc.RateW2 = shown[0];
  calc.HoursW2 = shown[1];
  calc.SalaryW2 = shown[2];
  return true;
}

std::vector<std::string> Rows(const std::string& table) {
  std::vector<std::string> rows;
  std::size_t start = 0;
  for (std::size_t end; (end = table.find('\n', start)) != std::string::npos; start = end + 1) {
    rows.push_back(table.substr(start, end - start));
  }
  EXPECT_EQ(start, table.size()) << "every row ends in a line feed";
  return rows;
}

class W2Test : public testing::TestWithParam<W2Case> {};

TEST_P(W2Test, SolvesTheMissingAmountAndListsElevenRates) {
  const W2Case& c = GetParam();
  PayCalc calc;
  std::string table;
  ASSERT_TRUE(SolveW2(calc, "40", "1040", "99", table));  // nothing of it may carry over
  ASSERT_TRUE(SolveW2(calc, c.rate, c.hours, c.salary, table)) << calc.Message;
  EXPECT_EQ(calc.RateW2, c.shown_rate);
  EXPECT_EQ(calc.HoursW2, c.shown_hours);
  EXPECT_EQ(calc.SalaryW2, c.shown_salary);
  const std::vector<std::string> rows = Rows(table);
  ASSERT_EQ(rows.size(), 11u);
  EXPECT_EQ(rows.front(), c.first_row);
  EXPECT_EQ(rows.back(), c.last_row);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, W2Test,
    testing::Values(
        W2Case{"salary_from_rate_and_list_entry", "50", "2080 hours ( 12 months )", "", "$50",
               "2080 hours", "$104000.00", "$45.00\t\t$93600.00", "$55.00\t\t$114400.00"},
        W2Case{"rate_from_salary_and_hours", "", "2080", "60000", "$28.85", "2080 hours", "$60000",
               "$23.85\t\t$49608.00", "$33.85\t\t$70408.00"},
        W2Case{"hours_from_rate_and_salary", "50", "", "26000", "$50", "520.00 hours", "$26000",
               "$45.00\t\t$23400.00", "$55.00\t\t$28600.00"},
        W2Case{"typed_salary_replaced_when_all_three_given", "50", "2080", "1", "$50", "2080 hours",
               "$104000.00", "$45.00\t\t$93600.00", "$55.00\t\t$114400.00"},
        W2Case{"computed_tie_rounds_up", "", "8", "1001", "$125.13", "8 hours", "$1001",
               "$120.13\t\t$961.04", "$130.13\t\t$1041.04"},
        W2Case{"given_amounts_keep_their_text", "50.5", "10", "", "$50.5", "10 hours", "$505.00",
               "$45.50\t\t$455.00", "$55.50\t\t$555.00"},
        W2Case{"recalculating_shown_texts_is_stable", "$50", "2080 hours", "$104000.00", "$50",
               "2080 hours", "$104000.00", "$45.00\t\t$93600.00", "$55.00\t\t$114400.00"},
        W2Case{"recalculating_a_computed_rate_moves_salary", "$28.85", "2080 hours", "$60000",
               "$28.85", "2080 hours", "$60008.00", "$23.85\t\t$49608.00", "$33.85\t\t$70408.00"}),
    RowName<W2Case>);

TEST(W2, RowsAtOrBelowZeroShowZeroText) {
  PayCalc calc;
  std::string table;
  ASSERT_TRUE(SolveW2(calc, "3", "520", "", table));
  const std::vector<std::string> rows = Rows(table);
  ASSERT_EQ(rows.size(), 11u);
  EXPECT_EQ(rows[0], "$0.0\t\t$0.0");  // rate -2
  EXPECT_EQ(rows[2], "$0.0\t\t$0.0");  // rate 0
  EXPECT_EQ(rows[3], "$1.00\t\t$520.00");
  EXPECT_EQ(rows[10], "$8.00\t\t$4160.00");
}

TEST(W2, HugeRatesStayFinite) {
  PayCalc calc;
  std::string table;
  ASSERT_TRUE(SolveW2(calc, std::string(120, '9').c_str(), "2080", "", table));
  EXPECT_EQ(calc.SalaryW2.substr(0, 2), "$2");
  EXPECT_EQ(calc.SalaryW2.substr(calc.SalaryW2.size() - 3), ".00");
  EXPECT_EQ(Rows(table).size(), 11u);
}

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
bool Compute1099(PayCalc& calc, const Inputs& in, int monthly, int percent) {
  calc.Reset();
  return calc.CheckRate1099(in.rate) && calc.CheckHours1099(in.hours) &&
         calc.CheckSocSec1099(in.soc_sec) && calc.CheckStateTax1099(in.state_tax) &&
         calc.CheckFedTax1099(in.fed_tax) && calc.CheckWorkComp1099(in.work_comp) &&
         calc.CheckInsurance1099(in.insurance) && calc.CheckHealth1099(in.health) &&
         calc.Compute1099(monthly, percent);
}

class Pay1099Test : public testing::TestWithParam<Case1099> {};

constexpr char kHugeRate[] =
    "9999999999999999999999999999999999999999999999999999999999999999999999999999999999999999"
    "9999999999999999999999999999999999999999999999999999999999999999999999999999999999999999"
    "9999999999999999999999999999999999999999999999999999999999999999999999999999999999999999"
    "9999999999999999999999999999999999999999999999999999999999999999999999999999999999999999";

TEST_P(Pay1099Test, ComputesGrossTaxesAndNet) {
  const Case1099& c = GetParam();
  PayCalc calc;
  // An earlier calculation with every box filled: an empty box now counts as nothing.
  ASSERT_TRUE(Compute1099(calc, {"9", "9", "9", "9", "9", "9", "9", "9"}, 0, 0));
  ASSERT_TRUE(Compute1099(calc, c.in, c.monthly_mask, c.percent_mask)) << calc.Message;
  EXPECT_EQ(calc.Gross1099, c.gross);
  EXPECT_EQ(calc.TaxesOther1099, c.taxes_other);
  EXPECT_EQ(calc.Net1099, c.net);
}

// Inputs in page order (rate, hours, social security, state tax, federal tax, workers' comp.,
// insurance, health), the monthly and percent masks, then gross, taxes and other costs, net.
// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Examples, Pay1099Test,
    testing::Values(
        Case1099{"worked_example",
                 {"50", "1040 hours ( 6 months )", "7.65", "5", "28", "2", "300", "2400"},
                 kInsurance, kWorkComp, "$52000.00", "$25178.00", "$26822.00"},
        Case1099{"no_costs", {"50", "520"}, 0, kAllPercent, "$26000.00", "$0.0", "$26000.00"},
        Case1099{"costs_above_gross", {"20", "520", "50", "30", "25"},
                 0, kAllPercent, "$10400.00", "$10920.00", "$0.0"},
        Case1099{"yearly_insurance", {"40", "2080", "", "", "", "", "500"},
                 0, kWorkComp | kHealth, "$83200.00", "$500.00", "$82700.00"},
        Case1099{"period_ignored_for_percent_rows", {"40", "2080", "", "", "", "10", "10", "10"},
                 kAllPercent, kAllPercent, "$83200.00", "$24960.00", "$58240.00"},
        Case1099{"percentage_over_hundred_accepted", {"10", "100", "150"},
                 0, kAllPercent, "$1000.00", "$1500.00", "$0.0"},
        Case1099{"only_low_three_mask_bits_count", {"40", "2080", "", "", "", "", "500"},
                 kInsurance | 8, kWorkComp | kHealth | 16, "$83200.00", "$6000.00", "$77200.00"},
        // A rate of hundreds of digits reads as the largest double, and times the hours it
        // overflows: found by the amount texts' fuzzer (fuzz/corpus/amount_text/double_infinity).
        Case1099{"overflowing_amounts_show_zero", {kHugeRate, "2080", "10"},
                 0, kAllPercent, "$0.0", "$0.0", "$0.0"}),
    RowName<Case1099>);
// clang-format on

}  // namespace
}  // namespace qup::calc
