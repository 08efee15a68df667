// SPDX-License-Identifier: MIT
// The main window's and the About box's templates in the Windows in-memory format: read back
// field by field, they hold the tables' controls, texts, sizes and the native styles.
#include "ui/platform/win32/win32_template.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "text/utf.h"
#include "ui/about_dialog.h"
#include "ui/control_ids.h"
#include "ui/main_template.h"

namespace qup::ui::win32 {
namespace {

// An ordinal as the reader shows it: "#" and the number. Appended piece by piece: GCC 12 at -O3
// warns falsely (-Wrestrict) about "#" + std::to_string(...).
std::u16string Ordinal(unsigned number) {
  std::u16string text(1, u'#');
  for (const char digit : std::to_string(number)) text.push_back(static_cast<char16_t>(digit));
  return text;
}

// Reads a template the way the system does.
class Reader {
 public:
  explicit Reader(const std::vector<std::uint8_t>& bytes) : bytes_(bytes) {}
  std::uint16_t Word() {
    EXPECT_LE(at_ + 2, bytes_.size());
    const auto value = static_cast<std::uint16_t>(bytes_.at(at_) | (bytes_.at(at_ + 1) << 8));
    at_ += 2;
    return value;
  }
  std::uint32_t Dword() {
    const std::uint32_t low = Word();
    return low | (static_cast<std::uint32_t>(Word()) << 16);
  }
  int Short() { return static_cast<std::int16_t>(Word()); }
  std::uint8_t Byte() { return bytes_.at(at_++); }
  std::u16string Text() {
    std::u16string text;
    for (char16_t c = Word(); c != 0; c = Word()) text.push_back(c);
    return text;
  }
  // An ordinal (0xFFFF, number) as "#number", or a text.
  std::u16string TextOrOrdinal() {
    if (bytes_.at(at_) == 0xFF && bytes_.at(at_ + 1) == 0xFF) {
      Word();
      return Ordinal(Word());
    }
    return Text();
  }
  void AlignToDword() { at_ = (at_ + 3) & ~std::size_t{3}; }
  bool AtEnd() const { return at_ == bytes_.size(); }

