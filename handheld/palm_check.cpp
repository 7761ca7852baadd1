// The start-up check for new handheld times: the backed-up times database's modification stamp
// compared with the one last announced (setting PalmLast), once per run.
#include "frame/files.h"
#include "frame/path.h"
#include "frame/settings.h"
#include "handheld/palm.h"
#include "timerec/directories.h"
#include <stdio.h>
#include <string.h>

static bool checked;

void palm_stamp(char *out, const filetime_rec *time) {
    snprintf(out, PALM_STAMP + 1, "%02X%02X%02X%02X%02X%02X", time->year, time->month, time->day,
             time->hour, time->minute, time->second);
}

int palm_backup_check(void) {
    if (checked) return 0;
    checked = true;
    if (palm_mode() == PALM_OFF) return 0;
    char path[PATH_MAX_TEXT + 1];
    palm_backup_path(path, sizeof path);
    filetime_rec time;
    if (file_time_get(path, &time) != 0) return 0;
    char stamp[PALM_STAMP + 1], last[SETTINGS_VALUE];
    palm_stamp(stamp, &time);
    settings_read(SETTINGS_SECTION, "PalmLast", last);
    if (strcmp(stamp, last) == 0) return 0;
    settings_write(SETTINGS_SECTION, "PalmLast", stamp);
    return 1;
}

void palm_backup_check_rearm(void) {
    checked = false;
}
