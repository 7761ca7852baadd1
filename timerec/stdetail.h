// The detail view: one list line per counted period of the projects a name prefix selects, with
// duration, unit, weekend marker and booking text, and its plain and table copy texts.
#pragma once
#include "timerec/report.h"

enum {
    STDETAIL_TEXT = 40, // characters of a booking text shown
    STDETAIL_LINE = 120,
};

// Walks the year file of from (its first four characters) over from..to (YYYY-MM-DD) and hands
// each line, in journal order, to add. An empty prefix selects every period. The number of
// lines, or -1 without a year file.
int stdetail_collect(const char *prefix, const char *from, const char *to, int hours_minutes,
                     report_line_fn add, void *context);
// The list line of one period (out holds STDETAIL_LINE + 1 bytes).
void stdetail_line(char *out, const char *date, const char *project, int minutes,
                   const char *booking_text, int hours_minutes);
// Adds a list line to a copy text: as it stands, or with table as date, project, duration and
// text separated by tabs; each followed by "\r\n".
void stdetail_copy_line(report_text *out, const char *line, int table);
