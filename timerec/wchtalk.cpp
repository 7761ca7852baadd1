// The weekly report: rows of minutes per project and weekday in the sum list einlis (found through
// a hash index), sorted by name for listing; cells with a middle dot where nothing was booked.
#include "timerec/wchtalk.h"
#include "frame/dates.h"
#include "frame/clock.h"
#include "frame/memory.h"
#include "frame/messages.h"
#include "frame/sort.h"
#include "frame/text.h"
#include "timerec/group_index.h"
#include "timerec/journal.h"
#include "timerec/report_walk.h"
#include <stdio.h>
#include <string.h>

namespace {

enum { DAYS = 7, CELL = 6, ROW_SUM = 8 };

const char MARKER = '\xB7'; // middle dot in Windows-1252

struct einpos {
    char name[REPORT_NAME + 1];
    int minutes[DAYS];
};

// The rows, their count and grand total, the range and display flag of the last evaluation; the
// weekday of the last date seen is kept, since a day's periods come one after another.
struct week_state {
    einpos *einlis;
    int count;
    int total;
    int hours_minutes;
    char from[DATE_TEXT + 1];
    char to[DATE_TEXT + 1];
    group_index index;
    name_key keys[STASUP]; // the key of each row's name while the rows are summed
    char weekday_date[JOURNAL_DATE + 1];
    int weekday;
};

} // namespace

static week_state state;

void wchtalk_alloc(void) {
    if (!state.einlis) state.einlis = (einpos *)report_alloc_einlis("wchtalk", sizeof(einpos));
}

void wchtalk_free(void) {
    ffree(state.einlis);
    state.einlis = nullptr;
    state.count = 0;
    state.total = 0;
}

// Year, from and to fields of the week that begins on monday.
static void fields_from_monday(week_fields *out, const date_rec *monday) {
    char text[DATE_TEXT + 1];
    date_iso_text(text, monday);
    text_copy_max(out->year, text, 4);
    text_copy_max(out->from, text + 5, 5);
    date_rec sunday;
    date_add_days(&sunday, monday, 6);
    date_iso_text(text, &sunday);
    text_copy_max(out->to, text + 5, 5);
}

// The Monday of the week of day + days.
static void monday_of(date_rec *monday, const date_rec *day, int days) {
    date_rec moved;
    date_add_days(&moved, day, days);
    date_add_days(monday, &moved, -date_weekday(&moved));
}

void wchtalk_previous_week(week_fields *out) {
    date_rec today, monday;
    date_today(&today);
    monday_of(&monday, &today, -7);
    fields_from_monday(out, &monday);
}

void wchtalk_step(week_fields *out, const char *year, const char *from_md, int days) {
    char text[DATE_TEXT + 1];
    report_day(text, year, from_md);
    date_rec from, monday;
    date_parse_iso(&from, text);
    monday_of(&monday, &from, days);
    fields_from_monday(out, &monday);
}

static bool same_row(int entry, const void *key, const void *keys) {
    return name_key_equal((const name_key *)keys + entry, (const name_key *)key);
}

// A new row of key, filed at free_slot of the index; out of the way of the rows found again.
static __attribute__((noinline)) int add_row(week_state *s, const name_key *key, const char *name,
                                             int free_slot) {
    int entry = s->count++;
    memset(&s->einlis[entry], 0, sizeof s->einlis[entry]);
    text_copy_max(s->einlis[entry].name, name, REPORT_NAME);
    s->keys[entry] = *key;
    group_index_put(&s->index, free_slot, entry);
    return entry;
}

// The row of key, appended when new; -1 when the full list takes no new row.
static int find_row(week_state *s, const name_key *key, const char *name) {
    int free_slot = -1;
    int entry = group_index_find(&s->index, name_key_hash(key), same_row, key, s->keys, &free_slot);
    if (entry >= 0 || s->count >= STASUP) return entry;
    return add_row(s, key, name, free_slot);
}

// The walk callback: the minutes into the row of the project, in the column of the weekday.
static void accumulate(const char *date, const char *project, int minutes, void *context) {
    week_state *s = (week_state *)context;
    report_add_minutes(&s->total, minutes);
    // The walk delivers names trimmed and padded with zeros: the name is its key as it stands.
    name_key key;
    name_key_of_padded(&key, project);
    int entry = find_row(s, &key, project);
    if (entry < 0) return;
    if (journal_next_day(s->weekday_date, date)) {
        date_rec day;
        date_parse_iso(&day, date);
        s->weekday = date_weekday(&day);
    }
    report_add_minutes(&s->einlis[entry].minutes[s->weekday], minutes);
}

static int compare_names(const void *earlier, const void *later) {
    return strcmp(((const einpos *)earlier)->name, ((const einpos *)later)->name);
}

// Empties s for an evaluation.
static void start(week_state *s, int hours_minutes) {
    s->count = 0;
    s->total = 0;
    s->hours_minutes = hours_minutes;
    memset(s->weekday_date, 0, sizeof s->weekday_date);
    s->weekday = 0;
    group_index_clear(&s->index);
}

static void *take_state(const void *first) {
    week_state *s = (week_state *)fmalloc(1, sizeof(week_state));
    if (s && !(s->einlis = (einpos *)fmalloc(STASUP, sizeof(einpos)))) {
        ffree(s);
        return nullptr;
    }
    if (s) start(s, ((const week_state *)first)->hours_minutes);
    return s;
}

