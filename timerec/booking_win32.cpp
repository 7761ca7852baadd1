// Booking in the main window: the strip shows the last booking or the pending one, a chosen
// project becomes pending, and confirming appends it to the journal.
#include "frame/layout.h"
#include "frame/app.h"
#include "frame/desktop.h"
#include "frame/messages.h"
#include "frame/path.h"
#include "frame/text.h"
#include "frame/texts.h"
#include "handheld/palm.h"
#include "resources/kx_ids.h"
#include "resources/text_ids.h"
#include "timerec/booking.h"
#include "timerec/journal.h"
#include "timerec/journal_check.h"
#include "timerec/journal_day.h"
#include "timerec/journal_undo.h"
#include "timerec/main_window.h"
#include "timerec/projects.h"
#include "timerec/reminders.h"
#include <stdio.h>
#include <windows.h>

enum { MAIN_LIST_ENTRY = PROJECT_LINE + 1 };

static void set_field(int id, const char *value) {
    strip_set_text(STRIP_HEADER, id, value);
}

static void get_field(int id, char *buffer, int length) {
    buffer[0] = 0;
    strip_get_text(STRIP_HEADER, id, buffer, length + 1);
}

// The indicator of the strip and the icon in the notification area show the same state.
static void set_indicator(const char *state) {
    set_field(ID_INDICATOR, state);
    tray_show_state(state);
}

void main_show_last_booking(void) {
    booking last;
    journal_last_booking(&last);
    set_field(ID_DATE, last.date);
    set_field(ID_TIME, last.time);
    set_field(ID_PROJECT, last.project);
    set_field(ID_TEXT, last.text);
    set_indicator(booking_indicator(last.project));
    char title[BOOKING_TITLE];
    booking_title(title, sizeof title, last.project);
    main_set_title(title);
}

void main_fill_list(void) {
    char template_path[PATH_MAX_TEXT + 1];
    projects_template_path(template_path, sizeof template_path);
    project_list entries = {};
    projects_fill_main_list(&entries, template_path);
    list_reset();
    for (int i = 0; i < entries.count; i++) list_add(entries.lines[i].text);
    project_list_clear(&entries);
}

int main_check_day_closure(void) {
    char date[BOOKING_DATE_FIELD + 1], project[BOOKING_PROJECT_FIELD + 1];
    get_field(ID_DATE, date, BOOKING_DATE_FIELD);
    get_field(ID_PROJECT, project, BOOKING_PROJECT_FIELD);
    if (journal_check_day_closure(date, project) != 0) return 1;
    return main_report_missing_library();
}

// The status line names how many lines of the current year file the check finds, if any.
static void report_findings(void) {
    long count = journal_check_current(nullptr, nullptr);
    if (count <= 0) return;
    const char *path = journal_current_file();
    char summary[MSG_TEXT_MAX + 1];
    journal_check_status(summary, sizeof summary, path + path_name_index(path), count);
    status_show("%s", summary);
}

void main_mark_changed(void) {
    set_indicator("ANDERS");
}

// The pause that closes an open day takes the moment the session ended that day, when it is
// known and not before the day's last booking.
static void take_shutdown_moment(const char *date) {
    char time[BOOKING_TIME_FIELD + 1], shutdown[6];
    get_field(ID_TIME, time, BOOKING_TIME_FIELD);
    if (reminder_shutdown_time(date, time, shutdown)) set_field(ID_TIME, shutdown);
}

void main_choose(void) {
    int selected = list_current();
    char entry[MAIN_LIST_ENTRY] = "";
    if (selected < 0 || list_text(selected, entry, sizeof entry) < 0) return;
    text_trim_right(entry);
    if (!booking_can_choose(entry)) return;
    char date[BOOKING_DATE_FIELD + 1], project[BOOKING_PROJECT_FIELD + 1];
    char today[JOURNAL_DATE + 1], now[6], chosen[BOOKING_ENTRY_ID + 1];
    get_field(ID_DATE, date, BOOKING_DATE_FIELD);
    get_field(ID_PROJECT, project, BOOKING_PROJECT_FIELD);
    journal_today(today);
    booking_entry_project(chosen, entry);
    if (booking_takes_now(date, project, today)) {
        booking_now_time(now);
        set_field(ID_DATE, today);
        set_field(ID_TIME, now);
    } else if (chosen[0] == '-') {
        take_shutdown_moment(date);
    }
    set_field(ID_PROJECT, chosen);
    set_field(ID_TEXT, "");
    main_mark_changed();
}

void main_confirm(void) {
    char date[BOOKING_DATE_FIELD + 1], time[BOOKING_TIME_FIELD + 1];
    char project[BOOKING_PROJECT_FIELD + 1], note[BOOKING_TEXT_FIELD + 1];
    get_field(ID_DATE, date, BOOKING_DATE_FIELD);
    get_field(ID_TIME, time, BOOKING_TIME_FIELD);
    get_field(ID_PROJECT, project, BOOKING_PROJECT_FIELD);
    get_field(ID_TEXT, note, BOOKING_TEXT_FIELD);
    main_book(date, time, project, note);
}

int main_book(const char *date, const char *time, const char *project, const char *note) {
    if (!booking_moment_valid(date, time)) {
        status_show("%s", text(TXT_INVALID_DATE_TIME));
        return -1;
    }
    if (journal_check_booking(date, time) != 0) return -1;
    // A booking the year file refused stays in the strip with its message, to be confirmed again.
    if (journal_append(date, time, project, note) != 0) return -1;
    undo_record_booking(time, project);
    reminder_shutdown_forget();
    main_fill_list();
    main_show_last_booking();
    return 0;
}

int main_insert(const booking *bookings, int count) {
    if (journal_insert_all(bookings, count) != 0) return -1;
    undo_record_booking(bookings[0].time, bookings[0].project);
    reminder_shutdown_forget();
    main_fill_list();
    main_show_last_booking();
    return 0;
}

void main_undo(void) {
    if (undo_last() != 0) return;
    main_fill_list();
    main_show_last_booking();
}

void main_show_undo(void) {
    char label[UNDO_LABEL + 1], item[UNDO_LABEL + 16];
    bool any = undo_menu_text(label);
    snprintf(item, sizeof item, "%s\t%s", label, text(TXT_UNDO_KEY));
    HMENU menu = GetMenu((HWND)frame_main_window());
    ModifyMenuA(menu, CMD_UNDO, MF_BYCOMMAND | MF_STRING | (any ? MF_ENABLED : MF_GRAYED), CMD_UNDO,
                item);
}

void main_startup_checks(void) {
    static bool week_checked;
    if (palm_backup_check()) {
        main_post_command(CMD_EXCHANGE_NEW_TIMES);
        return;
    }
    if (!week_checked) {
        week_checked = true;
        if (booking_week_check()) {
            main_post_command(CMD_EXPORT);
            return;
        }
    }
    main_show_last_booking();
    if (main_check_day_closure() == 0) report_findings();
}
