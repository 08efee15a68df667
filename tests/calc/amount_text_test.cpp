// SPDX-License-Identifier: MIT
// Cleaning, validation, reading and formatting of amount texts.
#include "calc/amount_text.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <limits>
#include <string>

#include "calc/pay_calc.h"

namespace qup::calc {
namespace {

struct CleanCase {
  const char* name;
  const char* input;
  const char* cleaned;
  bool accepted;
};

class CleaningTest : public testing::TestWithParam<CleanCase> {};

TEST_P(CleaningTest, CleansAndValidatesLikeTheRateBox) {
  const CleanCase& c = GetParam();
  PayCalc calc;
  EXPECT_EQ(calc.CheckRate1099(c.input), c.accepted);
  EXPECT_EQ(calc.Rate1099, c.cleaned);
  EXPECT_EQ(calc.Message, c.accepted ? "" : "Invalid hourly rate.");
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, CleaningTest,
    testing::Values(
        CleanCase{"list_entry_stops_at_parenthesis", "520 hours ( 3 months )", "520", true},
        CleanCase{"dollars_and_grouping_dropped", "$1,040.50", "1040.50", true},
        CleanCase{"per_hour_suffix", "50/hr", "50", true},
        CleanCase{"minus_sign_dropped", "-5", "5", true},
        CleanCase{"exponent_letter_dropped_digits_join", "1e3", "13", true},
        CleanCase{"two_points_kept", "12.5.3", "12.5.3", true},
        CleanCase{"zero_rejected", "0", "0", false},
        CleanCase{"fraction_below_one_rejected", "0.99", "0.99", false},
        CleanCase{"leading_point_rejected", ".5", ".5", false},
        CleanCase{"letters_only_rejected", "abc", "", false},
        CleanCase{"parenthesis_first_rejected", "(50)", "", false},
        CleanCase{"non_ascii_dropped",
                  "5\xC3\xA9"
                  "0",
                  "50", true},
        CleanCase{"one_and_a_half_accepted", "1.5", "1.5", true},
        CleanCase{"forty_digits_do_not_overflow", "9999999999999999999999999999999999999999",
                  "9999999999999999999999999999999999999999", true},
        CleanCase{"just_past_32_bits_still_large", "2147483648", "2147483648", true}),
    [](const testing::TestParamInfo<CleanCase>& info) { return std::string(info.param.name); });

TEST(Validation, EachBoxHasItsOwnMessage) {
  struct Row {
    bool (PayCalc::*check)(std::string_view);
    const char* message;
  };
  const Row rows[] = {
      {&PayCalc::CheckRateW2, "Invalid hourly rate."},
      {&PayCalc::CheckRate1099, "Invalid hourly rate."},
      {&PayCalc::CheckSalaryW2, "Invalid contract salary."},
      {&PayCalc::CheckHoursW2, "Invalid Hours."},
      {&PayCalc::CheckHours1099, "Invalid Hours."},
      {&PayCalc::CheckSocSec1099, "Invalid Social Security."},
      {&PayCalc::CheckFedTax1099, "Invalid Fed. Tax."},
      {&PayCalc::CheckStateTax1099, "Invalid State Tax."},
      {&PayCalc::CheckWorkComp1099, "Invalid Work Comp."},
      {&PayCalc::CheckInsurance1099, "Invalid Insurance."},
      {&PayCalc::CheckHealth1099, "Invalid Health."},
  };
  for (const Row& row : rows) {
    PayCalc calc;
    EXPECT_FALSE((calc.*row.check)("0.5"));
    EXPECT_EQ(calc.Message, row.message);
    EXPECT_TRUE((calc.*row.check)("7.65"));
  }
}

TEST(Reading, TakesTheLongestLeadingDecimalNumber) {
  EXPECT_DOUBLE_EQ(ReadAmount("12.5.3"), 12.5);
  EXPECT_DOUBLE_EQ(ReadAmount("2080 hours"), 2080.0);
  EXPECT_DOUBLE_EQ(ReadAmount(""), 0.0);
  EXPECT_DOUBLE_EQ(ReadAmount(".5"), 0.5);
  EXPECT_DOUBLE_EQ(ReadAmount("12."), 12.0);
  EXPECT_DOUBLE_EQ(ReadAmount("1e3"), 1.0);
  EXPECT_DOUBLE_EQ(ReadAmount("0x1A"), 0.0);
  EXPECT_DOUBLE_EQ(ReadAmount("inf"), 0.0);
  EXPECT_DOUBLE_EQ(ReadAmount("nan"), 0.0);
  EXPECT_DOUBLE_EQ(ReadAmount("$50"), 0.0);
  EXPECT_EQ(ReadAmount(std::string(400, '9')), std::numeric_limits<double>::max());
}

struct FormatCase {
  const char* name;
  double value;
  const char* text;
};

class FormatTest : public testing::TestWithParam<FormatCase> {};

TEST_P(FormatTest, WritesTwoDecimalsWithTiesUp) {
  std::string text = "old";
  PayCalc::FormatAmount(GetParam().value, text);
  EXPECT_EQ(text, GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Values, FormatTest,
    testing::Values(FormatCase{"grouping_free", 1234.5, "1234.50"},
                    FormatCase{"exact_tie_rounds_up", 125.125, "125.13"},
                    FormatCase{"another_exact_tie", 1500.625, "1500.63"},
                    FormatCase{"nearest_double_below_tie", 2.675, "2.67"},
                    FormatCase{"tiny_positive", 0.004, "0.00"},
                    FormatCase{"half_cent_tie", 0.005, "0.01"},
                    FormatCase{"carry_through_nines", 999.995, "1000.00"},
                    FormatCase{"zero", 0.0, "0.0"}, FormatCase{"negative", -520.0, "0.0"},
                    FormatCase{"not_a_number", std::numeric_limits<double>::quiet_NaN(), "0.0"},
                    FormatCase{"infinity", std::numeric_limits<double>::infinity(), "0.0"},
                    FormatCase{"smallest_subnormal", std::numeric_limits<double>::denorm_min(),
                               "0.00"}),
    [](const testing::TestParamInfo<FormatCase>& info) { return std::string(info.param.name); });

TEST(Formatting, HugeValuesFormatWholeWithoutOverflow) {
  std::string text;
  PayCalc::FormatAmount(1e300, text);
  ASSERT_EQ(text.size(), 301u + 3u);
  EXPECT_EQ(text.substr(0, 5), "10000");
  EXPECT_EQ(text.substr(text.size() - 3), ".00");

  PayCalc::FormatAmount(std::numeric_limits<double>::max(), text);
  EXPECT_EQ(text.size(), 309u + 3u);
  EXPECT_EQ(text.substr(0, 6), "179769");
}

// A window toolkit sets the C library's locale from the environment; amounts must not follow it.
// The Windows C runtime names its locales its own way.
#ifdef _WIN32
constexpr const char* kDecimalCommaLocale = "German_Germany.1252";
#else
constexpr const char* kDecimalCommaLocale = "de_DE.UTF-8";
#endif

TEST(Locale, DecimalCommaLocaleChangesNothing) {
  const std::string previous = std::setlocale(LC_ALL, nullptr);
  ASSERT_NE(std::setlocale(LC_ALL, kDecimalCommaLocale), nullptr)
      << kDecimalCommaLocale
      << " is missing; scripts/packages-test.txt installs it with locales-all";
  char probe[16];
  std::snprintf(probe, sizeof probe, "%.2f", 1.5);
  EXPECT_STREQ(probe, "1,50") << "the locale should really use a decimal comma";

  std::string text;
  PayCalc::FormatAmount(1234.5, text);
  EXPECT_EQ(text, "1234.50");
  EXPECT_DOUBLE_EQ(ReadAmount("12.75"), 12.75);
  PayCalc calc;
  ASSERT_TRUE(calc.CheckRateW2("28.85"));
  ASSERT_TRUE(calc.CheckHoursW2("2080"));
  ASSERT_TRUE(calc.SolveW2());
  EXPECT_EQ(calc.SalaryW2, "$60008.00");
  std::setlocale(LC_ALL, previous.c_str());
}

}  // namespace
}  // namespace qup::calc
