// SPDX-License-Identifier: MIT
// The W2 and 1099 pages' Calculate and Clear flows and the 1099 page's "%"/"$" buttons.
#ifndef QUP_UI_CALCULATOR_PAGES_H
#define QUP_UI_CALCULATOR_PAGES_H

#include <string>

#include "calc/pay_calc.h"
#include "ui/platform/platform.h"
#include "ui/platform/window.h"

namespace qup::ui {

// The dialog's bound texts of the W2 page.
struct W2Texts {
  std::string* rate;
  std::string* salary;
  std::string* hours;
  std::string* rate_table;
};

// The dialog's bound texts of the 1099 page.
struct Texts1099 {
  std::string* rate;
  std::string* hours;
  std::string* soc_sec;
  std::string* state_tax;
  std::string* fed_tax;
  std::string* work_comp;
  std::string* insurance;
  std::string* health;
  std::string* gross;
  std::string* taxes_other;
  std::string* net;
};

// The flows run between the dialog's exchange from the controls and its exchange towards them;
// the dialog writes back only when Calculate returns true. A refused input is reported in a
// message box captioned with the program's name, after which the focus moves to its box.

// Validates the three boxes, solves the empty one and builds the rate table into the texts.
bool CalculateW2(Window& window, Platform& platform, calc::PayCalc& pay_calc, W2Texts texts);
// Empties the three boxes and the rate table; the focus goes to the rate box.
void ClearW2(Window& window, W2Texts texts);

// Validates the eight boxes, reads the masks from the period boxes and the "%" buttons, and
// puts the results, the decorated rate and the hours into the texts.
bool Calculate1099(Window& window, Platform& platform, calc::PayCalc& pay_calc, Texts1099 texts);
// Empties the eight boxes and shows "$0.00" in the three results; the focus goes to the rate.
void Clear1099(Window& window, Texts1099 texts);

// A "%" or "$" button was clicked: its period box is enabled exactly for "$".
void OnPeriodRadio(Window& window, int radio_id);

}  // namespace qup::ui

#endif  // QUP_UI_CALCULATOR_PAGES_H
