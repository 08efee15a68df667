// SPDX-License-Identifier: MIT
// MainDialog: construction, the exchange of values, start-up, pages and the command table.
#include "ui/main_dialog.h"

#include <string_view>

#include "suggest/site_config.h"
#include "suggest/suggestion_box.h"
#include "ui/about_dialog.h"
#include "ui/control_ids.h"
#include "ui/main_template.h"

namespace qup::ui {
namespace {

constexpr std::string_view kHoursEntries[] = {
    "520 hours ( 3 months )",
    "1040 hours ( 6 months )",
    "2080 hours ( 12 months )",
};
constexpr int kHoursBoxes[] = {kW2HoursCombo, kHours1099Combo};

// Index 0 is "yearly", index 1 "monthly": the 1099 masks rely on that order.
constexpr std::string_view kPeriodEntries[] = {"yearly", "monthly"};
constexpr int kPeriodBoxes[] = {kWorkCompPeriodCombo, kInsurancePeriodCombo, kHealthPeriodCombo};

constexpr std::string_view kZeroRateTable = "$0.00\t\t$0.00";
constexpr std::string_view kZeroAmount = "$0.00";
constexpr int kZeroResultTexts[] = {kGross1099Text, kTaxesOther1099Text, kNet1099Text};

// The logo link's bounds in client pixels, bounds excluded. They are fixed numbers that enclose
// the logo when the dialog's base units are 6 × 13 pixels.
constexpr int kLogoBaseUnitX = 6;
constexpr int kLogoBaseUnitY = 13;
constexpr int kLogoLeft = 104;
constexpr int kLogoRight = 406;
constexpr int kLogoTop = 40;
constexpr int kLogoBottom = 234;

Rect ControlRect(int id) {
  const ControlSpec* control = FindControl(kMainDialogTemplate, id);
  return control == nullptr ? Rect{} : control->rect;
}

}  // namespace

// Every value bound to a control, in the order of the exchange.
const MainDialog::BoundValue MainDialog::kBoundValues[] = {
    {kW2RateEdit, &MainDialog::rate_w2_, Exchange::kText},
    {kW2SalaryEdit, &MainDialog::salary_w2_, Exchange::kText},
    {kW2HoursCombo, &MainDialog::hours_w2_, Exchange::kComboText},
    {kW2RateTable, &MainDialog::rate_table_, Exchange::kText},
    {kAuthorsText, &MainDialog::authors_, Exchange::kText},
    {kCopyrightText, &MainDialog::copyright_, Exchange::kText},
    {kVersionText, &MainDialog::version_, Exchange::kText},
    {kDisclaimerText, &MainDialog::disclaimer_, Exchange::kText},
    {kRate1099Edit, &MainDialog::rate1099_, Exchange::kText},
    {kHours1099Combo, &MainDialog::hours1099_, Exchange::kComboText},
    {kSocSec1099Edit, &MainDialog::soc_sec1099_, Exchange::kText},
    {kStateTax1099Edit, &MainDialog::state_tax1099_, Exchange::kText},
    {kFedTax1099Edit, &MainDialog::fed_tax1099_, Exchange::kText},
    {kWorkComp1099Edit, &MainDialog::work_comp1099_, Exchange::kText},
    {kInsurance1099Edit, &MainDialog::insurance1099_, Exchange::kText},
    {kHealth1099Edit, &MainDialog::health1099_, Exchange::kText},
    {kGross1099Text, &MainDialog::gross1099_, Exchange::kText},
    {kTaxesOther1099Text, &MainDialog::taxes_other1099_, Exchange::kText},
    {kNet1099Text, &MainDialog::net1099_, Exchange::kText},
    {kSuggestionEdit, &MainDialog::suggestion_, Exchange::kText},
    {kHelpText, &MainDialog::help_text_, Exchange::kText},
    {kWorkCompPeriodCombo, &MainDialog::work_comp_period_, Exchange::kComboText},
    {kInsurancePeriodCombo, &MainDialog::insurance_period_, Exchange::kComboText},
    {kHealthPeriodCombo, &MainDialog::health_period_, Exchange::kComboText},
};

// Where each notification of the window goes.
struct MainDialog::Command {
  int id;
  Notification code;
  void (MainDialog::*handler)();
};

const MainDialog::Command MainDialog::kCommands[] = {
    {kW2ClearButton, Notification::kClicked, &MainDialog::OnClear},
    {kSendButton, Notification::kClicked, &MainDialog::OnSend},
    {kViewButton, Notification::kClicked, &MainDialog::OnView},
    {kHelpOkButton, Notification::kClicked, &MainDialog::OnHelpOk},
    {kHelpPrevButton, Notification::kClicked, &MainDialog::OnHelpPrev},
    {kHelpNextButton, Notification::kClicked, &MainDialog::OnHelpNext},
    {kCalculate1099Button, Notification::kClicked, &MainDialog::OnCalculate1099},
    {kClear1099Button, Notification::kClicked, &MainDialog::OnClear1099},
    {kWorkCompPercentRadio, Notification::kClicked, &MainDialog::OnWorkCompPercent},
    {kWorkCompDollarRadio, Notification::kClicked, &MainDialog::OnWorkCompDollar},
    {kInsurancePercentRadio, Notification::kClicked, &MainDialog::OnInsurancePercent},
    {kInsuranceDollarRadio, Notification::kClicked, &MainDialog::OnInsuranceDollar},
    {kHealthPercentRadio, Notification::kClicked, &MainDialog::OnHealthPercent},
    {kHealthDollarRadio, Notification::kClicked, &MainDialog::OnHealthDollar},
    {kSuggestionEdit, Notification::kSetFocus, &MainDialog::OnSetFocusSuggestion},
    {kSuggestionEdit, Notification::kMaxText, &MainDialog::OnMaxTextSuggestion},
    // Button 1 on the W2 page and the Enter key both issue the OK command.
    {kIdOk, Notification::kClicked, &MainDialog::OnOK},
    {kIdCancel, Notification::kClicked, &MainDialog::OnCancel},
};

MainDialog::MainDialog(Platform& platform, settings::Registry& registry, suggest::Network& network)
    : platform_(platform), registry_(registry), network_(network) {
  pay_calc_.Reset();
  suggestion_ = suggest::SuggestionPlaceholder;
  large_icon_ = kLargeIcon;
  small_icon_ = kSmallIcon;
  authors_ = LoadString(kAuthorsString);
  copyright_ = LoadString(kCopyrightString);
  version_ = LoadString(kVersionString);
  disclaimer_ = LoadString(kDisclaimerString);
}

int MainDialog::DoModal() { return platform_.RunModal(kMainDialogTemplate, *this, nullptr); }

void MainDialog::UpdateData(bool to_controls) { DoDataExchange(to_controls); }

void MainDialog::DoDataExchange(bool to_controls) {
  Window& window = *window_;
  for (const BoundValue& bound : kBoundValues) {
    std::string& value = this->*bound.value;
    if (!to_controls) {
      value = window.GetText(bound.id);
    } else if (bound.exchange == Exchange::kText ||
               window.ComboSelectString(bound.id, value) == kComboError) {
      // A combo box whose entries none begins with the value (an empty one never does) takes it
      // into its edit field, as a text box does.
      window.SetText(bound.id, value);
    }
  }
}

void MainDialog::OnInitDialog(Window& window) {
  window_ = &window;
  UpdateData(true);
  settings::LoadSettings(registry_, platform_);
  AppendAboutMenuEntry(window);
  window.SetIcons(large_icon_, small_icon_);
  for (int page = 0; page < kPageCount; ++page) {
    window.TabInsertItem(kTabControl, page, kMainPages[static_cast<std::size_t>(page)].caption);
  }
  ShowPage(kSitePage);
  for (int box : kHoursBoxes) {
    for (std::string_view entry : kHoursEntries) window.ComboAddString(box, entry);
  }
  for (int box : kPeriodBoxes) {
    for (std::string_view entry : kPeriodEntries) window.ComboAddString(box, entry);
    window.ComboSelectString(box, kPeriodEntries[0]);
  }
  help_.Init(window, help_text_);
  rate_table_ = kZeroRateTable;
  window.SetText(kW2RateTable, rate_table_);
  for (int id : kZeroResultTexts) window.SetText(id, kZeroAmount);
  settings::ApplySettingsToPage(window, saved_texts());
  window.LimitText(kSuggestionEdit, suggest::kSuggestionLimit);
}

void MainDialog::ShowPage(int index) {
  Window& window = *window_;
  for (const ControlSpec& control : kMainDialogTemplate.controls) {
    if (control.page != kNoPage) window.Show(control.id, false);
  }
  if (index < 0 || index >= kPageCount) return;
  const PageSpec& page = kMainPages[static_cast<std::size_t>(index)];
  for (int id : page.controls) window.Show(id, true);
  if (page.focus != kNoFocus) window.SetFocus(page.focus);
}

void MainDialog::OnCommand(int id, Notification code) {
  for (const Command& command : kCommands) {
    if (command.id == id && command.code == code) {
      (this->*command.handler)();
      return;
    }
  }
}

void MainDialog::OnTabSelChange(int id) { ShowPage(window_->TabGetCurSel(id)); }

void MainDialog::OnSysCommand(unsigned command) {
  if ((command & 0xFFF0) == kAboutCommand) {
    AboutDialog().DoModal(platform_, *window_);
  }
  if (command == kScClose) {
    settings::CaptureSettingsFromPage(*window_, saved_texts());
    settings::SaveSettings(registry_);
  }
  // The default processing: Close ends the window through the Cancel command.
  if (command == kScClose) OnCommand(kIdCancel, Notification::kClicked);
}

bool MainDialog::LogoHit(Point point) const {
  const Rect unit = window_->MapDialogRect({0, 0, 4, 8});
  if (unit.width == kLogoBaseUnitX && unit.height == kLogoBaseUnitY) {
    return point.x > kLogoLeft && point.x < kLogoRight && point.y > kLogoTop &&
           point.y < kLogoBottom;
  }
  // At other base units the fixed bounds would miss the logo; follow its own rectangle.
  const Rect logo = window_->MapDialogRect(ControlRect(kLogoPicture));
  return point.x >= logo.x && point.x < logo.x + logo.width && point.y >= logo.y &&
         point.y < logo.y + logo.height;
}

void MainDialog::OnLButtonDown(Point client_pixels) {
  if (window_->TabGetCurSel(kTabControl) == kSitePage && LogoHit(client_pixels)) {
    platform_.OpenUrl(HomePageUrl);
  }
}

void MainDialog::OnOK() {
  UpdateData(false);
  pay_calc_.Reset();
  bool calculated = false;
  switch (window_->TabGetCurSel(kTabControl)) {
    case kW2Page:
      calculated = CalculateW2(*window_, platform_, pay_calc_, w2_texts());
      break;
    case k1099Page:
      calculated = Calculate1099(*window_, platform_, pay_calc_, texts_1099());
      break;
    default:
      break;
  }
  if (calculated) UpdateData(true);
}

void MainDialog::OnClear() {
  UpdateData(false);
  switch (window_->TabGetCurSel(kTabControl)) {
    case kW2Page:
      ClearW2(*window_, w2_texts());
      break;
    case k1099Page:
      Clear1099(*window_, texts_1099());
      break;
    default:
      break;
  }
  UpdateData(true);
}

void MainDialog::OnCancel() { window_->EndDialog(kIdCancel); }
void MainDialog::OnCalculate1099() { OnOK(); }
void MainDialog::OnClear1099() { OnClear(); }

void MainDialog::OnWorkCompPercent() { OnPeriodRadio(*window_, kWorkCompPercentRadio); }
void MainDialog::OnWorkCompDollar() { OnPeriodRadio(*window_, kWorkCompDollarRadio); }
void MainDialog::OnInsurancePercent() { OnPeriodRadio(*window_, kInsurancePercentRadio); }
void MainDialog::OnInsuranceDollar() { OnPeriodRadio(*window_, kInsuranceDollarRadio); }
void MainDialog::OnHealthPercent() { OnPeriodRadio(*window_, kHealthPercentRadio); }
void MainDialog::OnHealthDollar() { OnPeriodRadio(*window_, kHealthDollarRadio); }

void MainDialog::OnSetFocusSuggestion() { suggest::OnSetFocusSuggestion(*window_); }
void MainDialog::OnMaxTextSuggestion() { suggest::OnMaxTextSuggestion(*window_); }
void MainDialog::OnSend() { suggest::OnSend(*window_, platform_, network_); }
void MainDialog::OnView() { suggest::OnView(platform_); }

void MainDialog::OnHelpOk() {
  window_->TabSetCurSel(kTabControl, kSitePage);
  ShowPage(kSitePage);
}
void MainDialog::OnHelpPrev() { help_.OnHelpPrev(*window_, help_text_); }
void MainDialog::OnHelpNext() { help_.OnHelpNext(*window_, help_text_); }

W2Texts MainDialog::w2_texts() { return {&rate_w2_, &salary_w2_, &hours_w2_, &rate_table_}; }

Texts1099 MainDialog::texts_1099() {
  return {&rate1099_,    &hours1099_,       &soc_sec1099_,   &state_tax1099_,
          &fed_tax1099_, &work_comp1099_,   &insurance1099_, &health1099_,
          &gross1099_,   &taxes_other1099_, &net1099_};
}

settings::PageTexts MainDialog::saved_texts() {
  return {&rate1099_,      &soc_sec1099_,   &state_tax1099_, &fed_tax1099_,
          &work_comp1099_, &insurance1099_, &health1099_};
}

}  // namespace qup::ui
