// SPDX-License-Identifier: MIT
// The pictures the window shows are the ones drawn in resources/, pixel for pixel, whatever
// form they are compiled in.
#include "ui/platform/qt/qt_resources.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QString>
#include <initializer_list>
#include <ostream>
#include <vector>

#include "ui/platform/dialog_template.h"

namespace qup::ui {
namespace {

struct PictureCase {
  const char* name;
  int resource;
  std::vector<const char*> drawings;  // resources/ files, the first the one a dialog shows
};

void PrintTo(const PictureCase& picture, std::ostream* out) { *out << picture.name; }

QImage Drawing(const char* file) {
  return QImage(QStringLiteral(QUP_RESOURCES_DIR "/") + QString::fromLatin1(file))
      .convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

class PictureTest : public ::testing::TestWithParam<PictureCase> {};

TEST_P(PictureTest, PictureIsTheDrawing) {
  const QImage drawn = Drawing(GetParam().drawings.front());
  ASSERT_FALSE(drawn.isNull());
  const QImage shown =
      ResourcePixmap(GetParam().resource).toImage().convertToFormat(drawn.format());
  EXPECT_EQ(shown.size(), drawn.size());
  EXPECT_TRUE(shown == drawn);
}

TEST_P(PictureTest, IconHoldsEverySizeDrawn) {
  const QIcon icon = ResourceIcon(GetParam().resource);
  for (const char* file : GetParam().drawings) {
    const QImage drawn = Drawing(file);
    ASSERT_FALSE(drawn.isNull()) << file;
    EXPECT_TRUE(icon.availableSizes().contains(drawn.size())) << file;
    EXPECT_TRUE(icon.pixmap(drawn.size()).toImage().convertToFormat(drawn.format()) == drawn)
        << file;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Resources, PictureTest,
    ::testing::Values(PictureCase{"large_icon",
                                  kLargeIcon,
                                  {"icon_large_32.png", "icon_large_48.png", "icon_large_64.png"}},
                      PictureCase{"small_icon", kSmallIcon, {"icon_small_16.png"}},
                      PictureCase{"logo", kLogoBitmap, {"logo.png"}}),
    [](const ::testing::TestParamInfo<PictureCase>& info) { return info.param.name; });

TEST(PictureTest, UnknownResourceIsEmpty) {
  EXPECT_TRUE(ResourcePixmap(-1).isNull());
  EXPECT_TRUE(ResourceIcon(-1).isNull());
}

}  // namespace
}  // namespace qup::ui
