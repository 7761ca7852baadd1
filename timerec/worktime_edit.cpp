// The rules of the working-time settings dialog on the settings of section "Arbeitszeit".
#include "timerec/worktime_edit.h"
#include "frame/messages.h"
#include "frame/settings.h"
#include "frame/text.h"
#include "frame/texts.h"
#include "resources/text_ids.h"
#include "timerec/report.h"
#include <stdio.h>
#include <string.h>

void worktime_edit_version(const worktime_version *version, worktime_fields *fields) {
    text_copy_max(fields->from, version->from, WORKTIME_FIELD);
    for (int day = 0; day < WORKTIME_DAYS; day++)
        report_duration(fields->targets[day], version->minutes[day], 0, 1);
}

void worktime_edit_present(const worktime *present, worktime_fields *fields) {
    memset(fields, 0, sizeof *fields);
    if (present->version_count > 0) {
        worktime_edit_version(&present->versions[present->version_count - 1], fields);
    } else {
        worktime_edit_version(worktime_version_at(present, ""), fields);
        if (present->begin[0]) {
            text_copy_max(fields->from, present->begin, WORKTIME_FIELD);
        } else {
            date_rec today;
            date_today(&today);
            snprintf(fields->from, sizeof fields->from, "%04d-01-01", today.year + 1900);
        }
    }
    text_copy_max(fields->begin, present->begin, WORKTIME_FIELD);
    report_duration(fields->opening, present->opening, 0, 1);
    worktime_absences_text(fields->absences, present);
}

// A field that cannot be read: the message that names it and its text.
struct field_error {
    int message;
    const char *value;
};

// The fields' version, start, opening and absences (the version left out when its targets are
// those that hold at its date already); 0, or -1 with the field in error.
static int read_fields(const worktime *present, const worktime_fields *fields, worktime *out,
                       worktime_version *version, bool *new_version, field_error *error) {
    *out = *present;
    char text[WORKTIME_FIELD + 1];
    text_copy_max(text, fields->from, WORKTIME_FIELD);
    text_trim(text);
    *error = {TXT_BAD_VALID_FROM, fields->from};
    if (!worktime_date_valid(text)) return -1;
    text_copy_max(version->from, text, DATE_TEXT);
    for (int day = 0; day < WORKTIME_DAYS; day++) {
        long minutes;
        *error = {TXT_BAD_TARGET, fields->targets[day]};
        if (worktime_parse_duration(fields->targets[day], &minutes, false) != 0 ||
            minutes > WORKTIME_DAY_MAX)
            return -1;
        version->minutes[day] = (int)minutes;
    }
    const worktime_version *holds = worktime_version_at(present, version->from);
    *new_version = memcmp(holds->minutes, version->minutes, sizeof version->minutes) != 0;
    text_copy_max(text, fields->begin, WORKTIME_FIELD);
    text_trim(text);
    *error = {TXT_BAD_BEGIN, fields->begin};
    if (text[0] && !worktime_date_valid(text)) return -1;
    text_copy_max(out->begin, text, DATE_TEXT);
    *error = {TXT_BAD_OPENING, fields->opening};
    if (worktime_parse_duration(fields->opening, &out->opening, true) != 0) return -1;
    *error = {TXT_BAD_ABSENCES, fields->absences};
    return worktime_parse_absences(fields->absences, out) < 0 ? -1 : 0;
}

static bool same_absences(const worktime *a, const worktime *b) {
    if (a->absence_count != b->absence_count) return false;
    for (int i = 0; i < a->absence_count; i++)
        if (strcmp(a->absences[i], b->absences[i]) != 0) return false;
    return true;
}

int worktime_edit_changed(const worktime *present, const worktime_fields *fields) {
    worktime edited;
    worktime_version version;
    bool new_version;
    field_error error;
    if (read_fields(present, fields, &edited, &version, &new_version, &error) != 0) return 1;
    return new_version || strcmp(edited.begin, present->begin) != 0 ||
           edited.opening != present->opening || !same_absences(&edited, present);
}

// The key number of the version of that date, else the first number no version uses; 0 when
// every key is taken.
static int version_key(const worktime *present, const char *from) {
    bool used[WORKTIME_VERSIONS + 1] = {};
    for (int i = 0; i < present->version_count; i++) {
        if (strcmp(present->versions[i].from, from) == 0) return present->versions[i].key;
        used[present->versions[i].key] = true;
    }
    for (int key = 1; key <= WORKTIME_VERSIONS; key++)
        if (!used[key]) return key;
    return 0;
}

int worktime_edit_save(const worktime_fields *fields) {
    worktime present, edited;
    worktime_load(&present);
    worktime_version version;
    bool new_version;
    field_error error;
    if (read_fields(&present, fields, &edited, &version, &new_version, &error) != 0) {
        msg_warn(text(error.message), error.value);
        return -1;
    }
    int key = new_version ? version_key(&present, version.from) : 0;
    if (new_version && key == 0) {
        msg_warn(text(TXT_TOO_MANY_VERSIONS), WORKTIME_VERSIONS);
        return -1;
    }
    char name[16], value[SETTINGS_VALUE];
    // Every key is tried, so one failure does not keep the others from the file.
    int failed = 0;
    if (new_version) {
        snprintf(name, sizeof name, "Soll%d", key);
        worktime_version_text(value, &version);
        failed |= settings_store(WORKTIME_SECTION, name, value);
    }
    failed |= settings_store(WORKTIME_SECTION, "Beginn", edited.begin);
    report_duration(value, edited.opening, 0, 1);
    failed |= settings_store(WORKTIME_SECTION, "Uebertrag", value);
    // An empty value would read as the default list: no absence projects are stored as ";".
    worktime_absences_text(value, &edited);
    failed |= settings_store(WORKTIME_SECTION, "Abwesenheit", value[0] ? value : ";");
    if (failed) {
        msg_warn(text(TXT_CANNOT_WRITE_SETTINGS), settings_file());
        return -1;
    }
    return 0;
}
