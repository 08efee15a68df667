// SPDX-License-Identifier: MIT
// The main window as the user meets it: start-up, tab pages and focus, Enter on the pages
// without a calculator, and the logo link.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "suggest/site_config.h"
#include "tests/support/main_dialog_fixture.h"

namespace qup::ui {
namespace {

using test_support::Differences;
using test_support::MainDialogFixture;
using test_support::Snapshot;

class MainWindowTest : public MainDialogFixture {
 protected:
  void SetUp() override { Open(); }
};

TEST_F(MainWindowTest, StartsOnTheSitePageWithEmptyCalculators) {
  EXPECT_EQ(window().Title(), "Quorvane Utility Program (QUP)");
  EXPECT_EQ(window().TabGetCurSel(kTabControl), kSitePage);
  EXPECT_EQ(window().VisibleControls(),
            (std::vector<int>{kLogoPicture, kLogoHintText, kTabControl}));
  EXPECT_TRUE(MessageBoxes().empty());

  ShowTab(kW2Page);
  for (int box : {kW2RateEdit, kW2SalaryEdit, kW2HoursCombo}) EXPECT_EQ(Text(box), "") << box;
  EXPECT_EQ(window().ComboGetCurSel(kW2HoursCombo), kComboError);
  EXPECT_EQ(Text(kW2RateTable), "$0.00\t\t$0.00");

  ShowTab(k1099Page);
  for (int box : {kRate1099Edit, kHours1099Combo, kSocSec1099Edit, kStateTax1099Edit,
                  kFedTax1099Edit, kWorkComp1099Edit, kInsurance1099Edit, kHealth1099Edit}) {
    EXPECT_EQ(Text(box), "") << box;
  }
  EXPECT_EQ(window().ComboGetCurSel(kHours1099Combo), kComboError);
  for (int result : {kGross1099Text, kTaxesOther1099Text, kNet1099Text}) {
    EXPECT_EQ(Text(result), "$0.00") << result;
  }
  for (int percent : {kWorkCompPercentRadio, kInsurancePercentRadio, kHealthPercentRadio}) {
    EXPECT_EQ(window().GetCheck(percent), 1) << percent;
  }
  for (int period : {kWorkCompPeriodCombo, kInsurancePeriodCombo, kHealthPeriodCombo}) {
    EXPECT_EQ(Text(period), "yearly") << period;
    EXPECT_FALSE(window().IsEnabled(period)) << period;
  }
}

// Every control of the page, and nothing of any other page, is visible; a calculator page puts
// the focus in its rate box, any other page leaves it on no control of a page.
TEST_F(MainWindowTest, EachTabChangeShowsExactlyOnePageAndFocusesItsFirstBox) {
  for (int page : {1, 2, 3, 4, 5, 0, 2, 5, 1, 4, 3, 0, 1}) {
    ShowTab(page);
    int focus_page = kNoPage;
    for (const ControlSpec& control_spec : window().dialog().controls) {
      EXPECT_EQ(window().IsVisible(control_spec.id),
                control_spec.page == page || control_spec.page == kNoPage)
          << "control " << control_spec.id << " on page " << page;
      if (control_spec.id == window().FocusedControl()) focus_page = control_spec.page;
    }
    if (page == kW2Page || page == k1099Page) {
      EXPECT_EQ(window().FocusedControl(), page == kW2Page ? kW2RateEdit : kRate1099Edit);
    } else {
      EXPECT_EQ(focus_page, kNoPage) << "page " << page;
    }
  }
}

class EnterOnPageTest : public MainDialogFixture, public ::testing::WithParamInterface<int> {};

// Texts that a Calculate or Clear would change wait on both calculator pages.
TEST_P(EnterOnPageTest, ChangesNothingVisible) {
  Open();
  ShowTab(kW2Page);
  window().Type(kW2RateEdit, "50");
  window().Type(kW2HoursCombo, "2080");
  ShowTab(k1099Page);
  window().Type(kRate1099Edit, "50");
  window().Type(kHours1099Combo, "5");
  ShowTab(GetParam());
  const auto before = Snapshot(window());

  window().PressEnter();

  EXPECT_EQ(Differences(before, Snapshot(window())), "");
  EXPECT_TRUE(MessageBoxes().empty());
  EXPECT_TRUE(platform_.opened_urls().empty());
  EXPECT_FALSE(window().Ended());
}

std::string PageName(const ::testing::TestParamInfo<int>& info) {
  constexpr const char* kNames[] = {"Site", "W2", "1099", "Help", "Suggestions", "About"};
  return kNames[info.param];
}

INSTANTIATE_TEST_SUITE_P(Pages, EnterOnPageTest,
                         ::testing::Values(kSitePage, kHelpPage, kAboutPage), PageName);

struct LogoCase {
  const char* name;
  Point point;
  bool opens;
};

void PrintTo(const LogoCase& c, std::ostream* os) { *os << c.name; }

class LogoLinkTest : public MainDialogFixture, public ::testing::WithParamInterface<LogoCase> {};

// The bounds themselves miss.
TEST_P(LogoLinkTest, OpensTheHomePageOnlyInsideTheBounds) {
  Open();
  window().PressMouse(GetParam().point);
  EXPECT_EQ(platform_.opened_urls(), GetParam().opens
                                         ? std::vector<std::string>{std::string(HomePageUrl)}
                                         : std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(Points, LogoLinkTest,
                         ::testing::Values(LogoCase{"LeftBound", {104, 100}, false},
                                           LogoCase{"JustRightOfTheLeftBound", {105, 100}, true},
                                           LogoCase{"RightBound", {406, 100}, false},
                                           LogoCase{"JustLeftOfTheRightBound", {405, 100}, true},
                                           LogoCase{"TopBound", {200, 40}, false},
                                           LogoCase{"JustBelowTheTopBound", {200, 41}, true},
                                           LogoCase{"BottomBound", {200, 234}, false},
                                           LogoCase{"JustAboveTheBottomBound", {200, 233}, true}),
                         [](const auto& info) { return info.param.name; });

TEST_F(MainWindowTest, LogoOpensNothingOnOtherPages) {
  for (int page : {kW2Page, k1099Page, kHelpPage, kSuggestionsPage, kAboutPage}) {
    ShowTab(page);
    window().PressMouse({200, 200});
  }
  EXPECT_TRUE(platform_.opened_urls().empty());
}

TEST_F(MainWindowTest, LogoFollowsItsRectangleAtOtherBaseUnits) {
  // At 8 × 16 pixels the logo spans x 140 to 538 and y 52 to 288.
  window().SetBaseUnits(8, 16);
  window().PressMouse({120, 100});
  EXPECT_TRUE(platform_.opened_urls().empty());
  window().PressMouse({500, 280});
  EXPECT_EQ(platform_.opened_urls().size(), 1u);
}

}  // namespace
}  // namespace qup::ui
