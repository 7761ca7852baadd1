// The rules of the working-time settings dialog: the texts of its fields, the settings they
// would make (an impossible value refused with a message), whether they differ from the present
// settings, and saving them to section "Arbeitszeit".
#pragma once
#include "timerec/worktime.h"

enum { WORKTIME_FIELD = 80 };

// A version's date and targets (as "h:mm"), the start and the opening of the balance, the
// absence projects.
struct worktime_fields {
    char from[WORKTIME_FIELD + 1];
    char targets[WORKTIME_DAYS][WORKTIME_FIELD + 1];
    char begin[WORKTIME_FIELD + 1];
    char opening[WORKTIME_FIELD + 1];
    char absences[WORKTIME_FIELD + 1];
};

// The fields of the settings: their newest version, or without one the default targets from the
// start of the balance (1 January of this year when it has none).
void worktime_edit_present(const worktime *present, worktime_fields *fields);
// A version's date and targets into the fields (the rest stays).
void worktime_edit_version(const worktime_version *version, worktime_fields *fields);
// 1 when the fields hold anything else than present: another start, opening or absence list, or
// targets that differ from those holding at the version's date (a field that cannot be read is
// a change too).
int worktime_edit_changed(const worktime *present, const worktime_fields *fields);
// Stores what the fields change in the present settings: the version (replacing the one of the
// same date), the start, the opening and the absences. 0; -1 with a warning when a field holds an
// impossible value or the settings file cannot be written (nothing is written then, or what
// could be).
int worktime_edit_save(const worktime_fields *fields);
