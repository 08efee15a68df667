// SPDX-License-Identifier: MIT
// The 1099 page's three "Other" rows, for the page's flows and the settings that keep them.
#ifndef QUP_UI_OTHER_COSTS_H
#define QUP_UI_OTHER_COSTS_H

#include <array>

#include "ui/control_ids.h"

namespace qup::ui {

// One "Other" row: its bit in the calculator's monthly and percent masks, its "%" and "$"
// buttons and its yearly/monthly box. The rows stand in page order, which is also the order in
// which the saved "Radios" text holds the buttons ("%" first): reordering them here moves the
// page and the saved choices together.
struct OtherCostRow {
  int bit;
  int percent_radio;
  int dollar_radio;
  int period_box;
};

inline constexpr std::array<OtherCostRow, 3> kOtherCostRows = {{
    {4, kWorkCompPercentRadio, kWorkCompDollarRadio, kWorkCompPeriodCombo},
    {2, kInsurancePercentRadio, kInsuranceDollarRadio, kInsurancePeriodCombo},
    {1, kHealthPercentRadio, kHealthDollarRadio, kHealthPeriodCombo},
}};

}  // namespace qup::ui

#endif  // QUP_UI_OTHER_COSTS_H
