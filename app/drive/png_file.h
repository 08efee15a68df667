// SPDX-License-Identifier: MIT
// A picture as a PNG file: 8-bit RGB, stored without compression, so that no image library is
// needed where the driver runs.
#ifndef QUP_APP_DRIVE_PNG_FILE_H
#define QUP_APP_DRIVE_PNG_FILE_H

#include <cstdint>
#include <string>
#include <vector>

namespace qup::drive {

// rgb holds width * height pixels, row by row from the top, 3 bytes each (red, green, blue).
std::vector<std::uint8_t> EncodePng(int width, int height, const std::vector<std::uint8_t>& rgb);

// False when the file cannot be written.
bool WritePng(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgb);

}  // namespace qup::drive

#endif  // QUP_APP_DRIVE_PNG_FILE_H
