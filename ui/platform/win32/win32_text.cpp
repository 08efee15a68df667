// SPDX-License-Identifier: MIT
// Where the logic's UTF-8 texts and the Windows API's wide texts meet.
#include "ui/platform/win32/win32_text.h"

#include "text/utf.h"

namespace qup::ui::win32 {

// wchar_t is 16 bits on Windows: a wide text is UTF-16.
std::wstring Wide(std::string_view utf8) {
  const std::u16string wide = text::Utf8ToUtf16(utf8);
  return {wide.begin(), wide.end()};
}

std::string Narrow(std::wstring_view wide) {
  return text::Utf16ToUtf8(std::u16string(wide.begin(), wide.end()));
}

std::wstring WindowText(HWND window) {
  std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
  const int length = ::GetWindowTextW(window, text.data(), static_cast<int>(text.size()));
  text.resize(static_cast<std::size_t>(length > 0 ? length : 0));
  return text;
}

}  // namespace qup::ui::win32
