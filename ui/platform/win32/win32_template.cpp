// SPDX-License-Identifier: MIT
// The DLGTEMPLATEEX bytes of a dialog: header, font, then each control on a 4-byte boundary.
#include "ui/platform/win32/win32_template.h"

#include <algorithm>

#include "text/utf.h"
#include "ui/platform/control_rules.h"

namespace qup::ui::win32 {

namespace {

class Writer {
 public:
  void Word(std::uint16_t value) {
    bytes_.push_back(static_cast<std::uint8_t>(value & 0xFF));
    bytes_.push_back(static_cast<std::uint8_t>(value >> 8));
  }
  void Dword(std::uint32_t value) {
    Word(static_cast<std::uint16_t>(value & 0xFFFF));
    Word(static_cast<std::uint16_t>(value >> 16));
  }
  void Short(int value) { Word(static_cast<std::uint16_t>(static_cast<std::int16_t>(value))); }
  void Byte(std::uint8_t value) { bytes_.push_back(value); }
  void Text(std::u16string_view text) {
    for (const char16_t c : text) Word(c);
    Word(0);
  }
  void Ordinal(std::uint16_t value) {
    Word(0xFFFF);
    Word(value);
  }
  void AlignToDword() {
    while (bytes_.size() % 4 != 0) bytes_.push_back(0);
  }
  std::vector<std::uint8_t> Take() { return std::move(bytes_); }

 private:
  std::vector<std::uint8_t> bytes_;
};

}  // namespace

ControlStyle StyleOf(const DialogTemplate& dialog, std::size_t index) {
  const ControlSpec& control = dialog.controls[index];
  ControlStyle result{kWsChild | kWsVisible, 0, 0, {}};
  std::uint32_t& style = result.style;
  switch (control.kind) {
    case ControlKind::kStatic:
      result.class_ordinal = kStaticClass;
      style |= kSsLeft | ((control.flags & kNoPrefix) != 0 ? kSsNoPrefix : 0);
      break;
    case ControlKind::kPicture:
      result.class_ordinal = kStaticClass;
      style |= kSsBitmap;
      break;
    case ControlKind::kIcon:
      result.class_ordinal = kStaticClass;
      style |= kSsIcon;
      break;
    case ControlKind::kGroupBox:
      result.class_ordinal = kButtonClass;
      style |= kBsGroupBox;
      break;
    case ControlKind::kEdit:
      result.class_ordinal = kEditClass;
      style |= kEsAutoHScroll | kWsBorder;
      result.ex_style = kWsExClientEdge;
      break;
    case ControlKind::kMultiLineEdit:
      result.class_ordinal = kEditClass;
      style |= kEsMultiLine | kEsWantReturn | kEsAutoVScroll | kWsVScroll | kWsBorder;
      result.ex_style = kWsExClientEdge;
      break;
    case ControlKind::kComboBox:
      result.class_ordinal = kComboBoxClass;
      style |= kCbsDropDown | kCbsAutoHScroll | kWsVScroll;
      break;
    case ControlKind::kDropList:
      result.class_ordinal = kComboBoxClass;
      style |= kCbsDropDownList | kWsVScroll;
      break;
    case ControlKind::kPushButton:
      result.class_ordinal = kButtonClass;
      style |= (control.flags & kDefaultButton) != 0 ? kBsDefPushButton : kBsPushButton;
      break;
    case ControlKind::kRadioButton:
      result.class_ordinal = kButtonClass;
      style |= kBsAutoRadioButton | ((control.flags & kTextLeft) != 0 ? kBsLeftText : 0);
      break;
    case ControlKind::kTabControl:
      result.class_name = kTabControlClass;
      // The tab control never takes the focus: pages are chosen with the mouse.
      style |= kTcsBottom | kTcsFocusNever | kWsClipSiblings;
      break;
  }
  // Tab stops and radio groups are the program's own rules; the dialog manager follows them
  // through WS_TABSTOP and WS_GROUP. Every control but a radio button that continues a group
  // starts a group of its own, so the arrow keys move only between the buttons of one group.
  // Tab reaches a radio group at one button: its first, until a check moves the stop (see
  // Win32Window::MoveRadioTabStop).
  if (IsTabStop(control) || StartsRadioGroup(dialog, index)) style |= kWsTabStop;
  if (control.kind != ControlKind::kRadioButton || StartsRadioGroup(dialog, index)) {
    style |= kWsGroup;
  }
  if ((control.flags & kDisabled) != 0) style |= kWsDisabled;
  return result;
}

std::vector<std::uint8_t> BuildDialogTemplate(const DialogTemplate& dialog, Frame frame,
                                              PageControls pages) {
  const auto in_template = [&](const ControlSpec& control) {
    return pages == PageControls::kInTemplate || control.page == kNoPage;
  };
  Writer out;
  out.Word(1);       // dlgVer
  out.Word(0xFFFF);  // signature: the extended template
  out.Dword(0);      // helpID
  // No minimise box: the window still goes out of the way with the desktop (Win+D), and its
  // task bar button brings it back.
  out.Dword(frame == Frame::kOwnWindow ? kWsExAppWindow : 0);  // exStyle
  out.Dword(kWsPopup | kWsCaption | kWsSysMenu | kDsModalFrame | kDsSetFont | kDsCenter);
  out.Word(static_cast<std::uint16_t>(
      std::count_if(dialog.controls.begin(), dialog.controls.end(), in_template)));
  out.Short(0);
  out.Short(0);
  out.Short(dialog.width);
  out.Short(dialog.height);
  out.Word(0);  // no menu
  out.Word(0);  // the dialog class
  out.Text(text::Utf8ToUtf16(dialog.title));
  out.Word(kDialogPointSize);
  out.Word(400);  // weight
  out.Byte(0);    // not italic
  out.Byte(1);    // DEFAULT_CHARSET
  out.Text(kDialogFace);

  for (std::size_t index = 0; index < dialog.controls.size(); ++index) {
    const ControlSpec& control = dialog.controls[index];
    if (!in_template(control)) continue;
    out.AlignToDword();
    const ControlStyle style = StyleOf(dialog, index);
    out.Dword(0);  // helpID
    out.Dword(style.ex_style);
    out.Dword(style.style);
    out.Short(control.rect.x);
    out.Short(control.rect.y);
    out.Short(control.rect.width);
    out.Short(control.rect.height);
    out.Dword(static_cast<std::uint32_t>(control.id));
    if (style.class_ordinal != 0) {
      out.Ordinal(style.class_ordinal);
    } else {
      out.Text(style.class_name);
    }
    if (control.resource != kNoResource) {
      out.Ordinal(static_cast<std::uint16_t>(control.resource));
    } else {
      out.Text(text::Utf8ToUtf16(control.caption));
    }
    out.Word(0);  // no creation data
  }
  return out.Take();
}

}  // namespace qup::ui::win32
