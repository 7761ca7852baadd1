// The monthly timesheet: one row per day with the times of coming and going, pause, hours worked,
// target, difference and balance, holidays, absences and the marks of the working-time rules;
// the month's sum, the balance carried in and the balance at its end. Its list lines and copy
// texts.
#pragma once
#include "frame/dates.h"
#include "timerec/report.h"

enum {
    SHEET_ROWS = 31,
    SHEET_REMARK = 200, // characters of a row's remark
    SHEET_LINE = 300,
};

// One day. A time or duration is shown only when its flag is set.
struct sheet_row {
    char date[DATE_TEXT + 1]; // YYYY-MM-DD
    int weekday;              // 0 Monday ... 6 Sunday
    long begin, end, pause;   // minutes after midnight, and the pause minutes
    bool has_begin, has_end, has_pause;
    long worked, target;
    bool booked;  // the day holds a booking
    bool counted; // the day is not after today: its difference and balance are shown
    long difference;
    bool has_balance; // counted and not before the start of the balance
    long balance;
    char remark[SHEET_REMARK + 1];
};

struct timesheet {
    int year, month, days;
    sheet_row rows[SHEET_ROWS];
    long worked, target, difference; // of the counted days
    bool has_carry, has_balance;     // both need a start of the balance before the month's end
    long carry, balance;             // before the first day, at the last counted day
    char sum_remark[SHEET_REMARK + 1];
    char carry_remark[SHEET_REMARK + 1];
    bool year_file_missing;
};

// The current month of the program's clock.
void timesheet_this_month(int *year, int *month);
// The month months after (before, when negative) year-month.
void timesheet_step(int *year, int *month, int months);

// The sheet of year-month (1901-2099, 1-12) from the working-time settings, the holidays and the
// year files from the start of the balance on. 0, or -1 without memory for the holidays.
int timesheet_evaluate(timesheet *out, int year, int month);

// The list lines: a heading, one line per day, then the sum, the balance carried in and the
// balance at the end, in aligned columns.
void timesheet_list(const timesheet *sheet, report_line_fn add, void *context);
// The text "&Kopieren" puts on the clipboard (an fmalloc block the caller frees): the list lines,
// or with table the same rows tab-separated under the column names.
char *timesheet_copy(const timesheet *sheet, int table);
// The date (YYYY-MM-DD into date) of the list line index; -1 for a line that is no day.
int timesheet_row_date(const timesheet *sheet, int index, char *date);
