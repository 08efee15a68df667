// SPDX-License-Identifier: MIT
// What a screen reader hears in the main window: every control's name through Qt's
// accessibility interface, labels and results as texts.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleInterface>
#include <QWidget>
#include <ostream>
#include <string>

#include "ui/control_ids.h"
#include "ui/main_template.h"
#include "ui/platform/qt_platform.h"
#include "ui/platform/qt_window.h"

namespace qup::ui {
namespace {

class NoHandler : public DialogHandler {
 public:
  void OnInitDialog(Window& /*window*/) override {}
  void OnCommand(int /*id*/, Notification /*code*/) override {}
  void OnTabSelChange(int /*id*/) override {}
  void OnSysCommand(unsigned /*command*/) override {}
};

class MainWindowAccessibility : public testing::Test {
 protected:
  MainWindowAccessibility() : window_(kMainDialogTemplate, handler_, platform_, nullptr) {}

  QAccessibleInterface* Accessible(int id) {
    QWidget* widget = window_.InputWidget(id);
    return widget ? QAccessible::queryAccessibleInterface(widget) : nullptr;
  }
  std::string Name(int id) {
    QAccessibleInterface* accessible = Accessible(id);
    return accessible ? accessible->text(QAccessible::Name).toStdString() : "(no interface)";
  }

  QtPlatform platform_{"test"};
  NoHandler handler_;
  QtWindow window_;
};

struct NameRow {
  const char* name;
  int id;
  const char* expected;
};

void PrintTo(const NameRow& row, std::ostream* out) { *out << row.name; }

class ControlName : public MainWindowAccessibility, public testing::WithParamInterface<NameRow> {};

TEST_P(ControlName, IsWhatTheUserReadsBesideIt) {
  EXPECT_EQ(Name(GetParam().id), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    MainWindow, ControlName,
    testing::Values(NameRow{"w2_rate", kW2RateEdit, "Hourly Rate $:"},
                    NameRow{"w2_hours", kW2HoursCombo, "Hours #:"},
                    NameRow{"w2_salary", kW2SalaryEdit, "Contract Salary $:"},
                    NameRow{"rate_1099", kRate1099Edit, "Hourly Rate $:"},
                    NameRow{"hours_1099", kHours1099Combo, "Hours #:"},
                    NameRow{"social_security", kSocSec1099Edit, "Social Security %"},
                    NameRow{"state_tax", kStateTax1099Edit, "State Tax %"},
                    NameRow{"fed_tax", kFedTax1099Edit, "Fed Tax %"},
                    NameRow{"workers_comp", kWorkComp1099Edit, "Workers Comp."},
                    NameRow{"insurance", kInsurance1099Edit, "Insurance"},
                    NameRow{"health", kHealth1099Edit, "Health"},
                    NameRow{"workers_comp_percent", kWorkCompPercentRadio, "Workers Comp. %"},
                    NameRow{"workers_comp_dollar", kWorkCompDollarRadio, "Workers Comp. $"},
                    NameRow{"insurance_percent", kInsurancePercentRadio, "Insurance %"},
                    NameRow{"insurance_dollar", kInsuranceDollarRadio, "Insurance $"},
                    NameRow{"health_percent", kHealthPercentRadio, "Health %"},
                    NameRow{"health_dollar", kHealthDollarRadio, "Health $"},
                    NameRow{"workers_comp_period", kWorkCompPeriodCombo, "Workers Comp. period"},
                    NameRow{"insurance_period", kInsurancePeriodCombo, "Insurance period"},
                    NameRow{"health_period", kHealthPeriodCombo, "Health period"},
                    NameRow{"gross", kGross1099Text, "Salary:"},
                    NameRow{"taxes_other", kTaxesOther1099Text, "Taxes/Other:"},
                    NameRow{"net", kNet1099Text, "Net:"},
                    NameRow{"suggestion", kSuggestionEdit, "Suggestion"},
                    NameRow{"help_text", kHelpText, "Help page"},
                    NameRow{"rate_table", kW2RateTable,
                            "Rate table: hourly rates and their salaries"},
                    NameRow{"calculate", kCalculate1099Button, "Calculate"},
                    NameRow{"hint_label", kRate1099Label, "Hourly Rate $:"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MainWindowAccessibility, EveryControlHasAName) {
  for (const ControlSpec& control_spec : kMainDialogTemplate.controls) {
    if (control_spec.kind == ControlKind::kGroupBox && control_spec.caption.empty()) continue;
    if (control_spec.kind == ControlKind::kIcon || control_spec.kind == ControlKind::kTabControl)
      continue;
    if (control_spec.kind == ControlKind::kStatic && control_spec.caption.empty())
      continue;  // filled at start
    EXPECT_NE(Name(control_spec.id), "") << "control " << control_spec.id;
  }
}

TEST_F(MainWindowAccessibility, StaticTextsAreReadAsTextsWithTheirCurrentWords) {
  window_.SetText(kDisclaimerText, "Line one\nLine &two");
  QAccessibleInterface* text = Accessible(kDisclaimerText);
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(text->role(), QAccessible::StaticText);
  EXPECT_EQ(text->text(QAccessible::Name).toStdString(), "Line one\nLine two");
}

TEST_F(MainWindowAccessibility, AResultKeepsItsLabelsNameWhenItsValueChanges) {
  window_.SetText(kNet1099Text, "$1234.00");
  QAccessibleInterface* result = Accessible(kNet1099Text);
  ASSERT_NE(result, nullptr);
  EXPECT_EQ(result->text(QAccessible::Name).toStdString(), "Net:");
  EXPECT_EQ(window_.GetText(kNet1099Text), "$1234.00");
}

}  // namespace
}  // namespace qup::ui
