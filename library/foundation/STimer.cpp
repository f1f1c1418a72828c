#include "STimer.h"
#include "SPlatform.h"
#include "SLanguageRecord.h"

namespace
{
// Weekday (0 = Sunday) of the 1st of each month, one row of 12 digits per year of the
// 28-year cycle; row r holds the years y with (y - 21) mod 28 = r (row 0 is 2009).
const char WeekdayRows0To13[] =
    "400351362402511462403513622503514624034025036146255136140250366240251361400351362402512503514624"
    "033614625035144025036146255136140250360351362402511462403513622503514624";
const char WeekdayRows14To27[] =
    "033614625035145136140250366240251361400351362402511462403513623614625035144025036146255136140250"
    "366240251361401462403513622503514624033614625035144025036146256240251361";

// 400 Gregorian years hold exactly this many days: long steps in whole cycles.
const long long DaysIn400Years = 146097;
}

STimer::STimer()
    : m_spanMs(0), m_spanSeconds(0), m_spanMinutes(0), m_spanHours(0), m_spanDays(0), m_spanMonths(0),
      m_spanYears(0), m_ms(0), m_second(0), m_minute(0), m_hour(0), m_day(1), m_month(1), m_year(0),
      m_flag(0), m_reserved{0, 0, 0}
{
    m_weekdays = WeekdayRows0To13;
    m_weekdays += WeekdayRows14To27;
    SetNow(true);
}

STimer::~STimer() {}

void STimer::SetNow(bool local)
{
    SYSTEMTIME now;
    if (local)
        GetLocalTime(&now);
    else
        GetSystemTime(&now);
    m_ms = now.wMilliseconds;
    m_second = now.wSecond;
    m_minute = now.wMinute;
    m_hour = now.wHour;
    m_day = now.wDay;
    m_month = now.wMonth;
    m_year = now.wYear;
}

bool STimer::IsLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int STimer::GetDaysInMonth(int month, int year)
{
    switch (month)
    {
    case 1: case 3: case 5: case 7: case 8: case 10: case 12:
        return 31;
    case 4: case 6: case 9: case 11:
        return 30;
    case 2:
        return IsLeapYear(year) ? 29 : 28;
    default:
        return 0;
    }
}

bool STimer::IsValidDate(int day, int month, int year)
{
    return month >= 1 && month <= 12 && day >= 1 && day <= GetDaysInMonth(month, year);
}

bool STimer::Set(int year, int month, int day, int hour, int minute, int second, int ms)
{
    if (!IsValidDate(day, month, year) || hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 ||
        second > 59 || ms < 0 || ms > 999)
        return false;
    m_year = year;
    m_month = month;
    m_day = day;
    m_hour = hour;
    m_minute = minute;
    m_second = second;
    m_ms = ms;
    return true;
}

int STimer::ToHour12(int hour)
{
    if (hour == 0)
        return 12;
    return hour > 12 ? hour - 12 : hour;
}

int STimer::GetDayOfWeek(int day, int month, int year) const
{
    if (day < 1 || day > 31 || month < 1 || month > 12 || day > GetDaysInMonth(month, year))
        return -1;
    // The row index stays inside the table for years before 21 too.
    const int row = ((year - 21) % 28 + 28) % 28;
    const int first = m_weekdays.GetAt(row * 12 + month - 1) - '0';
    return (first + day - 1) % 7;
}

SString STimer::GetDayName(int day, int month, int year) const
{
    const int weekday = GetDayOfWeek(day, month, year);
    if (weekday < 0)
        return SString("");
    return SString(GetLanguageRecord()->weekdayNames[weekday]);
}

SString STimer::GetMonthName() const
{
    if (m_month < 1 || m_month > 12)
        return SString("");
    return SString(GetLanguageRecord()->monthNames[m_month - 1]);
}

