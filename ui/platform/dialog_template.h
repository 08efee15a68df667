// SPDX-License-Identifier: MIT
// A dialog template: the window's title and size and its controls, laid out in dialog units.
#ifndef QUP_UI_PLATFORM_DIALOG_TEMPLATE_H
#define QUP_UI_PLATFORM_DIALOG_TEMPLATE_H

#include <span>
#include <string_view>

namespace qup::ui {

// Positions and sizes in dialog units: a horizontal unit is a quarter of the dialog font's
// average character width, a vertical unit an eighth of its height.
struct Rect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

struct Point {
  int x = 0;
  int y = 0;
};

enum class ControlKind {
  kStatic,         // text; expands tabs into columns and breaks lines at line feeds
  kPicture,        // a bitmap resource
  kIcon,           // an icon resource
  kGroupBox,       // a frame with an optional caption
  kEdit,           // single-line edit
  kMultiLineEdit,  // multi-line edit: Enter inserts a line break, a line break counts as two
  kComboBox,       // editable drop-down; typed text is never added to its list
  kDropList,       // drop-down that offers only its list entries
  kPushButton,
  kRadioButton,
  kTabControl,  // tabs along its bottom edge
};

// Flags of a control, as they stand in the template.
enum ControlFlags : unsigned {
  kNoFlags = 0,
  kDisabled = 1u << 0,       // disabled when created
  kGroupStart = 1u << 1,     // first radio button of an exclusive group
  kTextLeft = 1u << 2,       // a radio button's text stands left of the button
  kNoPrefix = 1u << 3,       // a static text shows '&' as it is
  kDefaultButton = 1u << 4,  // the push button that Enter presses
  kNoTabStop = 1u << 5,      // an edit, combo box or push button that Tab passes over
};

// Resources that pictures and icons name.
enum ResourceId : int {
  kNoResource = 0,
  kLargeIcon = 128,
  kSmallIcon = 135,
  kLogoBitmap = 131,
  kLogoBitmapLarge = 132,  // the logo drawn twice as large, for dialogs drawn larger
};

inline constexpr int kNoPage = -1;  // controls shown on every page (the tab control)

struct ControlSpec {
  int id;
  ControlKind kind;
  std::string_view caption;  // initial text; for pictures and icons empty
  Rect rect;                 // dialog units
  int page;                  // tab page index, or kNoPage
  unsigned flags = kNoFlags;
  int resource = kNoResource;  // pictures and icons
};

// How a control's label stands to it for a screen reader. The label is always the control's
// labelled-by relation.
enum class LabelUse {
  kNamePrefix,    // the name is the label's caption, then text; a static text's value follows
  kRelationOnly,  // the name is text alone
  kColumnHeads,   // the name is text alone, and the control is read as a table: a row a line,
                  // its columns headed by the label's tab-separated parts
  kDescription,   // the name is text alone; the label's words describe the control
};

// The name a screen reader gives a control: the caption of its label, then text; or text alone
// when label is kNoLabel or use says so.
inline constexpr int kNoLabel = 0;
struct AccessibleName {
  int id;
  int label;
  std::string_view text;
  LabelUse use = LabelUse::kNamePrefix;
};

struct DialogTemplate {
  int id;
  std::string_view title;
  int width;                              // client area, dialog units
  int height;                             // client area, dialog units
  std::span<const ControlSpec> controls;  // in creation and Tab order
  // Controls not named here, static texts and buttons, are known by their own text.
  std::span<const AccessibleName> accessible_names = {};
};

// The template's control with this id, or null when it holds none.
constexpr const ControlSpec* FindControl(const DialogTemplate& dialog, int id) {
  for (const ControlSpec& control : dialog.controls) {
    if (control.id == id) return &control;
  }
  return nullptr;
}

}  // namespace qup::ui

#endif  // QUP_UI_PLATFORM_DIALOG_TEMPLATE_H