static void give_state(void *state) {
    ffree(((week_state *)state)->einlis);
    ffree(state);
}

// The later stretches' rows, in their order, come after the first's as in one walk.
static void merge_states(void *first, void *const *later, int count) {
    week_state *s = (week_state *)first;
    for (int k = 0; k < count; k++) {
        const week_state *part = (const week_state *)later[k];
        for (int i = 0; i < part->count; i++) {
            int entry = find_row(s, &part->keys[i], part->einlis[i].name);
            for (int day = 0; entry >= 0 && day < DAYS; day++)
                s->einlis[entry].minutes[day] += part->einlis[i].minutes[day];
        }
        s->total += part->total;
    }
}

static void restart_state(void *first) {
    start((week_state *)first, ((week_state *)first)->hours_minutes);
}

static const report_summing summing = {accumulate, take_state, give_state, merge_states,
                                       restart_state};

int wchtalk_evaluate(const char *year, const char *from_md, const char *to_md, int hours_minutes) {
    wchtalk_alloc();
    week_state *s = &state;
    start(s, hours_minutes);
    report_day(s->from, year, from_md);
    report_day(s->to, year, to_md);
    int periods = report_walk_summed(year, s->from, s->to, &summing, s);
    // The rows are listed and copied by name; the index and the keys are not used again until
    // the next evaluation clears them.
    sort(s->einlis, s->count, sizeof(einpos), compare_names);
    return periods;
}

int wchtalk_total(void) {
    return state.total;
}

void wchtalk_range(char *from, char *to) {
    text_copy_max(from, state.from, DATE_TEXT);
    text_copy_max(to, state.to, DATE_TEXT);
}

int wchtalk_hours_minutes(void) {
    return state.hours_minutes;
}

// A cell of 6 characters: the minutes, or the marker under the colon or the decimal comma.
static void cell(char *out, int minutes, int hours_minutes) {
    if (minutes == 0)
        snprintf(out, REPORT_FIELD + 1, hours_minutes ? "   %c  " : "    %c ", MARKER);
    else
        report_duration(out, minutes, CELL, hours_minutes);
}

static int row_sum(const int *minutes) {
    int sum = 0;
    for (int day = 0; day < DAYS; day++) report_add_minutes(&sum, minutes[day]);
    return sum;
}

// name, seven cells and the sum shown at the end (8 characters, zero as a number).
static void row_line(char *out, const char *name, const int *minutes, int sum, int hours_minutes) {
    int length = snprintf(out, WCHTALK_LINE + 1, "%-16.15s", name);
    char field[REPORT_FIELD + 1];
    for (int day = 0; day <= DAYS; day++) {
        if (day < DAYS)
            cell(field, minutes[day], hours_minutes);
        else
            report_duration(field, sum, ROW_SUM, hours_minutes);
        if (length < WCHTALK_LINE)
            length += snprintf(out + length, (size_t)(WCHTALK_LINE + 1 - length), "%s", field);
    }
}

void wchtalk_list(report_line_fn add, void *context) {
    const week_state *s = &state;
    if (s->total <= 0) return;
    char line[WCHTALK_LINE + 1];
    snprintf(line, sizeof line, "%-16.15s%6s%6s%6s%6s%6s%6s%6s", "", "Mo", "Di", "Mi", "Do", "Fr",
             "Sa", "So");
    add(s->hours_minutes ? line + 1 : line, context);
    int columns[DAYS] = {};
    for (int i = 0; i < s->count; i++) {
        const int *minutes = s->einlis[i].minutes;
        row_line(line, s->einlis[i].name, minutes, row_sum(minutes), s->hours_minutes);
        add(line, context);
        for (int day = 0; day < DAYS; day++) report_add_minutes(&columns[day], minutes[day]);
    }
    // The grand total also holds the minutes of rows a full list could not take.
    row_line(line, "", columns, s->total, s->hours_minutes);
    add(line, context);
}

// "name\tcell x 7\tsum\r\n" per row, zeros as numbers; then eight tabs and the grand total.
static void copy_table(const week_state *s, report_text *out) {
    char field[REPORT_FIELD + 1];
    for (int i = 0; i < s->count; i++) {
        report_text_add(out, s->einlis[i].name);
        for (int day = 0; day < DAYS; day++) {
            report_duration(field, s->einlis[i].minutes[day], 0, s->hours_minutes);
            report_text_add(out, "\t");
            report_text_add(out, field);
        }
        report_duration(field, row_sum(s->einlis[i].minutes), 0, s->hours_minutes);
        report_text_add(out, "\t");
        report_text_line(out, field);
    }
    report_duration(field, s->total, 0, s->hours_minutes);
    report_text_add(out, "\t\t\t\t\t\t\t\t");
    report_text_line(out, field);
}

char *wchtalk_copy(int table) {
    if (state.total <= 0 || !state.einlis) return nullptr;
    report_text out;
    report_text_begin(&out, "wchtalk");
    if (table)
        copy_table(&state, &out);
    else
        wchtalk_list(report_text_line_fn, &out);
    return report_text_take(&out);
}

int wchtalk_detail_prefix(int selected, const char *line, char *prefix) {
    if (selected < 1) return -1;
    report_detail_prefix(prefix, line);
    return 0;
}
