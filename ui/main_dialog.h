// SPDX-License-Identifier: MIT
// MainDialog: the main window's bound values, start-up, page switching and command routing.
#ifndef QUP_UI_MAIN_DIALOG_H
#define QUP_UI_MAIN_DIALOG_H

#include <string>

#include "calc/pay_calc.h"
#include "settings/registry.h"
#include "settings/settings_store.h"
#include "suggest/network.h"
#include "ui/calculator_pages.h"
#include "ui/help_pages.h"
#include "ui/platform/platform.h"
#include "ui/platform/window.h"

namespace qup::ui {

// The program's only window: six tab pages over one dialog. It routes every notification to
// the page that does the work and moves the values between its texts and the controls.
class MainDialog : public DialogHandler {
 public:
  MainDialog(Platform& platform, settings::Registry& registry, suggest::Network& network);

  // Runs the window modally, without an owner, until it ends; returns how it ended.
  int DoModal();

  // DialogHandler.
  void OnInitDialog(Window& window) override;
  void OnCommand(int id, Notification code) override;
  void OnTabSelChange(int id) override;
  void OnSysCommand(unsigned command) override;
  void OnLButtonDown(Point client_pixels) override;

  // Moves every bound value into its control (true) or from it (false).
  void UpdateData(bool to_controls);
  // Hides every page, then shows the page index (none for an index outside the six).
  void ShowPage(int index);

  // Command handlers, reached through the command table.
  void OnOK();
  void OnClear();
  void OnCancel();
  void OnCalculate1099();
  void OnClear1099();
  void OnWorkCompPercent();
  void OnWorkCompDollar();
  void OnInsurancePercent();
  void OnInsuranceDollar();
  void OnHealthPercent();
  void OnHealthDollar();
  void OnSetFocusSuggestion();
  void OnMaxTextSuggestion();
  void OnSend();
  void OnView();
  void OnHelpOk();
  void OnHelpPrev();
  void OnHelpNext();

 private:
  enum class Exchange { kText, kComboText };
  struct BoundValue {
    int id;
    std::string MainDialog::*value;
    Exchange exchange;
  };
  struct Command;
  static const BoundValue kBoundValues[];
  static const Command kCommands[];

  void DoDataExchange(bool to_controls);
  bool LogoHit(Point point) const;
  W2Texts w2_texts();
  Texts1099 texts_1099();
  settings::PageTexts saved_texts();

  Platform& platform_;
  settings::Registry& registry_;
  suggest::Network& network_;
  Window* window_ = nullptr;

  // W2 page.
  std::string rate_w2_;
  std::string salary_w2_;
  std::string hours_w2_;
  std::string rate_table_;

  // About page.
  std::string authors_;
  std::string copyright_;
  std::string version_;
  std::string disclaimer_;

  // 1099 page.
  std::string rate1099_;
  std::string hours1099_;
  std::string soc_sec1099_;
  std::string state_tax1099_;
  std::string fed_tax1099_;
  std::string work_comp1099_;
  std::string insurance1099_;
  std::string health1099_;
  std::string gross1099_;
  std::string taxes_other1099_;
  std::string net1099_;

  // Suggestions page.
  std::string suggestion_;

  // Help page.
  std::string help_text_;

  // The 1099 page's period boxes.
  std::string work_comp_period_;
  std::string insurance_period_;
  std::string health_period_;

  int large_icon_ = 0;
  int small_icon_ = 0;
  HelpPager help_;

  calc::PayCalc pay_calc_;
};

}  // namespace qup::ui

#endif  // QUP_UI_MAIN_DIALOG_H
