#include <gtest/gtest.h>
#include "STimer.h"

namespace
{
SString Text(const SString& s)
{
    return SString(s.GetText() ? s.GetText() : "");
}

STimer Make(int year, int month, int day, int hour = 0, int minute = 0, int second = 0, int ms = 0)
{
    STimer t;
    EXPECT_TRUE(t.Set(year, month, day, hour, minute, second, ms));
    return t;
}

std::string Stamp(const STimer& t)
{
    return Text(t.Format("#Y-#+M-#+D #+h:#+m:#+s.#+i")).GetText();
}
}

TEST(STimerCalendarTest, LeapYearsFollowTheGregorianRule)
{
    EXPECT_FALSE(STimer::IsLeapYear(1900));
    EXPECT_TRUE(STimer::IsLeapYear(2000));
    EXPECT_TRUE(STimer::IsLeapYear(2024));
    EXPECT_FALSE(STimer::IsLeapYear(2100));
    EXPECT_FALSE(STimer::IsLeapYear(2026));
}

TEST(STimerCalendarTest, MonthLengthsAndInvalidMonths)
{
    EXPECT_EQ(31, STimer::GetDaysInMonth(1, 2026));
    EXPECT_EQ(30, STimer::GetDaysInMonth(4, 2026));
    EXPECT_EQ(28, STimer::GetDaysInMonth(2, 2026));
    EXPECT_EQ(29, STimer::GetDaysInMonth(2, 2024));
    EXPECT_EQ(0, STimer::GetDaysInMonth(0, 2026));
    EXPECT_EQ(0, STimer::GetDaysInMonth(13, 2026));
    EXPECT_TRUE(STimer::IsValidDate(29, 2, 2024));
    EXPECT_FALSE(STimer::IsValidDate(29, 2, 2023));
    EXPECT_FALSE(STimer::IsValidDate(0, 5, 2023));
}

TEST(STimerSetTest, RejectsInvalidFieldsAndKeepsTheOldDate)
{
    STimer t = Make(2025, 6, 1, 8, 30, 0, 0);
    EXPECT_FALSE(t.Set(2026, 2, 29, 0, 0, 0, 0));
    EXPECT_FALSE(t.Set(2026, 1, 1, 24, 0, 0, 0));
    EXPECT_FALSE(t.Set(2026, 1, 1, 0, 60, 0, 0));
    EXPECT_FALSE(t.Set(2026, 1, 1, 0, 0, 0, 1000));
    EXPECT_EQ("2025-06-01 08:30:00.000", Stamp(t));
    EXPECT_TRUE(t.Set(2024, 2, 29, 23, 59, 59, 999));
    EXPECT_EQ("2024-02-29 23:59:59.999", Stamp(t));
}

TEST(STimerSetTest, SetNowReadsAPlausibleClock)
{
    STimer t;
    t.SetNow(false);
    EXPECT_GE(t.GetYear(), 2020);
    EXPECT_TRUE(STimer::IsValidDate(t.GetDay(), t.GetMonth(), t.GetYear()));
}

TEST(STimerWeekdayTest, KnownWeekdays)
{
    STimer t;
    EXPECT_EQ(4, t.GetDayOfWeek(1, 1, 2026));
    EXPECT_EQ(6, t.GetDayOfWeek(1, 12, 2012));
    EXPECT_EQ(-1, t.GetDayOfWeek(29, 2, 2023));
    EXPECT_EQ(4, t.GetDayOfWeek(29, 2, 2024));
    EXPECT_EQ(2, t.GetDayOfWeek(1, 1, 2008));
    EXPECT_EQ(-1, t.GetDayOfWeek(1, 13, 2008));
}

TEST(STimerWeekdayTest, YearsBeforeTwentyOneStayInsideTheTable)
{
    STimer t;
    // The cycle is applied unchanged: year 20 reads the row of 2036, year 1 that of 2017.
    EXPECT_EQ(t.GetDayOfWeek(1, 3, 2036), t.GetDayOfWeek(1, 3, 20));
    EXPECT_EQ(t.GetDayOfWeek(15, 7, 2017), t.GetDayOfWeek(15, 7, 1));
    EXPECT_EQ(t.GetDayOfWeek(31, 12, 2040), t.GetDayOfWeek(31, 12, -4));
    for (int year = -60; year < 30; year++)
    {
        const int d = t.GetDayOfWeek(1, 1, year);
        EXPECT_GE(d, 0);
        EXPECT_LE(d, 6);
    }
}

