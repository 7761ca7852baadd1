// The day editor "DB1170": one day's bookings listed with their periods, edited through the time,
// project and text fields, stepped day by day, and saved as that day's lines of the year file.
#include "frame/dates.h"
#include "frame/dialog.h"
#include "frame/dialog_edit.h"
#include "frame/msgbox.h"
#include "frame/path.h"
#include "frame/text.h"
#include "frame/texts.h"
#include "resources/kx_ids.h"
#include "resources/text_ids.h"
#include "timerec/day_editor.h"
#include "timerec/journal_day.h"
#include "timerec/journal_undo.h"
#include "timerec/main_window.h"
#include "timerec/projects.h"
#include <stdio.h>
#include <string.h>

enum { FIELD = JOURNAL_TEXT_IN + 1 };

static journal_day day;
static char asked_date[JOURNAL_DATE + 1]; // the day the dialog is to show when it opens

static void show_selected(void) {
    int index = dlg_list_current(ID_DAY_LIST);
    if (index < 0 || index >= day.count) return;
    const booking *fields = &day.entries[index].fields;
    dlg_set_text(ID_DAY_TIME, fields->time);
    dlg_set_text(ID_DAY_PROJECT, fields->project);
    dlg_set_text(ID_DAY_TEXT, fields->text);
}

// The list shows the day; the selected entry (if any) is in the fields.
static void fill_list(int selected) {
    dlg_list_redraw(ID_DAY_LIST, 0);
    dlg_list_reset(ID_DAY_LIST);
    for (int i = 0; i < day.count; i++) {
        char line[JOURNAL_DAY_LINE + 1];
        journal_day_line(&day, i, line);
        dlg_list_add(ID_DAY_LIST, line);
    }
    dlg_list_redraw(ID_DAY_LIST, 1);
    if (selected < 0 || selected >= day.count) return;
    dlg_list_select(ID_DAY_LIST, selected);
    show_selected();
}

// Reads the day into the list; a day that cannot be read shows empty (its message said why).
static void show_day(const char *date) {
    journal_day_free(&day);
    journal_day_read(&day, date);
    snprintf(day.date, sizeof day.date, "%s", date);
    dlg_set_text(ID_DAY_DATE, date);
    fill_list(-1);
}

static bool modified(void) {
    return day.modified;
}

// 0 once saved; a day that changed meanwhile (its message said so) keeps the edits.
static int save_edits(void) {
    if (!day.path[0] || journal_day_save(&day) != 0) return -1;
    undo_record_day(day.date);
    main_fill_list();
    main_show_last_booking();
    fill_list(dlg_list_current(ID_DAY_LIST));
    return 0;
}

static void let_go(void) {
    day.modified = false;
}

static const dialog_edits edits = {modified, save_edits, let_go};

// Another day is shown only after the edits of this one are saved or let go.
static bool may_leave_day(void) {
    if (!day.modified) return true;
    int answer = ask_yes_no_cancel(text(TXT_SAVE_CHANGES));
    if (answer < 0) return false;
    return answer == 0 || save_edits() == 0;
}

static void step(long days) {
    char field[FIELD + 1];
    dlg_get_text(ID_DAY_DATE, field, sizeof field);
    text_trim(field);
    date_rec date;
    date_parse_iso(&date, date_text_valid(field) ? field : day.date);
    if (!date.year || !may_leave_day()) return;
    date_add_days(&date, &date, days);
    char iso[DATE_TEXT + 1];
    date_iso_text(iso, &date);
    show_day(iso);
}

static void show_typed_day(void) {
    char field[FIELD + 1];
    dlg_get_text(ID_DAY_DATE, field, sizeof field);
    text_trim(field);
    if (may_leave_day()) show_day(field);
}

struct typed_fields {
    char time[FIELD + 1], project[FIELD + 1], note[FIELD + 1];
};

static void read_fields(typed_fields *out) {
    dlg_get_text(ID_DAY_TIME, out->time, sizeof out->time);
    dlg_get_text(ID_DAY_PROJECT, out->project, sizeof out->project);
    dlg_get_text(ID_DAY_TEXT, out->note, sizeof out->note);
    text_trim(out->time);
    text_trim(out->project);
}

