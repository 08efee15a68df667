// SPDX-License-Identifier: MIT
// Amount texts: each box's message, the readings and the rounding that the fuzz corpus does not
// reach, and the locale. (Cleaning, acceptance, reading and formatting are checked against a
// reference on every input of fuzz/corpus/amount_text/, the test fuzz_corpus.amount_text.)
#include "calc/amount_text.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <string>

#include "calc/pay_calc.h"

namespace qup::calc {
namespace {

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
  EXPECT_DOUBLE_EQ(ReadAmount(""), 0.0);
  EXPECT_DOUBLE_EQ(ReadAmount("12."), 12.0);
  EXPECT_DOUBLE_EQ(ReadAmount("0x1A"), 0.0);
  EXPECT_DOUBLE_EQ(ReadAmount("inf"), 0.0);
  EXPECT_DOUBLE_EQ(ReadAmount("nan"), 0.0);
}

TEST(Formatting, ATieCarriesThroughTheNines) {
  std::string text = "old";
  PayCalc::FormatAmount(999.995, text);
  EXPECT_EQ(text, "1000.00");
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
