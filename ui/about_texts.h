// SPDX-License-Identifier: MIT
// The About texts: the program's string table (ids 101 to 105) and the three aims texts.
#ifndef QUP_UI_ABOUT_TEXTS_H
#define QUP_UI_ABOUT_TEXTS_H

#include <string>
#include <string_view>

#include "suggest/site_config.h"

namespace qup::ui {

inline constexpr int kAboutMenuString = 101;
inline constexpr int kAuthorsString = 102;
inline constexpr int kVersionString = 103;
inline constexpr int kCopyrightString = 104;
inline constexpr int kDisclaimerString = 105;

// The program's string table; an id it does not hold gives the empty text.
std::string LoadString(int id);

// The About tab's statement of the site's aims, in the three static texts 1057, 1058 and 1059.
inline constexpr std::string_view kAimsText1 = QUP_SITE_DISPLAY_NAME_LITERAL
    " was initiated with five things in mind:\n"
    "\n"
    "-- To return to the job seeker, power over the distribution of their resume.";
inline constexpr std::string_view kAimsText2 =
    "-- To introduce entertainment to the existing dreary job search process.\n"
    "\n"
    "-- To educate, promote, and critique technical recruiting agencies.";
inline constexpr std::string_view kAimsText3 =
    "-- To become the global information portal in the recruiting industry.\n"
    "\n"
    "-- To make a little change in the process.";

}  // namespace qup::ui

#endif  // QUP_UI_ABOUT_TEXTS_H
