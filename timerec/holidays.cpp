// The holidays of a range of years from "Feiertage.txt", or built in for all of Germany.
#include "timerec/holidays.h"
#include "frame/bfile.h"
#include "frame/memory.h"
#include "frame/messages.h"
#include "frame/platform.h"
#include "frame/text.h"
#include "frame/texts.h"
#include "resources/text_ids.h"
#include "timerec/directories.h"
#include "timerec/journal.h"
#include "timerec/report.h"
#include "timerec/worktime.h"
#include <stdio.h>
#include <string.h>

enum { FIRST_CAPACITY = 32, YEARS_MAX = 256 };

const char HOLIDAYS_FILE[] = "Feiertage.txt";

void holidays_path(char *out, size_t size) {
    snprintf(out, size, "%s%s", CommonDir, HOLIDAYS_FILE);
}

// The Gregorian computation of Easter (the anonymous algorithm of 1876), exact for every year.
void holidays_easter(int year, date_rec *easter) {
    int a = year % 19, b = year / 100, c = year % 100;
    int d = b / 4, e = b % 4, f = (b + 8) / 25, g = (b - f + 1) / 3;
    int h = (19 * a + b - d - g + 15) % 30;
    int i = c / 4, k = c % 4;
    int l = (32 + 2 * e + 2 * i - h - k) % 7;
    int m = (a + 11 * h + 22 * l) / 451;
    int n = h + l - 7 * m + 114;
    easter->year = (unsigned char)(year - 1900);
    easter->month = (unsigned char)(n / 31);
    easter->day = (unsigned char)(n % 31 + 1);
}

void holidays_free(holiday_table *table) {
    ffree(table->days);
    table->days = nullptr;
    table->count = table->capacity = 0;
}

// The index of date in the table, or where it would go (found tells which).
static int position(const holiday_table *table, const char *date, bool *found) {
    int low = 0, high = table->count;
    while (low < high) {
        int middle = (low + high) / 2;
        int order = strcmp(table->days[middle].date, date);
        if (order == 0) {
            *found = true;
            return middle;
        }
        if (order < 0)
            low = middle + 1;
        else
            high = middle;
    }
    *found = false;
    return low;
}

static int grow(holiday_table *table) {
    int capacity = table->capacity ? table->capacity * 2 : FIRST_CAPACITY;
    holiday *days = (holiday *)fmalloc((size_t)capacity, sizeof(holiday));
    if (!days) return -1;
    if (table->count) memcpy(days, table->days, (size_t)table->count * sizeof(holiday));
    ffree(table->days);
    table->days = days;
    table->capacity = capacity;
    return 0;
}

// Files a holiday by its date; a second one of the same day adds its name and may lower the
// target. 0, or -1 without memory.
static int add(holiday_table *table, const holiday *day) {
    bool found;
    int at = position(table, day->date, &found);
    if (found) {
        holiday *same = &table->days[at];
        size_t length = strlen(same->name);
        snprintf(same->name + length, sizeof same->name - length, ", %s", day->name);
        // A holiday without a reduced target has 0:00, so the smaller target is the day's.
        if (day->target < same->target) same->target = day->target;
        same->reduced = same->reduced && day->reduced;
        return 0;
    }
    if (table->count == table->capacity && grow(table) != 0) return -1;
    memmove(&table->days[at + 1], &table->days[at], (size_t)(table->count - at) * sizeof(holiday));
    table->days[at] = *day;
    table->count++;
    return 0;
}

// The holidays of all of Germany in one year: fixed days and days around Easter.
static int add_builtin(holiday_table *table, int year) {
    static const struct {
        int month, day, after_easter;
        int name;
    } days[] = {
        {1, 1, 0, TXT_HOLIDAY_NEW_YEAR},      {0, 0, -2, TXT_HOLIDAY_GOOD_FRIDAY},
        {0, 0, 1, TXT_HOLIDAY_EASTER_MONDAY}, {5, 1, 0, TXT_HOLIDAY_LABOUR_DAY},
        {0, 0, 39, TXT_HOLIDAY_ASCENSION},    {0, 0, 50, TXT_HOLIDAY_WHIT_MONDAY},
        {10, 3, 0, TXT_HOLIDAY_UNITY_DAY},    {12, 25, 0, TXT_HOLIDAY_CHRISTMAS_1},
        {12, 26, 0, TXT_HOLIDAY_CHRISTMAS_2},
    };
    date_rec easter;
    holidays_easter(year, &easter);
    for (const auto &d : days) {
        date_rec date = {(unsigned char)(year - 1900), (unsigned char)d.month,
                         (unsigned char)d.day};
        if (d.month == 0) date_add_days(&date, &easter, d.after_easter);
        holiday day = {};
        date_iso_text(day.date, &date);
        text_copy_max(day.name, text(d.name), HOLIDAY_NAME);
        if (add(table, &day) != 0) return -1;
    }
    return 0;
}

