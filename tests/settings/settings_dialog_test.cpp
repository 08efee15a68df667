// SPDX-License-Identifier: MIT
// The 1099 inputs kept between runs, played through the main window on the in-memory platform
// with the file store in a temporary folder: what the user does, and what the next start shows.
#include <gtest/gtest.h>

#include <functional>

#include "settings/file_registry.h"
#include "settings/reg_export.h"
#include "settings/settings_record.h"
#include "store_backend.h"
#include "tests/support/offline_network.h"
#include "ui/control_ids.h"
#include "ui/main_dialog.h"
#include "ui/platform/memory_platform.h"

namespace qup::settings::testing {
namespace {

using namespace qup::ui;

// One run of the program: a new process, the main window, and what the user does in it. The
// window stays readable after the run.
struct ProgramRun {
  MemoryPlatform platform;
  const MemoryWindow* window = nullptr;
};

class SettingsDialogTest : public ::testing::Test {
 protected:
  std::string FilePath() const { return folder_.path() + "/Kestrane/QU.reg"; }

  std::unique_ptr<ProgramRun> Run(const std::function<void(MemoryWindow&)>& user) {
    SettingsRecord::Instance().ResetToDefaults();
    auto run = std::make_unique<ProgramRun>();
    run->platform.QueueModalScript([&](MemoryWindow& window) {
      window.PickTab(kTabControl, k1099Page);
      user(window);
    });
    MainDialog dialog(run->platform, registry_, network_);
    dialog.DoModal();
    run->window = run->platform.windows().front().get();
    return run;
  }

  std::string Stored(std::string_view name) const {
    const RegExport key = RegExport::Parse(ReadWholeFile(FilePath()), kKeyName);
    const RegValue* value = key.Find(name);
    if (value == nullptr) return "<missing>";
    EXPECT_EQ(value->data.size(), 16u) << name;
    return std::string(value->data.begin(), std::find(value->data.begin(), value->data.end(), 0));
  }

  TempFolder folder_;
  FileRegistry registry_{FilePath()};
  test_support::OfflineNetwork network_;
};

TEST_F(SettingsDialogTest, FirstStartShowsDefaultsAndWritesThem) {
  const auto run = Run([](MemoryWindow&) {});
  const MemoryWindow& window = *run->window;
  for (std::size_t i = 0; i < kTextSlotCount; ++i) {
    EXPECT_EQ(window.GetText(kSlots[i].edit_id), "") << kSlots[i].value_name;
  }
  for (const RadioRow& row : kRadioRows) {
    EXPECT_EQ(window.GetCheck(row.percent_id), 1);
    EXPECT_EQ(window.GetCheck(row.dollar_id), 0);
    EXPECT_FALSE(window.IsEnabled(row.period_id));
  }
  EXPECT_EQ(Stored("Radios"), "101010");
  EXPECT_EQ(Stored("HourlyRate"), "");
}

TEST_F(SettingsDialogTest, DollarForWorkersCompThenCloseShowsAtTheNextStart) {
  Run([](MemoryWindow& window) {
    ASSERT_TRUE(window.Click(kWorkCompDollarRadio));
    ASSERT_TRUE(window.Close());
  });
  EXPECT_EQ(Stored("Radios"), "011010");
  const auto next = Run([](MemoryWindow&) {});
  EXPECT_EQ(next->window->GetCheck(kWorkCompDollarRadio), 1);
  EXPECT_TRUE(next->window->IsEnabled(kWorkCompPeriodCombo));
  EXPECT_FALSE(next->window->IsEnabled(kInsurancePeriodCombo));
}

TEST_F(SettingsDialogTest, TypedThenCalculatedIsSavedTypedAfterwardsIsNot) {
  Run([](MemoryWindow& window) {
    ASSERT_TRUE(window.Type(kFedTax1099Edit, "7.5"));
    ASSERT_TRUE(window.Click(kCalculate1099Button));
    ASSERT_TRUE(window.Close());
  });
  EXPECT_EQ(Stored("FedTax"), "7.5");
  Run([](MemoryWindow& window) {
    EXPECT_EQ(window.GetText(kFedTax1099Edit), "7.5");
    ASSERT_TRUE(window.Retype(kFedTax1099Edit, "8"));
    ASSERT_TRUE(window.Close());
  });
  EXPECT_EQ(Stored("FedTax"), "7.5");
}

TEST_F(SettingsDialogTest, SuccessfulCalculationSavesTheRateAsShown) {
  std::string shown;
  Run([&](MemoryWindow& window) {
    ASSERT_TRUE(window.Type(kRate1099Edit, "50"));
    ASSERT_TRUE(window.Pick(kHours1099Combo, 2));
    ASSERT_TRUE(window.Click(kCalculate1099Button));
    shown = window.GetText(kRate1099Edit);
    ASSERT_TRUE(window.Close());
  });
  EXPECT_FALSE(shown.empty());
  EXPECT_EQ(Stored("HourlyRate"), shown);
  EXPECT_EQ(Stored("SocSec"), "");
}

TEST_F(SettingsDialogTest, ClearThenCloseStoresEmptyTextsAndKeepsTheButtons) {
  Run([](MemoryWindow& window) {
    window.Type(kSocSec1099Edit, "6.2");
    window.Type(kInsurance1099Edit, "100");
    window.Click(kInsuranceDollarRadio);
    window.Click(kCalculate1099Button);
    window.Close();
  });
  EXPECT_EQ(Stored("Insur"), "100");
  Run([](MemoryWindow& window) {
    ASSERT_TRUE(window.Click(kClear1099Button));
    ASSERT_TRUE(window.Close());
  });
  for (std::size_t i = 0; i < kTextSlotCount; ++i) EXPECT_EQ(Stored(kSlots[i].value_name), "");
  EXPECT_EQ(Stored("Radios"), "100110");
}

TEST_F(SettingsDialogTest, EscapeLeavesTheFileUnchanged) {
  Run([](MemoryWindow&) {});
  const std::string before = ReadWholeFile(FilePath());
  Run([](MemoryWindow& window) {
    window.Type(kHealth1099Edit, "250");
    window.Click(kHealthDollarRadio);
    window.Click(kCalculate1099Button);
    ASSERT_TRUE(window.PressEsc());
    EXPECT_TRUE(window.Ended());
  });
  EXPECT_EQ(ReadWholeFile(FilePath()), before);
}

TEST_F(SettingsDialogTest, UnusableStoreIsReportedWithoutOwnerAndCloseSaysNothing) {
  WriteWholeFile(folder_.path() + "/blocker", "");
  registry_ = FileRegistry(folder_.path() + "/blocker/Kestrane/QU.reg");
  const auto run = Run([](MemoryWindow& window) {
    window.Type(kRate1099Edit, "45");
    window.Click(kCalculate1099Button);
    ASSERT_TRUE(window.Close());
  });
  const auto& boxes = run->platform.message_boxes();
  ASSERT_FALSE(boxes.empty());
  EXPECT_EQ(boxes.front().text, "Cannot create QU key");
  EXPECT_EQ(boxes.front().caption, "Reg Error");
  EXPECT_EQ(boxes.front().type, kMbOk);
  EXPECT_FALSE(boxes.front().owned);
  EXPECT_EQ(std::count_if(boxes.begin(), boxes.end(),
                          [](const auto& box) { return box.caption == "Reg Error"; }),
            1);
  EXPECT_TRUE(run->window->Ended());
}

}  // namespace
}  // namespace qup::settings::testing
