#pragma once

#include <cstdint>

namespace quorvex::paradox {

// Paradox numbers days from 0001-01-01 (day 1) in the proleptic Gregorian calendar.
inline constexpr std::int32_t kFirstDay = 1;       // 0001-01-01
inline constexpr std::int32_t kLastDay = 3652059;  // 9999-12-31
inline constexpr std::int32_t kMillisecondsPerDay = 86400000;

struct CivilDate {
    int year = 1;
    int month = 1;
    int day = 1;
};

// The calendar date of a day number; valid for any day in kFirstDay..kLastDay.
CivilDate CivilFromDayNumber(std::int32_t dayNumber);

// The day number of a calendar date (no range check).
std::int32_t DayNumberFromCivil(int year, int month, int day);

}  // namespace quorvex::paradox
