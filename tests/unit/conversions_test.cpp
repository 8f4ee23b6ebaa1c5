#include "watcher/conversions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

namespace {

struct TextCase {
    const char* text;
    int32_t expected;
};

TEST(TextToIntegerText, ReadsLeadingDecimalWithWrapAround)
{
    const TextCase cases[] = {
        {"0", 0},
        {"", 0},
        {"abc", 0},
        {" 12", 12},
        {"12abc", 12},
        {"-5", -5},
        {"1.9", 1},
        {"2147483647", 2147483647},
        {"2147483648", INT32_MIN},
        {"4294967297", 1},
        {"-2147483648", INT32_MIN},
        {"\t\n+7", 7},
        {"+-3", 0},
        {"\v\f\r 9", 9},
        {"- 5", 0},
        {"-4294967296", 0},
        {"99999999999", 1215752191},
        {"  -0", 0},
        {"年5", 0},
    };
    for (const TextCase& c : cases) {
        EXPECT_EQ(TextToInteger(c.text), c.expected) << '"' << c.text << '"';
    }
}

TEST(TextToIntegerText, NullReadsAsEmpty)
{
    EXPECT_EQ(TextToInteger(static_cast<const char*>(nullptr)), 0);
}

struct NumberCase {
    double value;
    int32_t expected;
};

TEST(TextToIntegerNumber, CutsTowardZeroAndKeepsLow32Bits)
{
    const double inf = std::numeric_limits<double>::infinity();
    const NumberCase cases[] = {
        {5.9, 5},
        {-5.9, -5},
        {-0.0, 0},
        {2147483648.0, INT32_MIN},
        {4294967297.0, 1},
        {-4294967297.0, -1},
        {6442450943.0, INT32_MAX},
        {std::numeric_limits<double>::quiet_NaN(), 0},
        {inf, 0},
        {-inf, 0},
        {1e20, 0},
        {-1e20, 0},
        // The extremes of the signed 64-bit range: the last doubles inside are converted,
        // the first ones outside are refused.
        {std::nextafter(0x1p63, 0.0), -1024},
        {0x1p63, 0},
        {-0x1p63 + 2048.0, 2048},
        {std::nextafter(-0x1p63, -inf), 0},
    };
    for (const NumberCase& c : cases) {
        EXPECT_EQ(TextToInteger(c.value), c.expected) << c.value;
    }
}

TEST(NumberToText, PrintsWholeCountsAsPlainDecimals)
{
    const struct {
        double value;
        const char* expected;
    } cases[] = {
        {1.0, "1"},
        {10.0, "10"},
        {2147483648.0, "2147483648"},
        {-2147483647.0, "-2147483647"},
        {0.5, "0.5"},
        {0.1 + 0.2, "0.3"},
        {123456789012.0, "123456789012"},
        {1e15, "1e+15"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NumberToText(c.value), c.expected);
    }
}

TEST(OleDate, CountsDaysFromThirtiethDecember1899)
{
    const struct {
        int year, month, day;
        double expected;
    } cases[] = {
        {1899, 12, 30, 0.0},       {1899, 12, 31, 1.0},   {1900, 1, 1, 2.0},
        {1900, 3, 1, 61.0},        {2000, 3, 1, 36586.0}, {2100, 3, 1, 73110.0},
        {2020, 3, 16, 43906.0},    {100, 1, 1, -657434.0}, {9999, 12, 31, 2958465.0},
        {1600, 2, 29, -109512.0},  {1600, 3, 1, -109511.0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(OleDateFromFields(c.year, c.month, c.day, 0, 0, 0), c.expected)
            << c.year << '-' << c.month << '-' << c.day;
    }
}

TEST(OleDate, AddsTimeOfDayAsFraction)
{
    EXPECT_NEAR(OleDateFromFields(2020, 3, 16, 7, 2, 47), 43906.293599537035, 1e-9);
    EXPECT_NEAR(OleDateFromFields(2020, 3, 16, 12, 0, 0), 43906.5, 1e-12);
}

TEST(OleDate, TimeBeforeEpochCountsForwardIntoItsDay)
{
    // 29 December 1899 06:00 is -1.25 in OLE dates, not the -0.75 a straight sum would give.
    EXPECT_EQ(OleDateFromFields(1899, 12, 29, 6, 0, 0), -1.25);
}

double At(int year, int month, int day, int hour, int minute, int second)
{
    return OleDateFromFields(year, month, day, hour, minute, second);
}

struct TextOfDate {
    double value;
    const char* expected;
};

TEST(DateTimeToText, LeavesOutTrailingZeroTimeFields)
{
    const TextOfDate cases[] = {
        {At(2020, 3, 16, 7, 2, 47), "2020年3月16日7时2分47秒"},
        {At(2020, 3, 16, 7, 2, 0), "2020年3月16日7时2分"},
        {At(2020, 3, 16, 7, 0, 0), "2020年3月16日7时"},
        {At(2020, 3, 16, 0, 0, 0), "2020年3月16日"},
        {At(2020, 3, 16, 0, 0, 5), "2020年3月16日0时0分5秒"},
        {At(2020, 3, 16, 0, 5, 0), "2020年3月16日0时5分"},
        {At(2020, 12, 1, 19, 5, 3), "2020年12月1日19时5分3秒"},
        {At(2020, 3, 16, 13, 0, 30), "2020年3月16日13时0分30秒"},
    };
    for (const TextOfDate& c : cases) {
        EXPECT_EQ(DateTimeToText(c.value), c.expected) << c.value;
    }
}

TEST(DateTimeToText, ReadsRawOleValues)
{
    // Independent of OleDateFromFields, so a fault shared by both directions shows here.
    const TextOfDate cases[] = {
        {43906.293599537035, "2020年3月16日7时2分47秒"},
        {43906.5, "2020年3月16日12时"},
        {0.0, "1899年12月30日"},
        {2.0, "1900年1月1日"},
        {60.0, "1900年2月28日"},
        {61.0, "1900年3月1日"},
        {36585.0, "2000年2月29日"},
        {-1.25, "1899年12月29日6时"},
        {-0.5, "1899年12月30日12时"},
        {-657434.0, "100年1月1日"},
        {2958465.0, "9999年12月31日"},
    };
    for (const TextOfDate& c : cases) {
        EXPECT_EQ(DateTimeToText(c.value), c.expected) << c.value;
    }
}

TEST(DateTimeToText, RoundsToNearestSecond)
{
    const double day = 43906.0;   // 16 March 2020
    const TextOfDate cases[] = {
        {day + (7 * 3600 + 2 * 60 + 46.6) / 86400.0, "2020年3月16日7时2分47秒"},
        {day + (7 * 3600 + 2 * 60 + 47.4) / 86400.0, "2020年3月16日7时2分47秒"},
        {day + (7 * 3600 + 59.6) / 86400.0, "2020年3月16日7时1分"},
        {day + (23 * 3600 + 59 * 60 + 59.7) / 86400.0, "2020年3月17日"},
        {day + 0.3 / 86400.0, "2020年3月16日"},
    };
    for (const TextOfDate& c : cases) {
        EXPECT_EQ(DateTimeToText(c.value), c.expected) << c.value;
    }
}

TEST(DateTimeToText, ProducesCodePage936Bytes)
{
    // "年" is C4 EA in code page 936; a build with another charset fails here.
    EXPECT_EQ(DateTimeToText(At(2020, 3, 16, 7, 2, 47)),
              "2020\xC4\xEA" "3\xD4\xC2" "16\xC8\xD5" "7\xCA\xB1" "2\xB7\xD6" "47\xC3\xEB");
}

TEST(DateTimeToText, RefusesValuesWithoutADate)
{
    const double values[] = {std::numeric_limits<double>::quiet_NaN(),
                             std::numeric_limits<double>::infinity(),
                             -std::numeric_limits<double>::infinity(), 1e300, -1e300, 1e7, -1e7};
    for (const double value : values) {
        EXPECT_EQ(DateTimeToText(value), "") << value;
    }
}

bool IsLeap(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

TEST(DateTimeToText, FollowsTheCalendarDayByDay)
{
    // Walks a plain day counter from 1 January 1600 to 31 December 2400 and compares every
    // day, both ways through OleDateFromFields, with a noon time so rounding stays out.
    const int monthDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    double expectedValue = OleDateFromFields(1600, 1, 1, 0, 0, 0);
    for (int year = 1600; year <= 2400; ++year) {
        for (int month = 1; month <= 12; ++month) {
            const int days = monthDays[month - 1] + (month == 2 && IsLeap(year) ? 1 : 0);
            for (int day = 1; day <= days; ++day, expectedValue += 1.0) {
                char expected[64];
                std::snprintf(expected, sizeof expected, "%d年%d月%d日12时", year, month, day);
                const double noon = At(year, month, day, 12, 0, 0);
                ASSERT_EQ(std::trunc(noon), expectedValue) << expected;
                ASSERT_EQ(DateTimeToText(noon), expected);
            }
        }
    }
}

TEST(SignInLogLine, AppendsTheSignInWords)
{
    const TextOfDate cases[] = {
        {At(2020, 3, 16, 7, 2, 47), "2020年3月16日7时2分47秒自动签到"},
        {At(2020, 3, 16, 9, 30, 0), "2020年3月16日9时30分自动签到"},
        {At(2020, 3, 16, 0, 0, 0), "2020年3月16日自动签到"},
    };
    for (const TextOfDate& c : cases) {
        EXPECT_EQ(SignInLogLine(c.value), c.expected);
    }
}

}  // namespace
