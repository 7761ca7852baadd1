// The detail view "DB1120": the counted periods behind a project (and its sub-projects) within a
// range, one line each from stdetail, copied as text or as a table.
#include "frame/dates.h"
#include "frame/dialog.h"
#include "frame/memory.h"
#include "frame/text.h"
#include "resources/kx_ids.h"
#include "timerec/report.h"
#include "timerec/report_dialogs.h"
#include "timerec/stdetail.h"
#include <stdint.h>

// What the view shows: set by whoever opens it.
static struct {
    char prefix[REPORT_NAME + 1];
    char from[DATE_TEXT + 1];
    char to[DATE_TEXT + 1];
    int hours_minutes;
} shown;

static HWND view; // the open detail view, or none

// The values in the show fields and the periods in the list, read from the year of the from day.
static void fill(void) {
    dlg_set_text(ID_DETAIL_PREFIX, shown.prefix);
    dlg_set_text(ID_DETAIL_FROM, shown.from);
    dlg_set_text(ID_DETAIL_TO, shown.to);
    dlg_list_reset(ID_DETAIL_LIST);
    dlg_list_redraw(ID_DETAIL_LIST, 0);
    stdetail_collect(shown.prefix, shown.from, shown.to, shown.hours_minutes, report_list_line,
                     (void *)(intptr_t)ID_DETAIL_LIST);
    dlg_list_redraw(ID_DETAIL_LIST, 1);
}

static void detail_on_open(void) {
    view = dialog_window();
    fill();
}

static void detail_on_close(void) {
    view = nullptr;
}

static void copy(void) {
    int table = dlg_get_check(ID_DETAIL_TABLE) == BST_CHECKED;
    report_text out;
    report_text_begin(&out, "stdetail");
    char line[STDETAIL_LINE + 1];
    int count = dlg_list_count(ID_DETAIL_LIST);
    for (int i = 0; i < count; i++)
        if (dlg_list_text(ID_DETAIL_LIST, i, line, sizeof line) >= 0)
            stdetail_copy_line(&out, line, table);
    report_to_clipboard(report_text_take(&out));
}

static int detail_handler(UINT message, WPARAM wparam, LPARAM) {
    if (message != WM_COMMAND || HIWORD(wparam) != BN_CLICKED) return 0;
    switch (LOWORD(wparam)) {
    case ID_DETAIL_COPY:
        copy();
        return 1;
    case ID_DETAIL_REFILL:
        fill();
        return 1;
    case IDCANCEL:
        dialog_close_current();
        return 1;
    default:
        return 0;
    }
}

// An open view comes to the front with the new values: it is sent the refill command, so that it
// is the current dialog while it fills itself.
void detail_show(const char *prefix, const char *from, const char *to, int hours_minutes) {
    text_copy_max(shown.prefix, prefix, REPORT_NAME);
    text_copy_max(shown.from, from, DATE_TEXT);
    text_copy_max(shown.to, to, DATE_TEXT);
    shown.hours_minutes = hours_minutes;
    HWND open_before = view;
    HWND window = dialog_open(DLG_DETAIL, detail_on_open, detail_on_close, detail_handler);
    if (open_before && window == open_before) SendMessageA(window, WM_COMMAND, ID_DETAIL_REFILL, 0);
}
