// The options dialog "DB1220": starting with Windows (the per-user Run key), the notification
// area and the reminders with their minutes; saved like the other settings dialogs.
#include "frame/app.h"
#include "frame/dialog.h"
#include "frame/dialog_edit.h"
#include "frame/messages.h"
#include "frame/path.h"
#include "frame/platform.h"
#include "frame/system.h"
#include "frame/texts.h"
#include "resources/kx_ids.h"
#include "resources/text_ids.h"
#include "timerec/main_window.h"
#include "timerec/options.h"
#include "timerec/setup_dialogs.h"
#include <stdio.h>

// The value the installer's uninstaller removes as well.
static const char RUN_KEY[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
static const char RUN_VALUE[] = "Korvex";

static bool starts_with_windows(void) {
    char command[REG_TEXT_MAX + 1];
    return reg_read_string(RUN_KEY, RUN_VALUE, command) == 0;
}

// The Run value names this program file, quoted for a path with blanks; 0, or -1.
static int set_start_with_windows(bool on) {
    if (!on) return reg_delete_value(RUN_KEY, RUN_VALUE);
    char program[PATH_MAX_TEXT + 1], command[PATH_MAX_TEXT + 3];
    if (platform_program_path(program, sizeof program) != 0) return -1;
    snprintf(command, sizeof command, "\"%s\"", program);
    return reg_write_text(RUN_KEY, RUN_VALUE, command);
}

// A minutes field with its switch: the minutes of a switched-off reminder that do not read as
// minutes keep the present value, so that only a reminder in use insists on them.
struct minutes_field {
    int check;
    int field;
    bool kx_options::*on;
    int kx_options::*minutes;
};

static const minutes_field minutes_fields[] = {
    {ID_OPT_IDLE, ID_OPT_IDLE_MINUTES, &kx_options::idle_question, &kx_options::idle_minutes},
    {ID_OPT_LONG, ID_OPT_LONG_MINUTES, &kx_options::long_notice, &kx_options::long_minutes},
};

static void follow_switches(void) {
    for (const minutes_field &m : minutes_fields) dlg_enable(m.field, dlg_get_check(m.check));
}

static void show_present(void) {
    const kx_options *present = main_options();
    dlg_set_check(ID_OPT_AUTOSTART, starts_with_windows());
    dlg_set_check(ID_OPT_TRAY, present->tray_minimize);
    dlg_set_check(ID_OPT_SHUTDOWN, present->shutdown_moment);
    for (const minutes_field &m : minutes_fields) {
        char minutes[16];
        snprintf(minutes, sizeof minutes, "%d", present->*m.minutes);
        dlg_set_check(m.check, present->*m.on);
        dlg_set_text(m.field, minutes);
    }
    follow_switches();
}

// The options the fields give; 0, or -1 (with the field) when a reminder in use has no minutes.
static int read_fields(kx_options *options, int *bad_field) {
    *options = *main_options();
    options->tray_minimize = dlg_get_check(ID_OPT_TRAY) != 0;
    options->shutdown_moment = dlg_get_check(ID_OPT_SHUTDOWN) != 0;
    for (const minutes_field &m : minutes_fields) {
        options->*m.on = dlg_get_check(m.check) != 0;
        if (options_minutes(dlg_text(m.field), &(options->*m.minutes)) || !(options->*m.on))
            continue;
        *bad_field = m.field;
        return -1;
    }
    return 0;
}

static bool fields_changed(void) {
    kx_options options;
    int bad_field;
    if (read_fields(&options, &bad_field) != 0) return true;
    return !options_equal(&options, main_options()) ||
           (dlg_get_check(ID_OPT_AUTOSTART) != 0) != starts_with_windows();
}

static int save(void) {
    kx_options options;
    int bad_field;
    if (read_fields(&options, &bad_field) != 0) {
        msg_warn(text(TXT_OPTIONS_MINUTES), OPTION_MINUTES_MIN, OPTION_MINUTES_MAX);
        SetFocus(GetDlgItem(dialog_window(), bad_field));
        return -1;
    }
    bool autostart = dlg_get_check(ID_OPT_AUTOSTART) != 0;
    if (autostart != starts_with_windows() && set_start_with_windows(autostart) != 0) {
        msg_warn("%s", text(TXT_AUTOSTART_FAILED));
        return -1;
    }
    if (options_save(&options) != 0) return -1;
    main_options_changed();
    return 0;
}

static const dialog_edits edits = {fields_changed, save, show_present};

static void options_on_close(void) {
    dialog_edits_on_close(&edits);
}

static int options_handler(UINT message, WPARAM wparam, LPARAM lparam) {
    int answer;
    if (dialog_edits_message(&edits, message, wparam, &answer)) return answer;
    if (message != WM_COMMAND) return 0;
    switch (LOWORD(wparam)) {
    case ID_OPT_SAVE:
        dialog_edits_save_and_close(&edits);
        break;
    case ID_OPT_DISCARD:
        show_present();
        dialog_close_current();
        break;
    case ID_OPT_IDLE:
    case ID_OPT_LONG:
        follow_switches();
        break;
    }
    return 0;
}

void options_open_dialog(void) {
    dialog_open(DLG_OPTIONS, show_present, options_on_close, options_handler);
}
