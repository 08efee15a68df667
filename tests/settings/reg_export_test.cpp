// SPDX-License-Identifier: MIT
// Reading the registry export text: what an export or a hand edit may hold, and what is passed
// over without harm.
#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "settings/reg_export.h"

namespace qup::settings {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::string_view kKeyName = R"(HKEY_LOCAL_MACHINE\Software\Kestrane\QU)";

struct ParseRow {
  const char* name;
  std::string text;
  std::optional<Bytes> expected;  // the "V" value read back; nullopt when it counts as missing
  std::uint32_t type = 1;
};

std::string InKey(std::string_view lines) {
  return "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Kestrane\\QU]\r\n" + std::string(lines);
}

class ParseTest : public ::testing::TestWithParam<ParseRow> {};

TEST_P(ParseTest, ReadsTheValue) {
  const RegExport key = RegExport::Parse(GetParam().text, kKeyName);
  const RegValue* value = key.Find("V");
  if (!GetParam().expected) {
    EXPECT_EQ(value, nullptr);
    return;
  }
  ASSERT_NE(value, nullptr);
  EXPECT_EQ(value->data, *GetParam().expected);
  EXPECT_EQ(value->type, GetParam().type);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ParseTest,
    ::testing::Values(
        ParseRow{"HexString", InKey("\"V\"=hex(1):35,30,00\r\n"), Bytes{'5', '0', 0}},
        ParseRow{"LineFeedsOnly",
                 "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\Kestrane\\QU]\n"
                 "\"V\"=hex(1):35\n",
                 Bytes{'5'}},
        ParseRow{"UpperCaseHexAndSpaces", InKey("\"V\" = hex(1): 4A , 0a\r\n"), Bytes{0x4A, 0x0A}},
        ParseRow{"QuotedString", InKey("\"V\"=\"7.5\"\r\n"), Bytes{'7', '.', '5', 0}},
        ParseRow{"EscapesInString", InKey("\"V\"=\"a\\\"b\\\\\"\r\n"),
                 Bytes{'a', '"', 'b', '\\', 0}},
        ParseRow{"BinaryType", InKey("\"V\"=hex:01,02\r\n"), Bytes{1, 2}, 3},
        ParseRow{"ContinuedLines", InKey("\"V\"=hex(1):31,32,\\\r\n  33,00\r\n"),
                 Bytes{'1', '2', '3', 0}},
        ParseRow{"NameIgnoresCase", InKey("\"v\"=hex(1):31\r\n"), Bytes{'1'}},
        ParseRow{"LaterLineWins", InKey("\"V\"=hex(1):31\r\n\"V\"=hex(1):32\r\n"), Bytes{'2'}},
        ParseRow{"BadLineDoesNotReplaceGoodOne", InKey("\"V\"=hex(1):31\r\n\"V\"=hex(1):3z\r\n"),
                 Bytes{'1'}},
        ParseRow{"NoHeaderLine", "\"V\"=hex(1):31\r\n", std::nullopt},
        ParseRow{"OtherSection",
                 InKey("[HKEY_LOCAL_MACHINE\\Software\\Other]\r\n\"V\"=hex(1):31\r\n"),
                 std::nullopt},
        ParseRow{"ThreeDigitByte", InKey("\"V\"=hex(1):350\r\n"), std::nullopt},
        ParseRow{"HugeType", InKey("\"V\"=hex(123456789):31\r\n"), std::nullopt},
        ParseRow{"UnclosedString", InKey("\"V\"=\"abc\r\n"), std::nullopt},
        ParseRow{"NulBytesInLine", InKey(std::string("\"V\"=hex(1):31\0,32\r\n", 19)),
                 std::nullopt}),
    [](const auto& info) { return info.param.name; });

TEST(RegExportTest, WhatIsWrittenReadsBackTheSame) {
  RegExport key;
  Bytes every_byte;
  for (int i = 0; i < 256; ++i) every_byte.push_back(static_cast<std::uint8_t>(i));
  key.Set("All", 1, every_byte);
  key.Set(R"(Back\slash "quoted")", 0x2A, Bytes{0, 0});
  key.Set("Binary", 3, Bytes{0xAB});
  const RegExport again = RegExport::Parse(key.Format(kKeyName), kKeyName);
  ASSERT_EQ(again.Values().size(), 3u);
  EXPECT_EQ(again.Find("All")->data, every_byte);
  EXPECT_EQ(again.Find("All")->type, 1u);
  EXPECT_EQ(again.Find("back\\slash \"QUOTED\"")->type, 0x2Au);
  EXPECT_EQ(again.Find("Binary")->data, Bytes{0xAB});
  EXPECT_EQ(again.Find("Binary")->type, 3u);
}

}  // namespace
}  // namespace qup::settings
