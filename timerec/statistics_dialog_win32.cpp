// The statistics "DB1100" and the export "DB1110": one handler and one slot for whichever of the
// two is open; the sums, their lines, the copy texts and the export file come from statalk, the
// CSV file of the periods from periods.
#include "frame/dates.h"
#include "frame/desktop.h"
#include "frame/dialog.h"
#include "frame/dpi.h"
#include "frame/path.h"
#include "frame/text.h"
#include "frame/texts.h"
#include "frame/window_dpi.h"
#include "resources/kx_ids.h"
#include "resources/text_ids.h"
#include "timerec/report.h"
#include "timerec/report_dialogs.h"
#include "timerec/main_window.h"
#include "timerec/periods.h"
#include "timerec/stat_chart_picture.h"
#include "timerec/statalk.h"
#include <stdio.h>
#include <stdint.h>

enum { YEAR_FIELD = 10, MONTH_DAY_FIELD = 10, STAT_LIST_LINE = 100, SIZE_REPLY = 40 };

// The open statistics or export dialog: the two share one handler, so at most one of them exists.
static HWND slot;
// The chart of the listed lines, laid out for the display field or for the clipboard.
static stat_chart chart;

// The range fields as the user reads them (each at most 10 characters).
struct range_fields {
    char year[YEAR_FIELD + 1];
    char from[MONTH_DAY_FIELD + 1];
    char to[MONTH_DAY_FIELD + 1];
};

static void read_range(range_fields *range) {
    dlg_get_text(ID_STAT_YEAR, range->year, sizeof range->year);
    dlg_get_text(ID_STAT_FROM, range->from, sizeof range->from);
    dlg_get_text(ID_STAT_TO, range->to, sizeof range->to);
}

// The current year (into year, 5 bytes) in both year fields, the whole year as range.
static void show_current_year(char *year) {
    char today[DATE_TEXT + 1];
    date_today_iso(today);
    text_copy_max(year, today, 4);
    dlg_set_text(ID_STAT_YEAR, year);
    dlg_set_text(ID_STAT_YEAR_TO, year);
    dlg_set_text(ID_STAT_FROM, "01-01");
    dlg_set_text(ID_STAT_TO, "12-31");
}

static void statistics_on_open(void) {
    char year[5];
    slot = dialog_window();
    show_current_year(year);
    combo_reset(ID_STAT_MODE);
    combo_add(ID_STAT_MODE, text(TXT_MODE_PROJECT));
    combo_add(ID_STAT_MODE, text(TXT_MODE_MONTH));
    combo_add(ID_STAT_MODE, text(TXT_MODE_WEEK));
    combo_select(ID_STAT_MODE, STAT_PROJECT);
    dlg_list_reset(ID_STAT_LIST);
    dlg_enable(ID_STAT_COPY, 0);
    dlg_enable(ID_STAT_DETAIL, 0);
    statalk_alloc();
}

static void export_on_open(void) {
    char year[5], path[PATH_MAX_TEXT + 1];
    slot = dialog_window();
    show_current_year(year);
    statalk_export_path(path, sizeof path, year);
    dlg_set_text(ID_EXPORT_FILE, path);
    statalk_alloc();
}

static void statistics_on_close(void) {
    statalk_free();
    slot = nullptr;
}

// The export ends a step of the main window's start-up checks: the next one runs now.
static void export_on_close(void) {
    statistics_on_close();
    main_post_command(CMD_STARTUP_CHECKS);
}

static void copy_year(void) {
    dlg_set_text(ID_STAT_YEAR_TO, dlg_text(ID_STAT_YEAR));
}

static void send_chart_command(const char *command, void *) {
    dlg_set_text(ID_STAT_CHART, command);
}

// The chart of the lines just listed, drawn in the display field at the field's size.
static void show_chart(int mode) {
    char size[SIZE_REPLY + 1];
    int width = 0, height = 0;
    dlg_set_text(ID_STAT_CHART, "GET SIZE");
    dlg_get_text(ID_STAT_CHART, size, sizeof size);
    if (sscanf(size, "%d %d", &width, &height) != 2) return;
    stat_chart_take_listed(&chart, mode);
    chart.dpi = window_dpi(dialog_window()); // the display field's fixed font grows with it
    stat_chart_layout(&chart, width, height);
    stat_chart_commands(&chart, send_chart_command, nullptr);
}

