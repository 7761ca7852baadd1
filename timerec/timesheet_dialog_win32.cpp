// The monthly timesheet "DB1190": a month (by default the current one) stepped back and forward,
// its sheet from timesheet in the list, copied as text or table, a day's bookings in the detail
// view.
#include "frame/dialog.h"
#include "frame/messages.h"
#include "frame/text.h"
#include "frame/texts.h"
#include "resources/kx_ids.h"
#include "resources/text_ids.h"
#include "timerec/day_editor.h"
#include "timerec/report_dialogs.h"
#include "timerec/timesheet.h"
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

enum { FIELD = 10 };

// The sheet in the list: what "&Kopieren" and "&Detail..." take.
static timesheet shown;

static void show_month(int year, int month) {
    char text[FIELD + 1];
    snprintf(text, sizeof text, "%02d", month);
    dlg_set_text(ID_MONTH_MONTH, text);
    snprintf(text, sizeof text, "%04d", year);
    dlg_set_text(ID_MONTH_YEAR, text);
}

// The month of the fields; false (with a message) when they hold none of 1901-2099.
static bool read_month(int *year, int *month) {
    char year_text[FIELD + 1], month_text[FIELD + 1];
    dlg_get_text(ID_MONTH_YEAR, year_text, sizeof year_text);
    dlg_get_text(ID_MONTH_MONTH, month_text, sizeof month_text);
    text_trim(year_text);
    text_trim(month_text);
    *year = atoi(year_text);
    *month = atoi(month_text);
    if (text_match("####", year_text) && *year >= 1901 && *year <= 2099 &&
        (text_match("#", month_text) || text_match("##", month_text)) && *month >= 1 &&
        *month <= 12)
        return true;
    char both[2 * FIELD + 2];
    snprintf(both, sizeof both, "%s %s", month_text, year_text);
    msg_warn(text(TXT_BAD_MONTH), both);
    return false;
}

// Lets the list scroll sideways as far as its widest line reaches in the list's own font.
static void fit_width(const char *widest) {
    HWND list = GetDlgItem(dialog_window(), ID_MONTH_LIST);
    HDC dc = GetDC(list);
    HGDIOBJ old = SelectObject(dc, (HFONT)SendMessageA(list, WM_GETFONT, 0, 0));
    SIZE size = {};
    GetTextExtentPoint32A(dc, widest, (int)strlen(widest), &size);
    SelectObject(dc, old);
    ReleaseDC(list, dc);
    SendMessageA(list, LB_SETHORIZONTALEXTENT, (WPARAM)size.cx + 2 * GetSystemMetrics(SM_CXEDGE),
                 0);
}

struct list_fill {
    char widest[SHEET_LINE + 1];
};

static void add_line(const char *line, void *context) {
    list_fill *fill = (list_fill *)context;
    if (strlen(line) > strlen(fill->widest)) text_copy_max(fill->widest, line, SHEET_LINE);
    report_list_line(line, (void *)(intptr_t)ID_MONTH_LIST);
}

static void show_sheet(int year, int month) {
    dlg_list_reset(ID_MONTH_LIST);
    if (timesheet_evaluate(&shown, year, month) != 0) return;
    list_fill fill = {};
    dlg_list_redraw(ID_MONTH_LIST, 0);
    timesheet_list(&shown, add_line, &fill);
    dlg_list_redraw(ID_MONTH_LIST, 1);
    fit_width(fill.widest);
}

static void timesheet_on_open(void) {
    int year, month;
    timesheet_this_month(&year, &month);
    show_month(year, month);
    show_sheet(year, month);
}

static void on_show(void) {
    int year, month;
    if (read_month(&year, &month)) show_sheet(year, month);
}

// The month before or after the one in the fields (or the one shown, when they hold none).
static void step(int months) {
    int year, month;
    if (!read_month(&year, &month)) {
        year = shown.year;
        month = shown.month;
    }
    timesheet_step(&year, &month, months);
    if (year < 1901 || year > 2099) return;
    show_month(year, month);
    show_sheet(year, month);
}

static void copy(void) {
    if (shown.days > 0) report_to_clipboard(timesheet_copy(&shown, dlg_get_check(ID_MONTH_TABLE)));
}

// The bookings of the selected day, every project, in hours and minutes.
static void show_detail(void) {
    char date[DATE_TEXT + 1];
    if (timesheet_row_date(&shown, dlg_list_current(ID_MONTH_LIST), date) == 0)
        detail_show("", date, date, 1);
}

// The day editor on the selected day.
static void edit_day(void) {
    char date[DATE_TEXT + 1];
    if (timesheet_row_date(&shown, dlg_list_current(ID_MONTH_LIST), date) == 0)
        day_editor_open(date);
}

static void step_back(void) {
    step(-1);
}

static void step_forward(void) {
    step(1);
}

// The buttons and what each does.
static const dialog_button buttons[] = {
    {ID_MONTH_BACK, step_back},       {ID_MONTH_FORWARD, step_forward},
    {ID_MONTH_SHOW, on_show},         {ID_MONTH_COPY, copy},
    {ID_MONTH_DETAIL, show_detail},   {ID_MONTH_DAY, edit_day},
    {IDCANCEL, dialog_close_current},
};

static int on_command(WPARAM wparam) {
    if (is_list_event(ID_MONTH_LIST, wparam) == 3) {
        show_detail();
        return 1;
    }
    return dlg_run_button(buttons, sizeof buttons / sizeof *buttons, wparam);
}

static int timesheet_handler(UINT message, WPARAM wparam, LPARAM) {
    return message == WM_COMMAND ? on_command(wparam) : 0;
}

void timesheet_open(void) {
    dialog_open(DLG_MONTH, timesheet_on_open, nullptr, timesheet_handler);
}
