// Statistics and export of working times: the sums of the journal's counted periods per project
// (on every level of its name), per month and per ISO week, their list lines, copy texts and the
// export file. One evaluation state, shared by the statistics and the export.
#pragma once
#include "timerec/report.h"
#include <stddef.h>

enum statalk_mode { STAT_PROJECT = 0, STAT_MONTH = 1, STAT_WEEK = 2 };
// Outcomes of statalk_export_check.
enum { EXPORT_OFF = 1, EXPORT_GO = 0, EXPORT_REFUSED = -1 };

// Allocates the sum list (when a statistics or export dialog opens); frees it (when it closes).
void statalk_alloc(void);
void statalk_free(void);

// Sums the counted periods of the year file of year from year-from_md to year-to_md (month-day
// texts as the dialog fields hold them) grouped by mode; keeps the range and hours_minutes for
// the copy and the detail view. The number of counted periods, or -1 without a year file.
int statalk_evaluate(const char *year, const char *from_md, const char *to_md, int mode,
                     int hours_minutes);
// The grand total of the last evaluation in minutes.
int statalk_total(void);
// The range (texts of DATE_TEXT + 1 bytes) and the hours-and-minutes flag of the last evaluation.
void statalk_range(char *from, char *to);
int statalk_hours_minutes(void);

// The list lines in the order the list shows them: the total line first, then the groups by name
// without regard to case. Nothing when the grand total is not above 0.
void statalk_list(report_line_fn add, void *context);
// The groups of the list lines in the same order, each with its minutes: the total line (name "")
// first, then the groups.
typedef void (*stat_group_fn)(const char *name, int minutes, void *context);
void statalk_listed(stat_group_fn take, void *context);
// The text "&Kopieren" puts on the clipboard: the list lines, or with table the tab-separated
// table. An fmalloc block the caller frees, or NULL when the grand total is below 1.
char *statalk_copy(int table);
// For the list line selected (its index, -1 for none): the project name prefix of the detail
// view (REPORT_PREFIX_COLUMNS + 1 bytes); 0, or -1 when the detail view does not open (no line,
// the total line, or an evaluation by month or week).
int statalk_detail_prefix(int selected, const char *line, char *prefix);

// Whether the export may open with the export directory and person identifier as set: EXPORT_GO;
// EXPORT_OFF (no export directory, or the person "---"); EXPORT_REFUSED with message 51 shown.
int statalk_export_check(void);
// The export file of year: export directory + year + person identifier + ".txt".
void statalk_export_path(char *out, size_t size, const char *year);
// Sums the range under all kinds and writes the export file (path into out): 1 written, 0 nothing
// counted (no file written), -1 no year file (status message 23) or the file could not be
// written (warning shown, the old file kept).
int statalk_export(const char *year, const char *from_md, const char *to_md, char *path,
                   size_t size);
