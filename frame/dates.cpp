// The frame's calendar on compact dates (year since 1900, month, day): today from the program's
// clock, ISO texts, Gregorian leap years, day numbers, weekdays, ISO 8601 weeks and distances.
// Every rule follows the Gregorian calendar over the whole range 1900-2155, so day numbers,
// weekdays, weeks, adding and subtracting days agree with each other everywhere.
#include "frame/dates.h"

#include <stdio.h>
#include <string.h>

#include "frame/clock.h"
#include "frame/text.h"

enum { DAYS_PER_400_YEARS = 146097 };

static long long floor_div(long long a, long long b) {
    long long q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

static long long floor_mod(long long a, long long b) {
    return a - floor_div(a, b) * b;
}

static int is_leap_full(long long year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

// Year lengths and month lengths for a year counted from 1900 (any value, also beyond a byte).
static int year_length(long long year) {
    return 365 + is_leap_full(year + 1900);
}

static int month_length(long long year, int month) {
    static const unsigned char lengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1) month = 1;
    if (month > 12) month = 12;
    return lengths[month - 1] + (month == 2 ? is_leap_full(year + 1900) : 0);
}

// Months outside 1-12 count as the nearest valid month, so garbage never reads beyond the table.
static int day_of_year(long long year, int month, int day) {
    if (month > 12) month = 12;
    int days = day - 1;
    for (int m = 1; m < month; m++) days += month_length(year, m);
    return days;
}

// Leap years from year 1 up to the full year (inclusive).
static long long leap_years_through(long long full_year) {
    return floor_div(full_year, 4) - floor_div(full_year, 100) + floor_div(full_year, 400);
}

// Days from 1 January 1901 to 1 January of the year counted from 1900.
static long long days_before_year(long long year) {
    long long full = year + 1900;
    return 365 * (full - 1901) + leap_years_through(full - 1) - leap_years_through(1900);
}

static int weekday_of_number(long long day_number) {
    return (int)floor_mod(day_number + 1, 7);
}

static int weekday_of_new_year(long long year) {
    return weekday_of_number(days_before_year(year));
}

void date_today(date_rec *date) {
    datetime_rec now;
    date_now(&now);
    date->year = now.year;
    date->month = now.month;
    date->day = now.day;
}

void date_now(datetime_rec *now) {
    platform_time moment;
    clock_now(&moment);
    int year = moment.year - 1900;
    now->year = (unsigned char)(year < 0 ? 0 : year > 255 ? 255 : year);
    now->month = (unsigned char)moment.month;
    now->day = (unsigned char)moment.day;
    now->hour = (unsigned char)moment.hour;
    now->minute = (unsigned char)moment.minute;
}

// Month and day above 99 would make the text longer than DATE_TEXT; it is cut.
void date_iso_text(char *text, const date_rec *date) {
    char full[32];
    snprintf(full, sizeof full, "%04d-%02d-%02d", date->year ? date->year + 1900 : 0, date->month,
             date->day);
    text_copy_max(text, full, DATE_TEXT);
}

void date_today_iso(char *text) {
    date_rec today;
    date_today(&today);
    date_iso_text(text, &today);
}

// Leading white space, a sign, then decimal digits; stops growing far beyond any date field.
static long read_number(const char *text) {
    while (text_is_space((unsigned char)*text)) text++;
    int negative = *text == '-';
    if (*text == '-' || *text == '+') text++;
    long value = 0;
    for (; *text >= '0' && *text <= '9'; text++) {
        if (value < 100000000L) value = value * 10 + (*text - '0');
    }
    return negative ? -value : value;
}

static const char *next_separator(const char *text) {
    for (; *text; text++) {
        if (*text == '/' || *text == '-') return text;
    }
    return NULL;
}

// A field whose separator is missing reads as 0 (an invalid month or day), so a cut text never
// passes for a real date.
void date_parse_iso(date_rec *date, const char *text) {
    long year = read_number(text) - 1900;
    date->year = (unsigned char)(year < 0 ? 0 : year > 255 ? 255 : year);
    date->month = 0;
    date->day = 0;
    const char *month_sep = strchr(text, '/');
    if (month_sep == NULL) month_sep = strchr(text, '-');
    if (month_sep == NULL) return;
    date->month = (unsigned char)(read_number(month_sep + 1) & 0xFF);
    const char *day_sep = next_separator(month_sep + 1);
    if (day_sep != NULL) date->day = (unsigned char)(read_number(day_sep + 1) & 0xFF);
}

// The value of count decimal digits at text, or -1 when one of them is no digit.
static int digits(const char *text, int count) {
    int value = 0;
    for (int i = 0; i < count; i++) {
        if (text[i] < '0' || text[i] > '9') return -1;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

bool date_text_valid(const char *text) {
    if (strlen(text) < DATE_TEXT || text[4] != '-' || text[7] != '-') return false;
    int year = digits(text, 4), month = digits(text + 5, 2), day = digits(text + 8, 2);
    return year >= 1 && month >= 1 && month <= 12 && day >= 1 &&
           day <= month_length(year - 1900, month);
}

bool time_text_valid(const char *text) {
    if (strlen(text) < 5 || text[2] != ':') return false;
    int hour = digits(text, 2), minute = digits(text + 3, 2);
    return hour >= 0 && hour <= 23 && minute >= 0 && minute <= 59;
}

int date_is_leap(int year) {
    return is_leap_full(year < 1900 ? year + 1900 : year);
}

int date_month_length(const date_rec *date) {
    return month_length(date->year, date->month);
}

int date_day_of_year(const date_rec *date) {
    return day_of_year(date->year, date->month, date->day);
}

long date_day_number(const date_rec *date) {
    return (long)(days_before_year(date->year) + date_day_of_year(date));
}

int date_weekday(const date_rec *date) {
    return weekday_of_number(date_day_number(date));
}

// ISO 8601: weeks start on Monday; week 1 is the week holding the year's first Thursday.
static void week_of(long long year, int day, int *week, long long *week_year) {
    int first = weekday_of_new_year(year);
    int w = (first + day) / 7 + (first < 4 ? 1 : 0);
    if (w == 0) {
        week_of(year - 1, year_length(year - 1) - 1, week, week_year);
        return;
    }
    if (w == 53) {
        int next = weekday_of_new_year(year + 1);
        if (next >= 1 && next <= 3) {
            *week = 1;
            *week_year = year + 1;
            return;
        }
    }
    *week = w;
    *week_year = year;
}

// week_year is the year counted from 1900 and may be -1 or 256 at the ends of the range.
void date_week(const date_rec *date, int *week, int *week_year) {
    long long year;
    week_of(date->year, date_day_of_year(date), week, &year);
    *week_year = (int)year;
}

// Whole 400-year cycles are taken at once, so any count of days costs at most a few hundred
// steps; the year byte wraps beyond 2155.
void date_add_days(date_rec *result, const date_rec *date, long days) {
    long long cycles = floor_div(days, DAYS_PER_400_YEARS);
    long long year = date->year + 400 * cycles;
    long long s = days - cycles * DAYS_PER_400_YEARS + date_day_of_year(date);
    while (s < 0) s += year_length(--year);
    while (s >= year_length(year)) s -= year_length(year++);
    int month = 1;
    while (s >= month_length(year, month)) s -= month_length(year, month++);
    result->year = (unsigned char)floor_mod(year, 256);
    result->month = (unsigned char)month;
    result->day = (unsigned char)(s + 1);
}

static int date_compare(const date_rec *a, const date_rec *b) {
    if (a->year != b->year) return a->year < b->year ? -1 : 1;
    if (a->month != b->month) return a->month < b->month ? -1 : 1;
    if (a->day != b->day) return a->day < b->day ? -1 : 1;
    return 0;
}

// Dates more than 80 years apart count as 30000 days, the mark of "no comparable date".
long date_diff_days(const date_rec *a, const date_rec *b) {
    int order = date_compare(a, b);
    if (order == 0) return 0;
    const date_rec *earlier = order < 0 ? a : b;
    const date_rec *later = order < 0 ? b : a;
    long magnitude;
    if (later->year - earlier->year > 80) {
        magnitude = 30000;
    } else {
        magnitude = (long)(days_before_year(later->year) - days_before_year(earlier->year) +
                           date_day_of_year(later) - date_day_of_year(earlier));
    }
    return order > 0 ? magnitude : -magnitude;
}

long datetime_diff_minutes(const datetime_rec *a, const datetime_rec *b) {
    date_rec day_a = {a->year, a->month, a->day};
    date_rec day_b = {b->year, b->month, b->day};
    return date_diff_days(&day_a, &day_b) * 1440L + (60L * a->hour + a->minute) -
           (60L * b->hour + b->minute);
}
