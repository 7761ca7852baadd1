// The working-time settings: target versions, start and opening of the balance, absence projects,
// read from section "Arbeitszeit" with their defaults.
#include "timerec/worktime.h"
#include "frame/messages.h"
#include "frame/settings.h"
#include "frame/text.h"
#include "frame/texts.h"
#include "resources/text_ids.h"
#include "timerec/report.h"
#include <stdio.h>
#include <string.h>

const char WORKTIME_SECTION[] = "Arbeitszeit";

static const worktime_version default_version = {"", {480, 480, 480, 480, 480, 0, 0}, 0};

void worktime_defaults(worktime *out) {
    memset(out, 0, sizeof *out);
    worktime_parse_absences("URLAUB;KRANK", out);
}

// The digits at *p (at least one, at most max and no more following) into value; false when
// they are not such.
static bool read_digits(const char **p, int min, int max, long *value) {
    int count = 0;
    *value = 0;
    for (; **p >= '0' && **p <= '9' && count < max; (*p)++, count++)
        *value = *value * 10 + (**p - '0');
    return count >= min && !(**p >= '0' && **p <= '9');
}

int worktime_parse_duration(const char *text, long *minutes, bool sign) {
    const char *p = text;
    while (text_is_space((unsigned char)*p)) p++;
    bool negative = sign && *p == '-';
    if (negative) p++;
    long hours, mins;
    if (!read_digits(&p, 1, 5, &hours) || *p++ != ':') return -1;
    if (!read_digits(&p, 2, 2, &mins) || mins >= 60) return -1;
    while (text_is_space((unsigned char)*p)) p++;
    if (*p) return -1;
    *minutes = (negative ? -1 : 1) * (hours * 60 + mins);
    return 0;
}

bool worktime_date_valid(const char *text) {
    if (strlen(text) != DATE_TEXT || !date_text_valid(text)) return false;
    int year =
        (text[0] - '0') * 1000 + (text[1] - '0') * 100 + (text[2] - '0') * 10 + text[3] - '0';
    return year >= WORKTIME_YEAR_FIRST && year <= WORKTIME_YEAR_LAST;
}

void worktime_version_text(char *out, const worktime_version *version) {
    int length = snprintf(out, WORKTIME_VERSION_TEXT + 1, "%s", version->from);
    for (int day = 0; day < WORKTIME_DAYS; day++) {
        char target[REPORT_FIELD + 1];
        report_duration(target, version->minutes[day], 0, 1);
        length +=
            snprintf(out + length, (size_t)(WORKTIME_VERSION_TEXT + 1 - length), " %s", target);
    }
}

int worktime_parse_version(const char *text, worktime_version *out) {
    char rest[SETTINGS_VALUE], word[SETTINGS_VALUE];
    text_copy_max(rest, text, SETTINGS_VALUE - 1);
    text_token(word, sizeof word, rest);
    if (!worktime_date_valid(word)) return -1;
    text_copy_max(out->from, word, DATE_TEXT);
    for (int day = 0; day < WORKTIME_DAYS; day++) {
        long minutes;
        text_token(word, sizeof word, rest);
        if (worktime_parse_duration(word, &minutes, false) != 0 || minutes > WORKTIME_DAY_MAX)
            return -1;
        out->minutes[day] = (int)minutes;
    }
    return rest[0] ? -1 : 0;
}

static void absence_key(worktime_absence *out, const char *name) {
    unsigned char bytes[2 * sizeof(uint64_t)] = {}, mask[sizeof bytes] = {};
    out->length = (int)strlen(name);
    memcpy(bytes, name, (size_t)out->length);
    memset(mask, 0xFF, (size_t)out->length);
    memcpy(out->word, bytes, sizeof bytes);
    memcpy(out->mask, mask, sizeof mask);
}

int worktime_parse_absences(const char *text, worktime *out) {
    char list[SETTINGS_VALUE];
    text_copy_max(list, text, SETTINGS_VALUE - 1);
    int count = 0;
    for (char *start = list; start;) {
        char *end = strchr(start, ';');
        if (end) *end = 0;
        char name[SETTINGS_VALUE];
        text_copy_max(name, start, SETTINGS_VALUE - 1);
        text_trim(name);
        if (strlen(name) > JOURNAL_PROJECT || (name[0] && count == WORKTIME_ABSENCES)) return -1;
        if (name[0]) absence_key(&out->absence_keys[count], name);
        if (name[0]) text_copy_max(out->absences[count++], name, JOURNAL_PROJECT);
        start = end ? end + 1 : nullptr;
    }
    out->absence_count = count;
    return count;
}

void worktime_absences_text(char *out, const worktime *w) {
    out[0] = 0;
    for (int i = 0; i < w->absence_count; i++) {
        size_t length = strlen(out);
        snprintf(out + length, SETTINGS_VALUE - length, "%s%s", i ? ";" : "", w->absences[i]);
    }
}

// Files the version by its date; one of the same date is replaced (the later key wins).
static void add_version(worktime *w, const worktime_version *version) {
    int at = 0;
    while (at < w->version_count && strcmp(w->versions[at].from, version->from) < 0) at++;
    if (at < w->version_count && strcmp(w->versions[at].from, version->from) == 0) {
        w->versions[at] = *version;
        return;
    }
    memmove(&w->versions[at + 1], &w->versions[at],
            (size_t)(w->version_count - at) * sizeof w->versions[0]);
    w->versions[at] = *version;
    w->version_count++;
}

static void bad_setting(const char *key, const char *value) {
    status_show(text(TXT_WORKTIME_BAD_SETTING), key, value);
}

void worktime_load(worktime *out) {
    worktime_defaults(out);
    char key[16], value[SETTINGS_VALUE];
    for (int number = 1; number <= WORKTIME_VERSIONS; number++) {
        snprintf(key, sizeof key, "Soll%d", number);
        settings_read(WORKTIME_SECTION, key, value);
        worktime_version version;
        if (!value[0]) continue;
        if (worktime_parse_version(value, &version) != 0) {
            bad_setting(key, value);
            continue;
        }
        version.key = number;
        add_version(out, &version);
    }
    settings_read(WORKTIME_SECTION, "Beginn", value);
    text_trim(value);
    if (worktime_date_valid(value))
        text_copy_max(out->begin, value, DATE_TEXT);
    else if (value[0])
        bad_setting("Beginn", value);
    settings_read(WORKTIME_SECTION, "Uebertrag", value);
    if (value[0] && worktime_parse_duration(value, &out->opening, true) != 0) {
        out->opening = 0;
        bad_setting("Uebertrag", value);
    }
    settings_read(WORKTIME_SECTION, "Abwesenheit", value);
    worktime unread = *out;
    if (value[0] && worktime_parse_absences(value, out) < 0) {
        *out = unread;
        bad_setting("Abwesenheit", value);
    }
}

const worktime_version *worktime_version_at(const worktime *w, const char *date) {
    const worktime_version *holds = &default_version;
    for (int i = 0; i < w->version_count && strcmp(w->versions[i].from, date) <= 0; i++)
        holds = &w->versions[i];
    return holds;
}

int worktime_target(const worktime *w, const char *date, int weekday) {
    return worktime_version_at(w, date)->minutes[weekday];
}

bool worktime_is_absence(const worktime *w, const char *project) {
    char name[JOURNAL_PROJECT + 1] = {};
    text_copy_max(name, project, JOURNAL_PROJECT);
    size_t length = text_trim_length(name, strlen(name));
    memset(name + length, 0, sizeof name - length);
    return worktime_is_absence_padded(w, name);
}
