// SPDX-License-Identifier: MIT
// The driver's screenshots: a PNG file any viewer reads, taken apart here as a reader would,
// chunk by chunk, with every checksum checked and the stored pixels read back.
#include "app/drive/png_file.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace qup::drive {
namespace {

std::uint32_t BigEndian(const std::vector<std::uint8_t>& bytes, std::size_t at) {
  return (std::uint32_t{bytes[at]} << 24) | (std::uint32_t{bytes[at + 1]} << 16) |
         (std::uint32_t{bytes[at + 2]} << 8) | bytes[at + 3];
}

// The standard CRC-32 of PNG chunks, bit by bit: the slow way, to check the table-driven one.
std::uint32_t SlowCrc(const std::uint8_t* data, std::size_t size) {
  std::uint32_t crc = 0xFFFFFFFFu;
  for (std::size_t i = 0; i < size; ++i) {
    crc ^= data[i];
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ ((crc & 1) != 0 ? 0xEDB88320u : 0);
  }
  return ~crc;
}

struct Chunk {
  std::string type;
  std::vector<std::uint8_t> data;
};

std::vector<Chunk> Chunks(const std::vector<std::uint8_t>& png) {
  std::vector<Chunk> chunks;
  std::size_t at = 8;
  while (at + 12 <= png.size()) {
    const std::uint32_t length = BigEndian(png, at);
    EXPECT_LE(at + 12 + length, png.size());
    Chunk chunk{
        std::string(png.begin() + static_cast<std::ptrdiff_t>(at + 4),
                    png.begin() + static_cast<std::ptrdiff_t>(at + 8)),
        std::vector<std::uint8_t>(png.begin() + static_cast<std::ptrdiff_t>(at + 8),
                                  png.begin() + static_cast<std::ptrdiff_t>(at + 8 + length))};
    EXPECT_EQ(BigEndian(png, at + 8 + length), SlowCrc(png.data() + at + 4, length + 4))
        << chunk.type;
    chunks.push_back(std::move(chunk));
    at += 12 + length;
  }
  EXPECT_EQ(at, png.size());
  return chunks;
}

// The bytes of a zlib stream made of stored blocks, with its Adler-32 checked.
std::vector<std::uint8_t> Inflate(const std::vector<std::uint8_t>& zlib) {
  EXPECT_EQ((zlib[0] * 256 + zlib[1]) % 31, 0);  // the header's own check
  std::vector<std::uint8_t> out;
  std::size_t at = 2;
  bool last = false;
  while (!last) {
    last = (zlib.at(at) & 1) != 0;
    EXPECT_EQ(zlib[at] & 6, 0) << "a stored block";
    const std::size_t size = zlib.at(at + 1) | (zlib.at(at + 2) << 8);
    EXPECT_EQ(size ^ (zlib.at(at + 3) | (zlib.at(at + 4) << 8)), 0xFFFFu);
    out.insert(out.end(), zlib.begin() + static_cast<std::ptrdiff_t>(at + 5),
               zlib.begin() + static_cast<std::ptrdiff_t>(at + 5 + size));
    at += 5 + size;
  }
  std::uint32_t a = 1;
  std::uint32_t b = 0;
  for (const std::uint8_t byte : out) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  EXPECT_EQ(BigEndian(zlib, at), (b << 16) | a);
  EXPECT_EQ(at + 4, zlib.size());
  return out;
}

class PngFileTest : public ::testing::TestWithParam<std::pair<int, int>> {};

TEST_P(PngFileTest, HoldsThePixelsRowByRow) {
  const auto [width, height] = GetParam();
  std::vector<std::uint8_t> rgb(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) *
                                3);
  for (std::size_t i = 0; i < rgb.size(); ++i) rgb[i] = static_cast<std::uint8_t>(i * 7 + i / 251);

  const std::vector<std::uint8_t> png = EncodePng(width, height, rgb);
  ASSERT_GE(png.size(), 8u);
  EXPECT_EQ(std::vector<std::uint8_t>(png.begin(), png.begin() + 8),
            (std::vector<std::uint8_t>{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}));
  const std::vector<Chunk> chunks = Chunks(png);
  ASSERT_EQ(chunks.size(), 3u);
  EXPECT_EQ(chunks[0].type, "IHDR");
  EXPECT_EQ(BigEndian(chunks[0].data, 0), static_cast<std::uint32_t>(width));
  EXPECT_EQ(BigEndian(chunks[0].data, 4), static_cast<std::uint32_t>(height));
  EXPECT_EQ(std::vector<std::uint8_t>(chunks[0].data.begin() + 8, chunks[0].data.end()),
            (std::vector<std::uint8_t>{8, 2, 0, 0, 0}));
  EXPECT_EQ(chunks[1].type, "IDAT");
  EXPECT_EQ(chunks[2].type, "IEND");

  const std::vector<std::uint8_t> rows = Inflate(chunks[1].data);
  const auto row_size = static_cast<std::size_t>(width) * 3;
  ASSERT_EQ(rows.size(), (row_size + 1) * static_cast<std::size_t>(height));
  for (std::size_t y = 0; y < static_cast<std::size_t>(height); ++y) {
    EXPECT_EQ(rows[y * (row_size + 1)], 0) << "row " << y << " is unfiltered";
    EXPECT_TRUE(std::equal(rgb.begin() + static_cast<std::ptrdiff_t>(y * row_size),
                           rgb.begin() + static_cast<std::ptrdiff_t>((y + 1) * row_size),
                           rows.begin() + static_cast<std::ptrdiff_t>(y * (row_size + 1) + 1)))
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
