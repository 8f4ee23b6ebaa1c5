#pragma once
// Conversions shared by the watcher. Texts are code page 936 bytes; a null text reads as "".
#include <cstdint>
#include <string>

// Leading white space, one optional sign, decimal digits with 32-bit wrap-around; stops at
// the first non-digit. No digits gives 0.
int32_t TextToInteger(const char* text);

// Cut toward zero, keep the low 32 bits. NaN, infinities and values outside the signed
// 64-bit range give 0.
int32_t TextToInteger(double value);

// "%.13g": whole counts print as plain decimals.
std::string NumberToText(double value);

// OLE Automation date (days since 30 December 1899, time of day as the fraction) of a
// local calendar date and time, whole seconds.
double OleDateFromFields(int year, int month, int day, int hour, int minute, int second);

// "2020年3月16日7时2分47秒"; trailing zero fields of the time are left out (see the table
// in the tests). The value is rounded to the nearest second first. A negative value counts
// whole days back from 30 December 1899 and its fraction forward into that day (-1.25 is
// 29 December 1899 06:00). NaN and values beyond the OLE date range give the empty text.
std::string DateTimeToText(double dateTime);

// DateTimeToText followed directly by "自动签到": one line of the sign-in log.
std::string SignInLogLine(double dateTime);
