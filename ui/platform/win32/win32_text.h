// SPDX-License-Identifier: MIT
// Where the logic's UTF-8 texts and the Windows API's wide texts meet.
#ifndef QUP_UI_PLATFORM_WIN32_WIN32_TEXT_H
#define QUP_UI_PLATFORM_WIN32_WIN32_TEXT_H

#include <windows.h>

#include <string>
#include <string_view>

namespace qup::ui::win32 {

std::wstring Wide(std::string_view utf8);
std::string Narrow(std::wstring_view wide);

// A window's whole text, as the window holds it.
std::wstring WindowText(HWND window);

}  // namespace qup::ui::win32

#endif  // QUP_UI_PLATFORM_WIN32_WIN32_TEXT_H