void STimer::SetDuration(int ms, int seconds, int minutes, int hours, int days, int months, int years)
{
    // Carries go upwards only; a field still negative afterwards is stored as 0.
    long long value[7] = {ms, seconds, minutes, hours, days, months, years};
    const int limits[6] = {1000, 60, 60, 24, 30, 12};
    for (int i = 0; i < 6; i++)
    {
        if (value[i] >= limits[i])
        {
            value[i + 1] += value[i] / limits[i];
            value[i] %= limits[i];
        }
    }
    int* fields[6] = {&m_spanMs, &m_spanSeconds, &m_spanMinutes, &m_spanHours, &m_spanDays, &m_spanMonths};
    for (int i = 0; i < 6; i++)
        *fields[i] = value[i] < 0 ? 0 : static_cast<int>(value[i]);
    m_spanYears = static_cast<int>(value[6]);
}

bool STimer::Store(long long year, long long month, long long day, long long hour, long long minute,
                   long long second, long long ms)
{
    if (year < INT32_MIN || year > INT32_MAX)
        return false;
    const int maxDay = GetDaysInMonth(static_cast<int>(month), static_cast<int>(year));
    if (day > maxDay)
        day = maxDay;
    return Set(static_cast<int>(year), static_cast<int>(month), static_cast<int>(day), static_cast<int>(hour),
               static_cast<int>(minute), static_cast<int>(second), static_cast<int>(ms));
}

bool STimer::Add(int years, int months, int days, int hours, int minutes, int seconds, int ms)
{
    if (years < 0 || months < 0 || days < 0 || hours < 0 || minutes < 0 || seconds < 0 || ms < 0)
        return false;
    long long t = static_cast<long long>(m_ms) + ms;
    const long long newMs = t % 1000;
    t = static_cast<long long>(m_second) + seconds + t / 1000;
    const long long newSecond = t % 60;
    t = static_cast<long long>(m_minute) + minutes + t / 60;
    const long long newMinute = t % 60;
    t = static_cast<long long>(m_hour) + hours + t / 60;
    const long long newHour = t % 24;

    long long day = m_day + static_cast<long long>(days) + t / 24;
    long long month = m_month, year = m_year;
    if (day > DaysIn400Years)
    {
        const long long cycles = (day - 1) / DaysIn400Years;
        day -= cycles * DaysIn400Years;
        year += 400 * cycles;
    }
    // Walk forward month by month through their lengths.
    while (day > GetDaysInMonth(static_cast<int>(month), static_cast<int>(year)))
    {
        day -= GetDaysInMonth(static_cast<int>(month), static_cast<int>(year));
        if (++month > 12)
        {
            month = 1;
            year++;
        }
    }
    month += months;
    year += (month - 1) / 12;
    month = (month - 1) % 12 + 1;
    year += years;
    return Store(year, month, day, newHour, newMinute, newSecond, newMs);
}

bool STimer::Subtract(int years, int months, int days, int hours, int minutes, int seconds, int ms)
{
    if (years < 0 || months < 0 || days < 0 || hours < 0 || minutes < 0 || seconds < 0 || ms < 0)
        return false;
    // Each field borrows exactly the units of the next larger one that it needs.
    long long value[4] = {static_cast<long long>(m_ms) - ms, static_cast<long long>(m_second) - seconds,
                          static_cast<long long>(m_minute) - minutes, static_cast<long long>(m_hour) - hours};
    const int limits[4] = {1000, 60, 60, 24};
    long long borrow = 0;
    for (int i = 0; i < 4; i++)
    {
        value[i] -= borrow;
        borrow = value[i] < 0 ? (-value[i] + limits[i] - 1) / limits[i] : 0;
        value[i] += borrow * limits[i];
    }

    long long day = m_day - static_cast<long long>(days) - borrow;
    long long month = m_month, year = m_year;
    if (day < -DaysIn400Years)
    {
        const long long cycles = -day / DaysIn400Years;
        day += cycles * DaysIn400Years;
        year -= 400 * cycles;
    }
    // Walk back month by month through their lengths.
    while (day < 1)
    {
        if (--month < 1)
        {
            month = 12;
            year--;
        }
        day += GetDaysInMonth(static_cast<int>(month), static_cast<int>(year));
    }
    month -= months;
    if (month < 1)
    {
        const long long borrowYears = -month / 12 + 1;
        month += 12 * borrowYears;
        year -= borrowYears;
    }
    year -= years;
    return Store(year, month, day, value[3], value[2], value[1], value[0]);
}

