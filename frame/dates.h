// The frame's calendar: compact dates, local time, ISO texts, Gregorian rules, day numbers,
// weekdays, ISO 8601 weeks, adding days and distances in days and minutes.
#pragma once

// Year as years since 1900 (0 stands for no date), month 1-12, day 1-31. Comparing the bytes
// in order orders the dates in time.
struct date_rec {
    unsigned char year, month, day;
};
struct datetime_rec {
    unsigned char year, month, day, hour, minute;
};
struct filetime_rec {
    unsigned char year, month, day, hour, minute, second;
};

enum { DATE_TEXT = 10 };

void date_today(date_rec *date);
void date_now(datetime_rec *now);
// "%04d-%02d-%02d"; text holds DATE_TEXT + 1 bytes.
void date_iso_text(char *text, const date_rec *date);
void date_today_iso(char *text);
void date_parse_iso(date_rec *date, const char *text);
// Whether text begins with a day of the calendar as YYYY-MM-DD (year 1 to 9999), or with a time
// of day as HH:MM (00:00 to 23:59).
bool date_text_valid(const char *text);
bool time_text_valid(const char *text);
// Year as a full year, or years since 1900 when below 1900.
int date_is_leap(int year);
int date_month_length(const date_rec *date);
int date_day_of_year(const date_rec *date);
// Days since 1 January 1901 (that day is 0).
long date_day_number(const date_rec *date);
// 0 Monday ... 6 Sunday.
int date_weekday(const date_rec *date);
// ISO 8601 week (1-53) and the year byte of the year the week belongs to.
void date_week(const date_rec *date, int *week, int *week_year);
void date_add_days(date_rec *result, const date_rec *date, long days);
long date_diff_days(const date_rec *a, const date_rec *b);
long datetime_diff_minutes(const datetime_rec *a, const datetime_rec *b);
