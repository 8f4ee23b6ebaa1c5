#include "conversions.h"

#include <cmath>
#include <cstdio>

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Outside this range the calendar arithmetic below could overflow; it is wider than any
// date an OLE date can hold (year 100 to 9999), so real dates are never refused.
constexpr double kOldestDate = -657435.0;
constexpr double kNewestDate = 2958466.0;
constexpr int64_t kSecondsPerDay = 86400;

struct CivilDate {
    int64_t year;
    int month;
    int day;
};

constexpr int64_t FloorDiv(int64_t a, int64_t b)
{
    int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

// Days since 1 January 1970 on the proleptic Gregorian calendar (era-based: every 400 years
// repeat exactly, so the count is exact for any year).
constexpr int64_t DaysFromCivil(int64_t year, int64_t month, int64_t day)
{
    year += FloorDiv(month - 1, 12);            // months outside 1..12 carry into the year
    month -= FloorDiv(month - 1, 12) * 12;
    year -= month <= 2 ? 1 : 0;
    const int64_t era = FloorDiv(year, 400);
    const int64_t yearOfEra = year - era * 400;
    const int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

CivilDate CivilFromDays(int64_t days)
{
    days += 719468;
    const int64_t era = FloorDiv(days, 146097);
    const int64_t dayOfEra = days - era * 146097;
    const int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;
    const int day = static_cast<int>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
    const int month = static_cast<int>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
    const int64_t year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
    return {year, month, day};
}

constexpr int64_t kOleEpoch = DaysFromCivil(1899, 12, 30);

// Seconds since the OLE epoch, rounded. A negative OLE date keeps its day count before the
// epoch in the whole part, but its fraction still counts forward into that day: -1.25 is
// 29 December 1899 06:00, not 18:00.
int64_t OleDateToSeconds(double value)
{
    if (value >= 0.0) {
        return std::llround(value * kSecondsPerDay);
    }
    const double wholeDays = std::ceil(value);
    const double fraction = wholeDays - value;
    return static_cast<int64_t>(wholeDays) * kSecondsPerDay +
           std::llround(fraction * kSecondsPerDay);
}

}  // namespace

int32_t TextToInteger(const char* text)
{
    const char* p = text != nullptr ? text : "";
    while (IsBlank(*p)) {
        ++p;
    }
    const bool negative = *p == '-';
    if (*p == '+' || *p == '-') {
        ++p;
    }
    // Unsigned arithmetic wraps without undefined behaviour; the 32-bit wrap is intended.
    uint32_t number = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        number = number * 10u + static_cast<uint32_t>(*p - '0');
    }
    if (negative) {
        number = 0u - number;
    }
    return static_cast<int32_t>(number);
}

int32_t TextToInteger(double value)
{
    // Both bounds are exact doubles; the test is false for NaN as well.
    if (!(value >= -0x1p63 && value < 0x1p63)) {
        return 0;
    }
    const auto whole = static_cast<int64_t>(value);
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(whole)));
}

std::string NumberToText(double value)
{
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.13g", value);
    return buffer;
}

double OleDateFromFields(int year, int month, int day, int hour, int minute, int second)
{
    const int64_t days = DaysFromCivil(year, month, day) - kOleEpoch;
    const double seconds = static_cast<double>(hour) * 3600.0 +
                           static_cast<double>(minute) * 60.0 + static_cast<double>(second);
    const double fraction = seconds / 86400.0;
    // Before the epoch an OLE date counts its whole days back but its time forward: the
    // fraction moves away from zero, the mirror of OleDateToSeconds.
    return days < 0 ? static_cast<double>(days) - fraction : static_cast<double>(days) + fraction;
}

std::string DateTimeToText(double dateTime)
{
    if (!(dateTime > kOldestDate && dateTime < kNewestDate)) {
        return {};
    }
    const int64_t total = OleDateToSeconds(dateTime);
    const int64_t dayNumber = FloorDiv(total, kSecondsPerDay);
    const auto secondOfDay = static_cast<int>(total - dayNumber * kSecondsPerDay);
    const CivilDate date = CivilFromDays(dayNumber + kOleEpoch);
    const int hour = secondOfDay / 3600;
    const int minute = secondOfDay / 60 % 60;
    const int second = secondOfDay % 60;

    char buffer[96];
    int used = std::snprintf(buffer, sizeof buffer, "%d年%d月%d日",
                             static_cast<int>(date.year), date.month, date.day);
    char* rest = buffer + used;
    const size_t room = sizeof buffer - static_cast<size_t>(used);
    if (second != 0) {
        std::snprintf(rest, room, "%d时%d分%d秒", hour, minute, second);
    } else if (minute != 0) {
        std::snprintf(rest, room, "%d时%d分", hour, minute);
    } else if (hour != 0) {
        std::snprintf(rest, room, "%d时", hour);
    }
    return buffer;
}

std::string SignInLogLine(double dateTime)
{
    return DateTimeToText(dateTime) + "自动签到";
}
