// SPDX-License-Identifier: MIT
// Reading the registry export text: what an export or a hand edit may hold, and what is passed
// over without harm.
#include <gtest/gtest.h>

#include <optional>

#include "settings/reg_export.h"
#include "store_backend.h"

namespace qup::settings::testing {
namespace {

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
        ParseRow{"EmptyData", InKey("\"V\"=hex(1):\r\n"), Bytes{}},
        ParseRow{"QuotedString", InKey("\"V\"=\"7.5\"\r\n"), Bytes{'7', '.', '5', 0}},
        ParseRow{"EscapesInString", InKey("\"V\"=\"a\\\"b\\\\\"\r\n"),
                 Bytes{'a', '"', 'b', '\\', 0}},
        ParseRow{"BinaryType", InKey("\"V\"=hex:01,02\r\n"), Bytes{1, 2}, 3},
        ParseRow{"OtherTypeNumber", InKey("\"V\"=hex(2):31,00\r\n"), Bytes{'1', 0}, 2},
        ParseRow{"Dword", InKey("\"V\"=dword:00000102\r\n"), Bytes{2, 1, 0, 0}, 4},
        ParseRow{"ContinuedLines", InKey("\"V\"=hex(1):31,32,\\\r\n  33,00\r\n"),
                 Bytes{'1', '2', '3', 0}},
        ParseRow{"NameIgnoresCase", InKey("\"v\"=hex(1):31\r\n"), Bytes{'1'}},
        ParseRow{"SectionIgnoresCase",
                 "[hkey_local_machine\\SOFTWARE\\kestrane\\qu]\r\n\"V\"=hex(1):31\r\n", Bytes{'1'}},
        ParseRow{"LaterLineWins", InKey("\"V\"=hex(1):31\r\n\"V\"=hex(1):32\r\n"), Bytes{'2'}},
        ParseRow{"BadLineDoesNotReplaceGoodOne", InKey("\"V\"=hex(1):31\r\n\"V\"=hex(1):3z\r\n"),
                 Bytes{'1'}},
        ParseRow{"NoHeaderLine", "\"V\"=hex(1):31\r\n", std::nullopt},
        ParseRow{"OtherSection",
                 InKey("[HKEY_LOCAL_MACHINE\\Software\\Other]\r\n\"V\"=hex(1):31\r\n"),
                 std::nullopt},
        ParseRow{"TruncatedInsideByte", InKey("\"V\"=hex(1):35,3"), std::nullopt},
        ParseRow{"OneDigitByte", InKey("\"V\"=hex(1):5\r\n"), std::nullopt},
        ParseRow{"TruncatedAfterComma", InKey("\"V\"=hex(1):35,"), std::nullopt},
        ParseRow{"TruncatedInsideName", InKey("\"V"), std::nullopt},
        ParseRow{"ThreeDigitByte", InKey("\"V\"=hex(1):350\r\n"), std::nullopt},
        ParseRow{"NegativeType", InKey("\"V\"=hex(-1):31\r\n"), std::nullopt},
        ParseRow{"HugeType", InKey("\"V\"=hex(123456789):31\r\n"), std::nullopt},
        ParseRow{"DeletionMark", InKey("\"V\"=-\r\n"), std::nullopt},
        ParseRow{"UnclosedString", InKey("\"V\"=\"abc\r\n"), std::nullopt},
        ParseRow{"TextAfterString", InKey("\"V\"=\"abc\" x\r\n"), std::nullopt},
        ParseRow{"ShortDword", InKey("\"V\"=dword:12\r\n"), std::nullopt},
        ParseRow{"CutAfterContinuation", InKey("\"V\"=hex(1):31,\\\r\n"), std::nullopt},
        ParseRow{"LastLineWithoutLineBreak", InKey("\"V\"=hex(1):31,00"), std::nullopt},
        ParseRow{"NulBytesInLine", InKey(std::string("\"V\"=hex(1):31\0,32\r\n", 19)),
                 std::nullopt}),
    [](const auto& info) { return info.param.name; });

TEST(RegExportTest, FormatWritesEveryValueAsHexInOrder) {
  RegExport key;
  key.Set("HourlyRate", 1, Slot16("50"));
  key.Set("Bin", 3, Bytes{0xAB});
  key.Set("Quote\"d", 0x2A, Bytes{});
  EXPECT_EQ(key.Format(kKeyName),
            "REGEDIT4\r\n"
            "\r\n"
            "[HKEY_LOCAL_MACHINE\\Software\\Kestrane\\QU]\r\n"
            "\"HourlyRate\"=hex(1):35,30,00,00,00,00,00,00,00,00,00,00,00,00,00,00\r\n"
            "\"Bin\"=hex:ab\r\n"
            "\"Quote\\\"d\"=hex(2a):\r\n"
            "\r\n");
}

TEST(RegExportTest, WhatIsWrittenReadsBackTheSame) {
  RegExport key;
  Bytes every_byte;
  for (int i = 0; i < 256; ++i) every_byte.push_back(static_cast<std::uint8_t>(i));
  key.Set("All", 1, every_byte);
  key.Set("Back\\slash", 7, Bytes{0, 0});
  const RegExport again = RegExport::Parse(key.Format(kKeyName), kKeyName);
  ASSERT_EQ(again.Values().size(), 2u);
  EXPECT_EQ(again.Find("All")->data, every_byte);
  EXPECT_EQ(again.Find("back\\slash")->type, 7u);
}

}  // namespace
}  // namespace qup::settings::testing
