// SPDX-License-Identifier: MIT
// The two computations: W2 solving for the empty one of three amounts with its rate table, and
// the 1099 gross, taxes and other costs, and net. (Each W2 unknown solved from the other two, a
// recalculation of shown texts and the 1099 worked example are the transcripts
// tests/acceptance/w2_worked_examples and p1099_worked_example.)
#include "calc/pay_calc.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace qup::calc {
namespace {

// Each row is named: the name is the ctest name's last part, and what a failure prints for the
// row instead of its bytes.
template <typename Row>
std::string RowName(const testing::TestParamInfo<Row>& info) {
  return info.param.name;
}

struct W2Case {
  const char* name;
  std::string rate;
  std::string hours;
  std::string salary;
  const char* shown_rate;  // null: refused as too large
  const char* shown_hours;
  const char* shown_salary;
  const char* first_row;
  const char* last_row;
};

void PrintTo(const W2Case& row, std::ostream* out) { *out << row.name; }

// Runs the page's validators in their order, then the solver and the table, as Calculate does
// with the same record every time.
bool SolveW2(PayCalc& calc, std::string_view rate, std::string_view hours, std::string_view salary,
             std::string& table) {
  calc.Reset();
  if (!calc.CheckRateW2(rate) || !calc.CheckSalaryW2(salary) || !calc.CheckHoursW2(hours) ||
      !calc.SolveW2()) {
    return false;
  }
  // The page shows the solved texts; the table then reuses the fields as scratch space.
  const std::string shown[] = {calc.RateW2, calc.HoursW2, calc.SalaryW2};
  std::string rows;
  if (!calc.BuildRateTable(rows)) return false;
  table = rows;
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

// An amount whose text would pass 128 characters (10^125 and more) is refused rather than shown
// as "$0.0" or cut, whether it is the solved box or only a row of the table.
TEST_P(W2Test, SolvesTheMissingAmountAndListsElevenRates) {
  const W2Case& c = GetParam();
  PayCalc calc;
  std::string table;
  ASSERT_TRUE(SolveW2(calc, "40", "1040", "99", table));  // nothing of it may carry over
  if (c.shown_rate == nullptr) {
    EXPECT_FALSE(SolveW2(calc, c.rate, c.hours, c.salary, table));
    EXPECT_EQ(calc.Message, "Amount too large.");
    return;
  }
  ASSERT_TRUE(SolveW2(calc, c.rate, c.hours, c.salary, table)) << calc.Message;
  EXPECT_EQ(calc.RateW2, c.shown_rate);
  EXPECT_EQ(calc.HoursW2, c.shown_hours);
  EXPECT_EQ(calc.SalaryW2, c.shown_salary);
  const std::vector<std::string> rows = Rows(table);
  ASSERT_EQ(rows.size(), 11u);
  EXPECT_EQ(rows.front(), c.first_row);
  EXPECT_EQ(rows.back(), c.last_row);
}

W2Case TooLarge(const char* name, std::string rate, std::string hours, std::string salary) {
  return {name, std::move(rate), std::move(hours), std::move(salary), nullptr, "", "", "", ""};
}

INSTANTIATE_TEST_SUITE_P(
    Examples, W2Test,
    testing::Values(W2Case{"typed_salary_replaced_when_all_three_given", "50", "2080", "1", "$50",
                           "2080 hours", "$104000.00", "$45.00\t\t$93600.00",
                           "$55.00\t\t$114400.00"},
                    W2Case{"computed_tie_rounds_up", "", "8", "1001", "$125.13", "8 hours", "$1001",
                           "$120.13\t\t$961.04", "$130.13\t\t$1041.04"},
                    W2Case{"given_amounts_keep_their_text", "50.5", "10", "", "$50.5", "10 hours",
                           "$505.00", "$45.50\t\t$455.00", "$55.50\t\t$555.00"},
                    W2Case{"rows_at_or_below_zero_show_zero_text", "3", "520", "", "$3",
                           "520 hours", "$1560.00", "$0.0\t\t$0.0", "$8.00\t\t$4160.00"},
                    TooLarge("salary_past_a_double", std::string(400, '9'), "2080", ""),
                    TooLarge("salary_of_126_digits", "1" + std::string(122, '0'), "2000", ""),
                    TooLarge("rate_of_126_digits", "", "1", "2" + std::string(125, '0')),
                    TooLarge("hours_of_126_digits", "1", "", "2" + std::string(125, '0')),
                    TooLarge("only_the_tables_last_row", "", "5" + std::string(124, '0'),
                             "1" + std::string(124, '0'))),
    RowName<W2Case>);

TEST(W2, HugeRatesStayFinite) {
  PayCalc calc;
  std::string table;
  ASSERT_TRUE(SolveW2(calc, std::string(120, '9'), "2080", "", table));
  EXPECT_EQ(calc.SalaryW2.substr(0, 2), "$2");
  EXPECT_EQ(calc.SalaryW2.substr(calc.SalaryW2.size() - 3), ".00");
  EXPECT_EQ(Rows(table).size(), 11u);

  // 125 digits before the point is the most an amount's text holds; it is shown whole.
  ASSERT_TRUE(SolveW2(calc, "1" + std::string(124, '0'), "9", "", table)) << calc.Message;
  EXPECT_EQ(calc.SalaryW2.size(), 1u + 125u + 3u);
  EXPECT_EQ(Rows(table).size(), 11u);
}

constexpr int kWorkComp = 4;
constexpr int kInsurance = 2;
constexpr int kHealth = 1;
constexpr int kAllPercent = kWorkComp | kInsurance | kHealth;

struct Inputs {
  std::string rate{};
  std::string hours{};
  std::string soc_sec{};
  std::string state_tax{};
  std::string fed_tax{};
  std::string work_comp{};
  std::string insurance{};
  std::string health{};
};

struct Case1099 {
  const char* name;
  Inputs in;
  int monthly_mask;
  int percent_mask;
  const char* gross;  // null: refused as too large
  const char* taxes_other;
  const char* net;
};

void PrintTo(const Case1099& row, std::ostream* out) { *out << row.name; }

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

// A rate of hundreds of digits reads as the largest double, and times the hours it overflows
// (found by the amount texts' fuzzer, fuzz/corpus/amount_text/double_infinity). That, and any
// result whose text would pass 128 characters, is refused rather than shown as "$0.0".
TEST_P(Pay1099Test, ComputesGrossTaxesAndNet) {
  const Case1099& c = GetParam();
  PayCalc calc;
  // An earlier calculation with every box filled: an empty box now counts as nothing.
  ASSERT_TRUE(Compute1099(calc, {"9", "9", "9", "9", "9", "9", "9", "9"}, 0, 0));
  if (c.gross == nullptr) {
    EXPECT_FALSE(Compute1099(calc, c.in, c.monthly_mask, c.percent_mask));
    EXPECT_EQ(calc.Message, "Amount too large.");
    return;
  }
  ASSERT_TRUE(Compute1099(calc, c.in, c.monthly_mask, c.percent_mask)) << calc.Message;
  EXPECT_EQ(calc.Gross1099, c.gross);
  EXPECT_EQ(calc.TaxesOther1099, c.taxes_other);
  EXPECT_EQ(calc.Net1099, c.net);
}

Case1099 TooLarge(const char* name, Inputs in) {
  return {name, std::move(in), 0, kWorkComp | kHealth, nullptr, nullptr, nullptr};
}

// Inputs in page order (rate, hours, social security, state tax, federal tax, workers' comp.,
// insurance, health), the monthly and percent masks, then gross, taxes and other costs, net.
// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Examples, Pay1099Test,
    testing::Values(
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
        TooLarge("gross_past_a_double", {std::string(400, '9'), "2080", "", "", "10"}),
        TooLarge("gross_of_126_digits", {"2" + std::string(125, '0'), "1"}),
        TooLarge("taxes_of_126_digits", {"50", "2080", "", "", "2" + std::string(124, '0')}),
        TooLarge("yearly_cost_of_126_digits",
                 {"50", "2080", "", "", "", "", "5" + std::string(125, '0')})),
    RowName<Case1099>);
// clang-format on

}  // namespace
}  // namespace qup::calc
