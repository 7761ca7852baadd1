// The weekly report "DB1140": a range of days (by default last week) as a table of projects and
// weekdays from wchtalk, stepped a week back or forward, copied, and opening the detail view.
#include "frame/dates.h"
#include "frame/dialog.h"
#include "resources/kx_ids.h"
#include "timerec/report.h"
#include "timerec/report_dialogs.h"
#include "timerec/wchtalk.h"
#include <stdint.h>

enum { YEAR_FIELD = 10, MONTH_DAY_FIELD = 10 };

static void show_week(const week_fields *week) {
    dlg_set_text(ID_WEEK_YEAR, week->year);
    dlg_set_text(ID_WEEK_YEAR_TO, week->year);
    dlg_set_text(ID_WEEK_FROM, week->from);
    dlg_set_text(ID_WEEK_TO, week->to);
}

static void weekly_on_open(void) {
    week_fields week;
    wchtalk_previous_week(&week);
    show_week(&week);
    dlg_list_reset(ID_WEEK_LIST);
    wchtalk_alloc();
    dlg_set_text(ID_WEEK_BACK, "-");
    dlg_set_text(ID_WEEK_FORWARD, "+");
}

static void weekly_on_close(void) {
    wchtalk_free();
}

// The week before or after the one the fields begin with; evaluated when the user asks.
static void step(int days) {
    char year[YEAR_FIELD + 1], from[MONTH_DAY_FIELD + 1];
    dlg_get_text(ID_WEEK_YEAR, year, sizeof year);
    dlg_get_text(ID_WEEK_FROM, from, sizeof from);
    dlg_list_reset(ID_WEEK_LIST);
    week_fields week;
    wchtalk_step(&week, year, from, days);
    show_week(&week);
}

static void copy_year(void) {
    dlg_set_text(ID_WEEK_YEAR_TO, dlg_text(ID_WEEK_YEAR));
}

static void evaluate(void) {
    char year[YEAR_FIELD + 1], from[MONTH_DAY_FIELD + 1], to[MONTH_DAY_FIELD + 1];
    dlg_get_text(ID_WEEK_YEAR, year, sizeof year);
    dlg_get_text(ID_WEEK_FROM, from, sizeof from);
    dlg_get_text(ID_WEEK_TO, to, sizeof to);
    dlg_list_reset(ID_WEEK_LIST);
    wchtalk_evaluate(year, from, to, dlg_get_check(ID_WEEK_MINUTES) == BST_CHECKED);
    dlg_list_redraw(ID_WEEK_LIST, 0);
    wchtalk_list(report_list_line, (void *)(intptr_t)ID_WEEK_LIST);
    dlg_list_redraw(ID_WEEK_LIST, 1);
}

static void copy(void) {
    report_to_clipboard(wchtalk_copy(dlg_get_check(ID_WEEK_TABLE) == BST_CHECKED));
}

static void show_detail(void) {
    char line[WCHTALK_LINE + 1], prefix[REPORT_PREFIX_COLUMNS + 1];
    int selected = report_selected_line(ID_WEEK_LIST, line, sizeof line);
    if (wchtalk_detail_prefix(selected, line, prefix) < 0) return;
    char from[DATE_TEXT + 1], to[DATE_TEXT + 1];
    wchtalk_range(from, to);
    detail_show(prefix, from, to, wchtalk_hours_minutes());
}

static int on_command(WPARAM wparam) {
    if (is_change(ID_WEEK_YEAR, wparam)) {
        copy_year();
        return 0;
    }
    if (is_list_event(ID_WEEK_LIST, wparam) == 3) {
        show_detail();
        return 1;
    }
    if (HIWORD(wparam) != BN_CLICKED) return 0;
    switch (LOWORD(wparam)) {
    case ID_WEEK_BACK:
        step(-7);
        return 1;
    case ID_WEEK_FORWARD:
        step(7);
        return 1;
    case ID_WEEK_EVALUATE:
        evaluate();
        return 1;
    case ID_WEEK_COPY:
        copy();
        return 1;
    case ID_WEEK_DETAIL:
        show_detail();
        return 1;
    case IDCANCEL:
        dialog_close_current();
        return 1;
    default:
        return 0;
    }
}

static int weekly_handler(UINT message, WPARAM wparam, LPARAM) {
    return message == WM_COMMAND ? on_command(wparam) : 0;
}

void weekly_open(void) {
    dialog_open(DLG_WEEKLY, weekly_on_open, weekly_on_close, weekly_handler);
}
