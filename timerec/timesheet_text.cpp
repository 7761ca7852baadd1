// The monthly timesheet as text: its rows as ten fields, aligned into list lines or joined by
// tabs into the table, durations as h:mm and times as HH:MM.
#include "frame/text.h"
#include "frame/texts.h"
#include "resources/text_ids.h"
#include "timerec/timesheet.h"
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

namespace {

enum { CELLS = 9, NAME_FIELD = 40, LEAD_WIDTH = 14 };

// Tag, Datum, Kommen, Gehen, Pause, Ist, Soll, Differenz, Saldo, Bemerkung.
struct sheet_fields {
    char cells[CELLS][NAME_FIELD + 1];
    const char *remark;
    char heading_remark[NAME_FIELD + 1];
};

// The widths of Kommen to Saldo in the list lines (right-aligned).
const int widths[CELLS] = {0, 0, 7, 7, 7, 8, 8, 10, 10};

const char *const weekdays[7] = {"Mo", "Di", "Mi", "Do", "Fr", "Sa", "So"};

} // namespace

static void duration(char *out, long minutes) {
    report_duration(out, minutes, 0, 1);
}

static void clock_time(char *out, long minutes) {
    long magnitude = labs(minutes);
    snprintf(out, NAME_FIELD + 1, "%s%02ld:%02ld", minutes < 0 ? "-" : "", magnitude / 60,
             magnitude % 60);
}

static void day_fields(const sheet_row *row, sheet_fields *out) {
    memset(out->cells, 0, sizeof out->cells);
    text_copy_max(out->cells[0], weekdays[row->weekday % 7], NAME_FIELD);
    snprintf(out->cells[1], NAME_FIELD + 1, "%.2s.%.2s.%.4s", row->date + 8, row->date + 5,
             row->date);
    if (row->has_begin) clock_time(out->cells[2], row->begin);
    if (row->has_end) clock_time(out->cells[3], row->end);
    if (row->has_pause) duration(out->cells[4], row->pause);
    if (row->counted || row->booked) duration(out->cells[5], row->worked);
    duration(out->cells[6], row->target);
    if (row->counted) duration(out->cells[7], row->difference);
    if (row->has_balance) duration(out->cells[8], row->balance);
    out->remark = row->remark;
}

// A row after the days: its name in the first column; the sum fills Ist, Soll and Differenz, the
// others the Saldo column.
static void summary_fields(int name, const long *sums, bool shown, long balance, const char *remark,
                           sheet_fields *out) {
    memset(out->cells, 0, sizeof out->cells);
    text_copy_max(out->cells[0], text(name), NAME_FIELD);
    if (sums) {
        for (int i = 0; i < 3; i++) duration(out->cells[5 + i], sums[i]);
    } else if (shown) {
        duration(out->cells[8], balance);
    }
    out->remark = remark;
}

static void heading_fields(sheet_fields *out) {
    char names[SHEET_LINE + 1];
    text_copy_max(names, text(TXT_SHEET_COLUMNS), SHEET_LINE);
    char *name = names;
    for (int i = 0; i < CELLS; i++) {
        char *tab = strchr(name, '\t');
        if (tab) *tab = 0;
        text_copy_max(out->cells[i], name, NAME_FIELD);
        name = tab ? tab + 1 : name + strlen(name);
    }
    text_copy_max(out->heading_remark, name, NAME_FIELD);
    out->remark = out->heading_remark;
}

// Tag and Datum in the first 14 columns (a row name fills both), the durations right-aligned,
// then the remark; no blanks at the end.
static void list_line(char *out, const sheet_fields *f) {
    char lead[2 * NAME_FIELD + 2];
    snprintf(lead, sizeof lead, "%-4s%s", f->cells[0], f->cells[1]);
    int length = snprintf(out, SHEET_LINE + 1, "%-*s", LEAD_WIDTH, lead);
    for (int i = 2; i < CELLS && length < SHEET_LINE; i++)
        length += snprintf(out + length, (size_t)(SHEET_LINE + 1 - length), "%*s", widths[i],
                           f->cells[i]);
    if (length < SHEET_LINE)
        snprintf(out + length, (size_t)(SHEET_LINE + 1 - length), "  %s", f->remark);
    text_trim_right(out);
}

static void table_line(report_text *out, const sheet_fields *f) {
    for (int i = 0; i < CELLS; i++) {
        report_text_add(out, f->cells[i]);
        report_text_add(out, "\t");
    }
    report_text_line(out, f->remark);
}

// Hands each row's fields to emit: the heading, the days, the sum, the carry, the balance.
template <typename Emit> static void each_row(const timesheet *sheet, Emit emit) {
    sheet_fields fields;
    heading_fields(&fields);
    emit(&fields);
    for (int i = 0; i < sheet->days; i++) {
        day_fields(&sheet->rows[i], &fields);
        emit(&fields);
    }
    const long sums[3] = {sheet->worked, sheet->target, sheet->difference};
    summary_fields(TXT_SHEET_SUM, sums, true, 0, sheet->sum_remark, &fields);
    emit(&fields);
    summary_fields(TXT_SHEET_CARRY, nullptr, sheet->has_carry, sheet->carry, sheet->carry_remark,
                   &fields);
    emit(&fields);
    summary_fields(TXT_SHEET_BALANCE, nullptr, sheet->has_balance, sheet->balance, "", &fields);
    emit(&fields);
}

void timesheet_list(const timesheet *sheet, report_line_fn add, void *context) {
    each_row(sheet, [&](const sheet_fields *fields) {
        char line[SHEET_LINE + 1];
        list_line(line, fields);
        add(line, context);
    });
}

char *timesheet_copy(const timesheet *sheet, int table) {
    report_text out;
    report_text_begin(&out, "timesheet");
    if (table)
        each_row(sheet, [&](const sheet_fields *fields) { table_line(&out, fields); });
    else
        timesheet_list(sheet, report_text_line_fn, &out);
    return report_text_take(&out);
}

int timesheet_row_date(const timesheet *sheet, int index, char *date) {
    if (index < 1 || index > sheet->days) return -1;
    text_copy_max(date, sheet->rows[index - 1].date, DATE_TEXT);
    return 0;
}
