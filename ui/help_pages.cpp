// SPDX-License-Identifier: MIT
// The help page table and the Help page's "< Prev" / "Next >" stepping.
#include "ui/help_pages.h"

#include <algorithm>
#include <array>

#include "suggest/site_config.h"
#include "ui/control_ids.h"

namespace qup::ui {
namespace {

// Each page fits the Help page's text area, which does not scroll. Headings stand on a line of
// their own followed by a blank line; each paragraph is one line that the control wraps.

constexpr std::string_view kPage0Opening =
    "The Help section provides detailed information for each part of the application.\n"
    "Use the 'Next>' and '<Prev' buttons to navigate through each topic.\n"
    "\n"
    "TABS:\n"
    "\n";

// Follows the site's name in capitals, which heads the first tab's topic.
constexpr std::string_view kPage0Rest =
    "\n"
    "\n"
    "The first tab is our front door.  Click the logo to visit the site in your web browser.\n"
    "\n"
    "CONTRACT - W2:\n"
    "\n"
    "Whether you work on contract now or are thinking about it, this tab calculates how much "
    "money you can make on a W2 contract job.  Enter any two of the hourly rate, the hours and "
    "the contract salary, click 'Calculate', and the third is worked out for you along with the "
    "salaries of the neighboring rates.";

constexpr char AsciiUpper(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

constexpr auto kPage0 = [] {
  std::array<char, kPage0Opening.size() + SiteDisplayName.size() + kPage0Rest.size()> text{};
  auto out = std::copy(kPage0Opening.begin(), kPage0Opening.end(), text.begin());
  out = std::transform(SiteDisplayName.begin(), SiteDisplayName.end(), out, AsciiUpper);
  std::copy(kPage0Rest.begin(), kPage0Rest.end(), out);
  return text;
}();

constexpr std::array<std::string_view, kHelpPageCount> kHelpPages{
    std::string_view(kPage0.data(), kPage0.size()),

    "CONTRACT - W2 (continued):\n"
    "\n"
    "A contractor is normally not given benefits such as paid time off, health insurance or a "
    "retirement plan, so the hourly rate has to make up for that loss.  Benefits traditionally "
    "add 15-25% to a full-time employee's salary, so look for a rate that yields 15-25% more "
    "gross income than the salary you would take as an employee.\n"
    "\n"
    "A W2 contractor's taxes, social security and accrued income are normally handled by "
    "another organization, in most cases a placement agency or \"contract house\".  It puts you "
    "on its payroll and removes the deductions from each paycheck, much as an employer "
    "would.",

    "CONTRACT - W2 (continued):\n"
    "\n"
    "When you choose an agency, look at how many years it has been in business, how often it "
    "pays, which benefit options or assistance it offers, how flexible it is, and its overall "
    "demeanor toward you.  A good agency treats you as a client, not as a commodity.\n"
    "\n"
    "CONTRACT - 1099:\n"
    "\n"
    "The main advantage of 1099 contracting is complete control of your income.  You run a "
    "business of your own and invoice the employer like any other vendor; no one takes "
    "deductions out of what you are paid.  With a good accountant and careful records, a 1099 "
    "contractor can net more than a W2 contractor.",

    "CONTRACT - 1099 (continued):\n"
    "\n"
    "The main disadvantage is that you keep track of all your income and file and pay your own "
    "local and federal taxes and social security, including the half that an employer would "
    "otherwise pay.  Workers compensation, insurance and health coverage are yours to arrange "
    "as well.  You must find your own work, and many agencies do not work with 1099 "
    "contractors at all.\n"
    "\n"
    "Whether you may work as a 1099 contractor is a gray area of regulation.  The IRS has long "
    "summed it up in its \"20 Questions\", the factors it weighs to decide whether a worker is "
    "an independent contractor or an",

    "CONTRACT - 1099 (continued)\n"
    "\n"
    "employee.  The legal test behind them asks whether the business has the right to direct "
    "and control not only the result of the work but also the means and details of how it is "
    "done.  The questions look at behavioral control, financial control and the relationship "
    "of the parties.  These questions are:\n"
    "\n"
    "1)  Must you follow the client's instructions on when, where and how to work?\n"
    "2)  Does the client train you in its own methods?\n"
    "3)  Are your services a regular part of the client's business?\n"
    "4)  Must you do the work yourself?\n"
    "5)  Does the client hire, supervise and pay your assistants?\n"
    "6)  Do you work for the client in a continuing relationship?\n"
    "7)  Does the client set your hours of work?\n"
    "8)  Must you work full time for the client?",

    "CONTRACT - 1099 (continued)\n"
    "\n"
    "9)  Do you work on the client's premises?\n"
    "10)  Does the client set the order or sequence of your work?\n"
    "11)  Must you give the client regular oral or written reports?\n"
    "12)  Are you paid by the hour, week or month rather than by the job?\n"
    "13)  Does the client pay your business or travel expenses?\n"
    "14)  Does the client furnish your tools and materials?\n"
    "15)  Have you made a significant investment in your own facilities?\n"
    "16)  Can you make a profit or suffer a loss on the work?\n"
    "17)  Do you work for more than one firm at a time?\n"
    "18)  Do you offer your services to the general public?\n"
    "19)  Can the client discharge you at any time?\n"
    "20)  Can you quit at any time without owing the client anything?",

    "CONTRACT - 1099 (continued)\n"
    "\n"
    "The questions are ambiguous: some answers point toward an employee and others toward an "
    "independent contractor, and no single answer settles the matter.  Be sure that you "
    "qualify before you work as a 1099 contractor, since a worker later found to be an "
    "employee can leave both sides owing back taxes and penalties.  Look for further "
    "resources on the subject, and consult an accountant and an attorney about your own "
    "situation.\n"
    "\n"
    "HELP:\n"
    "\n"
    "You're here!  We hope it's helpful.",

    "SUGGESTIONS:\n"
    "\n"
    "Use the suggestion box to send us any thoughts you have: suggestions for the program, "
    "ideas for topics, praise or criticism.  Click 'View' to read what others have sent.\n"
    "\n"
    "PLEASE NOTE:  Kestrane does NOT send or receive any information other than what is typed "
    "in the suggestion box.\n"
    "\n"
    "ABOUT:\n"
    "\n"
    "The About tab tells why our site was formed and who took part in the program's "
    "development.  Maren Altweld conceived the program, Tobiah Quennell developed its first "
    "version, and Ilse Vardamont later expanded it into the utility you are using now.",
};

}  // namespace

std::string_view HelpPageText(int index) {
  if (index < 0 || index >= kHelpPageCount) return {};
  return kHelpPages[static_cast<std::size_t>(index)];
}

void HelpPager::Init(Window& window, std::string& help_text) { ShowPage(0, window, help_text); }

void HelpPager::OnHelpPrev(Window& window, std::string& help_text) {
  if (index_ > 0) ShowPage(index_ - 1, window, help_text);
}

void HelpPager::OnHelpNext(Window& window, std::string& help_text) {
  if (index_ < kHelpPageCount - 1) ShowPage(index_ + 1, window, help_text);
}

void HelpPager::ShowPage(int index, Window& window, std::string& help_text) {
  index_ = index;
  window.Enable(kHelpPrevButton, index_ > 0);
  window.Enable(kHelpNextButton, index_ < kHelpPageCount - 1);
  help_text = HelpPageText(index_);
  window.SetText(kHelpText, help_text);
}

}  // namespace qup::ui
