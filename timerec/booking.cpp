// The booking rules of the main window that need no window.
#include "timerec/booking.h"
#include "frame/clock.h"
#include "frame/dates.h"
#include "frame/settings.h"
#include "frame/text.h"
#include "frame/texts.h"
#include "resources/text_ids.h"
#include "timerec/directories.h"
#include <stdio.h>
#include <string.h>

int booking_can_choose(const char *entry) {
    char text[BOOKING_TEXT_FIELD + 1];
    text_copy_max(text, entry, BOOKING_TEXT_FIELD);
    text_trim_right(text);
    return text[0] != 0 && text[0] != ';' && text[0] != ' ';
}

int booking_takes_now(const char *strip_date, const char *strip_project, const char *today) {
    return strip_project[0] == '-' || strcmp(strip_date, today) == 0;
}

void booking_now_time(char *out) {
    platform_time now;
    clock_now(&now);
    snprintf(out, 6, "%02u:%02u", (unsigned)now.hour % 100u, (unsigned)now.minute % 100u);
}

void booking_entry_project(char *out, const char *entry) {
    text_copy_max(out, entry, BOOKING_ENTRY_ID);
}

const char *booking_indicator(const char *project) {
    return project[0] == '-' ? "AUS" : "EIN";
}

void booking_title(char *out, size_t size, const char *project) {
    snprintf(out, size, "%s - %s", text(TXT_TITLE), project);
    text_trim(out);
}

int booking_moment_valid(const char *date, const char *time) {
    return strlen(date) == DATE_TEXT && date_text_valid(date) && strlen(time) == 5 &&
           time_text_valid(time);
}

int booking_parse_moment(const char *text, platform_time *moment) {
    memset(moment, 0, sizeof *moment);
    char date[DATE_TEXT + 1], time[6];
    if (strlen(text) != 16 || text[10] != ' ') return -1;
    text_copy_max(date, text, DATE_TEXT);
    text_copy_max(time, text + 11, 5);
    if (!booking_moment_valid(date, time)) return -1;
    sscanf(text, "%4d-%2d-%2d %2d:%2d", &moment->year, &moment->month, &moment->day, &moment->hour,
           &moment->minute);
    return 0;
}

int booking_week_check(void) {
    date_rec today;
    date_today(&today);
    int week, week_year;
    date_week(&today, &week, &week_year);
    int stored = settings_read_int(SETTINGS_SECTION, "LastWeek");
    settings_write_int(SETTINGS_SECTION, "LastWeek", week);
    return stored != 0 && stored != week;
}
