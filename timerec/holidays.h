// The holidays: the file "Feiertage.txt" in the common directory, shared by a team, or the
// holidays that hold in all of Germany, with Easter computed.
#pragma once
#include "frame/dates.h"
#include <stddef.h>

enum {
    HOLIDAY_NAME = 60,  // characters of a holiday's name
    HOLIDAY_LINE = 200, // characters of a line of the file read
    HOLIDAY_TEXT = DATE_TEXT + 7 + HOLIDAY_NAME,
};

// A holiday: its date, its name and its target in minutes (0 unless its line gives a reduced
// one; a day's target is never raised by it).
struct holiday {
    char date[DATE_TEXT + 1];
    char name[HOLIDAY_NAME + 1];
    int target;
    bool reduced;
};

// The holidays of a range of years by date, in an fmalloc block that grows with them.
struct holiday_table {
    holiday *days;
    int count;
    int capacity;
};

extern const char HOLIDAYS_FILE[];

// The holidays file's path: common directory + "Feiertage.txt".
void holidays_path(char *out, size_t size);
// Easter Sunday of a Gregorian year.
void holidays_easter(int year, date_rec *easter);
// The holidays of first_year..last_year into table (emptied first): the file's lines of those
// years; for a year the file names no day of, or without the file, the holidays of all of
// Germany. A line that cannot be read is named in the status line and skipped; two holidays of
// one day become one with both names. 0, or -1 without memory.
int holidays_load(holiday_table *table, int first_year, int last_year);
// The holiday of date (YYYY-MM-DD), or NULL.
const holiday *holidays_find(const holiday_table *table, const char *date);
void holidays_free(holiday_table *table);
// A holiday as a line of the file: "YYYY-MM-DD Name" or "YYYY-MM-DD h:mm Name" (out holds
// HOLIDAY_TEXT + 1 bytes).
void holidays_line(char *out, const holiday *day);
