// The journal check: the lines of a year file that the readers skip, mis-pair or cut short, each
// with its line number and one reason.
#pragma once
#include <stddef.h>

// The reasons; a line gets the first of them that applies, in this order.
enum check_reason {
    CHECK_BAD_DATE,   // columns 0-9 are no day of the calendar
    CHECK_COLUMNS,    // the blanks of columns 10-11 or 17-19 are something else
    CHECK_BAD_TIME,   // columns 12-16 are no time of day
    CHECK_OTHER_YEAR, // a day of another year than the file's
    CHECK_DATE_BACK,  // a day before that of the previous line with a good date and time
    CHECK_TIME_BACK,  // that line's day and an earlier time
    CHECK_SAME_TIME,  // the day and time of an earlier line
    CHECK_NOT_CLOSED, // opens a period that nothing closes
    CHECK_TOO_LONG,   // text beyond the characters the walk reads
    CHECK_AFTER_END,  // text after an end-of-file byte, which no reader sees
    CHECK_REASONS
};

enum { CHECK_TEXT_MAX = 100 }; // characters of a line a finding shows

struct check_finding {
    long line;        // counted from 1, every line of the file
    int reason;       // check_reason
    long same_as;     // CHECK_SAME_TIME: the earlier line of that day and time
    const char *text; // the line's first CHECK_TEXT_MAX characters, carriage returns left out
};

// Receives the findings in the order of their lines; the finding is valid during the call.
typedef void (*journal_check_fn)(const check_finding *finding, void *context);

// Checks the year file path, whose year is year, in one pass; report may be NULL. The number of
// findings, or -1 when the file cannot be read (or no memory had for the check).
long journal_check(const char *path, int year, journal_check_fn report, void *context);

// journal_check on the current year file (its year taken from its name).
long journal_check_current(journal_check_fn report, void *context);

// The reason of a finding as the user reads it ("Gleiche Zeit wie Zeile 12.") into out; its
// length.
size_t journal_check_reason(char *out, size_t size, const check_finding *finding);
// A finding as one line of text, "2026.txt:1843: Spalten verschoben." (name: the year file's
// name), into out; its length.
size_t journal_check_line(char *out, size_t size, const char *name, const check_finding *finding);
// A finding as a row of the check dialog's list: line number, reason and the line, separated by
// tabs, into out; its length.
size_t journal_check_row(char *out, size_t size, const check_finding *finding);
// The day a finding's line bears, YYYY-MM-DD into out (11 bytes), when it is a day of the
// calendar; 0, or -1.
int journal_check_day(char *out, const check_finding *finding);
// The check dialog's heading for count findings in the year file name (-1: it cannot be read) of
// which shown are listed.
void journal_check_summary(char *out, size_t size, const char *name, long count, long shown);
// What the status line says of count (> 0) findings in the year file name, and where to look.
void journal_check_status(char *out, size_t size, const char *name, long count);
