// The reminders' rules: moments, the idle watch, the question after time away, the notice of a
// long-running project and the moment the session ended.
#include "timerec/reminders.h"
#include "frame/clock.h"
#include "frame/dates.h"
#include "frame/settings.h"
#include "frame/text.h"
#include "frame/texts.h"
#include "resources/text_ids.h"
#include "timerec/booking.h"
#include <stdio.h>
#include <string.h>

enum { MINUTES_PER_DAY = 24 * 60 };

static const char KEY_SHUTDOWN_AT[] = "ShutdownAt";

long reminder_moment(const char *date, const char *time) {
    if (!booking_moment_valid(date, time)) return -1;
    date_rec day;
    date_parse_iso(&day, date);
    int hour = (time[0] - '0') * 10 + (time[1] - '0');
    int minute = (time[3] - '0') * 10 + (time[4] - '0');
    return date_day_number(&day) * MINUTES_PER_DAY + hour * 60 + minute;
}

long reminder_now(void) {
    platform_time now;
    clock_now(&now);
    char date[DATE_TEXT + 1], time[6];
    snprintf(date, sizeof date, "%04d-%02d-%02d", now.year % 10000, now.month % 100, now.day % 100);
    snprintf(time, sizeof time, "%02d:%02d", now.hour % 100, now.minute % 100);
    return reminder_moment(date, time);
}

void reminder_moment_texts(long moment, char *date, char *time) {
    static const date_rec first_day = {1, 1, 1}; // 1901-01-01, day number 0
    date_rec day;
    date_add_days(&day, &first_day, moment / MINUTES_PER_DAY);
    date_iso_text(date, &day);
    long minutes = moment % MINUTES_PER_DAY;
    snprintf(time, 6, "%02ld:%02ld", minutes / 60, minutes % 60);
}

void idle_watch_reset(idle_watch *watch) {
    watch->last_input = -1;
}

int idle_watch_input(idle_watch *watch, long input, int minutes, long *from) {
    long before = watch->last_input;
    if (input <= before) return 0;
    watch->last_input = input;
    if (before < 0 || input - before < minutes) return 0;
    *from = before;
    return 1;
}

static long booking_moment(const booking *entry) {
    return reminder_moment(entry->date, entry->time);
}

static bool is_project(const booking *entry) {
    return entry->project[0] && entry->project[0] != '-';
}

int reminder_idle_ask(const kx_options *options, const booking *last, long from, long to,
                      idle_question *question) {
    long begun = booking_moment(last);
    if (!options->idle_question || !is_project(last) || begun < 0) return 0;
    if (from < begun) from = begun;
    if (to - from < options->idle_minutes) return 0;
    question->from = from;
    question->to = to;
    question->running = *last;
    return 1;
}

// A moment as "HH:MM", or "YYYY-MM-DD HH:MM" with its date.
static void moment_label(char *out, long moment, bool with_date) {
    char date[DATE_TEXT + 1], time[6];
    reminder_moment_texts(moment, date, time);
    snprintf(out, MOMENT_TEXT + 1, "%s%s%s", with_date ? date : "", with_date ? " " : "", time);
}

void reminder_idle_text(char *out, size_t size, const idle_question *question) {
    bool one_day = question->from / MINUTES_PER_DAY == question->to / MINUTES_PER_DAY;
    char from[MOMENT_TEXT + 1], to[MOMENT_TEXT + 1];
    moment_label(from, question->from, !one_day);
    moment_label(to, question->to, !one_day);
    snprintf(out, size, text(TXT_IDLE_QUESTION), from, to);
}

int reminder_idle_current(const idle_question *question, const booking *last) {
    return strcmp(last->date, question->running.date) == 0 &&
           strcmp(last->time, question->running.time) == 0 &&
           strcmp(last->project, question->running.project) == 0;
}

// "10 Stunden", "1 Stunde" or "45 Minuten" as the notice's duration.
static void running_text(char *out, size_t size, const char *project, long minutes) {
    if (minutes >= 120)
        snprintf(out, size, text(TXT_LONG_RUNNING_HOURS), project, minutes / 60);
    else if (minutes >= 60)
        snprintf(out, size, text(TXT_LONG_RUNNING_HOUR), project);
    else
        snprintf(out, size, text(TXT_LONG_RUNNING_MINUTES), project, minutes);
}

int reminder_long_running(char *out, size_t size, const kx_options *options, const booking *last,
                          long now, long *noticed) {
    long begun = booking_moment(last);
    if (!options->long_notice || !is_project(last) || begun < 0 || begun == *noticed) return 0;
    if (now - begun < options->long_minutes) return 0;
    *noticed = begun;
    running_text(out, size, last->project, now - begun);
    return 1;
}

int reminder_shutdown_store(const kx_options *options, const booking *last, long now) {
    if (!options->shutdown_moment || !is_project(last) || now < 0) return 0;
    char moment[MOMENT_TEXT + 1];
    moment_label(moment, now, true);
    return settings_write(OPTIONS_SECTION, KEY_SHUTDOWN_AT, moment);
}

int reminder_shutdown_time(const char *date, const char *time, char *out) {
    char kept[SETTINGS_VALUE];
    settings_read(OPTIONS_SECTION, KEY_SHUTDOWN_AT, kept);
    if (strlen(kept) != MOMENT_TEXT || kept[DATE_TEXT] != ' ') return 0;
    kept[DATE_TEXT] = 0;
    const char *kept_time = kept + DATE_TEXT + 1;
    long moment = reminder_moment(kept, kept_time), begun = reminder_moment(date, time);
    if (moment < 0 || begun < 0 || strcmp(kept, date) != 0 || moment < begun) return 0;
    text_copy_max(out, kept_time, 5);
    return 1;
}

void reminder_shutdown_forget(void) {
    char kept[SETTINGS_VALUE];
    settings_read(OPTIONS_SECTION, KEY_SHUTDOWN_AT, kept);
    if (kept[0]) settings_write(OPTIONS_SECTION, KEY_SHUTDOWN_AT, "");
}
