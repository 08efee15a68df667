// SPDX-License-Identifier: MIT
// The driver's texts: escapes in the texts it reads, quoting of the texts it prints.
#ifndef QUP_APP_DRIVE_QUOTED_TEXT_H
#define QUP_APP_DRIVE_QUOTED_TEXT_H

#include <optional>
#include <string>
#include <string_view>

namespace qup::drive {

// The text between double quotes, with tab, line feed, carriage return, backslash and double
// quote written as \t, \n, \r, \\ and \".
std::string Quoted(std::string_view text);

// A text typed by a script: \n stands for the Enter key, \t for the Tab key, \\ for a
// backslash. Returns the keys' characters ('\n', '\t'), or nothing for any other escape.
std::optional<std::string> UnescapeKeys(std::string_view text);

}  // namespace qup::drive

#endif  // QUP_APP_DRIVE_QUOTED_TEXT_H
