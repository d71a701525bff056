#include "install/LastNumRecord.h"

#include <bit>

namespace lastnum {

namespace {

template <class Unsigned>
void PutLittleEndian(uint8_t* out, Unsigned value) {
  for (size_t i = 0; i < sizeof(Unsigned); ++i) out[i] = static_cast<uint8_t>(value >> (8 * i));
}

// Days from 1 January 1970 to the given civil date (proleptic Gregorian).
int64_t DaysFromCivil(int64_t year, unsigned month, unsigned day) {
  year -= month <= 2;
  const int64_t era = (year >= 0 ? year : year - 399) / 400;
  const unsigned yearOfEra = static_cast<unsigned>(year - era * 400);
  const unsigned dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + static_cast<int64_t>(dayOfEra) - 719468;
}

// 30 December 1899 is day -25569 counted from 1 January 1970.
constexpr int64_t kDay0From1970 = -25569;
constexpr double kMillisecondsPerDay = 86400000.0;

}  // namespace

std::array<uint8_t, kRecordSize> Encode(const LastNumRecord& record) {
  std::array<uint8_t, kRecordSize> bytes{};
  PutLittleEndian(bytes.data() + offsetof(LastNumRecord, reserved), record.reserved);
  PutLittleEndian(bytes.data() + offsetof(LastNumRecord, lastNumber), static_cast<uint32_t>(record.lastNumber));
  const double dateTime = record.dateTime;  // a copy: the packed member itself is not aligned
  PutLittleEndian(bytes.data() + offsetof(LastNumRecord, dateTime), std::bit_cast<uint64_t>(dateTime));
  return bytes;
}

double DateTimeValue(int year, int month, int day, int hour, int minute, int second, int millisecond) {
  const int64_t days = DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) - kDay0From1970;
  const int64_t milliseconds = ((int64_t{hour} * 60 + minute) * 60 + second) * 1000 + millisecond;
  return static_cast<double>(days) + static_cast<double>(milliseconds) / kMillisecondsPerDay;
}

}  // namespace lastnum
