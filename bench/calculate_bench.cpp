// SPDX-License-Identifier: MIT
// Times one Calculate on each calculator page, the whole road from the user's key to the
// results shown, on the in-memory platform.
#include <benchmark/benchmark.h>

#include <initializer_list>
#include <string_view>
#include <utility>

#include "settings/memory_registry.h"
#include "tests/support/offline_network.h"
#include "ui/control_ids.h"
#include "ui/main_dialog.h"
#include "ui/platform/memory/memory_platform.h"

namespace {

using namespace qup::ui;

// The main window, open and left open, on one page with its inputs typed in.
class OpenWindow {
 public:
  OpenWindow(int page, std::initializer_list<std::pair<int, std::string_view>> typed)
      : dialog_(platform_, registry_, network_) {
    platform_.QueueModalScript([](MemoryWindow&) {});
    dialog_.DoModal();
    window_ = platform_.windows().back().get();
    window_->PickTab(kTabControl, page);
    for (const auto& [id, text] : typed) window_->Retype(id, text);
  }

  MemoryWindow& window() { return *window_; }
  // A refused input shows a message box; a benchmark of that would time the wrong thing.
  bool Refused() const { return !platform_.message_boxes().empty(); }

 private:
  MemoryPlatform platform_{"qup"};
  qup::settings::MemoryRegistry registry_;
  qup::test_support::OfflineNetwork network_;
  MainDialog dialog_;
  MemoryWindow* window_ = nullptr;
};

void CalculateW2(benchmark::State& state) {
  OpenWindow open(kW2Page, {{kW2RateEdit, "50"}, {kW2HoursCombo, "2080"}});
  for ([[maybe_unused]] auto _ : state) {
    // Enter on the W2 page is Calculate; with all three boxes filled it works out the salary
    // again, so every round does the same work.
    open.window().PressEnter();
    benchmark::DoNotOptimize(open.window().GetText(kW2SalaryEdit));
  }
  if (open.Refused() || open.window().GetText(kW2SalaryEdit) != "$104000.00")
    state.SkipWithError("the W2 page did not calculate");
}
BENCHMARK(CalculateW2)->Unit(benchmark::kMicrosecond);

void Calculate1099(benchmark::State& state) {
  OpenWindow open(k1099Page, {{kRate1099Edit, "60"},
                              {kHours1099Combo, "2080"},
                              {kSocSec1099Edit, "15.3"},
                              {kStateTax1099Edit, "5"},
                              {kFedTax1099Edit, "28"},
                              {kWorkComp1099Edit, "1"},
                              {kInsurance1099Edit, "100"},
                              {kHealth1099Edit, "250"}});
  for ([[maybe_unused]] auto _ : state) {
    open.window().Click(kCalculate1099Button);
    benchmark::DoNotOptimize(open.window().GetText(kNet1099Text));
  }
  if (open.Refused() || open.window().GetText(kNet1099Text).empty())
    state.SkipWithError("the 1099 page did not calculate");
}
BENCHMARK(Calculate1099)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
