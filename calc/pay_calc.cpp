// SPDX-License-Identifier: MIT
// PayCalc: validation of the two calculator pages' inputs and the W2 and 1099 computations.
#include "calc/pay_calc.h"

#include <cmath>
#include <utility>

#include "calc/amount_text.h"

namespace qup::calc {

namespace {

enum class EmptyInput { kLeavesField, kEmptiesField };

// Cleans text into field and accepts a whole-number part of at least 1; an empty text is
// always accepted.
bool Validate(std::string_view text, std::string& field, EmptyInput empty, std::string_view message,
              std::string& message_field) {
  if (text.empty()) {
    if (empty == EmptyInput::kEmptiesField) field.clear();
    return true;
  }
  field = CleanAmountText(text);
  if (WholeNumberPart(field) < 1) {
    message_field = message;
    return false;
  }
  return true;
}

constexpr std::string_view kInvalidRate = "Invalid hourly rate.";
constexpr std::string_view kInvalidHours = "Invalid Hours.";

// An amount's text has room for 128 characters, which holds every value below 10^125 with its
// two decimals. A result past that, or one that overflowed a double altogether (an input of
// hundreds of digits), is refused: shown as "0.0" it would read as nothing at all.
constexpr std::size_t kAmountTextRoom = 128;

bool TooLargeToShow(double value) {
  return value > 0.0 && (std::isinf(value) || FormatTwoDecimals(value).size() > kAmountTextRoom);
}

// FormatAmount for a result the page will show; false, with the message set, when it is too
// large to show.
bool FormatResult(double value, std::string& target, std::string& message) {
  if (TooLargeToShow(value)) {
    message = "Amount too large.";
    return false;
  }
  PayCalc::FormatAmount(value, target);
  return true;
}

// A year of 2080 working hours: a monthly amount is prorated by hours * 12/2080, a yearly one
// by hours * 1/2080.
constexpr double kMonthlyFactor = 12.0 / 2080.0;
constexpr double kYearlyFactor = 1.0 / 2080.0;

constexpr int kWorkCompBit = 4;
constexpr int kInsuranceBit = 2;
constexpr int kHealthBit = 1;

}  // namespace

void PayCalc::Reset() {
  RateW2.clear();
  SalaryW2.clear();
  HoursW2.clear();
  Message.clear();
}

bool PayCalc::CheckRateW2(std::string_view text) {
  return Validate(text, RateW2, EmptyInput::kLeavesField, kInvalidRate, Message);
}
bool PayCalc::CheckRate1099(std::string_view text) {
  return Validate(text, Rate1099, EmptyInput::kEmptiesField, kInvalidRate, Message);
}
bool PayCalc::CheckSalaryW2(std::string_view text) {
  return Validate(text, SalaryW2, EmptyInput::kLeavesField, "Invalid contract salary.", Message);
}
bool PayCalc::CheckHoursW2(std::string_view text) {
  return Validate(text, HoursW2, EmptyInput::kLeavesField, kInvalidHours, Message);
}
bool PayCalc::CheckHours1099(std::string_view text) {
  return Validate(text, Hours1099, EmptyInput::kEmptiesField, kInvalidHours, Message);
}
bool PayCalc::CheckSocSec1099(std::string_view text) {
  return Validate(text, SocSec1099, EmptyInput::kEmptiesField, "Invalid Social Security.", Message);
}
bool PayCalc::CheckFedTax1099(std::string_view text) {
  return Validate(text, FedTax1099, EmptyInput::kEmptiesField, "Invalid Fed. Tax.", Message);
}
bool PayCalc::CheckStateTax1099(std::string_view text) {
  return Validate(text, StateTax1099, EmptyInput::kEmptiesField, "Invalid State Tax.", Message);
}
bool PayCalc::CheckWorkComp1099(std::string_view text) {
  return Validate(text, WorkComp1099, EmptyInput::kEmptiesField, "Invalid Work Comp.", Message);
}
bool PayCalc::CheckInsurance1099(std::string_view text) {
  return Validate(text, Insurance1099, EmptyInput::kEmptiesField, "Invalid Insurance.", Message);
}
bool PayCalc::CheckHealth1099(std::string_view text) {
  return Validate(text, Health1099, EmptyInput::kEmptiesField, "Invalid Health.", Message);
}

void PayCalc::AddDollarSign(std::string& text) {
  if (text.find('$') != std::string::npos) return;
  // Built anew rather than with text.insert(0, "$"): GCC 12 at -O3 inlines that insert and
  // warns, wrongly, that its copy may overlap itself (-Wrestrict).
  std::string with_sign;
  with_sign.reserve(text.size() + 1);
  with_sign += '$';
  with_sign += text;
  text = std::move(with_sign);
}

void PayCalc::AddHoursWord(std::string& text) {
  if (text.find("hours") == std::string::npos) text += " hours";
}

void PayCalc::FormatAmount(double value, std::string& target) {
  // NaN compares false, so it gives "0.0" like zero and negative values. So does an infinity
  // (a product of amounts too large for a double): it is no amount that could be shown.
  target = value > 0.0 && std::isfinite(value) ? FormatTwoDecimals(value) : "0.0";
}

bool PayCalc::SolveW2() {
  const int filled = !RateW2.empty() + !HoursW2.empty() + !SalaryW2.empty();
  if (filled < 2) {
    Message = "Please specify two of the three inputs.";
    return false;
  }
  if (filled == 3) SalaryW2.clear();

  double rate = ReadAmount(RateW2);
  double salary = ReadAmount(SalaryW2);
  const double hours = ReadAmount(HoursW2);
  if (RateW2.empty()) {
    rate = salary / hours;
    if (!FormatResult(rate, RateW2, Message)) return false;
  }
  if (SalaryW2.empty()) {
    salary = hours * rate;
    if (!FormatResult(salary, SalaryW2, Message)) return false;
  }
  if (HoursW2.empty() && !FormatResult(salary / rate, HoursW2, Message)) return false;

  AddDollarSign(RateW2);
  AddDollarSign(SalaryW2);
  AddHoursWord(HoursW2);
  return true;
}

bool PayCalc::BuildRateTable(std::string& output) {
  // The table follows the rate as displayed, so a computed rate is read back from its text.
  const double rate = ReadAmount(CleanAmountText(RateW2));
  const double hours = ReadAmount(HoursW2);
  std::string rows;
  double row_rate = rate - 6.0;
  for (int row = 0; row < 11; ++row) {
    row_rate = row_rate + 1.0;
    if (!FormatResult(row_rate, RateW2, Message) ||
        !FormatResult(row_rate * hours, SalaryW2, Message)) {
      return false;
    }
    AddDollarSign(RateW2);
    AddDollarSign(SalaryW2);
    rows += RateW2;
    rows += "\t\t";
    rows += SalaryW2;
    rows += '\n';
  }
  output += rows;
  return true;
}

bool PayCalc::Compute1099(int monthly_mask, int percent_mask) {
  if (Rate1099.empty()) {
    Message = "Please specify Hourly Rate.";
    return false;
  }
  if (Hours1099.empty()) {
    Message = "Please specify number of hours.";
    return false;
  }
  for (std::string* optional :
       {&SocSec1099, &StateTax1099, &FedTax1099, &WorkComp1099, &Insurance1099, &Health1099}) {
    if (optional->empty()) *optional = "0.00";
  }

  const double rate = ReadAmount(Rate1099);
  const double hours = ReadAmount(Hours1099);
  const double soc_sec = ReadAmount(SocSec1099);
  const double state_tax = ReadAmount(StateTax1099);
  const double fed_tax = ReadAmount(FedTax1099);

  // The order of the additions is kept as it is, so results match to the last bit.
  double percent = (fed_tax + state_tax) + soc_sec;
  double dollars = 0.0;
  const struct {
    const std::string& amount;
    int bit;
  } others[] = {
      {WorkComp1099, kWorkCompBit}, {Insurance1099, kInsuranceBit}, {Health1099, kHealthBit}};
  for (const auto& other : others) {
    const double amount = ReadAmount(other.amount);
    if (percent_mask & other.bit) {
      percent = amount + percent;
    } else {
      const double factor = (monthly_mask & other.bit) ? kMonthlyFactor : kYearlyFactor;
      dollars = dollars + (amount * hours) * factor;
    }
  }

  const double gross = hours * rate;
  const double taxes_other = dollars + (gross * percent) * 0.01;
  const double net = gross - taxes_other;
  if (!FormatResult(gross, Gross1099, Message) ||
      !FormatResult(taxes_other, TaxesOther1099, Message) || !FormatResult(net, Net1099, Message)) {
    return false;
  }

  AddDollarSign(Rate1099);
  AddDollarSign(Gross1099);
  AddDollarSign(TaxesOther1099);
  AddDollarSign(Net1099);
  AddHoursWord(Hours1099);
  return true;
}

}  // namespace qup::calc
