// The working-time settings of section "Arbeitszeit": the targets per weekday in versions that
// each hold from a date on, the start of the overtime balance with its opening value, and the
// projects that count as absences.
#pragma once
#include "frame/dates.h"
#include "timerec/journal.h"
#include <stdint.h>
#include <string.h>

enum {
    WORKTIME_DAYS = 7,
    WORKTIME_VERSIONS = 40, // keys Soll1 to Soll40
    WORKTIME_ABSENCES = 20,
    WORKTIME_DAY_MAX = 24 * 60,  // a day's target is at most 24:00
    WORKTIME_DURATION_TEXT = 12, // "-99999:59"
    WORKTIME_VERSION_TEXT = 60,  // "YYYY-MM-DD" and seven "h:mm"
    WORKTIME_YEAR_FIRST = 1901,  // dates of the settings lie within these years
    WORKTIME_YEAR_LAST = 2099,
};

// The targets in minutes from Monday (0) to Sunday (6) that hold from the date on; key is the
// number of its key Soll<key> (0 for the default, which holds before every version).
struct worktime_version {
    char from[DATE_TEXT + 1];
    int minutes[WORKTIME_DAYS];
    int key;
};

// An absence project as two words of its bytes and the mask of its length, so that a name padded
// with zeros is compared in a few word operations.
struct worktime_absence {
    uint64_t word[2], mask[2];
    int length;
};

struct worktime {
    worktime_version versions[WORKTIME_VERSIONS]; // by date, oldest first
    int version_count;
    char begin[DATE_TEXT + 1]; // start of the balance; "" for 1 January of the year shown
    long opening;              // the balance at the start, in minutes
    char absences[WORKTIME_ABSENCES][JOURNAL_PROJECT + 1];
    worktime_absence absence_keys[WORKTIME_ABSENCES];
    int absence_count;
};

extern const char WORKTIME_SECTION[];

// 8:00 Monday to Friday, no version, no start, opening 0:00, absences URLAUB and KRANK.
void worktime_defaults(worktime *out);
// The defaults, then what section "Arbeitszeit" of the settings file holds; a value that cannot
// be read is named in the status line and its default stays.
void worktime_load(worktime *out);

// The version that holds on date (YYYY-MM-DD): the newest whose date is not after it, or the
// default.
const worktime_version *worktime_version_at(const worktime *w, const char *date);
// The target of a day by its weekday in the version that holds then.
int worktime_target(const worktime *w, const char *date, int weekday);
// Whether a project is an absence: the name or one of its levels (the name cut at its last
// blank, again and again) is one of the absence projects.
bool worktime_is_absence(const worktime *w, const char *project);
// The same for a trimmed name whose bytes after its end are zeros up to its 16th byte, as the
// journal walk delivers it. A level is a start of the name that a blank follows, so the name is
// an absence when it begins with an absence project followed by a blank or its end (inline: the
// timesheet asks it for every counted period).
inline bool worktime_is_absence_padded(const worktime *w, const char *padded) {
    uint64_t word[2];
    memcpy(word, padded, sizeof word);
    for (int i = 0; i < w->absence_count; i++) {
        const worktime_absence *a = &w->absence_keys[i];
        char after = padded[a->length];
        if ((word[0] & a->mask[0]) == a->word[0] && (word[1] & a->mask[1]) == a->word[1] &&
            (after == ' ' || after == 0))
            return true;
    }
    return false;
}

// "h:mm" (one to five digits of hours, two of minutes below 60), with sign also "-h:mm"; blanks
// around it are allowed. 0, or -1 when the text is none.
int worktime_parse_duration(const char *text, long *minutes, bool sign);
// "YYYY-MM-DD h:mm h:mm h:mm h:mm h:mm h:mm h:mm" of a version, and back (targets up to 24:00,
// the date within 1901-2099); 0, or -1.
void worktime_version_text(char *out, const worktime_version *version);
int worktime_parse_version(const char *text, worktime_version *out);
// Whether text is a date YYYY-MM-DD of 1901-2099 (nothing after it).
bool worktime_date_valid(const char *text);
// Absence projects separated by ";" (blanks around them ignored, empty ones skipped), each at
// most 15 characters; the count, or -1.
int worktime_parse_absences(const char *text, worktime *out);
// The absence projects joined by ";" (out holds SETTINGS_VALUE bytes).
void worktime_absences_text(char *out, const worktime *w);
