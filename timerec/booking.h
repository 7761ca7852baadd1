// The main window's booking rules, apart from the window: which list entries can be chosen,
// which moment a choice takes, the indicator, the window title, checking a typed moment, and
// the week check of the start-up.
#pragma once
#include "frame/platform.h"
#include <stddef.h>

enum {
    BOOKING_DATE_FIELD = 19, // characters read from the strip's fields
    BOOKING_TIME_FIELD = 9,
    BOOKING_PROJECT_FIELD = 19,
    BOOKING_TEXT_FIELD = 79,
    BOOKING_ENTRY_ID = 15, // the identifier column of a list entry
    BOOKING_TITLE = 120,
};

// 1 when a list entry can be chosen: it holds text and begins with neither ";" nor a blank.
int booking_can_choose(const char *entry);
// 1 when choosing sets today's date and the present time: the strip shows a pause or a booking
// of today. 0 for an open day, whose date and time stay so that its end can be booked.
int booking_takes_now(const char *strip_date, const char *strip_project, const char *today);
// The present time as HH:MM (out holds 6 bytes).
void booking_now_time(char *out);
// The identifier column of an entry: its first 15 characters, trailing blanks included.
void booking_entry_project(char *out, const char *entry);
// "AUS" for a pause (project beginning with "-"), else "EIN".
const char *booking_indicator(const char *project);
// The window title "Zeiterfassung - PROJECT", trimmed at both ends.
void booking_title(char *out, size_t size, const char *project);
// 1 when date (YYYY-MM-DD) is a day of the calendar and time (HH:MM) a time of day.
int booking_moment_valid(const char *date, const char *time);
// "YYYY-MM-DD HH:MM" as a moment; 0, or -1 when it is no possible moment.
int booking_parse_moment(const char *text, platform_time *moment);
// Stores the present calendar week as LastWeek; 1 when a stored week other than 0 differs from
// it, so the export is to be offered.
int booking_week_check(void);
