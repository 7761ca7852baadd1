// The calendar: day numbers, weekdays, ISO weeks and day arithmetic checked day by day against
// an independent Julian-day computation, plus ISO texts, parsing and the program's clock.
#include "frame/dates.h"

#include <gtest/gtest.h>
#include <string.h>

#include "frame/clock.h"

namespace {

// Julian day number of a Gregorian date, and back (Fliegel and Van Flandern).
long julian_day(long y, long m, long d) {
    long a = (14 - m) / 12;
    long yy = y + 4800 - a, mm = m + 12 * a - 3;
    return d + (153 * mm + 2) / 5 + 365 * yy + yy / 4 - yy / 100 + yy / 400 - 32045;
}

struct civil {
    long year, month, day;
};

civil from_julian_day(long j) {
    long a = j + 32044;
    long b = (4 * a + 3) / 146097;
    long c = a - 146097 * b / 4;
    long d = (4 * c + 3) / 1461;
    long e = c - 1461 * d / 4;
    long m = (5 * e + 2) / 153;
    return {100 * b + d - 4800 + m / 10, m + 3 - 12 * (m / 10), e - (153 * m + 2) / 5 + 1};
}

// ISO 8601: the week is the one of its Thursday, counted in the Thursday's year.
void iso_week(long j, int *week, long *year) {
    long thursday = j - j % 7 + 3; // Julian day 0 was a Monday
    *year = from_julian_day(thursday).year;
    *week = (int)((thursday - julian_day(*year, 1, 1)) / 7 + 1);
}

date_rec make_date(long year, int month, int day) {
    return date_rec{(unsigned char)(year - 1900), (unsigned char)month, (unsigned char)day};
}

date_rec date_of_julian_day(long j) {
    civil c = from_julian_day(j);
    return make_date(c.year, (int)c.month, (int)c.day);
}

bool same_date(const date_rec &a, const date_rec &b) {
    return a.year == b.year && a.month == b.month && a.day == b.day;
}

std::string iso(const date_rec &d) {
    char text[DATE_TEXT + 1];
    date_iso_text(text, &d);
    return text;
}

const long FIRST_DAY = julian_day(1901, 1, 1);

// Every day the byte form can hold: 1900 to 2155.
TEST(DatesEveryDay, DayNumberWeekdayAndWeekMatchTheCalendar) {
    for (long j = julian_day(1900, 1, 1); j <= julian_day(2155, 12, 31); j++) {
        date_rec d = date_of_julian_day(j);
        civil c = from_julian_day(j);
        ASSERT_EQ(date_day_number(&d), j - FIRST_DAY) << iso(d);
        ASSERT_EQ(date_weekday(&d), (int)(j % 7)) << iso(d);
        ASSERT_EQ(date_day_of_year(&d), j - julian_day(c.year, 1, 1)) << iso(d);
        long next_month =
            c.month == 12 ? julian_day(c.year + 1, 1, 1) : julian_day(c.year, c.month + 1, 1);
        ASSERT_EQ(date_month_length(&d), next_month - julian_day(c.year, c.month, 1)) << iso(d);
        int week, week_year, expected_week;
        long expected_year;
        date_week(&d, &week, &week_year);
        iso_week(j, &expected_week, &expected_year);
        ASSERT_EQ(week, expected_week) << iso(d);
        ASSERT_EQ(week_year, expected_year - 1900) << iso(d);
    }
}

TEST(DatesEveryDay, AddAndDiffDaysRoundTrip) {
    const date_rec first = make_date(1901, 1, 1);
    const long steps[] = {1, 7, 59, 366, 1461, 10000, 29000};
    for (long j = FIRST_DAY; j <= julian_day(2099, 12, 31); j++) {
        date_rec d = date_of_julian_day(j);
        date_rec sum;
        date_add_days(&sum, &first, j - FIRST_DAY);
        ASSERT_TRUE(same_date(sum, d)) << iso(d) << " got " << iso(sum);
        long expected = d.year - first.year > 80 ? 30000 : j - FIRST_DAY;
        ASSERT_EQ(date_diff_days(&d, &first), expected) << iso(d);
        ASSERT_EQ(date_diff_days(&first, &d), -expected) << iso(d);
        for (long step : steps) {
            if (j + step > julian_day(2155, 12, 31)) continue; // the year byte would wrap
            date_rec later, back;
            date_add_days(&later, &d, step);
            date_add_days(&back, &later, -step);
            ASSERT_TRUE(same_date(later, date_of_julian_day(j + step))) << iso(d) << "+" << step;
            ASSERT_TRUE(same_date(back, d)) << iso(d) << "+" << step;
            ASSERT_EQ(date_diff_days(&later, &d), step) << iso(d) << "+" << step;
        }
    }
}

TEST(Dates, KnownDaysAndWeeks) {
    struct {
        long year;
        int month, day;
        int weekday, week, week_year;
    } cases[] = {
        {1901, 1, 1, 1, 1, 1901},    {2003, 12, 1, 0, 49, 2003},  {2003, 12, 31, 2, 1, 2004},
        {2005, 1, 1, 5, 53, 2004},   {2010, 1, 1, 4, 53, 2009},   {2008, 12, 29, 0, 1, 2009},
        {2004, 12, 31, 4, 53, 2004}, {1900, 1, 1, 0, 1, 1900},    {2100, 3, 1, 0, 9, 2100},
        {2155, 12, 31, 2, 1, 2156},  {2099, 12, 31, 3, 53, 2099},
    };
    for (const auto &c : cases) {
        date_rec d = make_date(c.year, c.month, c.day);
        int week, week_year;
        date_week(&d, &week, &week_year);
        EXPECT_EQ(date_weekday(&d), c.weekday) << iso(d);
        EXPECT_EQ(week, c.week) << iso(d);
        EXPECT_EQ(week_year + 1900, c.week_year) << iso(d);
    }
    date_rec first = make_date(1901, 1, 1);
    EXPECT_EQ(date_day_number(&first), 0);
    date_rec year_1900 = make_date(1900, 1, 1);
    EXPECT_EQ(date_day_number(&year_1900), -365);
}

TEST(Dates, LeapYearsAndMonthsOutOfRange) {
    const int leap[] = {2004, 104, 2000, 100}; // 104 and 100: years since 1900
    const int common[] = {1900, 0, 2100, 2003, 3};
    for (int year : leap) EXPECT_EQ(date_is_leap(year), 1) << year;
    for (int year : common) EXPECT_EQ(date_is_leap(year), 0) << year;
    date_rec no_month = make_date(2004, 0, 1), garbage = {104, 250, 250};
    EXPECT_EQ(date_month_length(&no_month), 31);      // clamped to January
    EXPECT_EQ(date_month_length(&garbage), 31);       // clamped to December
    EXPECT_EQ(date_day_of_year(&garbage), 335 + 249); // never reads beyond the month table
}

TEST(Dates, AddDaysWrapsTheYearByteAndMayWorkInPlace) {
    date_rec result;
    date_rec last = make_date(2155, 12, 31), first = make_date(1900, 1, 1);
    date_add_days(&result, &last, 1);
    EXPECT_TRUE(same_date(result, date_rec{0, 1, 1}));
    date_add_days(&result, &first, -1);
    EXPECT_TRUE(same_date(result, date_rec{255, 12, 31}));
    date_rec same = make_date(2004, 3, 1);
    date_add_days(&same, &same, -1);
    EXPECT_TRUE(same_date(same, make_date(2004, 2, 29)));
}

TEST(Dates, AddDaysHugeCountsAreFast) {
    // 400 Gregorian years are 146097 days, and 256 * 400 years bring the year byte back.
    date_rec start = make_date(2004, 2, 29), result;
    date_add_days(&result, &start, 146097L * 256 * 50);
    EXPECT_TRUE(same_date(result, start));
    date_add_days(&result, &start, -146097L * 256 * 50);
    EXPECT_TRUE(same_date(result, start));
    date_add_days(&result, &start, 2147483647L);
    date_add_days(&result, &start, -2147483647L - 1);
}

TEST(Dates, DiffDaysAndMinutes) {
    date_rec a = make_date(2004, 1, 1), b = make_date(2003, 12, 31);
    EXPECT_EQ(date_diff_days(&a, &b), 1);
    EXPECT_EQ(date_diff_days(&b, &a), -1);
    EXPECT_EQ(date_diff_days(&a, &a), 0);
    date_rec old = make_date(1923, 1, 1), young = make_date(2003, 12, 31);
    EXPECT_EQ(date_diff_days(&young, &old), 29584); // years 80 apart: counted
    date_rec older = make_date(1922, 12, 31);
    young = make_date(2003, 1, 1);
    EXPECT_EQ(date_diff_days(&young, &older), 30000);
    EXPECT_EQ(date_diff_days(&older, &young), -30000);

    datetime_rec start = {104, 2, 28, 23, 50}, end = {104, 2, 29, 0, 10};
    EXPECT_EQ(datetime_diff_minutes(&end, &start), 20);
    EXPECT_EQ(datetime_diff_minutes(&start, &end), -20);
    datetime_rec morning = {104, 2, 29, 8, 15}, evening = {104, 2, 29, 17, 0};
    EXPECT_EQ(datetime_diff_minutes(&evening, &morning), 525);
}

TEST(Dates, IsoTextIsCutToTenCharacters) {
    struct {
        date_rec date;
        const char *text;
    } cases[] = {
        {{103, 12, 7}, "2003-12-07"},
        {{0, 0, 0}, "0000-00-00"},
        {{0, 5, 6}, "0000-05-06"},
        {{255, 255, 255}, "2155-255-2"},
    };
    for (const auto &c : cases) {
        char text[DATE_TEXT + 2];
        memset(text, 'G', sizeof text);
        date_iso_text(text, &c.date);
        EXPECT_STREQ(text, c.text);
        EXPECT_EQ(text[DATE_TEXT + 1], 'G');
    }
}

TEST(Dates, ParsesIsoTextsWithDashesOrSlashes) {
    struct {
        const char *text;
        int year, month, day;
    } cases[] = {
        {"2003-12-07", 103, 12, 7},
        {"2003/12/07", 103, 12, 7},
        {"  2003-1-2 08:15 X", 103, 1, 2},
        {"+2003/12-07", 103, 12, 7},
        {"1899-01-02", 0, 1, 2},
        {"9999-01-02", 255, 1, 2},
        {"2003-300-07", 103, 44, 7}, // month kept as its low byte, unchecked
        {"2003-12", 103, 12, 0},     // a missing separator gives 0
        {"2003", 103, 0, 0},
        {"", 0, 0, 0},
        {"abc", 0, 0, 0},
        {"99999999999999999999-1-1", 255, 1, 1},
    };
    for (const auto &c : cases) {
        date_rec d = {9, 9, 9};
        date_parse_iso(&d, c.text);
        EXPECT_EQ(d.year, c.year) << c.text;
        EXPECT_EQ(d.month, c.month) << c.text;
        EXPECT_EQ(d.day, c.day) << c.text;
    }
}

TEST(Dates, TodayAndNowComeFromTheProgramClock) {
    platform_time moment = {2004, 2, 29, 13, 45, 10};
    clock_fix(&moment);
    date_rec today;
    datetime_rec now;
    char text[DATE_TEXT + 1];
    date_today(&today);
    date_now(&now);
    date_today_iso(text);
    clock_release();
    EXPECT_TRUE(same_date(today, make_date(2004, 2, 29)));
    EXPECT_EQ(now.hour, 13);
    EXPECT_EQ(now.minute, 45);
    EXPECT_STREQ(text, "2004-02-29");
}

} // namespace
