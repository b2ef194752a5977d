#include "data/paradox/calendar.h"

namespace quorvex::paradox {

namespace {

// Days from 1970-01-01 to 0001-01-01 is -719162; day number 1 is 0001-01-01.
constexpr std::int64_t kUnixEpochDayNumber = 719163;

// Days since 1970-01-01 of a proleptic Gregorian date, counting in 400-year eras that start on
// March 1st so that the leap day falls at the end of each year.
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2 ? 1 : 0;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

}  // namespace

CivilDate CivilFromDayNumber(std::int32_t dayNumber) {
    std::int64_t z = static_cast<std::int64_t>(dayNumber) - kUnixEpochDayNumber + 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t y = static_cast<std::int64_t>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    return CivilDate{static_cast<int>(y + (m <= 2 ? 1 : 0)), static_cast<int>(m),
                     static_cast<int>(d)};
}

std::int32_t DayNumberFromCivil(int year, int month, int day) {
    return static_cast<std::int32_t>(
        DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) +
        kUnixEpochDayNumber);
}

}  // namespace quorvex::paradox
