// SPDX-License-Identifier: MIT
// The driver's screenshots: a PNG file that a real reader (Qt's, on libpng, which checks every
// chunk's CRC and the zlib stream's own checks) takes whole, with the pixels it was given.
#include "app/drive/png_file.h"

#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace qup::drive {
namespace {

class PngFileTest : public ::testing::TestWithParam<std::pair<int, int>> {};

TEST_P(PngFileTest, ReadsBackAsThePixelsItWasGiven) {
  const auto [width, height] = GetParam();
  const auto row_size = static_cast<std::size_t>(width) * 3;
  std::vector<std::uint8_t> rgb(row_size * static_cast<std::size_t>(height));
  for (std::size_t i = 0; i < rgb.size(); ++i) rgb[i] = static_cast<std::uint8_t>(i * 7 + i / 251);

  const std::vector<std::uint8_t> png = EncodePng(width, height, rgb);
  QImage image;
  ASSERT_TRUE(image.loadFromData(png.data(), static_cast<int>(png.size()), "PNG"));
  EXPECT_EQ(image.format(), QImage::Format_RGB32);  // no alpha channel
  ASSERT_EQ(image.size(), QSize(width, height));
  image.convertTo(QImage::Format_RGB888);
  for (int y = 0; y < height; ++y) {
    const auto row =
        rgb.begin() + static_cast<std::ptrdiff_t>(row_size * static_cast<std::size_t>(y));
    EXPECT_TRUE(
        std::equal(row, row + static_cast<std::ptrdiff_t>(row_size), image.constScanLine(y)))
        << "row " << y;
  }
}

// One pixel; a window's size, whose pixels need several stored blocks of at most 65535 bytes.
INSTANTIATE_TEST_SUITE_P(Sizes, PngFileTest,
                         ::testing::Values(std::pair{1, 1}, std::pair{516, 321}),
                         [](const auto& info) {
                           return std::to_string(info.param.first) + "x" +
                                  std::to_string(info.param.second);
                         });

}  // namespace
}  // namespace qup::drive
