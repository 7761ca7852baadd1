// The journal check "DB1160": the current year file's suspicious lines (line, reason, the line
// itself), the year file opened in the text editor as "Zeiten..." does, the day editor opened on
// the selected line's day, and the list made anew.
#include "frame/dialog.h"
#include "frame/path.h"
#include "frame/texts.h"
#include "resources/kx_ids.h"
#include "timerec/day_editor.h"
#include "timerec/journal.h"
#include "timerec/journal_check.h"
#include "timerec/main_window.h"
#include "timerec/report_dialogs.h"

// A year of many findings lists its first ones: a list box of hundreds of thousands of rows
// would take minutes to fill.
enum { LISTED_MAX = 1000, ROW_MAX = 400 };

// The day of each listed row's line ("" when it bears none), for the day editor.
static char listed_days[LISTED_MAX][JOURNAL_DATE + 1];

static void list_finding(const check_finding *finding, void *context) {
    long *listed = (long *)context;
    if (*listed >= LISTED_MAX) return;
    char row[ROW_MAX];
    journal_check_row(row, sizeof row, finding);
    dlg_list_add(ID_VERIFY_LIST, row);
    journal_check_day(listed_days[*listed], finding);
    ++*listed;
}

static void refresh(void) {
    dlg_list_reset(ID_VERIFY_LIST);
    dlg_list_redraw(ID_VERIFY_LIST, 0);
    long listed = 0;
    long count = journal_check_current(list_finding, &listed);
    dlg_list_redraw(ID_VERIFY_LIST, 1);
    const char *path = journal_current_file();
    char summary[TEXT_MAX + 1];
    journal_check_summary(summary, sizeof summary, path + path_name_index(path), count, listed);
    dlg_set_text(ID_VERIFY_SUMMARY, summary);
}

// The day editor on the selected row's day; a line without a day of the calendar has none.
static void edit_day(void) {
    int row = dlg_list_current(ID_VERIFY_LIST);
    if (row >= 0 && row < LISTED_MAX && listed_days[row][0])
        day_editor_open(listed_days[row]);
    else
        MessageBeep(MB_OK);
}

static void verify_on_open(void) {
    // Columns in dialog units: the line number, the reason, then the line.
    INT stops[] = {30, 150};
    SendDlgItemMessageA(dialog_window(), ID_VERIFY_LIST, LB_SETTABSTOPS, 2, (LPARAM)stops);
    refresh();
}

static void open_editor(void) {
    main_post_command(CMD_TIMES);
}

// The buttons and what each does; Escape and the close box close the dialog.
static const dialog_button buttons[] = {
    {ID_VERIFY_EDITOR, open_editor},
    {ID_VERIFY_DAY, edit_day},
    {ID_VERIFY_REFRESH, refresh},
    {IDCANCEL, dialog_close_current},
};

static int on_command(WPARAM wparam) {
    return dlg_run_button(buttons, sizeof buttons / sizeof *buttons, wparam);
}

static int verify_handler(UINT message, WPARAM wparam, LPARAM) {
    return message == WM_COMMAND ? on_command(wparam) : 0;
}

void verify_open(void) {
    dialog_open(DLG_VERIFY, verify_on_open, nullptr, verify_handler);
}
