#include "diagram/DateTime.h"

#include "diagram/AsciiChars.h"
#include "diagram/Numbers.h"

#include <cmath>

namespace {

// Days from 1970-01-01 of a proleptic Gregorian date (H. Hinnant's algorithm).
long long DaysFromCivil(long long y, int m, int d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const long long yoe = y - era * 400;
    const long long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void CivilFromDays(long long z, int& y, int& m, int& d) {
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const long long doe = z - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(yoe + era * 400 + (m <= 2));
}

constexpr long long kEpoch = -25569; // 1899-12-30 counted from 1970-01-01

bool IsLeap(int y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int DaysInMonth(int y, int m) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && IsLeap(y) ? 29 : days[m - 1];
}

// A small cursor over the text being parsed.
struct Reader {
    std::string_view text;
    std::size_t pos = 0;

    bool AtEnd() const { return pos >= text.size(); }
    char Peek() const { return AtEnd() ? '\0' : text[pos]; }
    void SkipBlanks() {
        while (!AtEnd() && IsAsciiSpace(text[pos]))
            ++pos;
    }
    bool Take(char c) {
        if (Peek() != c)
            return false;
        ++pos;
        return true;
    }
    // Up to maxDigits decimal digits; false when there is none.
    bool Number(int& value, int& digits, int maxDigits = 4) {
        value = 0;
        digits = 0;
        while (!AtEnd() && IsAsciiDigit(text[pos]) && digits < maxDigits) {
            value = value * 10 + (text[pos] - '0');
            ++pos;
            ++digits;
        }
        return digits > 0 && !IsAsciiDigit(Peek());
    }
    bool Word(std::string_view word) {
        if (text.size() - pos < word.size())
            return false;
        for (std::size_t i = 0; i < word.size(); ++i)
            if (AsciiUpper(text[pos + i]) != word[i])
                return false;
        pos += word.size();
        return true;
    }
};

struct TimeOfDay {
    int hour = 0;
    int minute = 0;
    double second = 0.0;
};

// H:MM[:SS[.fff]] with an optional AM or PM.
bool ParseTime(Reader& r, TimeOfDay& t) {
    int digits = 0;
    if (!r.Number(t.hour, digits, 2) || !r.Take(':'))
        return false;
    if (!r.Number(t.minute, digits, 2) || digits != 2)
        return false;
    t.second = 0.0;
    if (r.Take(':')) {
        int whole = 0;
        if (!r.Number(whole, digits, 2) || digits != 2)
            return false;
        t.second = whole;
        if (r.Take('.')) {
            double scale = 0.1;
            if (!IsAsciiDigit(r.Peek()))
                return false;
            while (IsAsciiDigit(r.Peek())) {
                t.second += (r.Peek() - '0') * scale;
                scale /= 10;
                ++r.pos;
            }
        }
    }
    const std::size_t beforeMeridiem = r.pos;
    r.SkipBlanks();
    if (r.Word("AM") || r.Word("PM")) {
        const bool pm = AsciiUpper(r.text[r.pos - 2]) == 'P';
        if (t.hour < 1 || t.hour > 12)
            return false;
        t.hour = t.hour % 12 + (pm ? 12 : 0);
    } else {
        r.pos = beforeMeridiem;
    }
    return t.hour <= 23 && t.minute <= 59 && t.second < 60.0;
}

struct Date {
    int year = 0;
    int month = 0;
    int day = 0;
};

// Two-digit years 00..29 are 2000..2029, 30..99 are 1930..1999.
int ExpandYear(int year, int digits) {
    if (digits > 2)
        return year;
    return year < 30 ? 2000 + year : 1900 + year;
}

// YYYY-MM-DD, or M/D/Y and M-D-Y with a year of two or four digits.
bool ParseDate(Reader& r, Date& d) {
    int first = 0, second = 0, third = 0, digits = 0, secondDigits = 0, thirdDigits = 0;
    if (!r.Number(first, digits))
        return false;
    const char separator = r.Peek();
    if (separator != '/' && separator != '-')
        return false;
    ++r.pos;
    if (!r.Number(second, secondDigits, 2) || !r.Take(separator) || !r.Number(third, thirdDigits))
        return false;
    if (digits == 4 && separator == '-') {
        if (thirdDigits > 2)
            return false;
        d = Date{first, second, third};
    } else {
        if (digits > 2 || (thirdDigits != 2 && thirdDigits != 4))
            return false;
        d = Date{ExpandYear(third, thirdDigits), first, second};
    }
    return d.year >= 100 && d.year <= 9999 && d.month >= 1 && d.month <= 12 && d.day >= 1 &&
           d.day <= DaysInMonth(d.year, d.month);
}

bool LooksLikeTime(std::string_view text) {
    for (char c : text) {
        if (c == ':')
            return true;
        if (!IsAsciiDigit(c))
            return false;
    }
    return false;
}

} // namespace

double FieldsToDayNumber(int year, int month, int day, int hour, int minute, double second) {
    const long long days = DaysFromCivil(year, month, day) - kEpoch;
    const double fraction = (hour * 3600.0 + minute * 60.0 + second) / 86400.0;
    return days < 0 ? static_cast<double>(days) - fraction : static_cast<double>(days) + fraction;
}

bool ParseDateTime(std::string_view text, DateValue& out) {
    Reader r{text};
    r.SkipBlanks();
    Date date{1899, 12, 30};
    TimeOfDay time;
    bool ok = false;
    if (LooksLikeTime(text.substr(r.pos))) {
        ok = ParseTime(r, time);
    } else if (ParseDate(r, date)) {
        ok = true;
        const std::size_t afterDate = r.pos;
        if (r.Take('T')) {
            ok = ParseTime(r, time);
        } else {
            r.SkipBlanks();
            if (r.pos > afterDate && !r.AtEnd())
                ok = ParseTime(r, time);
        }
    }
    r.SkipBlanks();
    if (!ok || !r.AtEnd()) {
        out.status = DateStatus::Invalid;
        return false;
    }
    out.day =
        FieldsToDayNumber(date.year, date.month, date.day, time.hour, time.minute, time.second);
    out.status = DateStatus::Valid;
    return true;
}

bool DayNumberToFields(double day, CalendarFields& out) {
    // The years 100 to 9999, as the platform's date type allows.
    if (!(day >= -657434.0 && day < 2958466.0))
        return false;
    const double whole = std::trunc(day);
    long long days = static_cast<long long>(whole);
    long long seconds = std::llround(std::fabs(day - whole) * 86400.0);
    if (seconds >= 86400) {
        seconds -= 86400;
        ++days;
    }
    // The fraction runs forward from the midnight of the whole day, also for
    // negative day numbers, so a rounding to 24:00 is the next calendar day.
    const long long civil = days + kEpoch;
    CivilFromDays(civil, out.year, out.month, out.day);
    if (out.year > 9999)
        return false;
    out.hour = static_cast<int>(seconds / 3600);
    out.minute = static_cast<int>(seconds / 60 % 60);
    out.second = static_cast<int>(seconds % 60);
    return true;
}

std::string FormatDateValue(const DateValue& value, char format) {
    if (value.status == DateStatus::Null)
        return std::string();
    CalendarFields f;
    if (value.status == DateStatus::Invalid || !DayNumberToFields(value.day, f))
        return "Invalid DateTime";
    if (format == 'X')
        return FormatC("%02d:%02d:%02d", f.hour, f.minute, f.second);
    return FormatC("%02d/%02d/%02d", f.month, f.day, f.year % 100);
}

std::string DateText(DateValue& scratch, double day) {
    scratch.day = day;
    CalendarFields f;
    const bool timeOnly =
        scratch.status == DateStatus::Valid && DayNumberToFields(day, f) && f.year == 1899;
    return FormatDateValue(scratch, timeOnly ? 'X' : 'x');
}