static void on_new(void) {
    typed_fields typed;
    read_fields(&typed);
    int index = journal_day_add(&day, typed.time, typed.project, typed.note);
    if (index >= 0) fill_list(index);
}

static void on_change(void) {
    int selected = dlg_list_current(ID_DAY_LIST);
    if (selected < 0) return;
    typed_fields typed;
    read_fields(&typed);
    int index = journal_day_change(&day, selected, typed.time, typed.project, typed.note);
    if (index >= 0) fill_list(index);
}

static void on_delete(void) {
    int selected = dlg_list_current(ID_DAY_LIST);
    if (selected < 0) return;
    journal_day_delete(&day, selected);
    fill_list(selected < day.count ? selected : day.count - 1);
}

static void on_save(void) {
    save_edits();
}

static void on_discard(void) {
    char date[JOURNAL_DATE + 1];
    snprintf(date, sizeof date, "%s", day.date);
    show_day(date);
}

static void step_back(void) {
    step(-1);
}

static void step_forward(void) {
    step(1);
}

// The project box offers the main list's projects, each once.
static void fill_projects(void) {
    project_list list = {};
    char template_path[PATH_MAX_TEXT + 1];
    projects_template_path(template_path, sizeof template_path);
    projects_fill_main_list(&list, template_path);
    combo_reset(ID_DAY_PROJECT);
    for (int i = 0; i < list.count; i++) {
        char id[PROJECT_FIELD + 1], description[PROJECT_FIELD + 1];
        if (!projects_is_entry(&list.lines[i])) continue;
        projects_split(list.lines[i].text, id, description);
        HWND box = GetDlgItem(dialog_window(), ID_DAY_PROJECT);
        if (SendMessageA(box, CB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)id) == CB_ERR)
            combo_add(ID_DAY_PROJECT, id);
    }
    project_list_clear(&list);
}

static void day_on_open(void) {
    static const int stops[] = {28, 100, 130};
    SendDlgItemMessageA(dialog_window(), ID_DAY_LIST, LB_SETTABSTOPS, 3, (LPARAM)stops);
    dlg_set_text(ID_DAY_BACK, "-");
    dlg_set_text(ID_DAY_FORWARD, "+");
    fill_projects();
    if (!asked_date[0]) journal_today(asked_date);
    show_day(asked_date);
    asked_date[0] = 0;
}

static void day_on_close(void) {
    dialog_edits_on_close(&edits);
    journal_day_free(&day);
}

// The buttons and what each does.
static const dialog_button buttons[] = {
    {ID_DAY_BACK, step_back},     {ID_DAY_FORWARD, step_forward}, {ID_DAY_NEW, on_new},
    {ID_DAY_CHANGE, on_change},   {ID_DAY_DELETE, on_delete},     {ID_DAY_SAVE, on_save},
    {ID_DAY_DISCARD, on_discard},
};

static int on_command(WPARAM wparam) {
    if (is_list_event(ID_DAY_LIST, wparam) == 2) {
        show_selected();
        return 1;
    }
    // Enter in the date field shows the day typed there.
    if (LOWORD(wparam) == IDOK) {
        if (GetFocus() == GetDlgItem(dialog_window(), ID_DAY_DATE)) show_typed_day();
        return 1;
    }
    return dlg_run_button(buttons, sizeof buttons / sizeof *buttons, wparam);
}

static int day_handler(UINT message, WPARAM wparam, LPARAM) {
    int answer;
    if (dialog_edits_message(&edits, message, wparam, &answer)) return answer;
    return message == WM_COMMAND ? on_command(wparam) : 0;
}

void day_editor_open(const char *iso_date) {
    snprintf(asked_date, sizeof asked_date, "%s", iso_date ? iso_date : "");
    HWND open = dialog_open(DLG_DAY, day_on_open, day_on_close, day_handler);
    // An open editor was only brought forward: it shows the day asked for.
    if (open && asked_date[0] && strcmp(asked_date, day.date) != 0 && may_leave_day())
        show_day(asked_date);
    asked_date[0] = 0;
}

void day_editor_open_today(void) {
    day_editor_open(nullptr);
}