SString STimer::ZeroFilled(int value, int places)
{
    if (value < 0)
        return SString(places == 3 ? "000" : "00");
    const int modulo = places == 3 ? 1000 : 100;
    SString text;
    text.Format("%0*d", places, value % modulo);
    return text;
}

void STimer::ReplaceAll(SString& text, const char* token, const SString& value)
{
    text.Replace(token, value.GetText() ? value.GetText() : "", 0, -1, true);
}

// The tokens shared by dates and durations, from the 12-hour clock on.
void STimer::ReplaceTimeTokens(SString& text, const Fields& f)
{
    const int hour12 = ToHour12(f.hour);
    const bool morning = f.hour >= 0 && f.hour < 12;
    ReplaceAll(text, "#+H", ZeroFilled(hour12, 2));
    ReplaceAll(text, "#H", IntToString(hour12));
    ReplaceAll(text, "#+h", ZeroFilled(f.hour, 2));
    ReplaceAll(text, "#h", IntToString(f.hour));
    ReplaceAll(text, "#+m", ZeroFilled(f.minute, 2));
    ReplaceAll(text, "#m", IntToString(f.minute));
    ReplaceAll(text, "#+s", ZeroFilled(f.second, 2));
    ReplaceAll(text, "#s", IntToString(f.second));
    ReplaceAll(text, "#+1i", IntToString(f.ms / 100));
    ReplaceAll(text, "#+2i", ZeroFilled(f.ms / 10, 2));
    ReplaceAll(text, "#+i", ZeroFilled(f.ms, 3));
    ReplaceAll(text, "#i", IntToString(f.ms));
    ReplaceAll(text, "#a", SString(morning ? "am" : "pm"));
    ReplaceAll(text, "#A", SString(morning ? "AM" : "PM"));
}

SString STimer::Format(const char* pattern) const
{
    SString text(pattern ? pattern : "");
    ReplaceAll(text, "#+Y", ZeroFilled(m_year, 2));
    ReplaceAll(text, "#Y", IntToString(m_year));
    ReplaceAll(text, "#$M", GetMonthName());
    ReplaceAll(text, "#+M", ZeroFilled(m_month, 2));
    ReplaceAll(text, "#M", IntToString(m_month));
    ReplaceAll(text, "#$W", GetDayName(m_day, m_month, m_year));
    ReplaceAll(text, "#W", IntToString(GetDayOfWeek()));
    ReplaceAll(text, "#+D", ZeroFilled(m_day, 2));
    ReplaceAll(text, "#D", IntToString(m_day));
    ReplaceTimeTokens(text, Fields{m_ms, m_second, m_minute, m_hour, m_day, m_month, m_year});
    return text;
}

SString STimer::FormatDuration(const char* pattern) const
{
    SString text(pattern ? pattern : "");
    ReplaceAll(text, "#Y", IntToString(m_spanYears));
    ReplaceAll(text, "#+M", ZeroFilled(m_spanMonths, 2));
    ReplaceAll(text, "#M", IntToString(m_spanMonths));
    ReplaceAll(text, "#+D", ZeroFilled(m_spanDays, 2));
    ReplaceAll(text, "#D", IntToString(m_spanDays));
    ReplaceTimeTokens(text, Fields{m_spanMs, m_spanSeconds, m_spanMinutes, m_spanHours, m_spanDays,
                                   m_spanMonths, m_spanYears});
    return text;
}
