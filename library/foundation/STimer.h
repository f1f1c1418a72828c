// One calendar date with its time of day, and separately one duration: validation,
// weekdays, calendar arithmetic, and text through a small token language ("#D", "#$M", "#+h").
#pragma once
#include <cstdint>
#include "SString.h"

class STimer
{
public:
    STimer();
    virtual ~STimer();

    // Reads the system clock: local time, or UTC when local is false.
    void SetNow(bool local = true);
    // False, with nothing changed, unless every field is in range.
    bool Set(int year, int month, int day, int hour = 0, int minute = 0, int second = 0, int ms = 0);

    static bool IsLeapYear(int year);
    static int GetDaysInMonth(int month, int year);
    static bool IsValidDate(int day, int month, int year);

    int GetYear() const { return m_year; }
    int GetMonth() const { return m_month; }
    int GetDay() const { return m_day; }
    int GetHour() const { return m_hour; }
    int GetMinute() const { return m_minute; }
    int GetSecond() const { return m_second; }
    int GetMillisecond() const { return m_ms; }
    // 12 for hour 0, hour - 12 for hours 13 to 23.
    int GetHour12() const { return ToHour12(m_hour); }

    // 0 = Sunday; -1 for an invalid date.
    int GetDayOfWeek(int day, int month, int year) const;
    int GetDayOfWeek() const { return GetDayOfWeek(m_day, m_month, m_year); }
    // Names from the current language record; "" for an invalid date.
    SString GetDayName(int day, int month, int year) const;
    SString GetMonthName() const;

    // Normalises the span with carries (a duration month is 30 days).
    void SetDuration(int ms, int seconds = 0, int minutes = 0, int hours = 0, int days = 0, int months = 0,
                     int years = 0);
    // Move the date; false when an amount is negative or the result is no valid date.
    bool Add(int years, int months, int days, int hours = 0, int minutes = 0, int seconds = 0, int ms = 0);
    bool Subtract(int years, int months, int days, int hours = 0, int minutes = 0, int seconds = 0,
                  int ms = 0);

    SString Format(const char* pattern) const;
    SString FormatDuration(const char* pattern) const;

private:
    struct Fields
    {
        int ms, second, minute, hour, day, month, year;
    };

    static int ToHour12(int hour);
    static SString ZeroFilled(int value, int places);
    static void ReplaceAll(SString& text, const char* token, const SString& value);
    static void ReplaceTimeTokens(SString& text, const Fields& f);
    bool Store(long long year, long long month, long long day, long long hour, long long minute,
               long long second, long long ms);

    // The duration.
    int m_spanMs, m_spanSeconds, m_spanMinutes, m_spanHours, m_spanDays, m_spanMonths, m_spanYears;
    // The date and time of day.
    int m_ms, m_second, m_minute, m_hour, m_day, m_month, m_year;
    // Weekday of the 1st of each month, 12 digits for each year of the 28-year cycle.
    SString m_weekdays;
    uint8_t m_flag;
    uint32_t m_reserved[3];
};
