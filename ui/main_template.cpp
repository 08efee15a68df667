// SPDX-License-Identifier: MIT
// The control table and page table of the main window (template 102).
#include "ui/main_template.h"

#include "suggest/site_config.h"
#include "ui/about_texts.h"

namespace qup::ui {
namespace {

using enum ControlKind;

// Texts that the first exchange of values replaces (results, About texts, help page) stand
// empty here: the user never sees a template's text for them.
constexpr ControlSpec kMainControls[] = {
    // Site page.
    {kLogoPicture, kPicture, "", {70, 26, 199, 118}, kSitePage, kNoFlags, kLogoBitmap},
    {kLogoHintText,
     kStatic,
     "(Please click our logo to go to " QUP_SITE_DISPLAY_NAME_LITERAL ")",
     {95, 145, 160, 8},
     kSitePage},

    // W2 page.
    {kW2RateLabel, kStatic, "Hourly Rate $:", {16, 19, 57, 10}, kW2Page},
    {kW2RateEdit, kEdit, "", {76, 15, 106, 14}, kW2Page},
    {kW2HoursLabel, kStatic, "Hours #:", {16, 34, 57, 10}, kW2Page},
    {kW2HoursCombo, kComboBox, "", {76, 30, 106, 100}, kW2Page},
    {kW2SalaryLabel, kStatic, "Contract Salary $:", {16, 48, 57, 10}, kW2Page},
    {kW2SalaryEdit, kEdit, "", {76, 45, 106, 14}, kW2Page},
    {kW2TableHeader, kStatic, "Hourly Rate $\tSalary $", {220, 18, 100, 10}, kW2Page},
    {kW2RateTable, kStatic, "", {220, 30, 100, 90}, kW2Page},
    {kW2PageText1,
     kStatic,
     "-- Please supply information for 2 of the 3 fields, and then click the 'Calculate' "
     "button.\n-- Use the 'Clear' button after each calculation.",
     {20, 100, 162, 25},
     kW2Page},
    {kW2PageText2,
     kStatic,
     "-- Fields assume the '$' and 'Hours' values.  You are not required to input these "
     "characters.\n-- The 'Hours' field will accept any number of hours.\n-- You can use your "
     "mouse or down arrow key to select default values.",
     {20, 127, 300, 28},
     kW2Page},
    {kW2CalculateButton, kPushButton, "Calculate", {42, 65, 54, 16}, kW2Page},
    {kW2ClearButton, kPushButton, "Clear", {106, 65, 54, 16}, kW2Page},

    // 1099 page.
    {kRate1099Label, kStatic, "Hourly Rate $:", {16, 19, 57, 10}, k1099Page},
    {kRate1099Edit, kEdit, "", {76, 15, 106, 14}, k1099Page},
    {kHours1099Label, kStatic, "Hours #:", {16, 33, 57, 10}, k1099Page},
    {kHours1099Combo, kComboBox, "", {76, 30, 106, 100}, k1099Page},
    {kSocSec1099Label, kStatic, "Social Security %", {16, 60, 60, 10}, k1099Page},
    {kSocSec1099Edit, kEdit, "", {76, 57, 50, 12}, k1099Page},
    {kStateTax1099Label, kStatic, "State Tax %", {16, 76, 60, 10}, k1099Page},
    {kStateTax1099Edit, kEdit, "", {76, 73, 50, 12}, k1099Page},
    {kFedTax1099Label, kStatic, "Fed Tax %", {16, 93, 60, 10}, k1099Page},
    {kFedTax1099Edit, kEdit, "", {76, 90, 50, 12}, k1099Page},
    {kTaxesGroup, kGroupBox, "Taxes", {12, 47, 120, 59}, k1099Page},
    // Each row's "%"/"$" pair follows its amount box: the checked button of a pair is the
    // Tab key's next stop after the box.
    {kWorkComp1099Label, kStatic, "Workers Comp.", {140, 60, 100, 10}, k1099Page},
    {kWorkComp1099Edit, kEdit, "", {235, 57, 40, 12}, k1099Page},
    {kWorkCompPercentRadio,
     kRadioButton,
     "%",
     {195, 56, 16, 16},
     k1099Page,
     kGroupStart | kTextLeft},
    {kWorkCompDollarRadio, kRadioButton, "$", {215, 56, 16, 16}, k1099Page, kTextLeft},
    {kInsurance1099Label, kStatic, "Insurance", {140, 76, 100, 10}, k1099Page},
    {kInsurance1099Edit, kEdit, "", {235, 73, 40, 12}, k1099Page},
    {kInsurancePercentRadio,
     kRadioButton,
     "%",
     {195, 72, 16, 16},
     k1099Page,
     kGroupStart | kTextLeft},
    {kInsuranceDollarRadio, kRadioButton, "$", {215, 72, 16, 16}, k1099Page, kTextLeft},
    {kHealth1099Label, kStatic, "Health", {140, 93, 100, 10}, k1099Page},
    {kHealth1099Edit, kEdit, "", {235, 90, 40, 12}, k1099Page},
    {kHealthPercentRadio, kRadioButton, "%", {195, 88, 16, 16}, k1099Page, kGroupStart | kTextLeft},
    {kHealthDollarRadio, kRadioButton, "$", {215, 88, 16, 16}, k1099Page, kTextLeft},
    // The period boxes offer only "yearly" and "monthly", so the masks always see index 0 or 1.
    // 43 units wide rather than 40: a focused drop list on Windows draws its entry inset in a
    // highlight with a focus frame, and at 40 the "y" of "monthly" was cut.
    {kWorkCompPeriodCombo, kDropList, "", {280, 57, 43, 40}, k1099Page, kDisabled},
    {kInsurancePeriodCombo, kDropList, "", {280, 73, 43, 40}, k1099Page, kDisabled},
    {kHealthPeriodCombo, kDropList, "", {280, 89, 43, 40}, k1099Page, kDisabled},
    {kOtherGroup, kGroupBox, "Other", {135, 47, 190, 59}, k1099Page},
    {kGross1099Label, kStatic, "Salary:", {201, 16, 54, 10}, k1099Page},
    {kGross1099Text, kStatic, "", {259, 16, 71, 10}, k1099Page},
    {kTaxesOther1099Label, kStatic, "Taxes/Other:", {201, 26, 54, 10}, k1099Page},
    {kTaxesOther1099Text, kStatic, "", {259, 26, 71, 10}, k1099Page},
    {kNet1099Label, kStatic, "Net:", {201, 35, 54, 10}, k1099Page},
    {kNet1099Text, kStatic, "", {259, 35, 71, 10}, k1099Page},
    {kPage1099Text1,
     kStatic,
     "The Contract-1099 section is for individuals interested in pursuing 1099 contract "
     "positions.  All fields in the 'Taxes' and 'Other' sections are optional.  Items in the "
     "'Other' section can be ",
     {14, 128, 312, 16},
     k1099Page},
    {kPage1099Text2,
     kStatic,
     "calculated as percentages of the gross amount, or as a dollar value.  The application will "
     "store the values that you input in the 'Taxes' and 'Other' fields.",
     {14, 144, 312, 16},
     k1099Page},
    {kCalculate1099Button, kPushButton, "Calculate", {104, 110, 54, 16}, k1099Page},
    {kClear1099Button, kPushButton, "Clear", {167, 110, 54, 16}, k1099Page},

    // About page.
    {kAboutIcon, kIcon, "", {20, 33, 20, 20}, kAboutPage, kNoFlags, kLargeIcon},
    {kVersionText, kStatic, "", {45, 31, 119, 8}, kAboutPage, kNoPrefix},
    {kCopyrightText, kStatic, "", {45, 42, 119, 8}, kAboutPage},
    {kAuthorsText, kStatic, "", {20, 60, 143, 42}, kAboutPage},
    {kDisclaimerText, kStatic, "", {20, 94, 126, 64}, kAboutPage},
    {kAims1Text, kStatic, kAimsText1, {155, 21, 160, 48}, kAboutPage},
    {kAims2Text, kStatic, kAimsText2, {155, 69, 160, 40}, kAboutPage},
    {kAims3Text, kStatic, kAimsText3, {155, 117, 160, 40}, kAboutPage},
    {kAimsGroup, kGroupBox, "", {150, 15, 170, 138}, kAboutPage},

    // The tab control stands on every page.
    {ui::kTabControl, ControlKind::kTabControl, "", {7, 7, 326, 168}, kNoPage},

    // Help page.
    {kHelpText, kStatic, "", {25, 16, 269, 123}, kHelpPage},
    {kHelpPrevButton, kPushButton, "< Prev", {54, 142, 51, 16}, kHelpPage},
    {kHelpNextButton, kPushButton, "Next >", {214, 142, 51, 16}, kHelpPage},
    {kHelpOkButton, kPushButton, "OK", {134, 142, 51, 16}, kHelpPage},

    // Suggestions page.
    {kSuggestionEdit, kMultiLineEdit, "", {35, 16, 269, 80}, kSuggestionsPage},
    {kSendButton, kPushButton, "Send", {104, 100, 51, 16}, kSuggestionsPage},
    {kViewButton, kPushButton, "View", {184, 100, 51, 16}, kSuggestionsPage},
    {kSuggestionText1,
     kStatic,
     "Please type in any suggestion you have for this application, and click 'Send.'  To view "
     "what others have said in the past, click the 'View' button.  A confirmation will be "
     "returned shortly.",
     {14, 120, 312, 24},
     kSuggestionsPage},
    {kSuggestionText2,
     kStatic,
     "You must be connected to the Internet to view and send text.  PLEASE NOTE:  Kestrane does "
     "NOT send or receive any information other than what is typed in the suggestion box.",
     {14, 136, 312, 16},
     kSuggestionsPage},
};

constexpr int kSitePageControls[] = {kLogoPicture, kLogoHintText};
constexpr int kW2PageControls[] = {
    kW2RateLabel,   kW2SalaryLabel, kW2HoursLabel, kW2RateEdit,  kW2SalaryEdit,      kW2HoursCombo,
    kW2TableHeader, kW2RateTable,   kW2PageText1,  kW2PageText2, kW2CalculateButton, kW2ClearButton,
};
constexpr int k1099PageControls[] = {
    kRate1099Label,        kHours1099Label,       kRate1099Edit,
    kHours1099Combo,       kSocSec1099Label,      kSocSec1099Edit,
    kStateTax1099Label,    kStateTax1099Edit,     kFedTax1099Label,
    kFedTax1099Edit,       kTaxesGroup,           kWorkComp1099Label,
    kWorkComp1099Edit,     kInsurance1099Label,   kInsurance1099Edit,
    kHealth1099Label,      kHealth1099Edit,       kOtherGroup,
    kGross1099Label,       kGross1099Text,        kTaxesOther1099Label,
    kTaxesOther1099Text,   kNet1099Label,         kNet1099Text,
    kWorkCompPercentRadio, kWorkCompDollarRadio,  kInsurancePercentRadio,
    kInsuranceDollarRadio, kHealthPercentRadio,   kHealthDollarRadio,
    kWorkCompPeriodCombo,  kInsurancePeriodCombo, kHealthPeriodCombo,
    kCalculate1099Button,  kClear1099Button,      kPage1099Text1,
    kPage1099Text2,
};
constexpr int kHelpPageControls[] = {kHelpText, kHelpOkButton, kHelpPrevButton, kHelpNextButton};
constexpr int kSuggestionsPageControls[] = {kSuggestionEdit, kSendButton, kViewButton,
                                            kSuggestionText1, kSuggestionText2};
constexpr int kAboutPageControls[] = {kAboutIcon,   kVersionText,    kCopyrightText,
                                      kAuthorsText, kDisclaimerText, kAims1Text,
                                      kAims2Text,   kAims3Text,      kAimsGroup};

// What a screen reader calls each box, button and result: the label beside it, and for the
// "Other" rows' buttons and period boxes what each one stands for.
constexpr AccessibleName kMainAccessibleNames[] = {
    {kW2RateEdit, kW2RateLabel, ""},
    {kW2HoursCombo, kW2HoursLabel, ""},
    {kW2SalaryEdit, kW2SalaryLabel, ""},
    {kW2RateTable, kW2TableHeader, "Rate table: hourly rates and their salaries",
     LabelUse::kColumnHeads},
    {kRate1099Edit, kRate1099Label, ""},
    {kHours1099Combo, kHours1099Label, ""},
    {kSocSec1099Edit, kSocSec1099Label, ""},
    {kStateTax1099Edit, kStateTax1099Label, ""},
    {kFedTax1099Edit, kFedTax1099Label, ""},
    {kWorkComp1099Edit, kWorkComp1099Label, ""},
    {kInsurance1099Edit, kInsurance1099Label, ""},
    {kHealth1099Edit, kHealth1099Label, ""},
    {kWorkCompPercentRadio, kWorkComp1099Label, " %"},
    {kWorkCompDollarRadio, kWorkComp1099Label, " $"},
    {kInsurancePercentRadio, kInsurance1099Label, " %"},
    {kInsuranceDollarRadio, kInsurance1099Label, " $"},
    {kHealthPercentRadio, kHealth1099Label, " %"},
    {kHealthDollarRadio, kHealth1099Label, " $"},
    {kWorkCompPeriodCombo, kWorkComp1099Label, " period"},
    {kInsurancePeriodCombo, kInsurance1099Label, " period"},
    {kHealthPeriodCombo, kHealth1099Label, " period"},
    {kGross1099Text, kGross1099Label, ""},
    {kTaxesOther1099Text, kTaxesOther1099Label, ""},
    {kNet1099Text, kNet1099Label, ""},
    {kLogoPicture, kLogoHintText, "Logo", LabelUse::kRelationOnly},
    {kHelpText, kNoLabel, "Help page"},
    {kSuggestionEdit, kSuggestionText1, "Suggestion", LabelUse::kDescription},
    {kAboutIcon, kNoLabel, "Quorvane Utility icon"},
    {kAimsGroup, kNoLabel, "Aims of " QUP_SITE_DISPLAY_NAME_LITERAL},
    {ui::kTabControl, kNoLabel, "Pages"},
};

}  // namespace

const DialogTemplate kMainDialogTemplate{
    kMainTemplateId, kMainWindowTitle, 340, 182, kMainControls, kMainAccessibleNames,
};

const std::array<PageSpec, kPageCount> kMainPages{{
    {QUP_SITE_DISPLAY_NAME_LITERAL, kSitePageControls, kNoFocus},
    {"Contract - W2", kW2PageControls, kW2RateEdit},
    {"Contract - 1099", k1099PageControls, kRate1099Edit},
    {"Help", kHelpPageControls, kNoFocus},
    {"Suggestions", kSuggestionsPageControls, kNoFocus},
    {"About", kAboutPageControls, kNoFocus},
}};

}  // namespace qup::ui
