// The report dialogs: statistics, export and weekly report (opened by the main window's menu), the
// detail view (opened from the statistics and the weekly report), and what their files share.
#pragma once

// Menu commands 1100 and 1110: open the statistics or the export; with either open already, it
// is closed and the command posted again, so the one asked for opens fresh.
void statistics_open(void);
void export_open(void);
// Menu command 1140: opens the weekly report, or brings the open one to the front.
void weekly_open(void);
// Menu command 1190: opens the monthly timesheet, or brings the open one to the front.
void timesheet_open(void);
// Menu command 1160: opens the check of the current year file's lines, or brings the open one to
// the front.
void verify_open(void);
// Shows the periods of the projects that prefix selects from..to (YYYY-MM-DD): opens the detail
// view, or brings the open one to the front filled anew with these values.
void detail_show(const char *prefix, const char *from, const char *to, int hours_minutes);

// A report_line_fn that appends the line to the current dialog's list box whose id is the
// context.
void report_list_line(const char *line, void *item);
// Puts a copy text on the clipboard and frees it; NULL (nothing to copy) does nothing. 0 when
// the text is on the clipboard, else -1.
int report_to_clipboard(char *text);
// The selected line of the current dialog's list box item (its index, -1 for none) into line
// (size bytes; empty without a selection).
int report_selected_line(int item, char *line, int size);
