// The weekly report: one row per project with its minutes per weekday, row and column sums and
// the grand total; its list lines, copy texts, and the week the dialog's fields show.
#pragma once
#include "timerec/report.h"

enum { WCHTALK_LINE = 120 };

// The dialog's range fields: year (also the year of the to day) and the from and to month-day.
struct week_fields {
    char year[5];
    char from[6];
    char to[6];
};

// Allocates the row list (when the dialog opens); frees it (when it closes).
void wchtalk_alloc(void);
void wchtalk_free(void);

// The fields for the previous calendar week, Monday to Sunday, as the dialog opens with.
void wchtalk_previous_week(week_fields *out);
// The fields for the week before (days -7) or after (+7) the from day of year and from_md: its
// Monday, the Sunday after it, the Monday's year.
void wchtalk_step(week_fields *out, const char *year, const char *from_md, int days);

// Sums the counted periods of year-from_md .. year-to_md per project and weekday; keeps the range
// and hours_minutes. The number of counted periods, or -1 without a year file.
int wchtalk_evaluate(const char *year, const char *from_md, const char *to_md, int hours_minutes);
int wchtalk_total(void);
void wchtalk_range(char *from, char *to);
int wchtalk_hours_minutes(void);
// The list lines: heading, one row per project by name, totals line; nothing when the grand
// total is not above 0.
void wchtalk_list(report_line_fn add, void *context);
// The text "&Kopieren" puts on the clipboard (an fmalloc block the caller frees), or NULL when the
// grand total is not above 0.
char *wchtalk_copy(int table);
// For the list line selected (its index, -1 for none): the project name prefix of the detail
// view; 0, or -1 when nothing opens (no line or the heading). The totals line gives "".
int wchtalk_detail_prefix(int selected, const char *line, char *prefix);
