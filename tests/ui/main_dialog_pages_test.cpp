// SPDX-License-Identifier: MIT
// The main window as the user meets it: start-up, tab pages, focus, Enter and Esc, the logo
// link, Close, and the About box.
#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

#include "suggest/site_config.h"
#include "tests/support/main_dialog_fixture.h"
#include "ui/control_ids.h"
#include "ui/main_template.h"

namespace qup::ui {
namespace {

using test_support::Differences;
using test_support::MainDialogFixture;
using test_support::Snapshot;

const std::vector<std::string> kHoursEntries = {"520 hours ( 3 months )", "1040 hours ( 6 months )",
                                                "2080 hours ( 12 months )"};

// The page a control stands on, as the window's template places it.
int PageOf(const MemoryWindow& window, int id) {
  for (const ControlSpec& spec : window.dialog().controls) {
    if (spec.id == id) return spec.page;
  }
  return kNoPage;
}

// Every control of page, and nothing of any other page, is visible.
::testing::AssertionResult ShowsOnlyPage(const MemoryWindow& window, int page) {
  for (const ControlSpec& spec : window.dialog().controls) {
    const bool expected = spec.page == page || spec.page == kNoPage;
    if (window.IsVisible(spec.id) != expected) {
      return ::testing::AssertionFailure()
             << "control " << spec.id << " of page " << spec.page << " is "
             << (expected ? "hidden" : "visible") << " on page " << page;
    }
  }
  return ::testing::AssertionSuccess();
}

class MainWindowTest : public MainDialogFixture {
 protected:
  void SetUp() override { Open(); }
};

TEST_F(MainWindowTest, OpensOnTheSitePageWithItsSixTabs) {
  EXPECT_EQ(window().Title(), "Quorvane Utility Program (QUP)");
  EXPECT_EQ(window().TabCaptions(kTabControl),
            (std::vector<std::string>{std::string(SiteDisplayName), "Contract - W2",
                                      "Contract - 1099", "Help", "Suggestions", "About"}));
  EXPECT_EQ(window().TabGetCurSel(kTabControl), kSitePage);
  EXPECT_EQ(window().VisibleControls(),
            (std::vector<int>{kLogoPicture, kLogoHintText, kTabControl}));
  EXPECT_EQ(Text(kLogoHintText),
            "(Please click our logo to go to " + std::string(SiteDisplayName) + ")");
  EXPECT_EQ(window().LargeIcon(), kLargeIcon);
  EXPECT_EQ(window().SmallIcon(), kSmallIcon);
  EXPECT_TRUE(MessageBoxes().empty());
}

TEST_F(MainWindowTest, W2PageStartsEmptyWithAZeroRow) {
  ShowTab(kW2Page);
  EXPECT_EQ(Text(kW2RateEdit), "");
  EXPECT_EQ(Text(kW2SalaryEdit), "");
  EXPECT_EQ(Text(kW2HoursCombo), "");
  EXPECT_EQ(window().ComboGetCurSel(kW2HoursCombo), kComboError);
  EXPECT_EQ(window().ComboEntries(kW2HoursCombo), kHoursEntries);
  EXPECT_EQ(Text(kW2RateTable), "$0.00\t\t$0.00");
}

TEST_F(MainWindowTest, Page1099StartsWithZeroResultsAndYearlyPeriods) {
  ShowTab(k1099Page);
  for (int result : {kGross1099Text, kTaxesOther1099Text, kNet1099Text}) {
    EXPECT_EQ(Text(result), "$0.00") << result;
  }
  EXPECT_EQ(Text(kHours1099Combo), "");
  EXPECT_EQ(window().ComboGetCurSel(kHours1099Combo), kComboError);
  EXPECT_EQ(window().ComboEntries(kHours1099Combo), kHoursEntries);
  const std::vector<std::pair<int, int>> rows = {{kWorkCompPeriodCombo, kWorkCompDollarRadio},
                                                 {kInsurancePeriodCombo, kInsuranceDollarRadio},
                                                 {kHealthPeriodCombo, kHealthDollarRadio}};
  for (const auto& [period, dollar] : rows) {
    EXPECT_EQ(window().ComboEntries(period), (std::vector<std::string>{"yearly", "monthly"}));
    EXPECT_EQ(Text(period), "yearly");
    EXPECT_EQ(window().IsEnabled(period), window().GetCheck(dollar) == 1) << period;
  }
}

TEST_F(MainWindowTest, FirstRunHasEmpty1099InputsAndPercentRows) {
  for (int box : {kRate1099Edit, kSocSec1099Edit, kStateTax1099Edit, kFedTax1099Edit,
                  kWorkComp1099Edit, kInsurance1099Edit, kHealth1099Edit}) {
    EXPECT_EQ(Text(box), "") << box;
  }
  for (int percent : {kWorkCompPercentRadio, kInsurancePercentRadio, kHealthPercentRadio}) {
    EXPECT_EQ(window().GetCheck(percent), 1) << percent;
  }
  for (int period : {kWorkCompPeriodCombo, kInsurancePeriodCombo, kHealthPeriodCombo}) {
    EXPECT_FALSE(window().IsEnabled(period)) << period;
  }
}

TEST_F(MainWindowTest, SuggestionBoxTakesAThousandCharacters) {
  ShowTab(kSuggestionsPage);
  window().Retype(kSuggestionEdit, std::string(1005, 'x'));
  EXPECT_EQ(Text(kSuggestionEdit).size(), 1000u);
}

TEST_F(MainWindowTest, EachTabChangeShowsExactlyOnePageAndFocusesItsFirstBox) {
  for (int page : {1, 2, 3, 4, 5, 0, 2, 5, 1, 4, 3, 0, 1}) {
    ShowTab(page);
    EXPECT_TRUE(ShowsOnlyPage(window(), page));
    const int focus = window().FocusedControl();
    if (page == kW2Page) {
      EXPECT_EQ(focus, kW2RateEdit);
    } else if (page == k1099Page) {
      EXPECT_EQ(focus, kRate1099Edit);
    } else {
      EXPECT_TRUE(focus == 0 || PageOf(window(), focus) == kNoPage) << focus;
    }
  }
}

TEST_F(MainWindowTest, PagesKeepTheirStateWhileHidden) {
  ShowTab(kW2Page);
  window().Type(kW2RateEdit, "50");
  window().Type(kW2HoursCombo, "10");
  ShowTab(k1099Page);
  window().Type(kRate1099Edit, "33");
  window().Click(kHealthDollarRadio);
  window().Pick(kHealthPeriodCombo, 1);
  window().Click(kInsurancePercentRadio);
  ShowTab(kSuggestionsPage);
  const auto before = Snapshot(window());

  for (int page : {kW2Page, kHelpPage, k1099Page, kAboutPage, kSitePage, kSuggestionsPage}) {
    ShowTab(page);
  }

  EXPECT_EQ(Differences(before, Snapshot(window())), "");
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

TEST_F(MainWindowTest, EnterInTheSuggestionBoxBreaksTheLine) {
  ShowTab(kSuggestionsPage);
  window().Type(kSuggestionEdit, "first");
  const std::string typed = Text(kSuggestionEdit);

  window().PressEnter();

  EXPECT_EQ(Text(kSuggestionEdit), typed + "\r\n");
  EXPECT_FALSE(window().Ended());
}

TEST_F(MainWindowTest, HelpOkReturnsToTheSitePageAndKeepsTheHelpPage) {
  ShowTab(kHelpPage);
  window().Click(kHelpNextButton);
  const std::string help_page = Text(kHelpText);

  window().Click(kHelpOkButton);

  EXPECT_EQ(window().TabGetCurSel(kTabControl), kSitePage);
  EXPECT_TRUE(ShowsOnlyPage(window(), kSitePage));
  ShowTab(kHelpPage);
  EXPECT_EQ(Text(kHelpText), help_page);
}

struct LogoCase {
  const char* name;
  Point point;
  bool opens;
};

void PrintTo(const LogoCase& c, std::ostream* os) { *os << c.name; }

class LogoLinkTest : public MainDialogFixture, public ::testing::WithParamInterface<LogoCase> {};

TEST_P(LogoLinkTest, OpensTheHomePageOnlyInsideTheBounds) {
  Open();
  window().PressMouse(GetParam().point);
  EXPECT_EQ(platform_.opened_urls(), GetParam().opens
                                         ? std::vector<std::string>{std::string(HomePageUrl)}
                                         : std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(Points, LogoLinkTest,
                         ::testing::Values(LogoCase{"LeftBoundMisses", {104, 100}, false},
                                           LogoCase{"JustRightOfTheLeftBound", {105, 100}, true},
                                           LogoCase{"RightBoundMisses", {406, 100}, false},
                                           LogoCase{"JustLeftOfTheRightBound", {405, 100}, true},
                                           LogoCase{"TopBoundMisses", {200, 40}, false},
                                           LogoCase{"JustBelowTheTopBound", {200, 41}, true},
                                           LogoCase{"BottomBoundMisses", {200, 234}, false},
                                           LogoCase{"JustAboveTheBottomBound", {200, 233}, true},
                                           LogoCase{"HintLineMisses", {200, 240}, false}),
                         [](const auto& info) { return info.param.name; });

TEST_F(MainWindowTest, LogoOpensNothingOnOtherPages) {
  for (int page : {kW2Page, k1099Page, kHelpPage, kSuggestionsPage, kAboutPage}) {
    ShowTab(page);
    window().PressMouse({200, 200});
    window().PressMouse({110, 45});
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

TEST_F(MainWindowTest, EscEndsAtOnceAndSavesNothing) {
  ShowTab(k1099Page);
  window().Retype(kRate1099Edit, "45");
  window().PressEnter();
  const int writes = registry_.writes();

  window().PressEsc();

  EXPECT_TRUE(window().Ended());
  EXPECT_EQ(window().Result(), kIdCancel);
  EXPECT_EQ(registry_.writes(), writes);
  Open();
  EXPECT_EQ(Text(kRate1099Edit), "");
}

TEST_F(MainWindowTest, CloseSavesThe1099InputsAsTheLastExchangeReadThem) {
  ShowTab(k1099Page);
  window().Retype(kRate1099Edit, "45");
  window().Retype(kFedTax1099Edit, "28");
  window().Click(kInsuranceDollarRadio);
  window().PressEnter();  // refused for want of hours, but it read the boxes
  window().Retype(kRate1099Edit, "99");

  window().Close();

  EXPECT_TRUE(window().Ended());
  EXPECT_EQ(window().Result(), kIdCancel);
  Open();
  EXPECT_EQ(Text(kRate1099Edit), "45");
  EXPECT_EQ(Text(kFedTax1099Edit), "28");
  EXPECT_EQ(window().GetCheck(kInsuranceDollarRadio), 1);
  EXPECT_TRUE(window().IsEnabled(kInsurancePeriodCombo));
  EXPECT_FALSE(window().IsEnabled(kHealthPeriodCombo));
}

TEST_F(MainWindowTest, AboutBoxOpensFromTheWindowMenuOverABlockedWindow) {
  const auto& menu = window().SystemMenu();
  ASSERT_GE(menu.size(), 2u);
  EXPECT_EQ(menu[menu.size() - 2].command, 0u);
  EXPECT_EQ(menu.back().text, "&About Quorvane Utility...");
  EXPECT_EQ(std::count_if(menu.begin(), menu.end(),
                          [](const auto& item) { return item.command == kAboutCommand; }),
            1);

  std::string about_title;
  bool main_window_took_input = true;
  platform_.QueueModalScript([&](MemoryWindow& about) {
    about_title = about.Title();
    main_window_took_input = window().PickTab(kTabControl, kW2Page) || window().PressEsc();
    about.PressEsc();
  });
  const auto before = Snapshot(window());

  EXPECT_TRUE(window().ChooseSystemMenuItem(kAboutCommand));

  EXPECT_EQ(about_title, "About Quorvane Utility Program");
  EXPECT_FALSE(main_window_took_input);
  EXPECT_FALSE(window().Blocked());
  EXPECT_FALSE(window().Ended());
  EXPECT_EQ(Differences(before, Snapshot(window())), "");
}

}  // namespace
}  // namespace qup::ui
