// SPDX-License-Identifier: MIT
// Control ids of the main window and the About box, and the main window's tab pages.
#ifndef QUP_UI_CONTROL_IDS_H
#define QUP_UI_CONTROL_IDS_H

#include "ui/platform/window.h"

namespace qup::ui {

// Tab pages of the main window, in tab order.
enum Page : int {
  kSitePage = 0,
  kW2Page = 1,
  k1099Page = 2,
  kHelpPage = 3,
  kSuggestionsPage = 4,
  kAboutPage = 5,
  kPageCount = 6,
};

inline constexpr int kMainTemplateId = 102;
inline constexpr int kAboutTemplateId = 100;

// Site page.
inline constexpr int kLogoPicture = 1025;
inline constexpr int kLogoHintText = 1054;

// W2 page.
inline constexpr int kW2RateLabel = 1010;
inline constexpr int kW2RateEdit = 1001;
inline constexpr int kW2HoursLabel = 1012;
inline constexpr int kW2HoursCombo = 1016;
inline constexpr int kW2SalaryLabel = 1011;
inline constexpr int kW2SalaryEdit = 1002;
inline constexpr int kW2TableHeader = 1033;
inline constexpr int kW2RateTable = 1034;
inline constexpr int kW2PageText1 = 1023;
inline constexpr int kW2PageText2 = 1053;
inline constexpr int kW2CalculateButton = kIdOk;  // the dialog's OK command
inline constexpr int kW2ClearButton = 1017;

// 1099 page.
inline constexpr int kRate1099Label = 1110;
inline constexpr int kRate1099Edit = 1101;
inline constexpr int kHours1099Label = 1112;
inline constexpr int kHours1099Combo = 1116;
inline constexpr int kSocSec1099Label = 1210;
inline constexpr int kSocSec1099Edit = 1201;
inline constexpr int kStateTax1099Label = 1211;
inline constexpr int kStateTax1099Edit = 1202;
inline constexpr int kFedTax1099Label = 1311;
inline constexpr int kFedTax1099Edit = 1302;
inline constexpr int kTaxesGroup = 1028;
inline constexpr int kWorkComp1099Label = 1310;
inline constexpr int kWorkComp1099Edit = 1301;
inline constexpr int kInsurance1099Label = 1212;
inline constexpr int kInsurance1099Edit = 1216;
inline constexpr int kHealth1099Label = 1312;
inline constexpr int kHealth1099Edit = 1316;
inline constexpr int kWorkCompPercentRadio = 1047;
inline constexpr int kWorkCompDollarRadio = 1048;
inline constexpr int kInsurancePercentRadio = 1049;
inline constexpr int kInsuranceDollarRadio = 1050;
inline constexpr int kHealthPercentRadio = 1051;
inline constexpr int kHealthDollarRadio = 1052;
inline constexpr int kWorkCompPeriodCombo = 1044;
inline constexpr int kInsurancePeriodCombo = 1045;
inline constexpr int kHealthPeriodCombo = 1046;
inline constexpr int kOtherGroup = 1027;
inline constexpr int kGross1099Label = 1029;
inline constexpr int kGross1099Text = 1030;
inline constexpr int kTaxesOther1099Label = 1042;
inline constexpr int kTaxesOther1099Text = 1043;
inline constexpr int kNet1099Label = 1031;
inline constexpr int kNet1099Text = 1032;
inline constexpr int kPage1099Text1 = 1423;
inline constexpr int kPage1099Text2 = 1424;
inline constexpr int kCalculate1099Button = 1416;
inline constexpr int kClear1099Button = 1417;

// About page (the About box uses the same ids for its texts).
inline constexpr int kAboutIcon = 1019;
inline constexpr int kVersionText = 1020;
inline constexpr int kCopyrightText = 1021;
inline constexpr int kAuthorsText = 1018;
inline constexpr int kDisclaimerText = 1061;
inline constexpr int kAims1Text = 1057;
inline constexpr int kAims2Text = 1058;
inline constexpr int kAims3Text = 1059;
inline constexpr int kAimsGroup = 1425;
inline constexpr int kAboutBoxIcon = 1022;

inline constexpr int kTabControl = 1007;

// Help page.
inline constexpr int kHelpText = 1035;
inline constexpr int kHelpPrevButton = 1037;
inline constexpr int kHelpNextButton = 1038;
inline constexpr int kHelpOkButton = 1036;

// Suggestions page.
inline constexpr int kSuggestionEdit = 1024;
inline constexpr int kSendButton = 1026;
inline constexpr int kViewButton = 1060;
inline constexpr int kSuggestionText1 = 1055;
inline constexpr int kSuggestionText2 = 1056;

}  // namespace qup::ui

#endif  // QUP_UI_CONTROL_IDS_H
