// SPDX-License-Identifier: MIT
// A dialog template in the Windows in-memory format (DLGTEMPLATEEX), built from the same control
// table the other windows read. Plain bytes, so that it builds and is tested anywhere.
#ifndef QUP_UI_PLATFORM_WIN32_WIN32_TEMPLATE_H
#define QUP_UI_PLATFORM_WIN32_WIN32_TEMPLATE_H

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ui/platform/dialog_template.h"

namespace qup::ui::win32 {

// Window and control styles, as Windows defines them.
inline constexpr std::uint32_t kWsChild = 0x40000000;
inline constexpr std::uint32_t kWsVisible = 0x10000000;
inline constexpr std::uint32_t kWsDisabled = 0x08000000;
inline constexpr std::uint32_t kWsClipSiblings = 0x04000000;
inline constexpr std::uint32_t kWsVScroll = 0x00200000;
inline constexpr std::uint32_t kWsBorder = 0x00800000;
inline constexpr std::uint32_t kWsGroup = 0x00020000;
inline constexpr std::uint32_t kWsTabStop = 0x00010000;
inline constexpr std::uint32_t kWsPopup = 0x80000000;
inline constexpr std::uint32_t kWsCaption = 0x00C00000;
inline constexpr std::uint32_t kWsSysMenu = 0x00080000;
inline constexpr std::uint32_t kWsMinimizeBox = 0x00020000;
inline constexpr std::uint32_t kWsMaximizeBox = 0x00010000;
inline constexpr std::uint32_t kWsExClientEdge = 0x00000200;
inline constexpr std::uint32_t kWsExAppWindow = 0x00040000;
inline constexpr std::uint32_t kDsModalFrame = 0x0080;
inline constexpr std::uint32_t kDsSetFont = 0x0040;
inline constexpr std::uint32_t kDsFixedSys = 0x0008;
inline constexpr std::uint32_t kDsShellFont = kDsSetFont | kDsFixedSys;
inline constexpr std::uint32_t kDsCenter = 0x0800;
inline constexpr std::uint32_t kSsLeft = 0x0000;
inline constexpr std::uint32_t kSsIcon = 0x0003;
inline constexpr std::uint32_t kSsBitmap = 0x000E;
inline constexpr std::uint32_t kSsNoPrefix = 0x0080;
inline constexpr std::uint32_t kBsPushButton = 0x0000;
inline constexpr std::uint32_t kBsDefPushButton = 0x0001;
inline constexpr std::uint32_t kBsAutoRadioButton = 0x0009;
inline constexpr std::uint32_t kBsGroupBox = 0x0007;
inline constexpr std::uint32_t kBsLeftText = 0x0020;
inline constexpr std::uint32_t kEsAutoHScroll = 0x0080;
inline constexpr std::uint32_t kEsMultiLine = 0x0004;
inline constexpr std::uint32_t kEsAutoVScroll = 0x0040;
inline constexpr std::uint32_t kEsWantReturn = 0x1000;
inline constexpr std::uint32_t kCbsDropDown = 0x0002;
inline constexpr std::uint32_t kCbsDropDownList = 0x0003;
inline constexpr std::uint32_t kCbsAutoHScroll = 0x0040;
inline constexpr std::uint32_t kTcsBottom = 0x0002;
inline constexpr std::uint32_t kTcsFocusNever = 0x8000;

// The predefined classes a template names by number, and the common controls' tab control.
inline constexpr std::uint16_t kButtonClass = 0x0080;
inline constexpr std::uint16_t kEditClass = 0x0081;
inline constexpr std::uint16_t kStaticClass = 0x0082;
inline constexpr std::uint16_t kComboBoxClass = 0x0085;
inline constexpr std::u16string_view kTabControlClass = u"SysTabControl32";

// The dialog font, set with DS_SETFONT: 8-point "MS Sans Serif", the bitmap face whose base units
// at 96 DPI are 6 by 13 pixels, the units the layout and the logo's hit area were made for. The
// control rectangles were laid out in it; the shell's dialog font (Tahoma) has the same units
// but sets text wider, so that some texts no longer fit their controls.
inline constexpr std::u16string_view kDialogFace = u"MS Sans Serif";
inline constexpr std::uint16_t kDialogPointSize = 8;

// One control as the template holds it.
struct ControlStyle {
  std::uint32_t style;
  std::uint32_t ex_style;
  std::uint16_t class_ordinal;     // 0 when the class is named
  std::u16string_view class_name;  // when the ordinal is 0
};
// The class and styles of the template's control at index.
ControlStyle StyleOf(const DialogTemplate& dialog, std::size_t index);

// The whole template, in DLGTEMPLATEEX layout, ready for DialogBoxIndirectParam. Texts are
// UTF-8 in the table and UTF-16 here.
// Neither frame has a minimise or maximise box. A window of its own (no owner) has a button of
// its own on the task bar; a box it owns, such as About, has none.
enum class Frame { kOwnWindow, kOwnedBox };
// A program's dialog leaves its tab pages' controls out, for the window to make as their pages
// first show (Win32Window); a test of the layout can have them all.
enum class PageControls { kInTemplate, kLeftOut };
std::vector<std::uint8_t> BuildDialogTemplate(const DialogTemplate& dialog, Frame frame,
                                              PageControls pages = PageControls::kInTemplate);

}  // namespace qup::ui::win32

#endif  // QUP_UI_PLATFORM_WIN32_WIN32_TEMPLATE_H
