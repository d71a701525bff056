// lastnum.dta: the suite's last-number record, one 14-byte record with no
// header, as the suite's programs have always read it (a packed record of a
// 16-bit reserved word, a 32-bit integer and a date-time double).
//
// Platform-neutral: the bytes are built field by field in little-endian order,
// whatever the machine's own order.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace lastnum {

#pragma pack(push, 1)
// The record as it lies in the file.
struct LastNumRecord {
  uint16_t reserved = 0;    // always 0
  int32_t lastNumber = 0;   // the last number handed out
  double dateTime = 0;      // whole days since 30 December 1899 plus the fraction of the day
};
#pragma pack(pop)

// The file layout is fixed: any change of packing would make the suite read garbage.
static_assert(sizeof(LastNumRecord) == 14);
static_assert(offsetof(LastNumRecord, reserved) == 0);
static_assert(offsetof(LastNumRecord, lastNumber) == 2);
static_assert(offsetof(LastNumRecord, dateTime) == 6);
static_assert(sizeof(double) == 8);

inline constexpr size_t kRecordSize = sizeof(LastNumRecord);

// The 14 bytes of `record`, little-endian, the double in IEEE 754 form.
std::array<uint8_t, kRecordSize> Encode(const LastNumRecord& record);

// A local date and time as the suite stores it: days since 30 December 1899
// (day 0) plus the elapsed fraction of the day, to the millisecond. For dates
// from 30 December 1899 on (earlier ones are stored differently and never
// occur: this is the time of an installation).
double DateTimeValue(int year, int month, int day, int hour, int minute, int second, int millisecond);

}  // namespace lastnum
