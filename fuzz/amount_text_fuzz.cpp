// SPDX-License-Identifier: MIT
// Fuzz target: amount texts as typed or pasted, through cleaning, the whole-number test,
// reading, formatting and both calculators' flows.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "calc/amount_text.h"
#include "calc/pay_calc.h"
#include "fuzz/fields.h"
#include "fuzz/property.h"
#include "fuzz/reference_amount.h"

namespace {

using qup::calc::PayCalc;
using qup::fuzz::Fields;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// "123.45" or "0.0", nothing else.
bool IsDisplayAmount(std::string_view text) {
  if (text == "0.0") return true;
  const std::size_t point = text.find('.');
  return point != std::string_view::npos && point > 0 && text.size() == point + 3 &&
         std::all_of(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(point), IsDigit) &&
         IsDigit(text[point + 1]) && IsDigit(text[point + 2]);
}

bool IsDollarAmount(std::string_view text) {
  return text.size() > 1 && text.front() == '$' && IsDisplayAmount(text.substr(1));
}

// A computation may refuse a result whose text would pass 128 characters; only inputs of more
// than a hundred digits together can lead there.
bool TooLargeRefused(const PayCalc& pay_calc, std::string_view input) {
  return pay_calc.Message == "Amount too large." && input.size() > 100;
}

std::int32_t ReferenceWholeNumber(std::string_view text) {
  std::string digits;
  for (const char c : text) {
    if (!IsDigit(c)) break;
    if (!digits.empty() || c != '0') digits.push_back(c);
  }
  constexpr std::string_view kLargest = "2147483647";
  if (digits.size() > kLargest.size() || (digits.size() == kLargest.size() && digits > kLargest)) {
    return std::numeric_limits<std::int32_t>::max();
  }
  std::int32_t value = 0;
  for (const char c : digits) value = value * 10 + (c - '0');
  return value;
}

void CheckFormat(double value) {
  std::string shown;
  PayCalc::FormatAmount(value, shown);
  QUP_PROPERTY(IsDisplayAmount(shown), shown);
  const std::string expected = qup::fuzz::ReferenceFormatAmount(value);
  QUP_PROPERTY(shown == expected, shown + " instead of " + expected);
}

void CheckCleaningAndReading(std::string_view text) {
  const std::string cleaned = qup::calc::CleanAmountText(text);
  const std::string_view before_parenthesis = text.substr(0, text.find('('));
  std::string kept;
  for (const char c : before_parenthesis) {
    if (IsDigit(c) || c == '.') kept.push_back(c);
  }
  QUP_PROPERTY(cleaned == kept, cleaned);
  QUP_PROPERTY(qup::calc::CleanAmountText(cleaned) == cleaned, cleaned);

  QUP_PROPERTY(qup::calc::WholeNumberPart(cleaned) == ReferenceWholeNumber(cleaned), cleaned);

  for (const std::string_view read_from : {std::string_view(cleaned), text}) {
    const double value = qup::calc::ReadAmount(read_from);
    QUP_PROPERTY(value == qup::fuzz::ReferenceReadAmount(read_from), read_from);
    CheckFormat(value);
  }

  PayCalc pay_calc;
  const bool accepted = pay_calc.CheckRate1099(text);
  QUP_PROPERTY(accepted == (text.empty() || ReferenceWholeNumber(cleaned) >= 1), cleaned);
  QUP_PROPERTY(accepted == pay_calc.Message.empty(), pay_calc.Message);
  QUP_PROPERTY(pay_calc.Rate1099 == cleaned, pay_calc.Rate1099);
}

// Every bit pattern of eight bytes is a double: each finite one, and the infinities and NaNs.
void CheckBitPatterns(const std::uint8_t* data, std::size_t size) {
  for (std::size_t offset = 0; offset + sizeof(double) <= size && offset < 64;
       offset += sizeof(double)) {
    double value = 0;
    std::memcpy(&value, data + offset, sizeof value);
    CheckFormat(value);
  }
}

// The W2 page: lines of the input are the rate, the salary and the hours.
void CheckW2(std::string_view text) {
  const std::vector<std::string_view> in = Fields(text, 3);
  PayCalc pay_calc;
  if (!pay_calc.CheckRateW2(in[0]) || !pay_calc.CheckSalaryW2(in[1]) ||
      !pay_calc.CheckHoursW2(in[2])) {
    return;
  }
  const bool rate_given = !in[0].empty();
  const bool hours_given = !in[2].empty();
  if (!pay_calc.SolveW2()) {
    QUP_PROPERTY(rate_given + !in[1].empty() + hours_given < 2 || TooLargeRefused(pay_calc, text),
                 pay_calc.Message);
    return;
  }
  if (!rate_given) QUP_PROPERTY(IsDollarAmount(pay_calc.RateW2), pay_calc.RateW2);
  if (!hours_given) {
    constexpr std::string_view kHours = " hours";
    const std::string_view hours = pay_calc.HoursW2;
    QUP_PROPERTY(
        hours.ends_with(kHours) && IsDisplayAmount(hours.substr(0, hours.size() - kHours.size())),
        hours);
  }
  if (rate_given && hours_given) QUP_PROPERTY(IsDollarAmount(pay_calc.SalaryW2), pay_calc.SalaryW2);

  std::string table;
  if (!pay_calc.BuildRateTable(table)) {
    QUP_PROPERTY(TooLargeRefused(pay_calc, text) && table.empty(), pay_calc.Message);
    return;
  }
  std::size_t rows = 0;
  for (std::string_view rest = table; !rest.empty(); ++rows) {
    const std::size_t end = rest.find('\n');
    QUP_PROPERTY(end != std::string_view::npos, table);
    const std::string_view row = rest.substr(0, end);
    const std::size_t tabs = row.find("\t\t");
    QUP_PROPERTY(tabs != std::string_view::npos && IsDollarAmount(row.substr(0, tabs)) &&
                     IsDollarAmount(row.substr(tabs + 2)),
                 row);
    rest.remove_prefix(end + 1);
  }
  QUP_PROPERTY(rows == 11, table);
}

// The 1099 page: lines are the rate, hours and the six optional amounts; the input's size picks
// the period and percent choices.
void Check1099(std::string_view text) {
  const std::vector<std::string_view> in = Fields(text, 8);
  PayCalc pay_calc;
  using Validator = bool (PayCalc::*)(std::string_view);
  constexpr std::array<Validator, 8> kValidators = {
      &PayCalc::CheckRate1099,      &PayCalc::CheckHours1099,  &PayCalc::CheckSocSec1099,
      &PayCalc::CheckStateTax1099,  &PayCalc::CheckFedTax1099, &PayCalc::CheckWorkComp1099,
      &PayCalc::CheckInsurance1099, &PayCalc::CheckHealth1099};
  for (std::size_t i = 0; i < kValidators.size(); ++i) {
    if (!(pay_calc.*kValidators[i])(in[i])) return;
  }
  const auto masks = static_cast<int>(text.size() % 64);
  if (!pay_calc.Compute1099(masks & 7, masks >> 3)) {
    QUP_PROPERTY(in[0].empty() || in[1].empty() || TooLargeRefused(pay_calc, text),
                 pay_calc.Message);
    return;
  }
  for (const std::string* result :
       {&pay_calc.Gross1099, &pay_calc.TaxesOther1099, &pay_calc.Net1099}) {
    QUP_PROPERTY(IsDollarAmount(*result) && result->size() <= 1 + 128, *result);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  CheckCleaningAndReading(text);
  CheckBitPatterns(data, size);
  CheckW2(text);
  Check1099(text);
  return 0;
}
