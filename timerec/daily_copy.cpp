// Daily copies of the year files in the work folder's "Sicherung", the oldest beyond the kept
// number removed.
#include "timerec/daily_copy.h"
#include "frame/dates.h"
#include "frame/files.h"
#include "frame/messages.h"
#include "frame/platform.h"
#include "frame/texts.h"
#include "resources/text_ids.h"
#include "timerec/directories.h"
#include "timerec/journal.h"
#include <stdio.h>
#include <string.h>

static const char FOLDER[] = "Sicherung";

// The separator the work folder ends with (a slash when it ends with none).
static char separator(void) {
    size_t length = strlen(WorkDir);
    return length && (WorkDir[length - 1] == '\\' || WorkDir[length - 1] == '/')
               ? WorkDir[length - 1]
               : '/';
}

static void copy_path(char *out, const char *year, const char *date) {
    snprintf(out, JOURNAL_PATH_MAX + 1, "%s%s%c%.4s.%s.txt", WorkDir, FOLDER, separator(), year,
             date);
}

// Removes the copies of year beyond the newest DAILY_COPIES, looking back from today.
static void remove_old(const char *year) {
    date_rec day;
    date_today(&day);
    int kept = 0;
    for (int back = 0; back < DAILY_COPY_REACH; back++) {
        char iso[DATE_TEXT + 1], path[JOURNAL_PATH_MAX + 1];
        date_iso_text(iso, &day);
        copy_path(path, year, iso);
        if (platform_path_kind(path) == PATH_FILE && ++kept > DAILY_COPIES) file_delete(path);
        date_add_days(&day, &day, -1);
    }
}

int daily_copy_make(const char *path) {
    size_t length = strlen(path);
    if (length < strlen("0000.txt")) return -1;
    const char *year = path + length - strlen("0000.txt");
    char today[JOURNAL_DATE + 1], copy[JOURNAL_PATH_MAX + 1], folder[JOURNAL_PATH_MAX + 1];
    journal_today(today);
    copy_path(copy, year, today);
    if (platform_path_kind(copy) == PATH_FILE || platform_path_kind(path) != PATH_FILE) return 0;
    snprintf(folder, sizeof folder, "%s%s", WorkDir, FOLDER);
    if (make_path(folder) != 0 || file_copy(path, copy) != 0) {
        status_show(text(TXT_DAILY_COPY_FAILED), copy);
        return -1;
    }
    remove_old(year);
    return 0;
}
