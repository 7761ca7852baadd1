// The application's hooks into the frame: start-up, the main window's messages and the end.
#include "frame/app.h"
#include "frame/clock.h"
#include "frame/desktop.h"
#include "frame/frame.h"
#include "frame/layout.h"
#include "frame/messages.h"
#include "frame/msgbox.h"
#include "frame/path.h"
#include "frame/texts.h"
#include "resources/kx_ids.h"
#include "resources/text_ids.h"
#include "timerec/booking.h"
#include "timerec/directories.h"
#include "timerec/journal.h"
#include "timerec/main_window.h"
#include "timerec/options.h"
#include "timerec/projects.h"
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>

// The control libraries, loaded by name at start and freed at the end.
static const char *const library_names[] = {"torkedit.dll", "torkshow.dll", "torkdisp.dll",
                                            "torkgrbu.dll"};
enum { LIBRARIES = sizeof library_names / sizeof library_names[0] };
static void *libraries[LIBRARIES];
static const char *missing_library; // the first library that could not be loaded

static const char BOOKING_STRIP_FORMAT[] = "%s + %s + %s + %s";
static const char STATUS_STRIP[] = "S 3200 0 //";

// A test of the whole program raises an assertion after start-up with this message.
enum { WM_TEST_ASSERT = WM_APP + 1 };

static struct {
    bool journal_in_editor;
    bool projects_changed;
    bool closing;
} flags;

static kx_options options;

const kx_options *main_options(void) {
    return &options;
}

void main_options_changed(void) {
    options_load(&options);
}

void main_projects_changed(void) {
    flags.projects_changed = true;
}

// The present moment of a test run (KX_NOW="YYYY-MM-DD HH:MM"), fixed for the whole run.
static void take_test_clock(void) {
    const char *now = getenv("KX_NOW");
    platform_time moment;
    if (now && booking_parse_moment(now, &moment) == 0) clock_fix(&moment);
}

static void status_sink(int kind, const char *text) {
    strip_set_text(STRIP_FOOTER, ID_STATUS, text);
}

int app_init(void) {
    take_test_clock();
    msgbox_install();
    return 0;
}

static void load_libraries(void) {
    for (int i = 0; i < LIBRARIES; i++) {
        libraries[i] = library_load(library_names[i]);
        if (!libraries[i] && !missing_library) missing_library = library_names[i];
    }
}

int main_report_missing_library(void) {
    if (!missing_library) return 0;
    status_show(text(TXT_CONTROL_LIBRARY_MISSING), missing_library);
    return 1;
}

static void define_strips(void) {
    char description[MSG_TEXT_MAX + 1];
    snprintf(description, sizeof description, BOOKING_STRIP_FORMAT, "D 2000 10 /AUS/",
             "B 2100 10 /OK/ B 2101 10 /CANCEL/", "E 3000 44 /F####-##-##/ E 3010 24 /F##:##/",
             "S 3020 64 /Text/ E 3030 0 /Text/");
    strip_define(STRIP_HEADER, description);
    strip_define(STRIP_FOOTER, STATUS_STRIP);
}

static void enter_program_folder(void) {
    char folder[PATH_MAX_TEXT + 1];
    directories_program_folder(folder, sizeof folder);
    if (folder[0]) change_dir(folder);
}

int app_create(void) {
    load_libraries();
    layout_open(1, 1, ID_LIST_SELECT, ID_LIST_OPEN);
    define_strips();
    messages_set_sink(MSG_STATUS, status_sink);
    enter_program_folder();
    directories_load();
    options_load(&options);
    main_fill_list();
    main_show_last_booking();
    main_check_day_closure();
    tray_start();
    reminders_start();
    main_post_command(CMD_STARTUP_LAYOUT);
    // The window is activated before the message loop runs, when activation does not reach the
    // application yet: the list gets the keyboard here, before a check may open a dialog.
    main_post_command(CMD_FOCUS_LIST);
    main_post_command(CMD_STARTUP_CHECKS);
    if (getenv("KX_TEST_ASSERT")) PostMessageA((HWND)frame_main_window(), WM_TEST_ASSERT, 0, 0);
    return 0;
}

void app_exit(void) {
    flags.closing = true;
    reminders_stop();
    tray_stop();
    messages_set_sink(MSG_STATUS, nullptr);
    layout_close();
    for (void *&library : libraries) {
        library_free(library);
        library = nullptr;
    }
}

void app_dde_execute(const char *topic, const char *command) {}

static void open_journal_in_editor(void) {
    open_document(journal_current_file());
    flags.journal_in_editor = true;
}

static void open_projects_in_editor(void) {
    char path[PATH_MAX_TEXT + 1];
    projects_path(path, sizeof path);
    open_document(path);
    main_projects_changed();
}

void main_post_command(int id) {
    PostMessageA((HWND)frame_main_window(), WM_COMMAND, (WPARAM)id, 0);
}

static void on_activate(void) {
    if (flags.journal_in_editor) {
        main_show_last_booking();
        flags.journal_in_editor = false;
    }
    if (flags.projects_changed) {
        main_fill_list();
        flags.projects_changed = false;
        main_post_command(CMD_EXCHANGE_PROJECTS);
    } else {
        main_post_command(CMD_FOCUS_LIST);
    }
}

// The keyboard goes into the list when the main window is still the active one as the posted
// command arrives: a dialog opened meanwhile (such as one the menu closed and opened again)
// keeps it.
static void focus_list_if_active(void) {
    if (GetActiveWindow() == (HWND)frame_main_window()) list_focus();
}

static void on_command(int id) {
    switch (id) {
    case CMD_CONFIRM:
    case ID_BUTTON_OK:
        main_confirm();
        break;
    case CMD_DISCARD:
    case ID_BUTTON_CANCEL:
        main_show_last_booking();
        break;
    case CMD_TIMES:
        open_journal_in_editor();
        break;
    case CMD_EDIT_PROJECTS:
        open_projects_in_editor();
        break;
    case CMD_STARTUP_LAYOUT:
        layout_resize();
        break;
    case CMD_STARTUP_CHECKS:
        main_startup_checks();
        break;
    case CMD_FOCUS_LIST:
        focus_list_if_active();
        break;
    case CMD_HELP_CONTENTS:
    case CMD_HELP_ACTIVE:
        frame_help(id);
        break;
    case ID_DATE:
    case ID_TIME:
    case ID_PROJECT:
    case ID_TEXT:
        main_mark_changed();
        break;
    case ID_LIST_SELECT:
        status_clear();
        break;
    case ID_LIST_OPEN:
        main_choose();
        break;
    default:
        menu_open_dialog(id);
    }
}

void app_message(unsigned message, uintptr_t wparam, intptr_t lparam) {
    if (flags.closing) return;
    layout_message(message, wparam, lparam);
    if (tray_message(message, wparam, lparam) || reminders_message(message, wparam, lparam)) return;
    switch (message) {
    case WM_ACTIVATE:
        if (LOWORD(wparam) != WA_INACTIVE) on_activate();
        break;
    case WM_SETFOCUS:
        main_post_command(CMD_FOCUS_LIST);
        break;
    case WM_INITMENUPOPUP:
        main_show_undo();
        break;
    case WM_COMMAND:
        on_command(LOWORD(wparam));
        break;
    case WM_TEST_ASSERT:
        assert_fail("kx", __LINE__, "getenv(\"KX_TEST_ASSERT\") == NULL");
        break;
    }
}
