// SPDX-License-Identifier: MIT
// Placeholder until the calculators land.
#include "calc/pay_calc.h"

namespace qup::calc {

void PayCalc::Reset() {}
bool PayCalc::CheckRateW2(std::string_view) { return false; }
bool PayCalc::CheckRate1099(std::string_view) { return false; }
bool PayCalc::CheckSalaryW2(std::string_view) { return false; }
bool PayCalc::CheckHoursW2(std::string_view) { return false; }
bool PayCalc::CheckHours1099(std::string_view) { return false; }
bool PayCalc::CheckSocSec1099(std::string_view) { return false; }
bool PayCalc::CheckFedTax1099(std::string_view) { return false; }
bool PayCalc::CheckStateTax1099(std::string_view) { return false; }
bool PayCalc::CheckWorkComp1099(std::string_view) { return false; }
bool PayCalc::CheckInsurance1099(std::string_view) { return false; }
bool PayCalc::CheckHealth1099(std::string_view) { return false; }
void PayCalc::AddDollarSign(std::string&) {}
void PayCalc::AddHoursWord(std::string&) {}
void PayCalc::FormatAmount(double, std::string&) {}
bool PayCalc::SolveW2() { return false; }
bool PayCalc::BuildRateTable(std::string&) { return false; }
bool PayCalc::Compute1099(int, int) { return false; }

}  // namespace qup::calc
