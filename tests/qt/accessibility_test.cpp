// SPDX-License-Identifier: MIT
// What a screen reader hears in the main window through Qt's accessibility interfaces, where the
// real bus does not reach: names beyond the calculator boxes, static texts and their lines, the
// rate table's corners and the tabs' action. (tests/qt/accessibility_bus/ hears every box's name
// and label, the results, the suggestion box's name and description, the rate table's heads and
// cells, the tabs' roles, names and selection and the radio buttons' actions on the real bus.)
#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleInterface>
#include <QWidget>
#include <string>
#include <vector>

#include "ui/control_ids.h"
#include "ui/main_template.h"
#include "ui/platform/qt/qt_platform.h"
#include "ui/platform/qt/qt_window.h"

namespace qup::ui {
namespace {

class NoHandler : public DialogHandler {
 public:
  void OnInitDialog(Window& /*window*/) override {}
  void OnCommand(int /*id*/, Notification /*code*/) override {}
  void OnTabSelChange(int id) override { tab_changes.push_back(id); }
  void OnSysCommand(unsigned /*command*/) override {}

  std::vector<int> tab_changes;
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

TEST_F(MainWindowAccessibility, EveryControlHasAName) {
  for (const ControlSpec& control_spec : kMainDialogTemplate.controls) {
    if (control_spec.kind == ControlKind::kTabControl) continue;  // its tabs are named
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

TEST_F(MainWindowAccessibility, AStaticTextPlacesEveryCharacterAndLineAsShown) {
  window_.SetText(kHelpText, "First line\nSecond line");
  window_.Show(kHelpText, true);
  window_.show();
  QAccessibleTextInterface* text = Accessible(kHelpText)->textInterface();
  ASSERT_NE(text, nullptr);
  // (Orca's flat review reads the characters where they are shown.)
  EXPECT_EQ(text->offsetAtPoint(text->characterRect(11).center()), 11);
  int start = -1;
  int end = -1;
  EXPECT_EQ(text->textAtOffset(3, QAccessible::LineBoundary, &start, &end).toStdString(),
            "First line\n");
  EXPECT_EQ(start, 0);
  EXPECT_EQ(text->textAfterOffset(3, QAccessible::LineBoundary, &start, &end).toStdString(),
            "Second line");
  EXPECT_EQ(text->textBeforeOffset(14, QAccessible::LineBoundary, &start, &end).toStdString(),
            "First line\n");
  EXPECT_TRUE(text->characterRect(99).isEmpty());
}

TEST_F(MainWindowAccessibility, ComboBoxesAreNamedByTheirLabelAndWhatTheyShow) {
  for (const char* entry : {"520 hours ( 3 months )", "1040 hours ( 6 months )"}) {
    window_.ComboAddString(kW2HoursCombo, entry);
  }
  window_.ComboSelectString(kW2HoursCombo, "1040");
  for (const char* entry : {"yearly", "monthly"}) window_.ComboAddString(kHealthPeriodCombo, entry);
  window_.ComboSetCurSel(kHealthPeriodCombo, 1);
  EXPECT_EQ(Accessible(kW2HoursCombo)->text(QAccessible::Value).toStdString(),
            "1040 hours ( 6 months )");
  EXPECT_EQ(Accessible(kHealthPeriodCombo)->text(QAccessible::Value).toStdString(), "monthly");
  // The entry shown is the list's selected one, where a screen reader reads the box's value.
  QAccessibleInterface* list = Accessible(kHealthPeriodCombo)->child(0);
  ASSERT_NE(list, nullptr);
  ASSERT_NE(list->tableInterface(), nullptr);
  const auto selected = list->tableInterface()->selectedCells();
  ASSERT_EQ(selected.size(), 1);
  EXPECT_EQ(selected.front()->text(QAccessible::Name).toStdString(), "monthly");
}

TEST_F(MainWindowAccessibility, TheRateTableIsATableUnderItsTwoHeads) {
  window_.SetText(kW2RateTable, "$45.00\t\t$93600.00\n$46.00\t\t$95680.00\n");
  QAccessibleInterface* table = Accessible(kW2RateTable);
  ASSERT_NE(table, nullptr);
  QAccessibleTableInterface* grid = table->tableInterface();
  ASSERT_NE(grid, nullptr);
  ASSERT_EQ(grid->rowCount(), 2);
  const auto heads = grid->cellAt(1, 1)->tableCellInterface()->columnHeaderCells();
  ASSERT_EQ(heads.size(), 1);
  EXPECT_EQ(heads.front()->text(QAccessible::Name).toStdString(), "Salary $");
  EXPECT_EQ(table->childCount(), 4);
  EXPECT_EQ(table->indexOfChild(grid->cellAt(1, 0)), 2);
  EXPECT_EQ(grid->cellAt(2, 0), nullptr);

  window_.SetText(kW2RateTable, "");
  EXPECT_EQ(grid->rowCount(), 0);
  // Read by its cells alone, not as text as well.
  EXPECT_EQ(table->textInterface(), nullptr);
}

TEST_F(MainWindowAccessibility, TheSelectedTabSaysSoAndATabsActionIsTheUsersChoice) {
  const char* const captions[] = {"Site", "Contract - W2", "Help"};
  for (int index = 0; index < 3; ++index) {
    window_.TabInsertItem(kTabControl, index, captions[index]);
  }
  window_.show();
  QAccessibleInterface* bar = Accessible(kTabControl);
  ASSERT_NE(bar, nullptr);
  ASSERT_EQ(bar->childCount(), 3);
  QAccessibleInterface* help = bar->child(2);
  EXPECT_EQ(bar->indexOfChild(help), 2);

  help->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
  EXPECT_EQ(window_.TabGetCurSel(kTabControl), 2);
  EXPECT_TRUE(help->state().selected);
  EXPECT_FALSE(bar->child(0)->state().selected);
  EXPECT_EQ(handler_.tab_changes, std::vector<int>{kTabControl});

  // A change by the program shows as well, and is not the user's.
  window_.TabSetCurSel(kTabControl, 1);
  EXPECT_TRUE(bar->child(1)->state().selected);
  EXPECT_EQ(handler_.tab_changes, std::vector<int>{kTabControl});
}

// A button, a label, the pictures and the Aims frame are named by what the user reads there.
TEST_F(MainWindowAccessibility, ControlsAreNamedByWhatTheUserReadsThere) {
  EXPECT_EQ(Name(kCalculate1099Button), "Calculate");
  EXPECT_EQ(Name(kRate1099Label), "Hourly Rate $:");
  EXPECT_EQ(Name(kAboutIcon), "Quorvane Utility icon");
  EXPECT_EQ(Name(kLogoPicture), "Logo");
  EXPECT_NE(Name(kAimsGroup).find("Aims of "), std::string::npos);
}

}  // namespace
}  // namespace qup::ui