// A line of the file: "YYYY-MM-DD [h:mm] Name", ";" starting a comment. 1 for a holiday, 0 for
// a line without one, -1 for a line that cannot be read.
static int parse_line(char *line, holiday *out) {
    char *comment = strchr(line, ';');
    if (comment) *comment = 0;
    for (char *p = line; *p; p++)
        if ((unsigned char)*p < ' ') *p = ' ';
    if (!text_trim(line)) return 0;
    char word[HOLIDAY_LINE + 1];
    text_token(word, sizeof word, line);
    if (strlen(word) != DATE_TEXT || !date_text_valid(word)) return -1;
    memset(out, 0, sizeof *out);
    text_copy_max(out->date, word, DATE_TEXT);
    char rest[HOLIDAY_LINE + 1];
    text_copy_max(rest, line, HOLIDAY_LINE);
    text_token(word, sizeof word, rest);
    long target;
    if (worktime_parse_duration(word, &target, false) == 0) {
        if (target > WORKTIME_DAY_MAX) return -1;
        out->target = (int)target;
        out->reduced = true;
        text_copy_max(line, rest, HOLIDAY_LINE);
    }
    if (!line[0]) return -1;
    text_copy_max(out->name, line, HOLIDAY_NAME);
    return 1;
}

static int year_of(const char *date) {
    return (date[0] - '0') * 1000 + (date[1] - '0') * 100 + (date[2] - '0') * 10 + date[3] - '0';
}

// The file's holidays of first..last into table; named[y - first] tells the years it names.
// 0, or -1 without memory.
static int read_file(const char *path, holiday_table *table, int first, int last, bool *named) {
    bfile file;
    if (bfile_open(&file, path) < 0) {
        status_show(text(TXT_CANNOT_READ), path);
        return 0;
    }
    char line[HOLIDAY_LINE + 1];
    int result = 0;
    for (int number = 1; result == 0 && bfile_read_line(&file, line, HOLIDAY_LINE) >= 0; number++) {
        holiday day;
        int parsed = parse_line(line, &day);
        if (parsed < 0) status_show(text(TXT_HOLIDAY_LINE_BAD), path, number);
        if (parsed <= 0) continue;
        int year = year_of(day.date);
        if (year < first || year > last) continue;
        named[year - first] = true;
        result = add(table, &day);
    }
    bfile_close(&file);
    return result;
}

int holidays_load(holiday_table *table, int first_year, int last_year) {
    table->count = 0;
    if (last_year - first_year >= YEARS_MAX) first_year = last_year - YEARS_MAX + 1;
    bool named[YEARS_MAX] = {};
    char path[JOURNAL_PATH_MAX + 1];
    holidays_path(path, sizeof path);
    if (platform_path_kind(path) != PATH_NONE &&
        read_file(path, table, first_year, last_year, named) != 0)
        return -1;
    for (int year = first_year; year <= last_year; year++)
        if (!named[year - first_year] && add_builtin(table, year) != 0) return -1;
    return 0;
}

const holiday *holidays_find(const holiday_table *table, const char *date) {
    bool found;
    int at = position(table, date, &found);
    return found ? &table->days[at] : nullptr;
}

void holidays_line(char *out, const holiday *day) {
    char target[REPORT_FIELD + 1] = "";
    if (day->reduced) {
        report_duration(target, day->target, 0, 1);
        strcat(target, " ");
    }
    snprintf(out, HOLIDAY_TEXT + 1, "%s %s%s", day->date, target, day->name);
}