TEST(STimerWeekdayTest, NamesComeFromTheLanguageRecord)
{
    STimer t = Make(2026, 1, 1);
    EXPECT_STREQ("Thursday", Text(t.GetDayName(1, 1, 2026)).GetText());
    EXPECT_STREQ("", Text(t.GetDayName(30, 2, 2026)).GetText());
    EXPECT_STREQ("January", Text(t.GetMonthName()).GetText());
    EXPECT_STREQ("Thursday 4, January", Text(t.Format("#$W #W, #$M")).GetText());
}

TEST(STimerFormatTest, DateTokens)
{
    STimer t = Make(2026, 3, 5, 9, 7, 3, 7);
    EXPECT_STREQ("5/03/2026 09:07", Text(t.Format("#D/#+M/#Y #+h:#+m")).GetText());
    EXPECT_STREQ("26", Text(t.Format("#+Y")).GetText());
    EXPECT_STREQ("007 7 0 00", Text(t.Format("#+i #i #+1i #+2i")).GetText());
    EXPECT_STREQ("05 3 3 03", Text(t.Format("#+D #M #s #+s")).GetText());
    EXPECT_STREQ("book 3-5-2026", Text(t.Format("book #M-#D-#Y")).GetText());
}

TEST(STimerFormatTest, TenthsAndHundredthsOfMilliseconds)
{
    STimer t = Make(2026, 3, 5, 9, 7, 3, 987);
    EXPECT_STREQ("9 98 987", Text(t.Format("#+1i #+2i #+i")).GetText());
}

TEST(STimerFormatTest, MorningIsAmAndAfternoonIsPm)
{
    EXPECT_STREQ("12 am", Text(Make(2026, 1, 1, 0).Format("#H #a")).GetText());
    EXPECT_STREQ("11 AM", Text(Make(2026, 1, 1, 11).Format("#H #A")).GetText());
    EXPECT_STREQ("12 pm", Text(Make(2026, 1, 1, 12).Format("#H #a")).GetText());
    EXPECT_STREQ("01 pm", Text(Make(2026, 1, 1, 13).Format("#+H #a")).GetText());
    EXPECT_STREQ("11 PM", Text(Make(2026, 1, 1, 23).Format("#H #A")).GetText());
}

TEST(STimerFormatTest, TwelveHourClock)
{
    EXPECT_EQ(12, Make(2026, 1, 1, 0).GetHour12());
    EXPECT_EQ(12, Make(2026, 1, 1, 12).GetHour12());
    EXPECT_EQ(1, Make(2026, 1, 1, 13).GetHour12());
    EXPECT_EQ(11, Make(2026, 1, 1, 11).GetHour12());
}

TEST(STimerFormatTest, YearsKeepTheirLastTwoDigitsWhenPadded)
{
    EXPECT_STREQ("05", Text(Make(5, 1, 1).Format("#+Y")).GetText());
    EXPECT_STREQ("00", Text(Make(-3, 1, 1).Format("#+Y")).GetText());
}

TEST(STimerDurationTest, CarriesRunUpwards)
{
    STimer t;
    t.SetDuration(1500, 59, 59, 23, 29, 11, 0);
    EXPECT_STREQ("1 0 0 0:0:0.500", Text(t.FormatDuration("#Y #M #D #h:#m:#s.#i")).GetText());
}

TEST(STimerDurationTest, NegativeFieldsBecomeZeroButYearsStay)
{
    STimer t;
    t.SetDuration(-5, -1, 3, -2, 0, 0, -4);
    EXPECT_STREQ("-4 0 0:3:0.0", Text(t.FormatDuration("#Y #D #h:#m:#s.#i")).GetText());
}

TEST(STimerDurationTest, ElapsedTimeText)
{
    STimer t;
    t.SetDuration(0, 3725);
    EXPECT_STREQ("1:02:05", Text(t.FormatDuration("#h:#+m:#+s")).GetText());
    t.SetDuration(0, 0, 0, 13);
    EXPECT_STREQ("01 pm 13 #$M #W", Text(t.FormatDuration("#+H #a #h #$M #W")).GetText());
    t.SetDuration(0, 0, 0, 0);
    EXPECT_STREQ("12 AM", Text(t.FormatDuration("#H #A")).GetText());
}

