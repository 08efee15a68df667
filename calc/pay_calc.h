// SPDX-License-Identifier: MIT
// PayCalc: the calculation record of both calculator pages, its validators and formatters,
// and the W2 and 1099 computations.
#ifndef QUP_CALC_PAY_CALC_H
#define QUP_CALC_PAY_CALC_H

#include <string>
#include <string_view>

namespace qup::calc {

// Every amount is held as text; it becomes a double only inside a computation. Field names
// follow the window's own vocabulary, so they read the same in the flows and the messages.
class PayCalc {
 public:
  PayCalc() { Reset(); }

  // Empties the W2 fields and Message; the 1099 validators overwrite their fields themselves.
  void Reset();

  // Each validator cleans its box's text into its field and accepts it when the whole-number
  // part is at least 1 (or the text is empty); on rejection it sets Message.
  bool CheckRateW2(std::string_view text);
  bool CheckRate1099(std::string_view text);
  bool CheckSalaryW2(std::string_view text);
  bool CheckHoursW2(std::string_view text);
  bool CheckHours1099(std::string_view text);
  bool CheckSocSec1099(std::string_view text);
  bool CheckFedTax1099(std::string_view text);
  bool CheckStateTax1099(std::string_view text);
  bool CheckWorkComp1099(std::string_view text);
  bool CheckInsurance1099(std::string_view text);
  bool CheckHealth1099(std::string_view text);

  static void AddDollarSign(std::string& text);
  static void AddHoursWord(std::string& text);
  // Two decimals with exact ties rounded up, or "0.0" for a value that is not positive or not
  // finite.
  static void FormatAmount(double value, std::string& target);

  // Works out the empty one of rate, hours and salary from the other two. The computations
  // refuse, with Message "Amount too large.", a result whose text would not fit 128 characters.
  bool SolveW2();
  // Appends the eleven rows of rates around RateW2 with their salaries for HoursW2; appends
  // nothing when a row is too large.
  bool BuildRateTable(std::string& output);
  // Bits 4, 2 and 1 stand for Workers Comp., Insurance and Health.
  bool Compute1099(int monthly_mask, int percent_mask);

  std::string RateW2;
  std::string SalaryW2;
  std::string HoursW2;
  std::string Rate1099;
  std::string Hours1099;
  std::string Net1099;
  std::string TaxesOther1099;
  std::string Gross1099;
  std::string StateTax1099;
  std::string FedTax1099;
  std::string SocSec1099;
  std::string WorkComp1099;
  std::string Insurance1099;
  std::string Health1099;
  std::string Message;
};

}  // namespace qup::calc

#endif  // QUP_CALC_PAY_CALC_H
