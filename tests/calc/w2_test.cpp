// SPDX-License-Identifier: MIT
// The W2 computation: solving for the empty one of three amounts, and the rate table.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "calc/pay_calc.h"

namespace qup::calc {
namespace {

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

// Runs the page's validators in their order, then the solver and the table.
bool Solve(PayCalc& calc, const W2Case& c, std::string& table) {
  calc.Reset();
  if (!calc.CheckRateW2(c.rate) || !calc.CheckSalaryW2(c.salary) || !calc.CheckHoursW2(c.hours) ||
      !calc.SolveW2()) {
    return false;
  }
  // The page shows the solved texts; the table then reuses the fields as scratch space.
  const std::string rate = calc.RateW2, hours = calc.HoursW2, salary = calc.SalaryW2;
  table.clear();
  calc.BuildRateTable(table);
  calc.RateW2 = rate;
  calc.HoursW2 = hours;
  calc.SalaryW2 = salary;
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
  ASSERT_TRUE(Solve(calc, c, table)) << calc.Message;
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
    [](const testing::TestParamInfo<W2Case>& info) { return std::string(info.param.name); });

TEST(W2, MiddleRowFollowsTheDisplayedRate) {
  PayCalc calc;
  std::string table;
  ASSERT_TRUE(Solve(calc, {"", "", "2080", "60000", "", "", "", "", ""}, table));
  EXPECT_EQ(Rows(table)[5], "$28.85\t\t$60008.00");
}

TEST(W2, RowsAtOrBelowZeroShowZeroText) {
  PayCalc calc;
  std::string table;
  ASSERT_TRUE(Solve(calc, {"", "3", "520", "", "", "", "", "", ""}, table));
  const std::vector<std::string> rows = Rows(table);
  ASSERT_EQ(rows.size(), 11u);
  EXPECT_EQ(rows[0], "$0.0\t\t$0.0");  // rate -2
  EXPECT_EQ(rows[2], "$0.0\t\t$0.0");  // rate 0
  EXPECT_EQ(rows[3], "$1.00\t\t$520.00");
  EXPECT_EQ(rows[10], "$8.00\t\t$4160.00");
}

TEST(W2, FewerThanTwoAmountsIsRefused) {
  for (const char* rate : {"", "50"}) {
    PayCalc calc;
    ASSERT_TRUE(calc.CheckRateW2(rate));
    ASSERT_TRUE(calc.CheckSalaryW2(""));
    ASSERT_TRUE(calc.CheckHoursW2(""));
    EXPECT_FALSE(calc.SolveW2());
    EXPECT_EQ(calc.Message, "Please specify two of the three inputs.");
  }
}

TEST(W2, BadSalaryIsReportedEvenWithOneBoxFilled) {
  PayCalc calc;
  EXPECT_TRUE(calc.CheckRateW2(""));
  EXPECT_FALSE(calc.CheckSalaryW2("abc"));
  EXPECT_EQ(calc.Message, "Invalid contract salary.");
}

TEST(W2, ResetEmptiesOnlyTheW2FieldsAndMessage) {
  PayCalc calc;
  calc.RateW2 = calc.SalaryW2 = calc.HoursW2 = calc.Message = "x";
  calc.Rate1099 = "40";
  calc.Reset();
  EXPECT_EQ(calc.RateW2 + calc.SalaryW2 + calc.HoursW2 + calc.Message, "");
  EXPECT_EQ(calc.Rate1099, "40");
}

TEST(W2, HugeRatesStayFinite) {
  PayCalc calc;
  std::string table;
  const std::string digits(120, '9');
  ASSERT_TRUE(Solve(calc, {"", digits.c_str(), "2080", "", "", "", "", "", ""}, table));
  EXPECT_EQ(calc.SalaryW2.substr(0, 2), "$2");
  EXPECT_EQ(calc.SalaryW2.substr(calc.SalaryW2.size() - 3), ".00");
  EXPECT_EQ(Rows(table).size(), 11u);
}

}  // namespace
}  // namespace qup::calc