TEST(STimerAddTest, CarriesAcrossMonthAndYearEnds)
{
    STimer t = Make(2025, 12, 31);
    EXPECT_TRUE(t.Add(0, 0, 1));
    EXPECT_EQ("2026-01-01 00:00:00.000", Stamp(t));

    t = Make(2024, 1, 31);
    EXPECT_TRUE(t.Add(0, 1, 0));
    EXPECT_EQ("2024-02-29 00:00:00.000", Stamp(t));

    t = Make(2025, 12, 15);
    EXPECT_TRUE(t.Add(0, 12, 0));
    EXPECT_EQ("2026-12-15 00:00:00.000", Stamp(t));

    t = Make(2025, 1, 10);
    EXPECT_TRUE(t.Add(0, 23, 0));
    EXPECT_EQ("2026-12-10 00:00:00.000", Stamp(t));
}

TEST(STimerAddTest, TimeCarriesIntoDays)
{
    STimer t = Make(2024, 2, 28, 23, 59, 59, 999);
    EXPECT_TRUE(t.Add(0, 0, 0, 0, 0, 0, 1));
    EXPECT_EQ("2024-02-29 00:00:00.000", Stamp(t));
    EXPECT_TRUE(t.Add(0, 0, 0, 24));
    EXPECT_EQ("2024-03-01 00:00:00.000", Stamp(t));
    EXPECT_TRUE(t.Add(0, 0, 0, 0, 0, 90061, 0));
    EXPECT_EQ("2024-03-02 01:01:01.000", Stamp(t));
}

TEST(STimerAddTest, LongSpansLandOnTheRightDay)
{
    STimer t = Make(2000, 1, 1);
    EXPECT_TRUE(t.Add(0, 0, 366));
    EXPECT_EQ("2001-01-01 00:00:00.000", Stamp(t));
    t = Make(2000, 3, 1);
    EXPECT_TRUE(t.Add(0, 0, 146097 * 2 + 365));
    EXPECT_EQ("2801-03-01 00:00:00.000", Stamp(t));
    t = Make(2024, 2, 29);
    EXPECT_TRUE(t.Add(1, 0, 0));
    EXPECT_EQ("2025-02-28 00:00:00.000", Stamp(t));
}

TEST(STimerAddTest, NegativeAmountsFail)
{
    STimer t = Make(2025, 5, 5);
    EXPECT_FALSE(t.Add(0, 0, -1));
    EXPECT_FALSE(t.Subtract(0, -1, 0));
    EXPECT_EQ("2025-05-05 00:00:00.000", Stamp(t));
}

TEST(STimerSubtractTest, BorrowsAcrossMonthAndYearEnds)
{
    STimer t = Make(2024, 3, 1);
    EXPECT_TRUE(t.Subtract(0, 0, 0, 0, 0, 1));
    EXPECT_EQ("2024-02-29 23:59:59.000", Stamp(t));

    t = Make(2026, 1, 1);
    EXPECT_TRUE(t.Subtract(0, 0, 1));
    EXPECT_EQ("2025-12-31 00:00:00.000", Stamp(t));

    t = Make(2026, 3, 15);
    EXPECT_TRUE(t.Subtract(0, 1, 0));
    EXPECT_EQ("2026-02-15 00:00:00.000", Stamp(t));

    t = Make(2026, 3, 31);
    EXPECT_TRUE(t.Subtract(0, 1, 0));
    EXPECT_EQ("2026-02-28 00:00:00.000", Stamp(t));

    t = Make(2026, 1, 15);
    EXPECT_TRUE(t.Subtract(0, 13, 0));
    EXPECT_EQ("2024-12-15 00:00:00.000", Stamp(t));
    EXPECT_TRUE(t.Subtract(0, 12, 0));
    EXPECT_EQ("2023-12-15 00:00:00.000", Stamp(t));
}

TEST(STimerSubtractTest, LargeBorrowsOfTimeAndDays)
{
    STimer t = Make(2024, 3, 1, 0, 0, 0, 0);
    EXPECT_TRUE(t.Subtract(0, 0, 0, 0, 0, 0, 86400001));
    EXPECT_EQ("2024-02-28 23:59:59.999", Stamp(t));
    t = Make(2801, 3, 1);
    EXPECT_TRUE(t.Subtract(0, 0, 146097 * 2 + 365));
    EXPECT_EQ("2000-03-01 00:00:00.000", Stamp(t));
}

TEST(STimerSubtractTest, UndoesAnAddition)
{
    STimer t = Make(2023, 11, 30, 22, 15, 40, 250);
    EXPECT_TRUE(t.Add(0, 0, 45, 5, 50, 30, 900));
    EXPECT_EQ("2024-01-15 04:06:11.150", Stamp(t));
    EXPECT_TRUE(t.Subtract(0, 0, 45, 5, 50, 30, 900));
    EXPECT_EQ("2023-11-30 22:15:40.250", Stamp(t));
}
