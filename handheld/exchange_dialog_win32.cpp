// The exchange with the handheld "DB1130": its check boxes preset by the reason it opened,
// "&Start" runs the chosen steps in their order and tells what the take-over added; closing it
// lets the main window go on with its start-up checks.
#include "frame/dialog.h"
#include "frame/messages.h"
#include "handheld/palm.h"
#include "handheld/palm_dialogs.h"
#include "handheld/palm_merge_report.h"
#include "resources/kx_ids.h"
#include "timerec/main_window.h"

static int open_reason; // PALM_OPEN_*, for the open function

static void exchange_on_open(void) {
    palm_steps steps;
    palm_exchange_preset(open_reason, &steps);
    dlg_set_check(ID_EXCHANGE_TAKE_OVER, steps.take_over);
    dlg_set_check(ID_EXCHANGE_TIMES, steps.install_times);
    dlg_set_check(ID_EXCHANGE_PROJECTS, steps.install_projects);
}

static void exchange_on_close(void) {
    main_post_command(CMD_STARTUP_CHECKS);
}

static void exchange_start(void) {
    palm_steps steps;
    steps.take_over = dlg_get_check(ID_EXCHANGE_TAKE_OVER) == BST_CHECKED;
    steps.install_times = dlg_get_check(ID_EXCHANGE_TIMES) == BST_CHECKED;
    steps.install_projects = dlg_get_check(ID_EXCHANGE_PROJECTS) == BST_CHECKED;
    palm_merge_report report;
    palm_merge_report_begin(&report);
    palm_exchange_run(&steps, palm_merge_report_note, &report);
    if (report.years > 0) msg_info("%s", report.text);
    dialog_close_current();
}

static int exchange_handler(UINT message, WPARAM wparam, LPARAM) {
    if (message != WM_COMMAND || HIWORD(wparam) != BN_CLICKED) return 0;
    switch (LOWORD(wparam)) {
    case ID_EXCHANGE_START:
        exchange_start();
        return 1;
    case IDCANCEL:
        dialog_close_current();
        return 1;
    }
    return 0;
}

// An exchange already open comes to the front as it is.
static void exchange_open(int reason) {
    if (!palm_exchange_offered(reason)) return;
    open_reason = reason;
    dialog_open(DLG_EXCHANGE, exchange_on_open, exchange_on_close, exchange_handler);
}

void exchange_open_menu(void) {
    exchange_open(PALM_OPEN_MENU);
}

void exchange_open_new_times(void) {
    exchange_open(PALM_OPEN_NEW_TIMES);
}

void exchange_open_projects_edited(void) {
    exchange_open(PALM_OPEN_PROJECTS_EDITED);
}
