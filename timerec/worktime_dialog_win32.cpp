// The working-time settings "DB1210": the targets per weekday from a date on, the versions kept
// so far, the start and opening of the balance and the absence projects; saved to section
// "Arbeitszeit" like the other settings dialogs.
#include "frame/dialog.h"
#include "frame/dialog_edit.h"
#include "resources/kx_ids.h"
#include "timerec/setup_dialogs.h"
#include "timerec/worktime_edit.h"

static const int target_ids[WORKTIME_DAYS] = {ID_WORK_MONDAY,   ID_WORK_TUESDAY, ID_WORK_WEDNESDAY,
                                              ID_WORK_THURSDAY, ID_WORK_FRIDAY,  ID_WORK_SATURDAY,
                                              ID_WORK_SUNDAY};

// The settings as stored when the dialog opened or last saved.
static worktime present;

static void show_version_fields(const worktime_fields *fields) {
    dlg_set_text(ID_WORK_FROM, fields->from);
    for (int day = 0; day < WORKTIME_DAYS; day++)
        dlg_set_text(target_ids[day], fields->targets[day]);
}

static void show_present(void) {
    worktime_load(&present);
    worktime_fields fields;
    worktime_edit_present(&present, &fields);
    show_version_fields(&fields);
    dlg_set_text(ID_WORK_BEGIN, fields.begin);
    dlg_set_text(ID_WORK_OPENING, fields.opening);
    dlg_set_text(ID_WORK_ABSENCES, fields.absences);
    dlg_list_reset(ID_WORK_VERSIONS);
    for (int i = 0; i < present.version_count; i++) {
        char line[WORKTIME_VERSION_TEXT + 1];
        worktime_version_text(line, &present.versions[i]);
        dlg_list_add(ID_WORK_VERSIONS, line);
    }
}

static void read_fields(worktime_fields *fields) {
    dlg_get_text(ID_WORK_FROM, fields->from, sizeof fields->from);
    for (int day = 0; day < WORKTIME_DAYS; day++)
        dlg_get_text(target_ids[day], fields->targets[day], sizeof fields->targets[day]);
    dlg_get_text(ID_WORK_BEGIN, fields->begin, sizeof fields->begin);
    dlg_get_text(ID_WORK_OPENING, fields->opening, sizeof fields->opening);
    dlg_get_text(ID_WORK_ABSENCES, fields->absences, sizeof fields->absences);
}

// A version chosen in the list comes into the fields, to be changed or taken as it is.
static void choose_version(void) {
    int chosen = dlg_list_current(ID_WORK_VERSIONS);
    if (chosen < 0 || chosen >= present.version_count) return;
    worktime_fields fields;
    worktime_edit_version(&present.versions[chosen], &fields);
    show_version_fields(&fields);
}

static bool fields_changed(void) {
    worktime_fields fields;
    read_fields(&fields);
    return worktime_edit_changed(&present, &fields) != 0;
}

static int save(void) {
    worktime_fields fields;
    read_fields(&fields);
    if (worktime_edit_save(&fields) != 0) return -1;
    show_present();
    return 0;
}

// "No" to saving puts the present values back.
static const dialog_edits edits = {fields_changed, save, show_present};

static void worktime_on_close(void) {
    dialog_edits_on_close(&edits);
}

static void on_discard(void) {
    show_present();
    dialog_close_current();
}

static int worktime_handler(UINT message, WPARAM wparam, LPARAM) {
    int answer;
    if (dialog_edits_message(&edits, message, wparam, &answer)) return answer;
    if (message != WM_COMMAND) return 0;
    if (is_list_event(ID_WORK_VERSIONS, wparam) == 2) {
        choose_version();
        return 1;
    }
    switch (LOWORD(wparam)) {
    case ID_WORK_SAVE:
        dialog_edits_save_and_close(&edits);
        return 1;
    case ID_WORK_DISCARD:
        on_discard();
        return 1;
    default:
        return 0;
    }
}

void worktime_open_dialog(void) {
    dialog_open(DLG_WORKTIME, show_present, worktime_on_close, worktime_handler);
}
