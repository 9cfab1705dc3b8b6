// Dates and times as Jet reads and writes them. In the application's SQLite
// files a date is ISO text ('2026-03-02' or '2026-03-02 14:30:00'); Jet also
// counts dates as days since 30 December 1899 (its "serial" numbers).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vmu {

struct JetDate {
  int year = 1899, month = 12, day = 30;
  int hour = 0, minute = 0, second = 0;
  bool has_date = true;
  bool has_time = false;
};

// Which of the first two numbers is the month when a date is written with
// three numbers: Jet's #literal# is month/day/year; text converted by CDate
// follows the users' (Dutch) order day-month-year. Either way a date that is
// impossible in that order but possible in the other is read in the other,
// as Jet does. ISO text (year first) is always accepted.
enum class DateOrder { kMonthDayYear, kDayMonthYear };

std::optional<JetDate> ParseDate(std::string_view text, DateOrder order);

// 'YYYY-MM-DD', 'YYYY-MM-DD HH:MM:SS' with a time, 'HH:MM:SS' for a time only.
std::string IsoText(const JetDate& date);

std::optional<JetDate> DateOfSerial(double serial);

// Day number (days since 1970-01-01) of a date in the proleptic Gregorian
// calendar; the month may run outside 1..12 and the day outside the month.
long DaysFromCivil(long year, long month, long day);
JetDate CivilFromDays(long days);

int DaysInMonth(int year, int month);
// 1 = Sunday ... 7 = Saturday.
int Weekday(const JetDate& date);

// The local date and time now.
JetDate LocalNow();

}  // namespace vmu
