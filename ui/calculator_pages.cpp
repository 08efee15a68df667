// SPDX-License-Identifier: MIT
// The calculator pages' flows over the window, the dialog's bound texts and PayCalc.
#include "ui/calculator_pages.h"

#include <string>
#include <string_view>
#include <utility>

#include "ui/control_ids.h"
#include "ui/other_costs.h"

namespace qup::ui {
namespace {

using calc::PayCalc;
using Validator = bool (PayCalc::*)(std::string_view);

template <typename Texts>
struct ValidatorRow {
  int box;
  Validator check;
  std::string* Texts::*text;
};

constexpr ValidatorRow<W2Texts> kW2Validators[] = {
    {kW2RateEdit, &PayCalc::CheckRateW2, &W2Texts::rate},
    {kW2SalaryEdit, &PayCalc::CheckSalaryW2, &W2Texts::salary},
    {kW2HoursCombo, &PayCalc::CheckHoursW2, &W2Texts::hours},
};

constexpr ValidatorRow<Texts1099> k1099Validators[] = {
    {kRate1099Edit, &PayCalc::CheckRate1099, &Texts1099::rate},
    {kHours1099Combo, &PayCalc::CheckHours1099, &Texts1099::hours},
    {kSocSec1099Edit, &PayCalc::CheckSocSec1099, &Texts1099::soc_sec},
    {kStateTax1099Edit, &PayCalc::CheckStateTax1099, &Texts1099::state_tax},
    {kFedTax1099Edit, &PayCalc::CheckFedTax1099, &Texts1099::fed_tax},
    {kWorkComp1099Edit, &PayCalc::CheckWorkComp1099, &Texts1099::work_comp},
    {kInsurance1099Edit, &PayCalc::CheckInsurance1099, &Texts1099::insurance},
    {kHealth1099Edit, &PayCalc::CheckHealth1099, &Texts1099::health},
};

constexpr std::string_view kZeroAmount = "$0.00";

void Report(Window& window, Platform& platform, const PayCalc& pay_calc, int focus) {
  window.MessageBox(pay_calc.Message, platform.DisplayName(), kMbIconExclamation);
  window.SetFocus(focus);
}

// Runs the validators in order; reports the first refusal.
template <typename Texts, std::size_t N>
bool Validate(Window& window, Platform& platform, PayCalc& pay_calc, const Texts& texts,
              const ValidatorRow<Texts> (&rows)[N]) {
  for (const ValidatorRow<Texts>& row : rows) {
    if (!(pay_calc.*row.check)(*(texts.*row.text))) {
      Report(window, platform, pay_calc, row.box);
      return false;
    }
  }
  return true;
}

}  // namespace

bool CalculateW2(Window& window, Platform& platform, PayCalc& pay_calc, W2Texts texts) {
  if (!Validate(window, platform, pay_calc, texts, kW2Validators)) return false;
  if (!pay_calc.SolveW2()) {
    Report(window, platform, pay_calc, kW2RateEdit);
    return false;
  }
  // The table reuses the rate and salary fields, and a row too large to show refuses the whole
  // calculation, so the solved texts are kept aside until the table stands.
  std::string rate = pay_calc.RateW2;
  std::string salary = pay_calc.SalaryW2;
  std::string table;
  if (!pay_calc.BuildRateTable(table)) {
    Report(window, platform, pay_calc, kW2RateEdit);
    return false;
  }
  *texts.rate = std::move(rate);
  *texts.salary = std::move(salary);
  *texts.hours = pay_calc.HoursW2;
  *texts.rate_table = std::move(table);
  return true;
}

void ClearW2(Window& window, W2Texts texts) {
  for (std::string* text : {texts.rate, texts.salary, texts.hours, texts.rate_table}) {
    text->clear();
  }
  window.SetFocus(kW2RateEdit);
}

bool Calculate1099(Window& window, Platform& platform, PayCalc& pay_calc, Texts1099 texts) {
  if (!Validate(window, platform, pay_calc, texts, k1099Validators)) return false;

  int monthly_mask = 0;
  int percent_mask = 0;
  for (const OtherCostRow& row : kOtherCostRows) {
    // The period boxes offer only their two entries; one with nothing selected counts as
    // "yearly" rather than letting -1 spill into the other rows' bits.
    if (window.ComboGetCurSel(row.period_box) == 1) monthly_mask += row.bit;
    if (window.GetCheck(row.percent_radio) != 0) percent_mask += row.bit;
  }

  if (!pay_calc.Compute1099(monthly_mask, percent_mask)) {
    Report(window, platform, pay_calc, kRate1099Edit);
    return false;
  }
  *texts.gross = pay_calc.Gross1099;
  *texts.taxes_other = pay_calc.TaxesOther1099;
  *texts.net = pay_calc.Net1099;
  *texts.rate = pay_calc.Rate1099;
  *texts.hours = pay_calc.Hours1099;
  return true;
}

void Clear1099(Window& window, Texts1099 texts) {
  for (std::string* text : {texts.rate, texts.hours, texts.soc_sec, texts.state_tax, texts.fed_tax,
                            texts.work_comp, texts.insurance, texts.health}) {
    text->clear();
  }
  for (std::string* result : {texts.gross, texts.taxes_other, texts.net}) *result = kZeroAmount;
  window.SetFocus(kRate1099Edit);
}

void OnPeriodRadio(Window& window, int radio_id) {
  for (const OtherCostRow& row : kOtherCostRows) {
    if (radio_id == row.percent_radio) window.Enable(row.period_box, false);
    if (radio_id == row.dollar_radio) window.Enable(row.period_box, true);
  }
}

}  // namespace qup::ui