static void evaluate(void) {
    range_fields range;
    read_range(&range);
    int mode = combo_current(ID_STAT_MODE);
    if (mode < STAT_PROJECT || mode > STAT_WEEK) mode = STAT_PROJECT;
    dlg_list_reset(ID_STAT_LIST);
    statalk_evaluate(range.year, range.from, range.to, mode,
                     dlg_get_check(ID_STAT_MINUTES) == BST_CHECKED);
    dlg_list_redraw(ID_STAT_LIST, 0);
    statalk_list(report_list_line, (void *)(intptr_t)ID_STAT_LIST);
    dlg_list_redraw(ID_STAT_LIST, 1);
    show_chart(mode);
    dlg_enable(ID_STAT_COPY, 1);
    dlg_enable(ID_STAT_DETAIL, mode == STAT_PROJECT);
}

// The text or table, and beside it the chart of every listed line as pictures.
static void copy(void) {
    if (report_to_clipboard(statalk_copy(dlg_get_check(ID_STAT_TABLE) == BST_CHECKED)) != 0) return;
    stat_chart_layout(&chart, dpi_scale(CHART_PICTURE_WIDTH, chart.dpi), 0);
    stat_chart_copy_picture(&chart);
}

static void show_detail(void) {
    char line[STAT_LIST_LINE + 1], prefix[REPORT_PREFIX_COLUMNS + 1];
    int selected = report_selected_line(ID_STAT_LIST, line, sizeof line);
    if (statalk_detail_prefix(selected, line, prefix) < 0) return;
    char from[DATE_TEXT + 1], to[DATE_TEXT + 1];
    statalk_range(from, to);
    detail_show(prefix, from, to, statalk_hours_minutes());
}

static void write_export(void) {
    range_fields range;
    char path[PATH_MAX_TEXT + 1];
    read_range(&range);
    statalk_export(range.year, range.from, range.to, path, sizeof path);
    dialog_close_current();
}

// The periods of the range into a CSV file the user chooses; the dialog stays open.
static void write_csv(void) {
    range_fields range;
    char path[FILE_DIALOG_PATH + 1];
    read_range(&range);
    periods_csv_path(path, sizeof path, range.year);
    if (!file_dialog(path, text(TXT_CSV_TITLE), text(TXT_CSV_FILTER), FILE_DIALOG_SAVE)) return;
    periods_save_csv(range.year, range.from, range.to, path);
}

static int on_command(WPARAM wparam) {
    if (is_change(ID_STAT_YEAR, wparam)) {
        copy_year();
        return 0;
    }
    if (is_list_event(ID_STAT_LIST, wparam) == 3) {
        show_detail();
        return 1;
    }
    if (HIWORD(wparam) != BN_CLICKED) return 0;
    switch (LOWORD(wparam)) {
    case ID_STAT_EVALUATE:
        evaluate();
        return 1;
    case ID_STAT_COPY:
        copy();
        return 1;
    case ID_STAT_DETAIL:
        show_detail();
        return 1;
    case ID_EXPORT_WRITE:
        write_export();
        return 1;
    case ID_EXPORT_CSV:
        write_csv();
        return 1;
    case IDCANCEL:
        dialog_close_current();
        return 1;
    default:
        return 0;
    }
}

static int statistics_handler(UINT message, WPARAM wparam, LPARAM) {
    return message == WM_COMMAND ? on_command(wparam) : 0;
}

// With a statistics or export dialog open, it goes and the command comes again after it: the two
// messages are handled in this order, so the dialog asked for then opens fresh.
static int reopen_later(int command) {
    if (!slot) return 0;
    PostMessageA(slot, WM_CLOSE, 0, 0);
    main_post_command(command);
    return 1;
}

void statistics_open(void) {
    if (reopen_later(CMD_STATISTICS)) return;
    dialog_open(DLG_STATISTICS, statistics_on_open, statistics_on_close, statistics_handler);
}

void export_open(void) {
    if (reopen_later(CMD_EXPORT)) return;
    if (statalk_export_check() != EXPORT_GO) return;
    dialog_open(DLG_EXPORT, export_on_open, export_on_close, statistics_handler);
}