 private:
  const std::vector<std::uint8_t>& bytes_;
  std::size_t at_ = 0;
};

struct ReadControl {
  std::uint32_t ex_style;
  std::uint32_t style;
  Rect rect;
  int id;
  std::u16string class_name;
  std::u16string text;
};

struct ReadDialog {
  std::uint32_t ex_style;
  std::uint32_t style;
  Rect rect;
  std::u16string title;
  std::uint16_t points;
  std::u16string face;
  std::vector<ReadControl> controls;
};

ReadDialog Read(const std::vector<std::uint8_t>& bytes) {
  Reader in(bytes);
  ReadDialog dialog;
  EXPECT_EQ(in.Word(), 1);
  EXPECT_EQ(in.Word(), 0xFFFF);
  EXPECT_EQ(in.Dword(), 0u);
  dialog.ex_style = in.Dword();
  dialog.style = in.Dword();
  const int count = in.Word();
  dialog.rect = {in.Short(), in.Short(), in.Short(), in.Short()};
  EXPECT_EQ(in.Word(), 0) << "no menu";
  EXPECT_EQ(in.Word(), 0) << "the dialog class";
  dialog.title = in.Text();
  dialog.points = in.Word();
  EXPECT_EQ(in.Word(), 400);
  EXPECT_EQ(in.Byte(), 0);
  EXPECT_EQ(in.Byte(), 1);
  dialog.face = in.Text();
  for (int i = 0; i < count; ++i) {
    in.AlignToDword();
    ReadControl control;
    EXPECT_EQ(in.Dword(), 0u);
    control.ex_style = in.Dword();
    control.style = in.Dword();
    control.rect = {in.Short(), in.Short(), in.Short(), in.Short()};
    control.id = static_cast<int>(in.Dword());
    control.class_name = in.TextOrOrdinal();
    control.text = in.TextOrOrdinal();
    EXPECT_EQ(in.Word(), 0) << "no creation data";
    dialog.controls.push_back(control);
  }
  EXPECT_TRUE(in.AtEnd());
  return dialog;
}

TEST(Win32Template, HoldsEveryControlOfTheTableInOrder) {
  for (const DialogTemplate* layout : {&kMainDialogTemplate, &kAboutTemplate}) {
    const ReadDialog dialog = Read(BuildDialogTemplate(*layout, Frame::kOwnWindow));
    EXPECT_EQ(dialog.title, text::Utf8ToUtf16(layout->title));
    EXPECT_EQ(dialog.rect.width, layout->width);
    EXPECT_EQ(dialog.rect.height, layout->height);
    EXPECT_EQ(dialog.points, 8);
    EXPECT_EQ(dialog.face, u"MS Sans Serif");
    // The face named, not the shell's dialog font in its place.
    EXPECT_EQ(dialog.style & (kWsCaption | kWsSysMenu | kDsShellFont | kDsModalFrame),
              kWsCaption | kWsSysMenu | kDsSetFont | kDsModalFrame);
    ASSERT_EQ(dialog.controls.size(), layout->controls.size());
    for (std::size_t i = 0; i < dialog.controls.size(); ++i) {
      const ControlSpec& layout_entry = layout->controls[i];
      const ReadControl& control = dialog.controls[i];
      SCOPED_TRACE(layout_entry.id);
      EXPECT_EQ(control.id, layout_entry.id);
      EXPECT_EQ(control.rect.x, layout_entry.rect.x);
      EXPECT_EQ(control.rect.y, layout_entry.rect.y);
      EXPECT_EQ(control.rect.width, layout_entry.rect.width);
      EXPECT_EQ(control.rect.height, layout_entry.rect.height);
      EXPECT_EQ(control.text, layout_entry.resource != kNoResource
                                  ? Ordinal(layout_entry.resource)
                                  : text::Utf8ToUtf16(layout_entry.caption));
      EXPECT_EQ(control.style & (kWsChild | kWsVisible), kWsChild | kWsVisible);
      EXPECT_EQ((control.style & kWsDisabled) != 0, (layout_entry.flags & kDisabled) != 0);
    }
  }
}

// The native class and styles of each kind of control in the main window.
// A caption with the window menu and its close button, no minimise or maximise box; only the
// window of its own has a button on the task bar, not the About box it owns.
TEST(Win32Template, FramesTheWindowAndItsBox) {
  const ReadDialog main = Read(BuildDialogTemplate(kMainDialogTemplate, Frame::kOwnWindow));
  const ReadDialog about = Read(BuildDialogTemplate(kAboutTemplate, Frame::kOwnedBox));
  for (const ReadDialog* dialog : {&main, &about}) {
    EXPECT_EQ(dialog->style & (kWsCaption | kWsSysMenu | kWsMinimizeBox | kWsMaximizeBox),
              kWsCaption | kWsSysMenu);
  }
  EXPECT_EQ(main.ex_style & kWsExAppWindow, kWsExAppWindow);
  EXPECT_EQ(about.ex_style & kWsExAppWindow, 0u);
}

TEST(Win32Template, GivesEachKindItsNativeClassAndStyle) {
  struct Row {
    int id;
    std::u16string class_name;
    std::uint32_t style;  // the bits that must be set
    std::uint32_t not_set;
  };
  const std::vector<Row> rows = {
      {kTabControl, u"SysTabControl32", kTcsBottom | kTcsFocusNever | kWsClipSiblings, kWsTabStop},
      {kW2RateEdit, u"#129", kEsAutoHScroll | kWsTabStop | kWsBorder, kEsMultiLine},
      {kSuggestionEdit, u"#129", kEsMultiLine | kEsWantReturn | kEsAutoVScroll | kWsTabStop, 0},
      {kW2HoursCombo, u"#133", kCbsDropDown | kWsTabStop, kCbsDropDownList & ~kCbsDropDown},
      {kWorkCompPeriodCombo, u"#133", kCbsDropDownList | kWsDisabled, 0},
      {kWorkCompPercentRadio, u"#128", kBsAutoRadioButton | kBsLeftText | kWsGroup | kWsTabStop, 0},
      {kWorkCompDollarRadio, u"#128", kBsAutoRadioButton | kBsLeftText, kWsGroup | kWsTabStop},
      {kTaxesGroup, u"#128", kBsGroupBox, kWsTabStop},
      {kW2CalculateButton, u"#128", kWsTabStop, kBsDefPushButton},
      {kW2RateLabel, u"#130", kSsLeft, kWsTabStop | kSsNoPrefix},
      {kVersionText, u"#130", kSsNoPrefix, kWsTabStop},
      {kLogoPicture, u"#130", kSsBitmap, kWsTabStop},
      {kAboutIcon, u"#130", kSsIcon, kWsTabStop},
  };
  const ReadDialog dialog = Read(BuildDialogTemplate(kMainDialogTemplate, Frame::kOwnWindow));
  for (const Row& row : rows) {
    SCOPED_TRACE(row.id);
    const auto found = std::find_if(dialog.controls.begin(), dialog.controls.end(),
                                    [&](const ReadControl& c) { return c.id == row.id; });
    ASSERT_NE(found, dialog.controls.end());
    EXPECT_EQ(found->class_name, row.class_name);
    EXPECT_EQ(found->style & row.style, row.style);
    EXPECT_EQ(found->style & row.not_set, 0u);
  }
}

}  // namespace
}  // namespace qup::ui::win32
