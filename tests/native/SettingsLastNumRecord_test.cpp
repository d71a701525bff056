#include "install/LastNumRecord.h"

#include <gtest/gtest.h>

#include <cmath>

using lastnum::DateTimeValue;
using lastnum::Encode;
using lastnum::LastNumRecord;

TEST(SettingsLastNumRecord, DateTimeCountsDaysFromTheThirtiethOfDecember1899) {
  const struct {
    int y, mo, d, h, mi, s, ms;
    double expected;
  } cases[] = {
      {1899, 12, 30, 0, 0, 0, 0, 0.0},
      {1900, 1, 1, 0, 0, 0, 0, 2.0},
      {1900, 3, 1, 0, 0, 0, 0, 61.0},  // 1900 was no leap year
      {2000, 1, 1, 12, 0, 0, 0, 36526.5},
      {2000, 2, 29, 6, 0, 0, 0, 36585.25},
      {2026, 12, 11, 0, 0, 0, 0, 46367.0},
      {2026, 12, 11, 23, 59, 59, 999, 46367.0 + 86399999.0 / 86400000.0},
  };
  for (const auto& c : cases)
    EXPECT_DOUBLE_EQ(DateTimeValue(c.y, c.mo, c.d, c.h, c.mi, c.s, c.ms), c.expected)
        << c.y << "-" << c.mo << "-" << c.d << " " << c.h << ":" << c.mi << ":" << c.s << "." << c.ms;
}

TEST(SettingsLastNumRecord, MillisecondsAreKept) {
  const double a = DateTimeValue(2026, 12, 11, 8, 45, 12, 500);
  const double b = DateTimeValue(2026, 12, 11, 8, 45, 12, 501);
  EXPECT_NEAR((b - a) * 86400000.0, 1.0, 1e-3);
  EXPECT_NEAR(a, 46367.36472800926, 1e-9);
}

TEST(SettingsLastNumRecord, RecordIsFourteenLittleEndianBytes) {
  const auto bytes = Encode(LastNumRecord{0, 0, 36526.5});
  const std::array<uint8_t, 14> expected = {0, 0, 0, 0, 0, 0, 0x00, 0x00, 0x00, 0x00, 0xd0, 0xd5, 0xe1, 0x40};
  EXPECT_EQ(bytes, expected);
}

TEST(SettingsLastNumRecord, FieldsLandAtTheirOffsets) {
  const auto bytes = Encode(LastNumRecord{0x0102, -2, 0.0});
  const std::array<uint8_t, 14> expected = {0x02, 0x01, 0xFE, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(bytes, expected);
  const auto number = Encode(LastNumRecord{0, 0x12345678, 0.0});
  EXPECT_EQ(number[2], 0x78);
  EXPECT_EQ(number[5], 0x12);
}
