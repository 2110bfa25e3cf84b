// Date-times as day numbers: days since 30 December 1899 00:00, the time of day
// as the fraction (0.5 is noon). Before that day the whole part counts back and
// the fraction still runs forward from midnight (-1.25 is 29 Dec 1899, 06:00).
#pragma once

#include <string>
#include <string_view>

enum class DateStatus { Valid = 0, Invalid = 1, Null = 2 };

struct DateValue {
    double day = 0.0;
    DateStatus status = DateStatus::Valid;
};

struct CalendarFields {
    int year = 0;
    int month = 0; // 1..12
    int day = 0;   // 1..31
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// Reads a date-time text in the US English forms (month/day/year with an
// optional time of day, "12:30", "1:05:07 PM") or ISO 8601 ("2004-01-05",
// "2004-01-05T12:00:00", "2004-01-05 12:00"). A time alone is a day number
// below 1. On failure the status becomes Invalid and the result is false.
bool ParseDateTime(std::string_view text, DateValue& out);

// Calendar fields of a day number, rounded to the nearest second; false for a
// day number outside the years 100 to 9999.
bool DayNumberToFields(double day, CalendarFields& out);

// Day number of a calendar date and time (no range check).
double FieldsToDayNumber(int year, int month, int day, int hour, int minute, double second);

// Formats with 'x' (date, "01/05/04") or 'X' (time, "12:00:00") as the C locale
// writes them: empty for a Null status, "Invalid DateTime" for an Invalid
// status or a day number that has no calendar date.
std::string FormatDateValue(const DateValue& value, char format);

// Stores day in scratch and shows it as a time when its date falls in the year
// 1899 (a time of day without a date) and as a date otherwise.
std::string DateText(DateValue& scratch, double day);
